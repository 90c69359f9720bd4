#pragma once
// The two record databases: every profile transferred to a handheld programmer
// (settings database) and every driver a programmer reports as programmed
// (drivers database), with the drivers report.
//
// Each operation opens its file, runs its statements and closes it again; no
// connection stays open between operations. Values are bound as statement
// parameters, so any text (quotes included) is stored exactly as given.

#include "profile/profile_record.h"
#include "records/sqlite_answer.h"

#include <QString>
#include <QStringList>

struct sqlite3;

inline const QString kSettingsDatabaseFileName = QStringLiteral("programmedSettingsData_ver_1.db");
inline const QString kDriversDatabaseFileName = QStringLiteral("programmedDriversData_ver_1.db");

// The table statements. The driver writer creates the settings table with three
// column names written with a capital E; SQLite treats both forms as the same table.
extern const char *const kSettingsCreateTableSql;
extern const char *const kSettingsCreateTableSqlDriverForm;
extern const char *const kDriversCreateTableSql;

// The report shows at most this many driver records, newest first.
constexpr int kReportLineLimit = 500;

// ---- Where the files are ------------------------------------------------------

// The folder that holds both files. By default it is the "database" subfolder of
// the application-data folder, created on first use; a test or the command line
// may put another folder in its place (an empty text restores the default).
void setDatabaseFolder(const QString &folder);
QString DatabaseFolder();
QString SettingsDatabasePath();
QString DriversDatabasePath();
// How long an operation waits for a database that another program holds locked
// before it fails with SQLite's error text (default 5000 ms).
void setDatabaseBusyTimeout(int milliseconds);

// ---- Statement execution --------------------------------------------------------

// Runs one SQL text (several statements allowed) with sqlite3_exec; the rows go
// into `answer` when one is given. False with a message box of SQLite's error
// text when the statement fails; false and nothing else when `db` is null.
bool ExecInt(const QString &sql, SQLiteAnswerClass *answer, sqlite3 *db);
// Runs one statement with `values` bound to ?1, ?2, ... as texts. Rows go into
// `answer` when one is given. Failures as for ExecInt.
bool ExecBound(const char *sql, const QStringList &values, SQLiteAnswerClass *answer, sqlite3 *db);

// ---- The records -----------------------------------------------------------------

// Appends one settings record made from `profile`.
void WriteSettingsRecord(const STRUCT_XML_FILE_VARIABLES &profile);
// Appends one settings record made from the active slot.
void WriteSettingsToDatabaseInAppdata();
// Appends one driver record: the four texts and the 13 parameter values of the
// newest settings record whose programmer ID equals `programmerId` ("NULL" texts
// when there is none, empty texts when the settings database cannot be read).
void WriteDriversToDatabaseInAppdataWithSettings(const QString &programmerFw, const QString &ownId,
                                                 const QString &programmerId, const QString &serial);

// ---- Reading back ------------------------------------------------------------------

enum class RecordDatabase { Settings, Drivers };

// The newest `limit` records of one database, newest first, every column of the
// table. False when the file cannot be opened.
bool ReadNewestRecords(RecordDatabase which, int limit, SQLiteAnswerClass &answer);

// The lines of the drivers report: the newest `limit` driver records, each line
// "<i>  " followed by every column's text and " - ". Creates the file and the
// table when they do not exist yet.
QStringList ProgrammedDriversReportLines(int limit = kReportLineLimit);
// The same line format for any result table.
QStringList RecordReportLines(const SQLiteAnswerClass &answer, int limit);

// Writes every driver record, oldest first, joined with the settings record that
// was the newest of its programmer when the driver was recorded, as CSV with a
// header line. False with `error` set when a file cannot be read or written.
bool ExportDriversCsv(const QString &path, QString *error);
