#include "records/records_database.h"

#include "common/dialogs.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <sqlite3.h>

#include <algorithm>
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

namespace {

// The lookups a production line repeats thousands of times a day: the newest
// settings record of one programmer, and the newest records of a file. Files of
// earlier versions get the indexes the first time they are opened.
const char *const kSettingsIndexSql =
    "CREATE INDEX IF NOT EXISTS [ProgrammedLines_HandHeldID_datetime] "
    "ON [ProgrammedLines] ([enOcean_HandHeldID], [datetime]);"
    "CREATE INDEX IF NOT EXISTS [ProgrammedLines_datetime] ON [ProgrammedLines] ([datetime]);";
const char *const kDriversIndexSql =
    "CREATE INDEX IF NOT EXISTS [ProgrammedLines_datetime] ON [ProgrammedLines] ([datetime]);";

const char *const kSettingsInsertSql =
    "INSERT INTO ProgrammedLines (datetime,enOcean_HandHeldID,programmer_NFC_FW,familyName,type,"
    "ref_number,editGTIN,editFW,editHW,editSerial,nomCurrent,lifeTime,CLO_L1,CLO_L2,CLO_L3,CLO_L4,"
    "CLO_L5,DC_level,extNTC_Temp1,extNTC_Level1,extNTC_Temp2,extNTC_Level2,extNTC_CutOffTemp)"
    "VALUES (datetime('now'), ?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, "
    "?17, ?18, ?19, ?20, ?21, ?22);";

const char *const kDriversInsertSql =
    "INSERT INTO ProgrammedLines (datetime,enOcean_HandHeldID,programmer_NFC_FW,programmerID,"
    "serialNumber,nomCurrent,lifeTime,CLO_L1,CLO_L2,CLO_L3,CLO_L4,CLO_L5,DC_level,extNTC_Temp1,"
    "extNTC_Level1,extNTC_Temp2,extNTC_Level2,extNTC_CutOffTemp)"
    "VALUES (datetime('now'), ?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, "
    "?17);";

// The newest settings record of one programmer. Records of the same second are
// told apart by their id, so the last one written wins.
const char *const kSettingsLookupSql =
    "SELECT nomCurrent,lifeTime,CLO_L1,CLO_L2,CLO_L3,CLO_L4,CLO_L5,DC_level,extNTC_Temp1,"
    "extNTC_Level1,extNTC_Temp2,extNTC_Level2,extNTC_CutOffTemp,datetime FROM ProgrammedLines "
    "WHERE (enOcean_HandHeldID = ?1) ORDER BY datetime DESC, id DESC LIMIT 1;";

const char *const kDriversReportSql =
    "SELECT datetime,enOcean_HandHeldID,programmer_NFC_FW,programmerID,serialNumber,nomCurrent,"
    "lifeTime,CLO_L1,CLO_L2,CLO_L3,CLO_L4,CLO_L5,DC_level,extNTC_Temp1,extNTC_Level1,extNTC_Temp2,"
    "extNTC_Level2,extNTC_CutOffTemp FROM ProgrammedLines ORDER BY datetime DESC, id DESC LIMIT ?1;";

const char *const kSettingsNewestSql =
    "SELECT id,datetime,enOcean_HandHeldID,programmer_NFC_FW,familyName,type,ref_number,editGTIN,"
    "editFW,editHW,editSerial,nomCurrent,lifeTime,CLO_L1,CLO_L2,CLO_L3,CLO_L4,CLO_L5,DC_level,"
    "extNTC_Temp1,extNTC_Level1,extNTC_Temp2,extNTC_Level2,extNTC_CutOffTemp FROM ProgrammedLines "
    "ORDER BY datetime DESC, id DESC LIMIT ?1;";

const char *const kDriversNewestSql =
    "SELECT id,datetime,enOcean_HandHeldID,programmer_NFC_FW,programmerID,serialNumber,nomCurrent,"
    "lifeTime,CLO_L1,CLO_L2,CLO_L3,CLO_L4,CLO_L5,DC_level,extNTC_Temp1,extNTC_Level1,extNTC_Temp2,"
    "extNTC_Level2,extNTC_CutOffTemp FROM ProgrammedLines ORDER BY datetime DESC, id DESC LIMIT ?1;";

const char *const kExportSql =
    "SELECT d.id, d.datetime, d.enOcean_HandHeldID, d.programmer_NFC_FW, d.programmerID, "
    "d.serialNumber, d.nomCurrent, d.lifeTime, d.CLO_L1, d.CLO_L2, d.CLO_L3, d.CLO_L4, d.CLO_L5, "
    "d.DC_level, d.extNTC_Temp1, d.extNTC_Level1, d.extNTC_Temp2, d.extNTC_Level2, "
    "d.extNTC_CutOffTemp, s.id AS settings_id, s.datetime AS settings_datetime, "
    "s.programmer_NFC_FW AS settings_programmer_NFC_FW, s.familyName, s.type, s.ref_number, "
    "s.editGTIN, s.editFW, s.editHW, s.editSerial "
    "FROM main.ProgrammedLines AS d LEFT JOIN settingsdb.ProgrammedLines AS s ON s.id = "
    "(SELECT x.id FROM settingsdb.ProgrammedLines AS x WHERE x.enOcean_HandHeldID = d.programmerID "
    "AND x.datetime <= d.datetime ORDER BY x.datetime DESC, x.id DESC LIMIT 1) "
    "ORDER BY d.datetime, d.id;";

QString g_folder;
int g_busyTimeoutMs = 5000;

QString defaultFolder()
{
    // The user's roaming application-data folder on Windows; elsewhere the
    // platform's per-user data folder (the same folder the main window's
    // application-data folders are made in).
    QString base;
#ifdef Q_OS_WIN
    base = QDir::fromNativeSeparators(qEnvironmentVariable("APPDATA"));
#endif
    if (base.isEmpty())
        base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir(base).filePath(QStringLiteral("NFC configuration Software Tavel/database"));
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

    bool open(const QString &path)
    {
        close();
        if (sqlite3_open(QFile::encodeName(path).constData(), &db) != SQLITE_OK) {
            lastError = db ? DatabaseText(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
            close();
            return false;
        }
        sqlite3_busy_timeout(db, g_busyTimeoutMs);
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

// The statements every opened file runs before its real work.
void runOpeningStatements(sqlite3 *db, const char *createTable, const char *indexes)
{
    ExecInt(QStringLiteral("PRAGMA auto_vacuum=0;"), nullptr, db);
    ExecInt(QStringLiteral("PRAGMA foreign_keys = ON;"), nullptr, db);
    ExecInt(QString::fromLatin1(createTable), nullptr, db);
    ExecInt(QString::fromLatin1(indexes), nullptr, db);
}

bool openSettings(Connection &c, const char *createTable)
{
    if (!c.open(SettingsDatabasePath()))
        return false;
    runOpeningStatements(c.get(), createTable, kSettingsIndexSql);
    return true;
}

bool openDrivers(Connection &c)
{
    if (!c.open(DriversDatabasePath()))
        return false;
    runOpeningStatements(c.get(), kDriversCreateTableSql, kDriversIndexSql);
    return true;
}

int execCallback(void *context, int n, char **values, char **names)
{
    static_cast<SQLiteAnswerClass *>(context)->Insert(n, values, names);
    return 0;
}

QString csvField(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"'))
        && !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

void setDatabaseFolder(const QString &folder) { g_folder = folder; }

QString DatabaseFolder()
{
    const QString folder = g_folder.isEmpty() ? defaultFolder() : g_folder;
    QDir().mkpath(folder);
    return folder;
}

QString SettingsDatabasePath() { return QDir(DatabaseFolder()).filePath(kSettingsDatabaseFileName); }
QString DriversDatabasePath() { return QDir(DatabaseFolder()).filePath(kDriversDatabaseFileName); }

void setDatabaseBusyTimeout(int milliseconds) { g_busyTimeoutMs = milliseconds; }

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
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK) {
        showSqlError(DatabaseText(sqlite3_errmsg(db)));
        sqlite3_finalize(stmt);
        return false;
    }
    for (int i = 0; i < values.size(); ++i) {
        const QByteArray utf8 = values[i].toUtf8();
        sqlite3_bind_text(stmt, i + 1, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
    }
    const int columns = sqlite3_column_count(stmt);
    std::vector<const char *> cells(columns);
    std::vector<const char *> names(columns);
    for (int c = 0; c < columns; ++c)
        names[c] = sqlite3_column_name(stmt, c);
    int rc = SQLITE_OK;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        if (!answer)
            continue;
        for (int c = 0; c < columns; ++c)
            cells[c] = reinterpret_cast<const char *>(sqlite3_column_text(stmt, c));
        answer->Insert(columns, cells.data(), names.data());
    }
    if (rc != SQLITE_DONE) {
        showSqlError(DatabaseText(sqlite3_errmsg(db)));
        sqlite3_finalize(stmt);
        return false;
    }
    sqlite3_finalize(stmt);
    return true;
}

void WriteSettingsRecord(const STRUCT_XML_FILE_VARIABLES &p)
{
    Connection c;
    if (!openSettings(c, kSettingsCreateTableSql)) {
        // The record would be lost without a word: say so.
        showSqlError(QStringLiteral("Settings database could not be opened: ") + c.lastError);
        return;
    }
    const QStringList values = {
        p.enOcean_HandHeldID, p.programmer_Nfc_FW, p.familyName, p.type, p.ref_number,
        p.editGTIN, p.editFW, p.editHW, p.editSerial,
        p.current.defaultValue, p.lifeTime.defaultValue,
        p.Level0.defaultValue, p.Level1.defaultValue, p.Level2.defaultValue,
        p.Level3.defaultValue, p.Level4.defaultValue, p.dcLevel.defaultValue,
        p.Temp1.defaultValue, p.ExtNTCLevel1.defaultValue, p.Temp2.defaultValue,
        p.ExtNTCLevel2.defaultValue, p.CutOffTemp.defaultValue,
    };
    ExecBound(kSettingsInsertSql, values, nullptr, c.get());
}

void WriteSettingsToDatabaseInAppdata() { WriteSettingsRecord(activeProfile()); }

void WriteDriversToDatabaseInAppdataWithSettings(const QString &programmerFw, const QString &ownId,
                                                 const QString &programmerId, const QString &serial)
{
    constexpr int kSettingTexts = 13;
    QStringList settings;
    for (int i = 0; i < kSettingTexts; ++i)
        settings << QString();
    {
        Connection c;
        if (openSettings(c, kSettingsCreateTableSqlDriverForm)) {
            SQLiteAnswerClass answer;
            if (ExecBound(kSettingsLookupSql, {programmerId}, &answer, c.get())) {
                if (answer.GetRowCount() == 0) {
                    // No settings record of this programmer: the values read as NULL.
                    for (auto &s : settings)
                        s = QStringLiteral("NULL");
                } else if (answer.GetRowCount() == 1) {
                    for (int col = 0; col < kSettingTexts; ++col) {
                        const QString text = answer.Get(col, 0);
                        if (!text.isEmpty())
                            settings[col] = text;
                    }
                }
            }
        }
    }
    Connection c;
    if (!openDrivers(c)) {
        showSqlError(QStringLiteral("Drivers database could not be opened: ") + c.lastError);
        return;
    }
    QStringList values = {ownId, programmerFw, programmerId, serial};
    values += settings;
    ExecBound(kDriversInsertSql, values, nullptr, c.get());
}

bool ReadNewestRecords(RecordDatabase which, int limit, SQLiteAnswerClass &answer)
{
    Connection c;
    const bool opened = which == RecordDatabase::Settings ? openSettings(c, kSettingsCreateTableSql)
                                                          : openDrivers(c);
    if (!opened)
        return false;
    return ExecBound(which == RecordDatabase::Settings ? kSettingsNewestSql : kDriversNewestSql,
                     {QString::number(limit)}, &answer, c.get());
}

QStringList RecordReportLines(const SQLiteAnswerClass &answer, int limit)
{
    QStringList lines;
    const int n = std::min(answer.GetRowCount(), limit);
    for (int i = 0; i < n; ++i) {
        QString line = QString::number(i) + QStringLiteral("  ");
        for (int col = 0; col < answer.GetColoumCount(); ++col)
            line += answer.Get(col, i) + QStringLiteral(" - ");
        lines << line;
    }
    return lines;
}

QStringList ProgrammedDriversReportLines(int limit)
{
    Connection c;
    if (!openDrivers(c))
        return {};
    SQLiteAnswerClass answer;
    ExecBound(kDriversReportSql, {QString::number(limit)}, &answer, c.get());
    return RecordReportLines(answer, limit);
}

bool ExportDriversCsv(const QString &path, QString *error)
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    {
        // Both files with their tables, so that the join below always has its tables.
        Connection s;
        if (!openSettings(s, kSettingsCreateTableSql))
            return fail(QStringLiteral("Settings database could not be opened: ") + s.lastError);
    }
    Connection c;
    if (!openDrivers(c))
        return fail(QStringLiteral("Drivers database could not be opened: ") + c.lastError);
    if (!ExecBound("ATTACH DATABASE ?1 AS settingsdb;", {SettingsDatabasePath()}, nullptr, c.get()))
        return fail(QStringLiteral("Settings database could not be attached"));
    SQLiteAnswerClass answer;
    if (!ExecBound(kExportSql, {}, &answer, c.get()))
        return fail(QStringLiteral("Driver records could not be read"));

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return fail(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    auto writeLine = [&file](const QStringList &fields) {
        QStringList out;
        for (const auto &f : fields)
            out << csvField(f);
        file.write(out.join(QLatin1Char(',')).toUtf8() + '\n');
    };
    // The export needs the column names even when there is no row yet.
    QStringList header = answer.Header();
    if (header.isEmpty()) {
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(c.get(), kExportSql, -1, &stmt, nullptr) == SQLITE_OK)
            for (int i = 0; i < sqlite3_column_count(stmt); ++i)
                header << QString::fromUtf8(sqlite3_column_name(stmt, i));
        sqlite3_finalize(stmt);
    }
    writeLine(header);
    for (int row = 0; row < answer.GetRowCount(); ++row) {
        QStringList fields;
        for (int col = 0; col < answer.GetColoumCount(); ++col)
            fields << answer.Get(col, row, QString());
        writeLine(fields);
    }
    if (!file.flush() || file.error() != QFileDevice::NoError)
        return fail(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    return true;
}
