#pragma once
// Where the records go: one interface, a store of each kind (each in its folder
// under records/, listed in records_store_registry.cpp): the files of one PC (the
// default) or a server that several stations share. The free functions of
// records_database.h write and read through the active store.

#include "records/pending_journal.h"
#include "records/sqlite_answer.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <memory>

enum class RecordDatabase { Settings, Drivers, Verifications };

// The read-backs every store answers with the same columns.
enum class RecordQuery {
    SettingsNewest, // every column of the settings records, id first, newest first
    DriversNewest,  // every column of the driver records, id first, newest first
    DriversReport,  // the report's columns (no id) and repeat last, newest first
    // id, datetime, station, serialNumber, programmerID, slot, result,
    // differences of the verification records, newest first
    VerificationsNewest,
};

// The time one record may spend waiting for a busy file or a slow server,
// shared by every statement of that record.
class BusyBudget {
public:
    explicit BusyBudget(int ms) : ms_(ms) { clock_.start(); }
    int remainingMs() const { return std::max<int>(1, ms_ - int(clock_.elapsed())); }

private:
    int ms_;
    QElapsedTimer clock_;
};

struct StoreResult {
    enum class Status {
        Ok,
        RetryLater, // a file another program holds locked, or a server that cannot be reached
        Failed,     // refused (damaged file, full disk, no permission, ...)
    };
    Status status = Status::Ok;
    QString error;
    bool inserted = false; // insert: the record is new to the store (not one it already held)
    // insert of a driver record: the store held a driver record of the same serial
    // number from another report (the record is written all the same, marked).
    bool repeat = false;
    // RetryLater because another program or session holds the records locked
    // (a busy file, a table lock, a statement that ran out of time), not because
    // the store cannot be reached.
    bool locked = false;

    bool ok() const { return status == Status::Ok; }
    bool retryLater() const { return status == Status::RetryLater; }
    static StoreResult failed(Status s, const QString &text)
    {
        StoreResult r;
        r.status = s;
        r.error = text;
        return r;
    }
};

using ExportProgress = std::function<void(qint64 written, qint64 total)>;

// ---- The batch report's records ----------------------------------------------------

// Which records a batch report covers. Times are "yyyy-MM-dd HH:mm:ss" UTC, both
// bounds included; an empty text leaves that side open.
struct ReportSelection {
    QString from, to;
    QString programmerId; // the programmer of the records (empty: every one)
    QString station;      // a shared store: only that station's records (empty: all)
};

// One transfer: a settings record (id empty: drivers without a settings record).
struct ReportTransfer {
    QString id, datetime;
    QStringList values; // the record's columns after datetime (SettingsRecordColumns().mid(1))
};

// One driver record of the report with its transfer and the newest verification
// that belongs to it: made at or after the record, before the next driver record
// of the same serial number (verifyResult empty: not verified).
struct ReportDriver {
    QString datetime, serial, programmerId, programmerFw;
    bool repeat = false;
    QString verifyTime, verifyResult, verifyDifferences;
    ReportTransfer transfer;
};

struct ReportSink {
    // The stations of the selected records, told first by a store that keeps
    // records of several stations (a shared store); not called by the local files.
    std::function<void(const QStringList &stations)> stations;
    // The number of driver records the report selects (told before the drivers).
    std::function<void(qint64 drivers)> total;
    // Each selected driver record, grouped by transfer: the drivers without a
    // settings record first, then the transfers oldest first, each group's
    // drivers oldest first. False stops the reading (the writer failed).
    std::function<bool(const ReportDriver &)> driver;
};

class RecordsStore {
public:
    virtual ~RecordsStore() = default;
    // The store's location as the user gave it (a folder, a server's URI).
    virtual QString location() const = 0;
    // Creates tables, indexes (and the server's schema) when missing.
    virtual bool prepare(QString *error) = 0;
    // The 13 setting texts of the newest settings record of `programmerId`, among
    // the records made up to `upTo` ("yyyy-MM-dd HH:mm:ss" UTC) when it is given:
    // "NULL" texts when there is none, empty texts when the lookup fails.
    virtual StoreResult lookUpSettings(const QString &programmerId, const QString &upTo, const BusyBudget &budget,
                                       QStringList *settings) = 0;
    // Appends one record. With `once`, the record's id is kept with it, so a record
    // written a second time (from the pending journal, an import) is skipped. A
    // driver record with a deferred lookup looks its settings up first. A driver
    // record is marked repeat when the store already holds more driver records of
    // its serial number than the records of its report before it (reportRecord).
    virtual StoreResult insert(const PendingRecord &record, bool once, const BusyBudget &budget) = 0;
    // One read-back, at most `limit` rows; `station` (not empty) keeps only the
    // records of that station. False with the reason when it cannot be read.
    virtual bool query(RecordQuery which, int limit, const QString &station, SQLiteAnswerClass &answer,
                       QString *error) = 0;
    // The batch report's records: the selected settings records (transfers) oldest
    // first into `transfers`, then the selected driver records through `sink`.
    virtual bool readReport(const ReportSelection &selection, QList<ReportTransfer> *transfers,
                            const ReportSink &sink, QString *error) = 0;
    // The newest verification record of `serial` (columns as VerificationsNewest;
    // no row when there is none). False with the reason when it cannot be read.
    virtual bool newestVerification(const QString &serial, SQLiteAnswerClass &answer, QString *error) = 0;
    // Every driver record, oldest first, joined with the settings record that was
    // the newest of its programmer when the driver was recorded, as CSV, with the
    // repeat mark (1 or 0) as the last column.
    virtual bool exportDriversCsv(const QString &path, const QString &station, QString *error,
                                  const ExportProgress &progress) = 0;
    // Called from any thread: ends the work under way (a connection being made, a
    // statement waiting) as soon as the store allows; that work fails and every
    // later call fails at once. A store whose waits are all short ignores it.
    virtual void interrupt() {}
    // A new store object for the same location and station, for a thread of its own.
    virtual std::unique_ptr<RecordsStore> clone() const = 0;
};

// ---- Choosing the store -----------------------------------------------------------

// The environment variable that names the store when no --records is given.
inline const char *const kRecordsUrlVariable = "TAVEL_RECORDS_URL";

// A store for `location`, made by the kind of store that recognises it
// (records_store_registry.h; empty: the program's own folder). Null with the
// reason for a location no kind takes or its kind refuses (a server URI that
// carries a password, a malformed URI).
std::unique_ptr<RecordsStore> MakeRecordsStore(const QString &location, QString *error);

// Makes the store for `location` the one every record goes to. False with the
// reason (and the active store unchanged) when the location cannot be used.
bool setRecordsLocation(const QString &location, QString *error);
// The active store (the default kind's, in the records folder, unless another was set).
RecordsStore &activeRecordsStore();
// Whether the active store is the program's own records folder (none was chosen).
bool RecordsStoreIsDefault();
// Which store records go to, as its kind describes it ("SQLite files in <folder>").
QString RecordsStoreDescription();

// The name of this PC in the shared records (default: the host name).
void setRecordsStation(const QString &name);
QString RecordsStation();
