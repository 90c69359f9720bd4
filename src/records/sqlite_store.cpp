#include "records/sqlite_store.h"

#include "common/dialogs.h"
#include "profile/parameter_table.h"
#include "records/records_database.h"
#include "records/sqlite_files.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <sqlite3.h>

#include <vector>

const char *const kSettingsCreateTableSql =
    "CREATE TABLE IF NOT EXISTS [ProgrammedLines] ([id] INTEGER  NOT NULL PRIMARY KEY AUTOINCREMENT, "
    "[datetime] text NULL, [enOcean_HandHeldID] text NULL, [programmer_NFC_FW] text NULL, "
    "[familyName] text NULL, [type] text NULL, [ref_number] text NULL, [editGTIN] text NULL, "
    "[editFW] text NULL, [editHW] text NULL, [editSerial] text NULL, [nomCurrent] text NULL, "
    "[lifeTime] text NULL, [CLO_L1] text NULL, [CLO_L2] text NULL, [CLO_L3] text NULL, "
    "[CLO_L4] text NULL, [CLO_L5] text NULL, [DC_level] text NULL, [extNTC_Temp1] text NULL, "
    "[extNTC_Level1] text NULL, [extNTC_Temp2] text NULL, [extNTC_Level2] text NULL, "
    "[extNTC_CutOffTemp] text NULL );";

const char *const kSettingsCreateTableSqlDriverForm =
    "CREATE TABLE IF NOT EXISTS [ProgrammedLines] ([id] INTEGER  NOT NULL PRIMARY KEY AUTOINCREMENT, "
    "[datetime] text NULL, [enOcean_HandHeldID] text NULL, [programmer_NFC_FW] text NULL, "
    "[familyName] text NULL, [type] text NULL, [ref_number] text NULL, [editGTIN] text NULL, "
    "[editFW] text NULL, [editHW] text NULL, [editSerial] text NULL, [nomCurrent] text NULL, "
    "[lifeTime] text NULL, [CLO_L1] text NULL, [CLO_L2] text NULL, [CLO_L3] text NULL, "
    "[CLO_L4] text NULL, [CLO_L5] text NULL, [DC_level] text NULL, [extNTC_Temp1] text NULL, "
    "[ExtNTC_Level1] text NULL, [extNTC_Temp2] text NULL, [ExtNTC_Level2] text NULL, "
    "[ExtNTC_CutOffTemp] text NULL );";

const char *const kDriversCreateTableSql =
    "CREATE TABLE IF NOT EXISTS [ProgrammedLines] ([id] INTEGER  NOT NULL PRIMARY KEY AUTOINCREMENT, "
    "[datetime] text NULL, [enOcean_HandHeldID] text NULL, [programmer_NFC_FW] text NULL, "
    "[programmerID] text NULL, [serialNumber] text NULL, [nomCurrent] text NULL, [lifeTime] text NULL, "
    "[CLO_L1] text NULL, [CLO_L2] text NULL, [CLO_L3] text NULL, [CLO_L4] text NULL, "
    "[CLO_L5] text NULL, [DC_level] text NULL, [extNTC_Temp1] text NULL, [extNTC_Level1] text NULL, "
    "[extNTC_Temp2] text NULL, [extNTC_Level2] text NULL, [extNTC_CutOffTemp] text NULL );";

// The verification records: one per driver read back and compared with a slot.
const char *const kVerificationsCreateTableSql =
    "CREATE TABLE IF NOT EXISTS [Verifications] ([id] INTEGER NOT NULL PRIMARY KEY AUTOINCREMENT, "
    "[datetime] text NULL, [station] text NULL, [serialNumber] text NULL, [programmerID] text NULL, "
    "[slot] text NULL, [result] text NULL, [differences] text NULL );";

using namespace sqlite_files;

namespace {

// The driver records of a serial number that are there already, counted up to
// ?2 (one more than the records of the same report before this one).
const char *const kRepeatCheckSql =
    "SELECT count(*) FROM (SELECT 1 FROM ProgrammedLines WHERE serialNumber = ?1 LIMIT ?2);";
const char *const kVerificationsNewestSql =
    "SELECT id,datetime,station,serialNumber,programmerID,slot,result,differences FROM Verifications "
    "ORDER BY datetime DESC, id DESC LIMIT ?1;";
const char *const kVerificationOfSerialSql =
    "SELECT id,datetime,station,serialNumber,programmerID,slot,result,differences FROM Verifications "
    "WHERE serialNumber = ?1 ORDER BY datetime DESC, id DESC LIMIT 1;";

// The newest settings record of one programmer. Records of the same second are
// told apart by their id, so the last one written wins.
const char *const kSettingsLookupSql =
    "SELECT nomCurrent,lifeTime,CLO_L1,CLO_L2,CLO_L3,CLO_L4,CLO_L5,DC_level,extNTC_Temp1,"
    "extNTC_Level1,extNTC_Temp2,extNTC_Level2,extNTC_CutOffTemp,datetime FROM ProgrammedLines "
    "WHERE (enOcean_HandHeldID = ?1) ORDER BY datetime DESC, id DESC LIMIT 1;";
// The same among the records made up to a time (a driver record moved in from
// the pending-records journal).
const char *const kSettingsLookupUpToSql =
    "SELECT nomCurrent,lifeTime,CLO_L1,CLO_L2,CLO_L3,CLO_L4,CLO_L5,DC_level,extNTC_Temp1,"
    "extNTC_Level1,extNTC_Temp2,extNTC_Level2,extNTC_CutOffTemp,datetime FROM ProgrammedLines "
    "WHERE (enOcean_HandHeldID = ?1) AND datetime <= ?2 ORDER BY datetime DESC, id DESC LIMIT 1;";

const char *const kDriversReportSql =
    "SELECT datetime,enOcean_HandHeldID,programmer_NFC_FW,programmerID,serialNumber,nomCurrent,"
    "lifeTime,CLO_L1,CLO_L2,CLO_L3,CLO_L4,CLO_L5,DC_level,extNTC_Temp1,extNTC_Level1,extNTC_Temp2,"
    "extNTC_Level2,extNTC_CutOffTemp,repeat FROM ProgrammedLines ORDER BY datetime DESC, id DESC LIMIT ?1;";

const char *const kSettingsNewestSql =
    "SELECT id,datetime,enOcean_HandHeldID,programmer_NFC_FW,familyName,type,ref_number,editGTIN,"
    "editFW,editHW,editSerial,nomCurrent,lifeTime,CLO_L1,CLO_L2,CLO_L3,CLO_L4,CLO_L5,DC_level,"
    "extNTC_Temp1,extNTC_Level1,extNTC_Temp2,extNTC_Level2,extNTC_CutOffTemp FROM ProgrammedLines "
    "ORDER BY datetime DESC, id DESC LIMIT ?1;";

const char *const kDriversNewestSql =
    "SELECT id,datetime,enOcean_HandHeldID,programmer_NFC_FW,programmerID,serialNumber,nomCurrent,"
    "lifeTime,CLO_L1,CLO_L2,CLO_L3,CLO_L4,CLO_L5,DC_level,extNTC_Temp1,extNTC_Level1,extNTC_Temp2,"
    "extNTC_Level2,extNTC_CutOffTemp,repeat FROM ProgrammedLines ORDER BY datetime DESC, id DESC LIMIT ?1;";

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

QString CsvField(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"'))
        && !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

bool FinishCsvExport(QSaveFile &file, const QString &path, bool written, const QString &readError,
                     QString *error)
{
    QString reason;
    if (!written || !readError.isEmpty()) {
        reason = written ? QStringLiteral("Driver records could not be read: ") + readError
                         : QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        file.cancelWriting();
    } else if (!file.commit()) {
        reason = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
    } else {
        return true;
    }
    if (error)
        *error = reason;
    return false;
}

namespace {

// ---- Records and the pending journal ---------------------------------------------

// Journal records taken in are remembered in the file that took them, in the
// same transaction as the record.
const char *const kTakenTableSql =
    "CREATE TABLE IF NOT EXISTS [PendingRecordsTaken] ([recordId] text NOT NULL PRIMARY KEY);";

QStringList emptySettingTexts()
{
    QStringList settings;
    for (int i = 0; i < kSettingTexts; ++i)
        settings << QString();
    return settings;
}

// The 13 setting texts of the newest settings record of `programmerId` (made up
// to `upTo` when given). A failed lookup that is not a busy file leaves empty texts.
Quiet lookUpSettingsIn(const QString &programmerId, const QString &upTo, const BusyBudget &budget, QStringList *settings)
{
    *settings = emptySettingTexts();
    Connection c;
    Quiet q = openForRecord(c, kSettingsFile, budget, kSettingsCreateTableSqlDriverForm);
    SQLiteAnswerClass answer;
    if (q.ok())
        q = upTo.isEmpty() ? runQuiet(c.get(), kSettingsLookupSql, {programmerId}, &answer)
                           : runQuiet(c.get(), kSettingsLookupUpToSql, {programmerId, upTo}, &answer);
    if (!q.ok())
        return q;
    if (answer.GetRowCount() == 0) {
        // No settings record of this programmer: the values read as NULL.
        for (auto &s : *settings)
            s = QStringLiteral("NULL");
    } else {
        for (int col = 0; col < kSettingTexts; ++col) {
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
        values = values.mid(0, 4) + looked;
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

const QStringList &SettingsRecordColumns()
{
    // The transfer's identity and the programmed product, then the parameters.
    static const QStringList columns =
        QStringList{QStringLiteral("datetime"),  QStringLiteral("enOcean_HandHeldID"),
                    QStringLiteral("programmer_NFC_FW"), QStringLiteral("familyName"),
                    QStringLiteral("type"),      QStringLiteral("ref_number"),
                    QStringLiteral("editGTIN"),  QStringLiteral("editFW"),
                    QStringLiteral("editHW"),    QStringLiteral("editSerial")}
        + RecordParameterColumns();
    return columns;
}

const QStringList &DriverRecordColumns()
{
    static const QStringList columns =
        QStringList{QStringLiteral("datetime"), QStringLiteral("enOcean_HandHeldID"),
                    QStringLiteral("programmer_NFC_FW"), QStringLiteral("programmerID"),
                    QStringLiteral("serialNumber")}
        + RecordParameterColumns();
    return columns;
}

const QStringList &VerificationRecordColumns()
{
    static const QStringList columns{QStringLiteral("datetime"), QStringLiteral("serialNumber"),
                                     QStringLiteral("programmerID"), QStringLiteral("slot"),
                                     QStringLiteral("result"), QStringLiteral("differences")};
    return columns;
}

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
        Quiet q = runQuiet(c.get(), file->createTable, {}, nullptr);
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
        return readFile(kSettingsFile, kSettingsNewestSql, {QString::number(limit)}, answer, error);
    case RecordQuery::DriversNewest:
        return readFile(kDriversFile, kDriversNewestSql, {QString::number(limit)}, answer, error);
    case RecordQuery::DriversReport:
        return readFile(kDriversFile, kDriversReportSql, {QString::number(limit)}, answer, error);
    case RecordQuery::VerificationsNewest:
        return readFile(kVerificationsFile, kVerificationsNewestSql, {QString::number(limit)}, answer, error);
    }
    return false;
}

bool SqliteStore::newestVerification(const QString &serial, SQLiteAnswerClass &answer, QString *error)
{
    return readFile(kVerificationsFile, kVerificationOfSerialSql, {serial}, answer, error);
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

