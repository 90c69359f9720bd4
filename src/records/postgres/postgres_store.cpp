#include "records/postgres/postgres_store.h"

#include "records/csv_export.h"
#include "records/record_columns.h"
#include "records/report_conditions.h"

#include <QAbstractEventDispatcher>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QSaveFile>
#include <QSocketNotifier>
#include <QTimer>
#include <QTimeZone>
#include <libpq-fe.h>

#include <vector>

namespace {

QString quoted(const QString &name) { return QLatin1Char('"') + name + QLatin1Char('"'); }

QString columnList(const QStringList &columns, const QString &prefix = QString())
{
    QStringList out;
    for (const QString &c : columns)
        out << prefix + quoted(c);
    return out.join(QLatin1Char(','));
}

// The 13 setting texts: the last columns of both tables.
const QStringList &settingColumns() { return SettingTextColumns(); }

// Numbered migrations; each runs once, in order, inside the transaction that
// records its number. Never change one that was released: add the next.
QStringList migrations()
{
    auto table = [](const QString &name, const QStringList &columns) {
        QString sql = QStringLiteral("CREATE TABLE %1 (id bigserial PRIMARY KEY, record_id text NOT NULL UNIQUE, "
                                     "station text NOT NULL, record_time timestamptz NOT NULL")
                          .arg(name);
        for (const QString &c : columns)
            sql += QStringLiteral(", %1 text NULL").arg(quoted(c));
        return sql + QStringLiteral(");");
    };
    return {
        table(QStringLiteral("settings_records"), SettingsRecordColumns())
            + table(QStringLiteral("driver_records"), DriverRecordColumns())
            + QStringLiteral(
                "CREATE INDEX settings_records_programmer ON settings_records "
                "(\"enOcean_HandHeldID\", record_time DESC, id DESC);"
                "CREATE INDEX settings_records_newest ON settings_records (record_time DESC, id DESC);"
                "CREATE INDEX driver_records_newest ON driver_records (record_time DESC, id DESC);"
                "CREATE INDEX driver_records_station ON driver_records (station, record_time DESC, id DESC);"
                "CREATE INDEX driver_records_serial ON driver_records (\"serialNumber\");"),
        // The repeat mark of a driver programmed again (0 for the records before it)
        // and the verification records.
        QStringLiteral("ALTER TABLE driver_records ADD COLUMN \"repeat\" smallint NOT NULL DEFAULT 0;")
            + table(QStringLiteral("verification_records"), VerificationRecordColumns())
            + QStringLiteral("CREATE INDEX verification_records_serial ON verification_records "
                             "(\"serialNumber\", record_time DESC, id DESC);"
                             "CREATE INDEX verification_records_newest ON verification_records (record_time DESC, id DESC);"
                             "CREATE INDEX verification_records_station ON verification_records "
                             "(station, record_time DESC, id DESC);"),
    };
}

QString serverText(const char *text) { return QString::fromUtf8(text).trimmed(); }

// "yyyy-MM-dd HH:mm:ss" UTC as the server's timestamp with time zone.
QString recordTime(const QString &created)
{
    QDateTime t = QDateTime::fromString(created, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!t.isValid())
        t = QDateTime::fromString(created, Qt::ISODate);
    if (!t.isValid())
        return QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss+00"));
    t.setTimeZone(QTimeZone::utc());
    return t.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss+00"));
}

void quietNotices(void *, const char *) {}

// The verification read-back's columns, as the SQLite store gives them.
QString verificationColumns()
{
    return QStringLiteral("id,\"datetime\",station,") + columnList(VerificationRecordColumns().mid(1));
}

} // namespace

bool IsPostgresLocation(const QString &location)
{
    return location.startsWith(QLatin1String("postgresql://")) || location.startsWith(QLatin1String("postgres://"));
}

bool CheckPostgresLocation(const QString &location, QString *error)
{
    char *parseError = nullptr;
    PQconninfoOption *options = PQconninfoParse(location.toUtf8().constData(), &parseError);
    if (!options) {
        if (error)
            *error = QStringLiteral("records store URI '%1' cannot be read: %2")
                         .arg(location, parseError ? serverText(parseError) : QStringLiteral("out of memory"));
        PQfreemem(parseError);
        return false;
    }
    bool password = false;
    for (PQconninfoOption *o = options; o->keyword; ++o)
        if (qstrcmp(o->keyword, "password") == 0 && o->val && *o->val)
            password = true;
    PQconninfoFree(options);
    if (password && error)
        *error = QStringLiteral("records store URI must not carry a password: put it in ~/.pgpass "
                                "(or the PGPASSWORD environment variable) and leave it out of the URI");
    return !password;
}

PostgresStore::PostgresStore(const QString &uri) : uri_(uri) {}

PostgresStore::~PostgresStore() { drop(); }

int PostgresStore::schemaVersion() { return int(migrations().size()); }

void PostgresStore::drop()
{
    {
        const QMutexLocker locked(&cancelLock_);
        if (cancel_)
            PQfreeCancel(cancel_);
        cancel_ = nullptr;
    }
    if (conn_)
        PQfinish(conn_);
    conn_ = nullptr;
}

PGconn *PostgresStore::connectBounded(QString *error)
{
    // Our waits first; the URI's own settings come later and win (libpq takes the
    // last value of a keyword, the server the last -c of a setting).
    const QByteArray uri = uri_.toUtf8();
    QByteArray options = QByteArray("-c statement_timeout=") + QByteArray::number(kPostgresStatementTimeoutMs)
                         + " -c lock_timeout=" + QByteArray::number(kPostgresLockTimeoutMs);
    int connectTimeoutS = kPostgresConnectTimeoutS;
    if (PQconninfoOption *given = PQconninfoParse(uri.constData(), nullptr)) {
        for (PQconninfoOption *o = given; o->keyword; ++o) {
            if (!o->val || !*o->val)
                continue;
            if (qstrcmp(o->keyword, "options") == 0)
                options += ' ' + QByteArray(o->val);
            else if (qstrcmp(o->keyword, "connect_timeout") == 0 && QByteArray(o->val).toInt() > 0)
                connectTimeoutS = QByteArray(o->val).toInt();
        }
        PQconninfoFree(given);
    }
    const QByteArray timeout = QByteArray::number(connectTimeoutS);
    const char *keys[] = {"connect_timeout", "application_name", "dbname", "options", nullptr};
    const char *values[] = {timeout.constData(), "tavel-nfc", uri.constData(), options.constData(), nullptr};
    if (!QAbstractEventDispatcher::instance()) {
        // A thread without an event loop (not a QThread) waits in libpq itself,
        // bounded by connect_timeout, and cannot be interrupted.
        PGconn *c = PQconnectdbParams(keys, values, 1);
        if (c && PQstatus(c) == CONNECTION_OK)
            return c;
        *error = c ? serverText(PQerrorMessage(c)) : QStringLiteral("out of memory");
        if (c)
            PQfinish(c);
        return nullptr;
    }
    PGconn *c = PQconnectStartParams(keys, values, 1);
    if (!c || PQstatus(c) == CONNECTION_BAD) {
        *error = c ? serverText(PQerrorMessage(c)) : QStringLiteral("out of memory");
        if (c)
            PQfinish(c);
        return nullptr;
    }
    QDeadlineTimer deadline(qint64(connectTimeoutS) * 1000);
    PostgresPollingStatusType step = PGRES_POLLING_WRITING;
    while (step != PGRES_POLLING_OK && step != PGRES_POLLING_FAILED) {
        // Waits for the socket in an event loop of this thread, looking at the
        // interrupt and the deadline every few milliseconds.
        QSocketNotifier ready(qintptr(PQsocket(c)),
                              step == PGRES_POLLING_READING ? QSocketNotifier::Read : QSocketNotifier::Write);
        QEventLoop loop;
        bool fired = false;
        QObject::connect(&ready, &QSocketNotifier::activated, &loop, [&] {
            fired = true;
            loop.quit();
        });
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, &loop, [&] {
            if (interrupted_ || deadline.hasExpired())
                loop.quit();
        });
        watch.start(10);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        if (!fired) {
            *error = interrupted_ ? QStringLiteral("the connection was given up (the program is stopping)")
                                  : QStringLiteral("no answer within %1 s").arg(connectTimeoutS);
            PQfinish(c);
            return nullptr;
        }
        step = PQconnectPoll(c);
    }
    if (step == PGRES_POLLING_FAILED || PQstatus(c) != CONNECTION_OK) {
        *error = serverText(PQerrorMessage(c));
        PQfinish(c);
        return nullptr;
    }
    return c;
}

void PostgresStore::interrupt()
{
    interrupted_ = true;
    const QMutexLocker locked(&cancelLock_);
    if (cancel_) {
        char buffer[256];
        PQcancel(cancel_, buffer, int(sizeof buffer));
    }
}

std::unique_ptr<RecordsStore> PostgresStore::clone() const
{
    auto copy = std::make_unique<PostgresStore>(uri_);
    copy->setStation(station_);
    return copy;
}

PGconn *PostgresStore::connection(StoreResult *failure)
{
    if (conn_ && PQstatus(conn_) == CONNECTION_OK)
        return conn_;
    drop();
    QString reason;
    if (interrupted_)
        reason = QStringLiteral("the connection was given up (the program is stopping)");
    else
        conn_ = connectBounded(&reason);
    if (!conn_) {
        *failure = StoreResult::failed(StoreResult::Status::RetryLater,
                                       QStringLiteral("PostgreSQL server %1 cannot be reached: %2").arg(uri_, reason));
        return nullptr;
    }
    {
        const QMutexLocker locked(&cancelLock_);
        cancel_ = PQgetCancel(conn_);
    }
    PQsetNoticeProcessor(conn_, &quietNotices, nullptr);
    // The schema, created or brought up to date once per connection.
    SQLiteAnswerClass version;
    StoreResult r = run("BEGIN;", {}, nullptr);
    if (r.ok())
        r = run("SELECT pg_advisory_xact_lock(7417001700);"
                "CREATE TABLE IF NOT EXISTS records_schema_version (version integer PRIMARY KEY, "
                "applied timestamptz NOT NULL DEFAULT now());",
                {}, nullptr);
    if (r.ok())
        r = run("SELECT COALESCE(max(version), 0) FROM records_schema_version;", {}, &version);
    const QStringList steps = migrations();
    for (int v = version.GetInt(0, 0, 0) + 1; r.ok() && v <= steps.size(); ++v) {
        r = run(steps[v - 1].toUtf8().constData(), {}, nullptr);
        if (r.ok())
            r = run("INSERT INTO records_schema_version (version) VALUES ($1);", {QString::number(v)}, nullptr);
    }
    if (r.ok())
        r = run("COMMIT;", {}, nullptr);
    if (!r.ok()) {
        *failure = r;
        failure->error = QStringLiteral("records schema on %1 could not be prepared: %2").arg(uri_, r.error);
        drop();
        return nullptr;
    }
    return conn_;
}

QString PostgresStore::sendForRows(const QString &sql, const QStringList &values)
{
    std::vector<QByteArray> utf8;
    std::vector<const char *> params;
    utf8.reserve(size_t(values.size()));
    for (const QString &v : values) {
        utf8.push_back(v.toUtf8());
        params.push_back(utf8.back().constData());
    }
    if (PQsendQueryParams(conn_, sql.toUtf8().constData(), int(params.size()), nullptr, params.data(), nullptr,
                          nullptr, 0)
        && PQsetSingleRowMode(conn_))
        return QString();
    const QString text = serverText(PQerrorMessage(conn_));
    drop();
    return text.isEmpty() ? QStringLiteral("the query could not be sent") : text;
}

StoreResult PostgresStore::run(const char *sql, const QStringList &values, SQLiteAnswerClass *answer, int *affected)
{
    std::vector<QByteArray> utf8;
    std::vector<const char *> params;
    utf8.reserve(size_t(values.size()));
    for (const QString &v : values) {
        utf8.push_back(v.toUtf8());
        params.push_back(utf8.back().constData());
    }
    PGresult *res = values.isEmpty() ? PQexec(conn_, sql)
                                     : PQexecParams(conn_, sql, int(params.size()), nullptr, params.data(),
                                                    nullptr, nullptr, 0);
    const ExecStatusType status = PQresultStatus(res);
    StoreResult r;
    if (status == PGRES_TUPLES_OK && answer) {
        const int columns = PQnfields(res);
        std::vector<const char *> names(static_cast<size_t>(columns)), cells(static_cast<size_t>(columns));
        for (int c = 0; c < columns; ++c)
            names[size_t(c)] = PQfname(res, c);
        for (int row = 0; row < PQntuples(res); ++row) {
            for (int c = 0; c < columns; ++c)
                cells[size_t(c)] = PQgetisnull(res, row, c) ? nullptr : PQgetvalue(res, row, c);
            answer->Insert(columns, cells.data(), names.data());
        }
    } else if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
        const bool gone = PQstatus(conn_) != CONNECTION_OK;
        // A lock another session holds past lock_timeout, a statement past
        // statement_timeout (or cancelled), a deadlock: the records wait and are
        // tried again, as for a server away.
        const QByteArray state = res ? QByteArray(PQresultErrorField(res, PG_DIAG_SQLSTATE)) : QByteArray();
        const bool locked = state == "55P03" || state == "57014" || state == "40P01";
        r = StoreResult::failed(gone || locked ? StoreResult::Status::RetryLater : StoreResult::Status::Failed,
                                serverText(PQerrorMessage(conn_)));
        r.locked = locked && !gone;
    }
    if (affected)
        *affected = QByteArray(PQcmdTuples(res)).toInt();
    PQclear(res);
    if (!r.ok()) {
        if (r.retryLater() && !r.locked)
            drop();
        else if (PQtransactionStatus(conn_) == PQTRANS_INERROR)
            PQclear(PQexec(conn_, "ROLLBACK;"));
    }
    return r;
}

bool PostgresStore::prepare(QString *error)
{
    StoreResult failure;
    if (connection(&failure)) {
        // The record tables can be read: a session holding them locked is found
        // here, within lock_timeout, not by the first record.
        failure = run("SELECT 1 FROM settings_records, driver_records, verification_records LIMIT 0;", {}, nullptr);
        if (failure.ok())
            return true;
        failure.error = QStringLiteral("the record tables on %1 cannot be read: %2").arg(uri_, failure.error);
    }
    if (error)
        *error = failure.error;
    return false;
}

StoreResult PostgresStore::lookUpSettings(const QString &programmerId, const QString &upTo, const BusyBudget &,
                                          QStringList *settings)
{
    *settings = QStringList();
    for (int i = 0; i < SettingTextCount(); ++i)
        *settings << QString();
    StoreResult r;
    if (!connection(&r))
        return r;
    const QString sql = QStringLiteral("SELECT %1 FROM settings_records WHERE \"enOcean_HandHeldID\" = $1 %2"
                                       "ORDER BY record_time DESC, id DESC LIMIT 1;")
                            .arg(columnList(settingColumns()),
                                 upTo.isEmpty() ? QString() : QStringLiteral("AND record_time <= $2::timestamptz "));
    SQLiteAnswerClass answer;
    QStringList values{programmerId};
    if (!upTo.isEmpty())
        values << recordTime(upTo);
    r = run(sql.toUtf8().constData(), values, &answer);
    if (!r.ok())
        return r;
    for (int col = 0; col < SettingTextCount(); ++col)
        (*settings)[col] = answer.GetRowCount() == 0 ? QStringLiteral("NULL") : answer.Get(col, 0);
    return r;
}

StoreResult PostgresStore::insert(const PendingRecord &record, bool, const BusyBudget &budget)
{
    const bool driver = record.kind == PendingRecord::Kind::Driver;
    QStringList values = record.values;
    if (driver && record.lookupDeferred) {
        QStringList looked;
        const StoreResult lookup = lookUpSettings(record.values.value(2), record.created, budget, &looked);
        if (lookup.retryLater())
            return lookup;
        values = record.withSettingTexts(looked);
    }
    StoreResult r;
    if (!connection(&r))
        return r;
    const QStringList &columns = record.kind == PendingRecord::Kind::Settings ? SettingsRecordColumns()
                                 : driver                                    ? DriverRecordColumns()
                                                                             : VerificationRecordColumns();
    const QString table = record.kind == PendingRecord::Kind::Settings ? QStringLiteral("settings_records")
                          : driver                                    ? QStringLiteral("driver_records")
                                                                      : QStringLiteral("verification_records");
    QString placeholders = QStringLiteral("$1, $2, $3::timestamptz");
    for (int i = 0; i < columns.size(); ++i)
        placeholders += QStringLiteral(", $%1").arg(i + 4);
    QString repeatColumn;
    if (driver) {
        // $8 serialNumber: more records of it than those of the same report before this one.
        repeatColumn = QStringLiteral(", \"repeat\"");
        placeholders += QStringLiteral(", (SELECT CASE WHEN count(*) > %1 THEN 1 ELSE 0 END FROM "
                                       "(SELECT 1 FROM driver_records WHERE \"serialNumber\" = $8 LIMIT %2) AS earlier)")
                            .arg(record.reportRecord)
                            .arg(record.reportRecord + 1);
    }
    const QString sql = QStringLiteral("INSERT INTO %1 (record_id, station, record_time, %2%3) VALUES (%4) "
                                       "ON CONFLICT (record_id) DO NOTHING RETURNING %5;")
                            .arg(table, columnList(columns), repeatColumn, placeholders,
                                 driver ? QStringLiteral("\"repeat\"") : QStringLiteral("id"));
    values.prepend(record.created);
    values = QStringList{record.id, station_.isEmpty() ? RecordsStation() : station_, recordTime(record.created)} + values;
    SQLiteAnswerClass returned;
    if (!driver) {
        r = run(sql.toUtf8().constData(), values, &returned);
    } else {
        // Two stations recording the same driver at once: one of them sees the other's record.
        r = run("BEGIN;", {}, nullptr);
        if (r.ok())
            r = run("SELECT pg_advisory_xact_lock(741700, hashtext($1));", {values.value(7)}, nullptr);
        if (r.ok())
            r = run(sql.toUtf8().constData(), values, &returned);
        if (r.ok())
            r = run("COMMIT;", {}, nullptr);
        else if (conn_ && PQtransactionStatus(conn_) != PQTRANS_IDLE)
            PQclear(PQexec(conn_, "ROLLBACK;"));
    }
    r.inserted = r.ok() && returned.GetRowCount() == 1;
    r.repeat = r.inserted && driver && returned.Get(0, 0) == QLatin1String("1");
    return r;
}

bool PostgresStore::query(RecordQuery which, int limit, const QString &station, SQLiteAnswerClass &answer,
                          QString *error)
{
    StoreResult r;
    if (connection(&r)) {
        QString columns, table;
        switch (which) {
        case RecordQuery::SettingsNewest:
            columns = QStringLiteral("id,") + columnList(SettingsRecordColumns());
            table = QStringLiteral("settings_records");
            break;
        case RecordQuery::DriversNewest:
        case RecordQuery::DriversReport:
            columns = (which == RecordQuery::DriversNewest ? QStringLiteral("id,") : QString())
                      + columnList(DriverRecordColumns()) + QStringLiteral(",\"repeat\"");
            table = QStringLiteral("driver_records");
            break;
        case RecordQuery::VerificationsNewest:
            columns = verificationColumns();
            table = QStringLiteral("verification_records");
            break;
        }
        const QString sql = QStringLiteral("SELECT %1 FROM %2 %3ORDER BY record_time DESC, id DESC LIMIT $1;")
                                .arg(columns, table,
                                     station.isEmpty() ? QString() : QStringLiteral("WHERE station = $2 "));
        QStringList values{QString::number(limit)};
        if (!station.isEmpty())
            values << station;
        r = run(sql.toUtf8().constData(), values, &answer);
    }
    if (!r.ok() && error)
        *error = QStringLiteral("records could not be read: ") + r.error;
    return r.ok();
}

bool PostgresStore::newestVerification(const QString &serial, SQLiteAnswerClass &answer, QString *error)
{
    StoreResult r;
    if (connection(&r)) {
        const QString sql = QStringLiteral("SELECT %1 FROM verification_records WHERE \"serialNumber\" = $1 "
                                           "ORDER BY record_time DESC, id DESC LIMIT 1;")
                                .arg(verificationColumns());
        r = run(sql.toUtf8().constData(), {serial}, &answer);
    }
    if (!r.ok() && error)
        *error = QStringLiteral("records could not be read: ") + r.error;
    return r.ok();
}

bool PostgresStore::exportDriversCsv(const QString &path, const QString &station, QString *error,
                                     const ExportProgress &progress)
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    StoreResult r;
    if (!connection(&r))
        return fail(r.error);
    const QString where = station.isEmpty() ? QString() : QStringLiteral("WHERE d.station = $1 ");
    const QStringList params = station.isEmpty() ? QStringList() : QStringList{station};
    qint64 total = 0;
    if (progress) {
        SQLiteAnswerClass count;
        const QString sql = QStringLiteral("SELECT count(*) FROM driver_records AS d %1;").arg(where);
        if (run(sql.toUtf8().constData(), params, &count).ok())
            total = count.GetInt(0, 0, 0);
        progress(0, total);
    }
    const QString sql =
        QStringLiteral("SELECT d.id,%1,s.id AS settings_id,s.\"datetime\" AS settings_datetime,"
                       "s.\"programmer_NFC_FW\" AS \"settings_programmer_NFC_FW\",%2,d.station,d.\"repeat\" "
                       "FROM driver_records AS d LEFT JOIN LATERAL (SELECT * FROM settings_records AS x "
                       "WHERE x.\"enOcean_HandHeldID\" = d.\"programmerID\" AND x.record_time <= d.record_time "
                       "ORDER BY x.record_time DESC, x.id DESC LIMIT 1) AS s ON true %3"
                       "ORDER BY d.record_time, d.id;")
            .arg(columnList(DriverRecordColumns(), QStringLiteral("d.")),
                 columnList(SettingsProductColumns(), QStringLiteral("s.")), where);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return fail(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    // The rows come one at a time, so the export's memory does not grow with the table.
    if (const QString failure = sendForRows(sql, params); !failure.isEmpty()) {
        file.cancelWriting();
        return fail(QStringLiteral("Driver records could not be read: ") + failure);
    }
    bool header = true, written = true;
    QString readError;
    qint64 rows = 0;
    while (PGresult *res = PQgetResult(conn_)) {
        const ExecStatusType status = PQresultStatus(res);
        if (status == PGRES_SINGLE_TUPLE && written) {
            QByteArray line;
            const int columns = PQnfields(res);
            if (header) {
                for (int c = 0; c < columns; ++c)
                    line += (c ? "," : "") + CsvField(QString::fromUtf8(PQfname(res, c))).toUtf8();
                written = file.write(line + '\n') >= 0;
                header = false;
                line.clear();
            }
            for (int c = 0; c < columns; ++c)
                line += (c ? "," : "") + CsvField(QString::fromUtf8(PQgetvalue(res, 0, c))).toUtf8();
            written = written && file.write(line + '\n') >= 0;
            if (progress && written)
                progress(++rows, total);
        } else if (status != PGRES_TUPLES_OK && status != PGRES_SINGLE_TUPLE) {
            readError = serverText(PQresultErrorMessage(res));
        }
        PQclear(res);
    }
    if (header && written && readError.isEmpty()) {
        // No driver record: the header line alone (the column names as the join gives them).
        QStringList names{QStringLiteral("id")};
        names << DriverRecordColumns() << QStringLiteral("settings_id") << QStringLiteral("settings_datetime")
              << QStringLiteral("settings_programmer_NFC_FW") << SettingsProductColumns()
              << QStringLiteral("station") << QStringLiteral("repeat");
        QStringList fields;
        for (const QString &n : names)
            fields << CsvField(n);
        written = file.write(fields.join(QLatin1Char(',')).toUtf8() + '\n') >= 0;
    }
    if (PQstatus(conn_) != CONNECTION_OK)
        drop();
    return FinishCsvExport(file, path, written, readError, error);
}

namespace {

// The report's conditions on the records `alias` ("d." or none), with the
// programmer column named.
QString reportConditions(const ReportSelection &selection, const QString &alias, const QString &programmer,
                         QStringList *values)
{
    static const ReportConditionDialect dialect{QStringLiteral("$%1::timestamptz"), QStringLiteral("$%1"), recordTime};
    return ReportConditions(selection,
                            {alias + QStringLiteral("record_time"), alias + quoted(programmer),
                             alias + QStringLiteral("station")},
                            dialect, values);
}

} // namespace

bool PostgresStore::readReport(const ReportSelection &selection, QList<ReportTransfer> *transfers,
                               const ReportSink &sink, QString *error)
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    StoreResult r;
    if (!connection(&r))
        return fail(r.error);
    const QStringList settingValues = SettingsRecordColumns().mid(1);
    QStringList values;
    QString sql = QStringLiteral("SELECT id,\"datetime\",%1 FROM settings_records%2 ORDER BY record_time, id;")
                      .arg(columnList(settingValues),
                           reportConditions(selection, QString(), QStringLiteral("enOcean_HandHeldID"), &values));
    SQLiteAnswerClass settings;
    r = run(sql.toUtf8().constData(), values, &settings);
    if (!r.ok())
        return fail(QStringLiteral("Settings records could not be read: ") + r.error);
    for (int row = 0; row < settings.GetRowCount(); ++row) {
        ReportTransfer t{settings.Get(0, row), settings.Get(1, row), {}};
        for (int col = 2; col < settings.GetColoumCount(); ++col)
            t.values << settings.Get(col, row, QString());
        transfers->append(t);
    }

    values.clear();
    const QString where = reportConditions(selection, QStringLiteral("d."), QStringLiteral("programmerID"), &values);
    if (sink.stations) {
        // The stations of the transfers and of the drivers the report shows.
        QStringList stationValues;
        const QString driversWhere =
            reportConditions(selection, QStringLiteral("d."), QStringLiteral("programmerID"), &stationValues);
        const QString settingsWhere =
            reportConditions(selection, QString(), QStringLiteral("enOcean_HandHeldID"), &stationValues);
        SQLiteAnswerClass answer;
        r = run((QStringLiteral("SELECT station FROM driver_records AS d") + driversWhere
                 + QStringLiteral(" UNION SELECT station FROM settings_records") + settingsWhere
                 + QStringLiteral(" ORDER BY 1;"))
                    .toUtf8()
                    .constData(),
                stationValues, &answer);
        if (!r.ok())
            return fail(QStringLiteral("Records could not be read: ") + r.error);
        QStringList stations;
        for (int row = 0; row < answer.GetRowCount(); ++row)
            stations << answer.Get(0, row, QString());
        sink.stations(stations);
    }
    if (sink.total) {
        SQLiteAnswerClass count;
        r = run((QStringLiteral("SELECT count(*) FROM driver_records AS d") + where).toUtf8().constData(), values,
                &count);
        if (!r.ok())
            return fail(QStringLiteral("Driver records could not be read: ") + r.error);
        sink.total(count.GetInt(0, 0, 0));
    }
    sql = QStringLiteral("SELECT d.\"datetime\",d.\"serialNumber\",d.\"programmerID\",d.\"programmer_NFC_FW\",d.\"repeat\","
                         "v.\"datetime\",v.result,v.differences,s.id,s.\"datetime\",%1 FROM driver_records AS d "
                         "LEFT JOIN LATERAL (SELECT * FROM settings_records AS x WHERE x.\"enOcean_HandHeldID\" = "
                         "d.\"programmerID\" AND x.record_time <= d.record_time ORDER BY x.record_time DESC, x.id DESC "
                         "LIMIT 1) AS s ON true "
                         // A verification belongs to the driver record it follows: the newest
                         // record of its serial at or before its time.
                         "LEFT JOIN LATERAL (SELECT * FROM verification_records AS y WHERE y.\"serialNumber\" = "
                         "d.\"serialNumber\" AND y.record_time >= d.record_time AND NOT EXISTS (SELECT 1 FROM "
                         "driver_records AS n WHERE n.\"serialNumber\" = d.\"serialNumber\" AND (n.record_time > "
                         "d.record_time OR (n.record_time = d.record_time AND n.id > d.id)) AND n.record_time <= "
                         "y.record_time) ORDER BY y.record_time DESC, y.id DESC LIMIT 1) AS v ON true%2 "
                         "ORDER BY s.record_time NULLS FIRST, s.id NULLS FIRST, d.record_time, d.id;")
              .arg(columnList(settingValues, QStringLiteral("s.")), where);
    // The rows come one at a time, so the report's memory does not grow with the table.
    if (const QString failure = sendForRows(sql, values); !failure.isEmpty())
        return fail(QStringLiteral("Driver records could not be read: ") + failure);
    bool going = true;
    QString readError;
    while (PGresult *res = PQgetResult(conn_)) {
        const ExecStatusType status = PQresultStatus(res);
        if (status == PGRES_SINGLE_TUPLE && going) {
            auto text = [res](int col) {
                return PQgetisnull(res, 0, col) ? QString() : QString::fromUtf8(PQgetvalue(res, 0, col));
            };
            ReportDriver d;
            d.datetime = text(0);
            d.serial = text(1);
            d.programmerId = text(2);
            d.programmerFw = text(3);
            d.repeat = text(4) == QLatin1String("1");
            d.verifyTime = text(5);
            d.verifyResult = text(6);
            d.verifyDifferences = text(7);
            d.transfer.id = text(8);
            d.transfer.datetime = text(9);
            for (int col = 10; col < PQnfields(res); ++col)
                d.transfer.values << text(col);
            going = sink.driver(d);
        } else if (status != PGRES_TUPLES_OK && status != PGRES_SINGLE_TUPLE) {
            readError = serverText(PQresultErrorMessage(res));
        }
        PQclear(res);
    }
    if (PQstatus(conn_) != CONNECTION_OK)
        drop();
    if (!readError.isEmpty())
        return fail(QStringLiteral("Driver records could not be read: ") + readError);
    return true;
}
