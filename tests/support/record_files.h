#pragma once
// The record database files as another program sees them: a connection holding
// a file locked, and the indexes a file has.

#include "records/records_database.h"
#include "records/sqlite/sqlite_exec.h"
#include "records/sqlite_answer.h"

#include <QString>
#include <gtest/gtest.h>
#include <sqlite3.h>

// Another program holding a database file with an exclusive transaction.
class ExclusiveHolder {
public:
    explicit ExclusiveHolder(const QString &path)
    {
        EXPECT_EQ(sqlite3_open(path.toUtf8().constData(), &db_), SQLITE_OK);
        EXPECT_TRUE(ExecInt("BEGIN EXCLUSIVE;", nullptr, db_));
    }
    ~ExclusiveHolder() { release(); }
    ExclusiveHolder(const ExclusiveHolder &) = delete;
    ExclusiveHolder &operator=(const ExclusiveHolder &) = delete;
    void release()
    {
        if (!db_)
            return;
        ExecInt("ROLLBACK;", nullptr, db_);
        sqlite3_close(db_);
        db_ = nullptr;
    }

private:
    sqlite3 *db_ = nullptr;
};

// The number of lookup indexes of the records table in the file at `path`.
inline int RecordIndexCount(const QString &path)
{
    sqlite3 *db = nullptr;
    EXPECT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    SQLiteAnswerClass idx;
    ExecInt("SELECT name FROM sqlite_master WHERE type = 'index' AND name LIKE 'ProgrammedLines_%';", &idx, db);
    sqlite3_close(db);
    return idx.GetRowCount();
}
