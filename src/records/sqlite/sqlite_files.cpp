#include "records/sqlite/sqlite_files.h"

#include "records/sqlite/sqlite_exec.h"
#include "records/sqlite/sqlite_tables.h"

#include <vector>

namespace sqlite_files {

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

} // namespace

const QString kNoStationText =
    QStringLiteral("the SQLite records of one PC hold no station name; --station needs a PostgreSQL records store");

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
    runOpeningStatements(c.get(), DriversCreateTableSql(), nullptr);
    const Quiet q = ensureRepeatColumn(c.get());
    if (!q.ok()) {
        c.lastError = q.error;
        return false;
    }
    return true;
}

const RecordFile kSettingsFile{&SettingsDatabasePath, &SettingsCreateTableSql, kSettingsIndexSql,
                               "SELECT 1 FROM ProgrammedLines LIMIT 1;", false};
const RecordFile kDriversFile{&DriversDatabasePath, &DriversCreateTableSql, kDriversIndexSql,
                              "SELECT 1 FROM ProgrammedLines LIMIT 1;", true};
const RecordFile kVerificationsFile{&VerificationsDatabasePath, &VerificationsCreateTableSql, kVerificationsIndexSql,
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
Quiet openForRecord(Connection &c, const RecordFile &file, const BusyBudget &budget, const char *createTable)
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
        q = runQuiet(c.get(), createTable ? createTable : file.createTable(), {}, nullptr);
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

} // namespace sqlite_files
