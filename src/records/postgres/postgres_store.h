#pragma once
// The records on a PostgreSQL server that several stations share (libpq). One
// connection per store object, opened on first use and opened again after the
// server went away. Every value is a bound parameter. The schema is created
// when missing: a version table and numbered migrations, each run once inside
// a transaction that holds an advisory lock, so two stations starting at the
// same time do not both run one. Every record carries the unique id made at its
// station; the server ignores a record whose id it already holds, so a record
// moved in from the pending journal or imported twice is written once.

#include "records/records_store.h"

#include <QMutex>
#include <atomic>

typedef struct pg_conn PGconn;
typedef struct pg_result PGresult;
typedef struct pg_cancel PGcancel;

// The waits every connection sets unless its URI names its own: making the
// connection (connect_timeout, seconds), one statement (statement_timeout, ms)
// and the wait for a lock another session holds (lock_timeout, ms). Short, so
// that a command-line run learns within its records wait that the server is
// away or locked.
constexpr int kPostgresConnectTimeoutS = 2;
constexpr int kPostgresStatementTimeoutMs = 5000;
constexpr int kPostgresLockTimeoutMs = 2000;

// Whether `location` is a postgresql:// or postgres:// URI.
bool IsPostgresLocation(const QString &location);
// False with the reason for a URI that cannot be used: malformed, or one that
// carries a password (passwords come from ~/.pgpass or PGPASSWORD only).
bool CheckPostgresLocation(const QString &location, QString *error);

class PostgresStore : public RecordsStore {
public:
    explicit PostgresStore(const QString &uri);
    ~PostgresStore() override;
    PostgresStore(const PostgresStore &) = delete;
    PostgresStore &operator=(const PostgresStore &) = delete;

    QString location() const override { return uri_; }
    bool prepare(QString *error) override;
    StoreResult lookUpSettings(const QString &programmerId, const QString &upTo, const BusyBudget &budget,
                               QStringList *settings) override;
    StoreResult insert(const PendingRecord &record, bool once, const BusyBudget &budget) override;
    bool query(RecordQuery which, int limit, const QString &station, SQLiteAnswerClass &answer,
               QString *error) override;
    bool newestVerification(const QString &serial, SQLiteAnswerClass &answer, QString *error) override;
    bool readReport(const ReportSelection &selection, QList<ReportTransfer> *transfers, const ReportSink &sink,
                    QString *error) override;
    bool exportDriversCsv(const QString &path, const QString &station, QString *error,
                          const ExportProgress &progress) override;

    void interrupt() override;
    std::unique_ptr<RecordsStore> clone() const override;

    // The station name this store writes under (default: RecordsStation()).
    void setStation(const QString &name) { station_ = name; }

    // The number of migrations the schema has (the version a prepared server holds).
    static int schemaVersion();

private:
    // An open connection with the schema in place, or null with the reason.
    PGconn *connection(StoreResult *failure);
    StoreResult run(const char *sql, const QStringList &values, SQLiteAnswerClass *answer, int *affected = nullptr);
    // Sends one query whose rows then come one at a time (PQgetResult). Empty, or
    // the reason it could not be sent (the connection is dropped then).
    QString sendForRows(const QString &sql, const QStringList &values);
    // Makes the connection without blocking, so that the time-out and interrupt()
    // are kept whatever the server does (one that accepts and never answers).
    PGconn *connectBounded(QString *error);
    void drop();

    QString uri_;
    QString station_;
    PGconn *conn_ = nullptr;
    std::atomic<bool> interrupted_{false};
    QMutex cancelLock_; // guards cancel_ between the store's thread and interrupt()
    PGcancel *cancel_ = nullptr;
};
