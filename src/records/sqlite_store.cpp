#include "records/sqlite_store.h"

#include "common/dialogs.h"
#include "records/records_database.h"

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

namespace {

// The lookups a production line repeats thousands of times a day: the newest
// settings record of one programmer, and the newest records of a file. Files of
// earlier versions get the indexes the first time they are opened.
const char *const kSettingsIndexSql =
    "CREATE INDEX IF NOT EXISTS [ProgrammedLines_HandHeldID_datetime] "
    "ON [ProgrammedLines] ([enOcean_HandHeldID], [datetime]);"
    "CREATE INDEX IF NOT EXISTS [ProgrammedLines_datetime] ON [ProgrammedLines] ([datetime]);";
// The serial number: each driver record asks whether its driver was recorded before.
const char *const kDriversIndexSql =
    "CREATE INDEX IF NOT EXISTS [ProgrammedLines_datetime] ON [ProgrammedLines] ([datetime]);"
    "CREATE INDEX IF NOT EXISTS [ProgrammedLines_serialNumber] ON [ProgrammedLines] ([serialNumber]);";
const char *const kVerificationsIndexSql =
    "CREATE INDEX IF NOT EXISTS [Verifications_serialNumber_datetime] "
    "ON [Verifications] ([serialNumber], [datetime]);"
    "CREATE INDEX IF NOT EXISTS [Verifications_datetime] ON [Verifications] ([datetime]);";

// Driver records of files made before the repeat mark get the column, 0 for the
// old rows (ALTER TABLE ... ADD COLUMN with a default does not rewrite the file).
const char *const kRepeatColumnSql = "ALTER TABLE ProgrammedLines ADD COLUMN [repeat] integer NOT NULL DEFAULT 0;";
// The driver records of a serial number that are there already, counted up to
// ?2 (one more than the records of the same report before this one).
const char *const kRepeatCheckSql =
    "SELECT count(*) FROM (SELECT 1 FROM ProgrammedLines WHERE serialNumber = ?1 LIMIT ?2);";
const char *const kDriversInsertRepeatSql =
    "INSERT INTO ProgrammedLines (datetime,enOcean_HandHeldID,programmer_NFC_FW,programmerID,"
    "serialNumber,nomCurrent,lifeTime,CLO_L1,CLO_L2,CLO_L3,CLO_L4,CLO_L5,DC_level,extNTC_Temp1,"
    "extNTC_Level1,extNTC_Temp2,extNTC_Level2,extNTC_CutOffTemp,repeat)"
    "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, "
    "?17, ?18, ?19);";

const char *const kVerificationsInsertSql =
    "INSERT INTO Verifications (datetime,serialNumber,programmerID,slot,result,differences,station)"
    "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7);";
const char *const kVerificationsNewestSql =
    "SELECT id,datetime,station,serialNumber,programmerID,slot,result,differences FROM Verifications "
    "ORDER BY datetime DESC, id DESC LIMIT ?1;";
const char *const kVerificationOfSerialSql =
    "SELECT id,datetime,station,serialNumber,programmerID,slot,result,differences FROM Verifications "
    "WHERE serialNumber = ?1 ORDER BY datetime DESC, id DESC LIMIT 1;";

const char *const kSettingsInsertSql =
    "INSERT INTO ProgrammedLines (datetime,enOcean_HandHeldID,programmer_NFC_FW,familyName,type,"
    "ref_number,editGTIN,editFW,editHW,editSerial,nomCurrent,lifeTime,CLO_L1,CLO_L2,CLO_L3,CLO_L4,"
    "CLO_L5,DC_level,extNTC_Temp1,extNTC_Level1,extNTC_Temp2,extNTC_Level2,extNTC_CutOffTemp)"
    "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, "
    "?17, ?18, ?19, ?20, ?21, ?22, ?23);";

const char *const kDriversInsertSql =
    "INSERT INTO ProgrammedLines (datetime,enOcean_HandHeldID,programmer_NFC_FW,programmerID,"
    "serialNumber,nomCurrent,lifeTime,CLO_L1,CLO_L2,CLO_L3,CLO_L4,CLO_L5,DC_level,extNTC_Temp1,"
    "extNTC_Level1,extNTC_Temp2,extNTC_Level2,extNTC_CutOffTemp)"
    "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, "
    "?17, ?18);";

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

const char *const kExportSql =
    "SELECT d.id, d.datetime, d.enOcean_HandHeldID, d.programmer_NFC_FW, d.programmerID, "
    "d.serialNumber, d.nomCurrent, d.lifeTime, d.CLO_L1, d.CLO_L2, d.CLO_L3, d.CLO_L4, d.CLO_L5, "
    "d.DC_level, d.extNTC_Temp1, d.extNTC_Level1, d.extNTC_Temp2, d.extNTC_Level2, "
    "d.extNTC_CutOffTemp, s.id AS settings_id, s.datetime AS settings_datetime, "
    "s.programmer_NFC_FW AS settings_programmer_NFC_FW, s.familyName, s.type, s.ref_number, "
    "s.editGTIN, s.editFW, s.editHW, s.editSerial, d.repeat "
    "FROM main.ProgrammedLines AS d LEFT JOIN settingsdb.ProgrammedLines AS s ON s.id = "
    "(SELECT x.id FROM settingsdb.ProgrammedLines AS x WHERE x.enOcean_HandHeldID = d.programmerID "
    "AND x.datetime <= d.datetime ORDER BY x.datetime DESC, x.id DESC LIMIT 1) "
    "ORDER BY d.datetime, d.id;";

const QString kNoStationText =
    QStringLiteral("the SQLite records of one PC hold no station name; --station needs a PostgreSQL records store");

QStringList insertColumns(const char *sql)
{
    // The column list of an INSERT statement, between its first parentheses.
    const QString text = QString::fromLatin1(sql);
    const qsizetype open = text.indexOf(QLatin1Char('('));
    const qsizetype close = text.indexOf(QLatin1Char(')'), open);
    QStringList names;
    for (const QString &name : text.mid(open + 1, close - open - 1).split(QLatin1Char(',')))
        names << name.trimmed();
    return names;
}

void showSqlError(const QString &text) { dialogs().message(QString(), text); }

// One open database file; closed when it goes out of scope. Each operation has
// its own, so a record written from a message box's event loop never closes the
// file of the operation that showed the box.
class Connection {
public:
    Connection() = default;
    ~Connection() { close(); }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    bool open(const QString &path, int busyMs = DatabaseBusyTimeout())
    {
        close();
        if (sqlite3_open(QFile::encodeName(path).constData(), &db) != SQLITE_OK) {
            lastError = db ? DatabaseText(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
            close();
            return false;
        }
        sqlite3_busy_timeout(db, busyMs);
        return true;
    }
    void close()
    {
        if (db)
            sqlite3_close(db);
        db = nullptr;
    }
    sqlite3 *get() const { return db; }
    QString lastError;

private:
    sqlite3 *db = nullptr;
};

// A statement's outcome without any message box: the record writer decides what
// a failure means.
struct Quiet {
    int rc = SQLITE_OK;
    QString error;
    bool ok() const { return rc == SQLITE_OK; }
    bool busy() const { return (rc & 0xFF) == SQLITE_BUSY || (rc & 0xFF) == SQLITE_LOCKED; }
};

Quiet runQuiet(sqlite3 *db, const char *sql, const QStringList &values, SQLiteAnswerClass *answer)
{
    Quiet q;
    sqlite3_stmt *stmt = nullptr;
    const char *tail = sql;
    // Several statements may follow one another; values bind to the first.
    bool first = true;
    while (tail && *tail) {
        q.rc = sqlite3_prepare_v2(db, tail, -1, &stmt, &tail);
        if (q.rc != SQLITE_OK) {
            q.error = DatabaseText(sqlite3_errmsg(db));
            sqlite3_finalize(stmt);
            return q;
        }
        if (!stmt)
            continue; // only white space or a comment was left
        if (first)
            for (int i = 0; i < values.size(); ++i) {
                const QByteArray utf8 = values[i].toUtf8();
                sqlite3_bind_text(stmt, i + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
            }
        first = false;
        const int columns = sqlite3_column_count(stmt);
        std::vector<const char *> cells(static_cast<size_t>(columns));
        std::vector<const char *> names(static_cast<size_t>(columns));
        for (int c = 0; c < columns; ++c)
            names[size_t(c)] = sqlite3_column_name(stmt, c);
        int rc = SQLITE_OK;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            if (!answer)
                continue;
            for (int c = 0; c < columns; ++c)
                cells[size_t(c)] = reinterpret_cast<const char *>(sqlite3_column_text(stmt, c));
            answer->Insert(columns, cells.data(), names.data());
        }
        if (rc != SQLITE_DONE) {
            q.rc = rc;
            q.error = DatabaseText(sqlite3_errmsg(db));
            sqlite3_finalize(stmt);
            return q;
        }
        sqlite3_finalize(stmt);
        stmt = nullptr;
    }
    q.rc = SQLITE_OK;
    return q;
}

// The statements every opened file runs before its real work.
void runOpeningStatements(sqlite3 *db, const char *createTable, const char *indexes)
{
    ExecInt(QStringLiteral("PRAGMA auto_vacuum=0;"), nullptr, db);
    ExecInt(QStringLiteral("PRAGMA foreign_keys = ON;"), nullptr, db);
    ExecInt(QString::fromLatin1(createTable), nullptr, db);
    if (indexes)
        ExecInt(QString::fromLatin1(indexes), nullptr, db);
}

bool openSettings(Connection &c, const char *createTable)
{
    if (!c.open(SettingsDatabasePath()))
        return false;
    runOpeningStatements(c.get(), createTable, nullptr);
    return true;
}

// The driver records' repeat mark, added to a file of an earlier version the
// first time it is opened. Another program adding it at the same moment is no failure.
Quiet ensureRepeatColumn(sqlite3 *db)
{
    auto has = [db](Quiet *q) {
        SQLiteAnswerClass columns;
        *q = runQuiet(db, "PRAGMA table_info(ProgrammedLines);", {}, &columns);
        for (int r = 0; q->ok() && r < columns.GetRowCount(); ++r)
            if (columns.Get(1, r).compare(QLatin1String("repeat"), Qt::CaseInsensitive) == 0)
                return true;
        return false;
    };
    Quiet q;
    if (has(&q) || !q.ok())
        return q;
    q = runQuiet(db, kRepeatColumnSql, {}, nullptr);
    if (!q.ok()) {
        Quiet again;
        if (has(&again))
            return again;
    }
    return q;
}

bool openDrivers(Connection &c)
{
    if (!c.open(DriversDatabasePath()))
        return false;
    runOpeningStatements(c.get(), kDriversCreateTableSql, nullptr);
    const Quiet q = ensureRepeatColumn(c.get());
    if (!q.ok()) {
        c.lastError = q.error;
        return false;
    }
    return true;
}

// One of the three files: where it is, its table and indexes.
struct RecordFile {
    QString (*path)();
    const char *createTable;
    const char *indexes;
    const char *anyRow; // whether the table holds a row
    bool repeatColumn;
};
const RecordFile kSettingsFile{&SettingsDatabasePath, kSettingsCreateTableSql, kSettingsIndexSql,
                               "SELECT 1 FROM ProgrammedLines LIMIT 1;", false};
const RecordFile kDriversFile{&DriversDatabasePath, kDriversCreateTableSql, kDriversIndexSql,
                              "SELECT 1 FROM ProgrammedLines LIMIT 1;", true};
const RecordFile kVerificationsFile{&VerificationsDatabasePath, kVerificationsCreateTableSql, kVerificationsIndexSql,
                                    "SELECT 1 FROM Verifications LIMIT 1;", false};

const RecordFile &fileOf(PendingRecord::Kind kind)
{
    switch (kind) {
    case PendingRecord::Kind::Settings: return kSettingsFile;
    case PendingRecord::Kind::Driver: return kDriversFile;
    case PendingRecord::Kind::Verification: return kVerificationsFile;
    }
    return kSettingsFile;
}

// Opens a file for one record within the record's budget, with its table. The
// indexes are made at start (PrepareRecordDatabases); here only a new, empty
// table gets them, which costs nothing. `createTable` overrides the file's own
// statement (the driver writer's form of the settings table).
Quiet openForRecord(Connection &c, const RecordFile &file, const BusyBudget &budget,
                    const char *createTable = nullptr)
{
    Quiet q;
    if (!c.open(file.path(), budget.remainingMs())) {
        q.rc = SQLITE_CANTOPEN;
        q.error = c.lastError;
        return q;
    }
    sqlite3_busy_timeout(c.get(), budget.remainingMs());
    q = runQuiet(c.get(), "PRAGMA auto_vacuum=0; PRAGMA foreign_keys = ON;", {}, nullptr);
    if (q.ok())
        q = runQuiet(c.get(), createTable ? createTable : file.createTable, {}, nullptr);
    if (q.ok() && file.repeatColumn)
        q = ensureRepeatColumn(c.get());
    if (!q.ok())
        return q;
    SQLiteAnswerClass any;
    q = runQuiet(c.get(), file.anyRow, {}, &any);
    if (q.ok() && any.GetRowCount() == 0)
        q = runQuiet(c.get(), file.indexes, {}, nullptr);
    return q;
}

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
    const char *insert = record.kind == PendingRecord::Kind::Settings ? kSettingsInsertSql
                         : driver                                   ? kDriversInsertRepeatSql
                                                                    : kVerificationsInsertSql;
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
    return StoreResult::failed(q.busy() ? StoreResult::Status::RetryLater : StoreResult::Status::Failed, q.error);
}

} // namespace

const QStringList &SettingsRecordColumns()
{
    static const QStringList columns = insertColumns(kSettingsInsertSql);
    return columns;
}

const QStringList &DriverRecordColumns()
{
    static const QStringList columns = insertColumns(kDriversInsertSql);
    return columns;
}

const QStringList &VerificationRecordColumns()
{
    // The station is the store's own column (the last of the SQLite insert).
    static const QStringList columns = insertColumns(kVerificationsInsertSql).mid(0, 6);
    return columns;
}

QString SqliteStore::location() const { return DatabaseFolder(); }

bool SqliteStore::prepare(QString *error)
{
    // Runs once at start with the usual long wait: building the indexes of a
    // large file of an earlier version takes a few seconds once.
    for (const RecordFile *file : {&kSettingsFile, &kDriversFile, &kVerificationsFile}) {
        Connection c;
        if (!c.open(file->path(), kStartBusyTimeoutMs)) {
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

// The name of a file and of its records in a message.
QString databaseName(const RecordFile &file)
{
    return &file == &kSettingsFile  ? QStringLiteral("Settings database")
           : &file == &kDriversFile ? QStringLiteral("Drivers database")
                                    : QStringLiteral("Verifications database");
}
QString recordsName(const RecordFile &file)
{
    return &file == &kSettingsFile  ? QStringLiteral("Settings records")
           : &file == &kDriversFile ? QStringLiteral("Driver records")
                                    : QStringLiteral("Verification records");
}

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

bool SqliteStore::exportDriversCsv(const QString &path, const QString &station, QString *error,
                                   const ExportProgress &progress)
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    if (!station.isEmpty())
        return fail(kNoStationText);
    {
        // Both files with their tables, so that the join below always has its tables.
        Connection s;
        if (!openSettings(s, kSettingsCreateTableSql))
            return fail(QStringLiteral("Settings database could not be opened: ") + s.lastError);
    }
    Connection c;
    if (!openDrivers(c))
        return fail(QStringLiteral("Drivers database could not be opened: ") + c.lastError);
    if (!runQuiet(c.get(), "ATTACH DATABASE ?1 AS settingsdb;", {SettingsDatabasePath()}, nullptr).ok())
        return fail(QStringLiteral("Settings database could not be attached"));

    // The rows go to the file one at a time; the old file is replaced only when
    // the new one is complete.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return fail(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(c.get(), kExportSql, -1, &stmt, nullptr) != SQLITE_OK) {
        const QString text = DatabaseText(sqlite3_errmsg(c.get()));
        sqlite3_finalize(stmt);
        return fail(QStringLiteral("Driver records could not be read: ") + text);
    }
    const int columns = sqlite3_column_count(stmt);
    qint64 total = 0;
    qint64 rows = 0;
    if (progress) {
        // The count only sizes the progress line; when it cannot be read the
        // line shows the records written without a total.
        sqlite3_stmt *count = nullptr;
        if (sqlite3_prepare_v2(c.get(), "SELECT COUNT(*) FROM main.ProgrammedLines;", -1, &count, nullptr) == SQLITE_OK
            && sqlite3_step(count) == SQLITE_ROW)
            total = sqlite3_column_int64(count, 0);
        sqlite3_finalize(count);
        progress(0, total);
    }
    QByteArray line;
    auto field = [&line](int column, const QString &text) {
        if (column > 0)
            line += ',';
        line += CsvField(text).toUtf8();
    };
    for (int i = 0; i < columns; ++i)
        field(i, QString::fromUtf8(sqlite3_column_name(stmt, i)));
    bool written = file.write(line + '\n') >= 0;
    int rc = SQLITE_OK;
    while (written && (rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        line.clear();
        for (int i = 0; i < columns; ++i) {
            const char *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, i));
            field(i, text ? DatabaseText(text) : QString());
        }
        written = file.write(line + '\n') >= 0;
        if (progress && written)
            progress(++rows, total);
    }
    const QString readError = DatabaseText(sqlite3_errmsg(c.get()));
    sqlite3_finalize(stmt);
    if (!written) {
        file.cancelWriting();
        return fail(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    }
    if (rc != SQLITE_DONE) {
        file.cancelWriting();
        return fail(QStringLiteral("Driver records could not be read: ") + readError);
    }
    if (!file.commit())
        return fail(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    return true;
}

namespace {

// The conditions of a report selection on the records `alias` (time and
// programmer columns named), with their values bound in order.
QString reportConditions(const ReportSelection &selection, const QString &time, const QString &programmer,
                         QStringList *values)
{
    QStringList conditions;
    auto add = [&](const QString &condition, const QString &value) {
        *values << value;
        conditions << condition.arg(values->size());
    };
    if (!selection.from.isEmpty())
        add(time + QStringLiteral(" >= ?%1"), selection.from);
    if (!selection.to.isEmpty())
        add(time + QStringLiteral(" <= ?%1"), selection.to);
    if (!selection.programmerId.isEmpty())
        add(programmer + QStringLiteral(" = ?%1"), selection.programmerId);
    return conditions.isEmpty() ? QString() : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
}

QString joinedColumns(const QString &prefix, const QStringList &columns)
{
    QStringList out;
    for (const QString &c : columns)
        out << prefix + c;
    return out.join(QLatin1Char(','));
}

} // namespace

bool SqliteStore::readReport(const ReportSelection &selection, QList<ReportTransfer> *transfers,
                             const ReportSink &sink, QString *error)
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    if (!selection.station.isEmpty())
        return fail(kNoStationText);
    // The three files with their tables, so that the joins below always have them.
    for (const RecordFile *file : {&kSettingsFile, &kVerificationsFile}) {
        Connection f;
        const Quiet q = openForRecord(f, *file, BusyBudget(DatabaseBusyTimeout()));
        if (!q.ok())
            return fail(databaseName(*file) + QStringLiteral(" could not be opened: ") + q.error);
    }
    Connection c;
    Quiet q = openForRecord(c, kDriversFile, BusyBudget(DatabaseBusyTimeout()));
    if (!q.ok())
        return fail(QStringLiteral("Drivers database could not be opened: ") + q.error);
    q = runQuiet(c.get(), "ATTACH DATABASE ?1 AS settingsdb;", {SettingsDatabasePath()}, nullptr);
    if (q.ok())
        q = runQuiet(c.get(), "ATTACH DATABASE ?1 AS verifydb;", {VerificationsDatabasePath()}, nullptr);
    if (!q.ok())
        return fail(QStringLiteral("Records could not be read together: ") + q.error);

    const QStringList settingValues = SettingsRecordColumns().mid(1);
    QStringList values;
    const QString transferSql = QStringLiteral("SELECT id,datetime,%1 FROM settingsdb.ProgrammedLines%2 "
                                               "ORDER BY datetime, id;")
                                    .arg(settingValues.join(QLatin1Char(',')),
                                         reportConditions(selection, QStringLiteral("datetime"),
                                                          QStringLiteral("enOcean_HandHeldID"), &values));
    SQLiteAnswerClass settings;
    q = runQuiet(c.get(), transferSql.toUtf8().constData(), values, &settings);
    if (!q.ok())
        return fail(QStringLiteral("Settings records could not be read: ") + q.error);
    for (int r = 0; r < settings.GetRowCount(); ++r) {
        ReportTransfer t{settings.Get(0, r), settings.Get(1, r), {}};
        for (int col = 2; col < settings.GetColoumCount(); ++col)
            t.values << settings.Get(col, r, QString());
        transfers->append(t);
    }

    values.clear();
    const QString where =
        reportConditions(selection, QStringLiteral("d.datetime"), QStringLiteral("d.programmerID"), &values);
    if (sink.total) {
        SQLiteAnswerClass count;
        q = runQuiet(c.get(), (QStringLiteral("SELECT count(*) FROM main.ProgrammedLines AS d") + where).toUtf8().constData(),
                     values, &count);
        if (!q.ok())
            return fail(QStringLiteral("Driver records could not be read: ") + q.error);
        sink.total(count.GetInt(0, 0, 0));
    }
    const QByteArray driverSql =
        QStringLiteral(
            "SELECT d.datetime,d.serialNumber,d.programmerID,d.programmer_NFC_FW,d.repeat,v.datetime,v.result,"
            "v.differences,s.id,s.datetime,%1 FROM main.ProgrammedLines AS d "
            "LEFT JOIN settingsdb.ProgrammedLines AS s ON s.id = (SELECT x.id FROM settingsdb.ProgrammedLines AS x "
            "WHERE x.enOcean_HandHeldID = d.programmerID AND x.datetime <= d.datetime "
            "ORDER BY x.datetime DESC, x.id DESC LIMIT 1) "
            "LEFT JOIN verifydb.Verifications AS v ON v.id = (SELECT y.id FROM verifydb.Verifications AS y "
            "WHERE y.serialNumber = d.serialNumber ORDER BY y.datetime DESC, y.id DESC LIMIT 1)%2 "
            "ORDER BY s.datetime, s.id, d.datetime, d.id;")
            .arg(joinedColumns(QStringLiteral("s."), settingValues), where)
            .toUtf8();
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(c.get(), driverSql.constData(), -1, &stmt, nullptr) != SQLITE_OK) {
        const QString text = DatabaseText(sqlite3_errmsg(c.get()));
        sqlite3_finalize(stmt);
        return fail(QStringLiteral("Driver records could not be read: ") + text);
    }
    for (int i = 0; i < values.size(); ++i) {
        const QByteArray utf8 = values[i].toUtf8();
        sqlite3_bind_text(stmt, i + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    auto text = [stmt](int col) {
        const char *t = reinterpret_cast<const char *>(sqlite3_column_text(stmt, col));
        return t ? DatabaseText(t) : QString();
    };
    int rc = SQLITE_OK;
    bool going = true;
    while (going && (rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        ReportDriver d;
        d.datetime = text(0);
        d.serial = text(1);
        d.programmerId = text(2);
        d.programmerFw = text(3);
        d.repeat = sqlite3_column_int(stmt, 4) != 0;
        d.verifyTime = text(5);
        d.verifyResult = text(6);
        d.verifyDifferences = text(7);
        d.transfer.id = text(8);
        d.transfer.datetime = text(9);
        for (int col = 10; col < sqlite3_column_count(stmt); ++col)
            d.transfer.values << text(col);
        going = sink.driver(d);
    }
    const QString readError = DatabaseText(sqlite3_errmsg(c.get()));
    sqlite3_finalize(stmt);
    if (going && rc != SQLITE_DONE)
        return fail(QStringLiteral("Driver records could not be read: ") + readError);
    return true;
}
