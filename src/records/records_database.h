#pragma once
// The two record databases: every profile transferred to a handheld programmer
// (settings database) and every driver a programmer reports as programmed
// (drivers database), with the drivers report.
//
// Each operation opens its file, runs its statements and closes it again; no
// connection stays open between operations. Values are bound as statement
// parameters, so any text (quotes included) is stored exactly as given.

#include "profile/profile_record.h"
#include "records/pending_journal.h"
#include "records/records_store.h"
#include "records/sqlite_answer.h"

#include <QString>
#include <QStringList>
#include <functional>

inline const QString kSettingsDatabaseFileName = QStringLiteral("programmedSettingsData_ver_1.db");
inline const QString kDriversDatabaseFileName = QStringLiteral("programmedDriversData_ver_1.db");
// The verification records (each driver read back and compared with its profile).
inline const QString kVerificationsDatabaseFileName = QStringLiteral("programmedVerificationsData_ver_1.db");
// The pending-records journal beside the two files.
inline const QString kPendingRecordsFileName = QStringLiteral("pendingRecords.journal");

// The report shows at most this many driver records, newest first.
constexpr int kReportLineLimit = 500;

// ---- Where the files are ------------------------------------------------------

// The folder that holds both files. By default it is the "database" subfolder of
// the application-data folder, created on first use; a test or the command line
// may put another folder in its place (an empty text restores the default).
void setDatabaseFolder(const QString &folder);
QString DatabaseFolder();
// The same folder without making it (for commands that only read records).
QString DatabaseFolderName();
QString SettingsDatabasePath();
QString DriversDatabasePath();
QString VerificationsDatabasePath();
// How long one record (all its files and statements together) and every other
// operation waits for a database that another program holds locked (default 200 ms).
constexpr int kRecordBusyBudgetMs = 200;
void setDatabaseBusyTimeout(int milliseconds);
int DatabaseBusyTimeout();
// The wait of PrepareRecordDatabases, which runs once at start.
constexpr int kStartBusyTimeoutMs = 5000;

// ---- The records -----------------------------------------------------------------
// Written to and read from the active records store (records_store.h): the two
// files in the records folder unless another store was chosen.

// What became of a record.
enum class RecordFate {
    Written, // in its database
    Pending, // kept in the pending-records journal until a later write moves it in
    Lost,    // neither: reported with a message box naming the record
};

// The records as they go into the outbox or a store (new id, the present time).
PendingRecord SettingsRecordOf(const STRUCT_XML_FILE_VARIABLES &profile);
struct VerificationRecord;
PendingRecord VerificationRecordOf(const VerificationRecord &record);

// Appends one settings record made from `profile`.
RecordFate WriteSettingsRecord(const STRUCT_XML_FILE_VARIABLES &profile);
// Appends one settings record made from the active slot.
RecordFate WriteSettingsToDatabaseInAppdata();
// Appends one driver record: the four texts and the 13 parameter values of the
// newest settings record whose programmer ID equals `programmerId` ("NULL" texts
// when there is none, empty texts when the settings database cannot be read).
// `repeat` (when given) is set when the record was written and the store already
// held a driver record of `serial` from another report; a record kept pending is
// decided when it is moved in (false here). `reportRecord`: the record's place
// among the records of one report (one per matching slot; 0 for the first), so
// that they do not count as repeats of one another.
RecordFate WriteDriversToDatabaseInAppdataWithSettings(const QString &programmerFw, const QString &ownId,
                                                       const QString &programmerId, const QString &serial,
                                                       bool *repeat = nullptr, int reportRecord = 0);

// One driver read back and compared with the profile of a slot.
struct VerificationRecord {
    QString serial;
    QString programmerId;
    QString slot;        // "1" .. "3"
    QString result;      // "PASS" / "FAIL"
    QString differences; // one per line ("name: expected X, found Y"), empty on PASS
};
// Appends one verification record; the store adds the time and the station
// (RecordsStation()). Kept pending and moved in exactly once as the other records.
RecordFate WriteVerificationRecord(const VerificationRecord &record);
// The newest verification record of `serial`: false when there is none or the
// records cannot be read (then `error` holds the reason). `time` gets its time.
bool NewestVerification(const QString &serial, VerificationRecord *record, QString *time, QString *error);

// Every record write waits at most kRecordBusyBudgetMs for a locked file. A
// record that still cannot be written (locked, unwritable folder, full disk,
// damaged file) goes into the pending-records journal; every later write first
// moves the pending records in, oldest first, each exactly once.
QString PendingRecordsJournalPath();
int PendingRecordCount();
bool ReadPendingRecords(QList<PendingRecord> *records, QString *error);
// Moves the pending records in, oldest first, until one fails. Returns the number
// left; `error` receives the reason when one is left.
int FlushPendingRecords(QString *error);
// The reason the last record could not be written.
QString LastRecordFailure();
// Told after a write or a flush changed the number of pending records. `message`
// is not empty only for the first record kept pending (none were pending before).
using PendingRecordsObserver = std::function<void(int pending, const QString &message)>;
void setPendingRecordsObserver(PendingRecordsObserver observer);
// Tells the observer the present count again (after the records store changed).
void RefreshPendingRecordsObserver();

// Creates the three files with their tables and the indexes their lookups need (run
// at start, so that a large file of an earlier version is not indexed in the
// middle of a transfer). False with the reason when a file cannot be prepared.
bool PrepareRecordDatabases(QString *error);

// ---- Reading back ------------------------------------------------------------------

// The newest `limit` records of one database, newest first, every column of the
// table. False when the file cannot be opened.
bool ReadNewestRecords(RecordDatabase which, int limit, SQLiteAnswerClass &answer);

// The lines of the drivers report: the newest `limit` driver records, each line
// "<i>  " followed by every column's text and " - ". Creates the file and the
// table when they do not exist yet. When the file cannot be read: no lines, and
// the reason in `error` (without `error`, SQLite's text in a message box).
// With `markRepeats`, the line of a driver recorded before ends with kRepeatLineMark.
QStringList ProgrammedDriversReportLines(int limit = kReportLineLimit, QString *error = nullptr,
                                         bool markRepeats = false);
inline const QString kRepeatLineMark = QStringLiteral("REPEAT: programmed before");
// The same line format for any result table.
QStringList RecordReportLines(const SQLiteAnswerClass &answer, int limit);

// Writes every driver record, oldest first, joined with the settings record that
// was the newest of its programmer when the driver was recorded, as CSV with a
// header line. The rows are written one at a time; the file is replaced only when
// the export is complete. False with `error` set when a file cannot be read or written.
// `progress`, when given, is told the records written so far and how many there are.
bool ExportDriversCsv(const QString &path, QString *error,
                      const std::function<void(qint64 written, qint64 total)> &progress = {});
