#include "records/sqlite/sqlite_store.h"

#include "common/dialogs.h"
#include "records/record_columns.h"
#include "records/records_database.h"
#include "records/sqlite/sqlite_exec.h"
#include "records/sqlite/sqlite_files.h"
#include "records/sqlite/sqlite_tables.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <sqlite3.h>

#include <vector>

using namespace sqlite_files;

namespace {

// The driver records of a serial number that are there already, counted up to
// ?2 (one more than the records of the same report before this one).
const char *const kRepeatCheckSql =
    "SELECT count(*) FROM (SELECT 1 FROM ProgrammedLines WHERE serialNumber = ?1 LIMIT ?2);";

// The read-back statements, each made once from the column lists.
const char *verificationsNewestSql()
{
    static const QByteArray sql =
        QStringLiteral("SELECT id,%1 FROM Verifications ORDER BY datetime DESC, id DESC LIMIT ?1;")
            .arg(SqlColumnList(VerificationsTableColumns()))
            .toUtf8();
    return sql.constData();
}

const char *verificationOfSerialSql()
{
    static const QByteArray sql =
        QStringLiteral("SELECT id,%1 FROM Verifications WHERE serialNumber = ?1 ORDER BY datetime DESC, id DESC LIMIT 1;")
            .arg(SqlColumnList(VerificationsTableColumns()))
            .toUtf8();
    return sql.constData();
}

// The newest settings record of one programmer. Records of the same second are
// told apart by their id, so the last one written wins.
const char *settingsLookupSql()
{
    static const QByteArray sql = QStringLiteral("SELECT %1,datetime FROM ProgrammedLines WHERE (enOcean_HandHeldID = ?1) "
                                                 "ORDER BY datetime DESC, id DESC LIMIT 1;")
                                      .arg(SqlColumnList(SettingTextColumns()))
                                      .toUtf8();
    return sql.constData();
}

// The same among the records made up to a time (a driver record moved in from
// the pending-records journal).
const char *settingsLookupUpToSql()
{
    static const QByteArray sql =
        QStringLiteral("SELECT %1,datetime FROM ProgrammedLines WHERE (enOcean_HandHeldID = ?1) AND datetime <= ?2 "
                       "ORDER BY datetime DESC, id DESC LIMIT 1;")
            .arg(SqlColumnList(SettingTextColumns()))
            .toUtf8();
    return sql.constData();
}

// The drivers report: the driver columns and whether the driver was programmed before.
const char *driversReportSql()
{
    static const QByteArray sql =
        QStringLiteral("SELECT %1,repeat FROM ProgrammedLines ORDER BY datetime DESC, id DESC LIMIT ?1;")
            .arg(SqlColumnList(DriverRecordColumns()))
            .toUtf8();
    return sql.constData();
}

const char *settingsNewestSql()
{
    static const QByteArray sql = QStringLiteral("SELECT id,%1 FROM ProgrammedLines ORDER BY datetime DESC, id DESC LIMIT ?1;")
                                      .arg(SqlColumnList(SettingsRecordColumns()))
                                      .toUtf8();
    return sql.constData();
}

const char *driversNewestSql()
{
    static const QByteArray sql =
        QStringLiteral("SELECT id,%1,repeat FROM ProgrammedLines ORDER BY datetime DESC, id DESC LIMIT ?1;")
            .arg(SqlColumnList(DriverRecordColumns()))
            .toUtf8();
    return sql.constData();
}

// "INSERT INTO <table> (<columns>)VALUES (?1, ?2, ...);" binding the columns in order.
QByteArray insertSql(const char *table, const QStringList &columns)
{
    QStringList parameters;
    for (qsizetype i = 1; i <= columns.size(); ++i)
        parameters << QStringLiteral("?%1").arg(i);
    return QStringLiteral("INSERT INTO %1 (%2)VALUES (%3);")
        .arg(QLatin1String(table), columns.join(QLatin1Char(',')), parameters.join(QStringLiteral(", ")))
        .toUtf8();
}

const char *settingsInsertSql()
{
    static const QByteArray sql = insertSql("ProgrammedLines", SettingsRecordColumns());
    return sql.constData();
}

const char *driversInsertRepeatSql()
{
    static const QByteArray sql = insertSql("ProgrammedLines", DriverRecordColumns() + QStringList{QStringLiteral("repeat")});
    return sql.constData();
}

const char *verificationsInsertSql()
{
    // The station is the files' own column: the records of one station.
    static const QByteArray sql =
        insertSql("Verifications", VerificationRecordColumns() + QStringList{QStringLiteral("station")});
    return sql.constData();
}

void showSqlError(const QString &text) { dialogs().message(QString(), text); }

int execCallback(void *context, int n, char **values, char **names)
{
    static_cast<SQLiteAnswerClass *>(context)->Insert(n, values, names);
    return 0;
}

} // namespace

namespace {

// ---- Records and the pending journal ---------------------------------------------

// Journal records taken in are remembered in the file that took them, in the
// same transaction as the record.
const char *const kTakenTableSql =
    "CREATE TABLE IF NOT EXISTS [PendingRecordsTaken] ([recordId] text NOT NULL PRIMARY KEY);";

QStringList emptySettingTexts()
{
    QStringList settings;
    for (int i = 0; i < SettingTextCount(); ++i)
        settings << QString();
    return settings;
}

// The 13 setting texts of the newest settings record of `programmerId` (made up
// to `upTo` when given). A failed lookup that is not a busy file leaves empty texts.
Quiet lookUpSettingsIn(const QString &programmerId, const QString &upTo, const BusyBudget &budget, QStringList *settings)
{
    *settings = emptySettingTexts();
    Connection c;
    Quiet q = openForRecord(c, kSettingsFile, budget, SettingsCreateTableSqlDriverForm());
    SQLiteAnswerClass answer;
    if (q.ok())
        q = upTo.isEmpty() ? runQuiet(c.get(), settingsLookupSql(), {programmerId}, &answer)
                           : runQuiet(c.get(), settingsLookupUpToSql(), {programmerId, upTo}, &answer);
    if (!q.ok())
        return q;
    if (answer.GetRowCount() == 0) {
        // No settings record of this programmer: the values read as NULL.
        for (auto &s : *settings)
            s = QStringLiteral("NULL");
    } else {
        for (int col = 0; col < SettingTextCount(); ++col) {
            const QString text = answer.Get(col, 0);
            if (!text.isEmpty())
                (*settings)[col] = text;
        }
    }
    return q;
}

// Inserts one record into its file, with the journal id when it comes from the
// journal (then skipped when that file took it before).
// Inserts one record into its file, with the journal id when it comes from the
// journal (then skipped when that file took it before). A driver record is
// checked for a repeat in the same transaction as its insert.
Quiet insertRecord(const PendingRecord &record, bool fromJournal, const BusyBudget &budget, bool *inserted,
                   bool *repeat)
{
    const bool driver = record.kind == PendingRecord::Kind::Driver;
    QStringList values = record.values;
    if (driver && record.lookupDeferred) {
        QStringList looked;
        const Quiet lookup = lookUpSettingsIn(record.values.value(2), record.created, budget, &looked);
        if (lookup.busy())
            return lookup;
        values = record.withSettingTexts(looked);
    }
    Connection c;
    Quiet q = openForRecord(c, fileOf(record.kind), budget);
    if (!q.ok())
        return q;
    const char *insert = record.kind == PendingRecord::Kind::Settings ? settingsInsertSql()
                         : driver                                   ? driversInsertRepeatSql()
                                                                    : verificationsInsertSql();
    values.prepend(record.created);
    if (record.kind == PendingRecord::Kind::Verification)
        values << RecordsStation();
    if (!fromJournal && !driver) {
        q = runQuiet(c.get(), insert, values, nullptr);
        *inserted = q.ok();
        return q;
    }
    if (fromJournal)
        q = runQuiet(c.get(), kTakenTableSql, {}, nullptr);
    if (!q.ok())
        return q;
    q = runQuiet(c.get(), "BEGIN IMMEDIATE;", {}, nullptr);
    if (!q.ok())
        return q;
    SQLiteAnswerClass taken;
    if (fromJournal)
        q = runQuiet(c.get(), "SELECT 1 FROM PendingRecordsTaken WHERE recordId = ?1;", {record.id}, &taken);
    if (q.ok() && taken.GetRowCount() == 0) {
        if (driver) {
            SQLiteAnswerClass earlier;
            q = runQuiet(c.get(), kRepeatCheckSql, {values.value(4), QString::number(record.reportRecord + 1)},
                         &earlier);
            *repeat = earlier.GetInt(0, 0, 0) > record.reportRecord;
            values << (*repeat ? QStringLiteral("1") : QStringLiteral("0"));
        }
        if (q.ok())
            q = runQuiet(c.get(), insert, values, nullptr);
        if (q.ok() && fromJournal)
            q = runQuiet(c.get(), "INSERT INTO PendingRecordsTaken (recordId) VALUES (?1);", {record.id}, nullptr);
        *inserted = q.ok();
    }
    if (q.ok())
        q = runQuiet(c.get(), "COMMIT;", {}, nullptr);
    if (!q.ok()) {
        *inserted = false;
        *repeat = false;
        runQuiet(c.get(), "ROLLBACK;", {}, nullptr);
    }
    return q;
}

StoreResult toResult(const Quiet &q)
{
    if (q.ok())
        return {};
    StoreResult r = StoreResult::failed(q.busy() ? StoreResult::Status::RetryLater : StoreResult::Status::Failed, q.error);
    r.locked = q.busy();
    return r;
}

} // namespace

QString SqliteStore::location() const { return DatabaseFolderName(); }

bool SqliteStore::prepare(QString *error)
{
    // Runs once at start with the usual long wait: building the indexes of a
    // large file of an earlier version takes a few seconds once.
    for (const RecordFile *file : {&kSettingsFile, &kDriversFile, &kVerificationsFile}) {
        Connection c;
        if (!c.open(file->path(), prepareBusyMs_)) {
            if (error)
                *error = c.lastError;
            return false;
        }
        Quiet q = runQuiet(c.get(), file->createTable(), {}, nullptr);
        if (q.ok() && file->repeatColumn)
            q = ensureRepeatColumn(c.get());
        if (q.ok())
            q = runQuiet(c.get(), file->indexes, {}, nullptr);
        if (!q.ok()) {
            if (error)
                *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(file->path()), q.error);
            return false;
        }
    }
    return true;
}

std::unique_ptr<RecordsStore> SqliteStore::clone() const
{
    auto copy = std::make_unique<SqliteStore>();
    copy->prepareBusyMs_ = DatabaseBusyTimeout();
    return copy;
}

StoreResult SqliteStore::lookUpSettings(const QString &programmerId, const QString &upTo, const BusyBudget &budget,
                                        QStringList *settings)
{
    return toResult(lookUpSettingsIn(programmerId, upTo, budget, settings));
}

StoreResult SqliteStore::insert(const PendingRecord &record, bool once, const BusyBudget &budget)
{
    bool inserted = false, repeat = false;
    StoreResult r = toResult(insertRecord(record, once, budget, &inserted, &repeat));
    r.inserted = inserted;
    r.repeat = repeat;
    return r;
}

namespace {

// One read-back statement on one file, without message boxes.
bool readFile(const RecordFile &file, const char *sql, const QStringList &values, SQLiteAnswerClass &answer,
              QString *error)
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    Connection c;
    Quiet q = openForRecord(c, file, BusyBudget(DatabaseBusyTimeout()));
    if (!q.ok())
        return fail(databaseName(file) + QStringLiteral(" could not be opened: ") + q.error);
    q = runQuiet(c.get(), sql, values, &answer);
    if (!q.ok())
        return fail(recordsName(file) + QStringLiteral(" could not be read: ") + q.error);
    return true;
}

} // namespace

bool SqliteStore::query(RecordQuery which, int limit, const QString &station, SQLiteAnswerClass &answer,
                        QString *error)
{
    if (!station.isEmpty()) {
        if (error)
            *error = kNoStationText;
        return false;
    }
    switch (which) {
    case RecordQuery::SettingsNewest:
        return readFile(kSettingsFile, settingsNewestSql(), {QString::number(limit)}, answer, error);
    case RecordQuery::DriversNewest:
        return readFile(kDriversFile, driversNewestSql(), {QString::number(limit)}, answer, error);
    case RecordQuery::DriversReport:
        return readFile(kDriversFile, driversReportSql(), {QString::number(limit)}, answer, error);
    case RecordQuery::VerificationsNewest:
        return readFile(kVerificationsFile, verificationsNewestSql(), {QString::number(limit)}, answer, error);
    }
    return false;
}

bool SqliteStore::newestVerification(const QString &serial, SQLiteAnswerClass &answer, QString *error)
{
    return readFile(kVerificationsFile, verificationOfSerialSql(), {serial}, answer, error);
}

bool ExecInt(const QString &sql, SQLiteAnswerClass *answer, sqlite3 *db)
{
    if (!db)
        return false;
    char *error = nullptr;
    const QByteArray text = sql.toUtf8();
    const int rc = sqlite3_exec(db, text.constData(), answer ? &execCallback : nullptr, answer, &error);
    if (rc != SQLITE_OK) {
        showSqlError(error ? DatabaseText(error) : DatabaseText(sqlite3_errmsg(db)));
        sqlite3_free(error);
        return false;
    }
    return true;
}

bool ExecBound(const char *sql, const QStringList &values, SQLiteAnswerClass *answer, sqlite3 *db)
{
    if (!db)
        return false;
    const Quiet q = runQuiet(db, sql, values, answer);
    if (!q.ok())
        showSqlError(q.error);
    return q.ok();
}

