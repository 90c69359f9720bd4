#pragma once
// The SQLite record files from the inside, shared by the store's parts (records,
// read-backs, export and report): one connection per operation, statements
// without message boxes, and the three files with their tables and indexes.

#include "records/pending_journal.h"
#include "records/records_database.h"
#include "records/sqlite_answer.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <sqlite3.h>

namespace sqlite_files {

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

// Runs one SQL text (several statements allowed; `values` bind to the first) and
// collects its rows into `answer` when one is given.
Quiet runQuiet(sqlite3 *db, const char *sql, const QStringList &values, SQLiteAnswerClass *answer);
// The statements every opened file runs before its real work (failures in message boxes).
void runOpeningStatements(sqlite3 *db, const char *createTable, const char *indexes);
// The settings / drivers file opened with its table (the drivers file with its repeat column).
bool openSettings(Connection &c, const char *createTable);
bool openDrivers(Connection &c);
// Adds the driver records' repeat column to a file of an earlier version.
Quiet ensureRepeatColumn(sqlite3 *db);

// One of the three files: where it is, its table and indexes.
struct RecordFile {
    QString (*path)();
    const char *(*createTable)();
    const char *indexes;
    const char *anyRow; // whether the table holds a row
    bool repeatColumn;
};
extern const RecordFile kSettingsFile;
extern const RecordFile kDriversFile;
extern const RecordFile kVerificationsFile;
const RecordFile &fileOf(PendingRecord::Kind kind);

// Opens a file for one record within the record's budget, with its table (and
// its indexes when the table is new). `createTable` overrides the file's own
// statement (the driver writer's form of the settings table).
Quiet openForRecord(Connection &c, const RecordFile &file, const BusyBudget &budget, const char *createTable = nullptr);

// "Settings database", ... and "Settings records", ... for messages.
QString databaseName(const RecordFile &file);
QString recordsName(const RecordFile &file);

// The reason a station filter is refused.
extern const QString kNoStationText;

} // namespace sqlite_files
