#pragma once
// A test whose records go to SQLite files in a folder of its own, with the
// default profile in the three slots, and reading records back by column name.

#include "profile/profile_defaults.h"
#include "records/record_options.h"
#include "records/records_database.h"
#include "records/sqlite_answer.h"
#include "scripted_dialogs.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

class RecordsFolderTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScriptedDialogs dlg;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        setDatabaseFolder(dir.path());
        setDatabaseBusyTimeout(200);
        LoadDefaultProfileIntoSlots();
        setActiveSlot(1);
    }
    void TearDown() override
    {
        setDatabaseFolder(QString());
        setDatabaseBusyTimeout(kRecordBusyBudgetMs);
        recordOptions() = RecordOptions();
        setPendingRecordsObserver({});
    }

    static SQLiteAnswerClass newest(RecordDatabase which, int limit = 10)
    {
        SQLiteAnswerClass a;
        EXPECT_TRUE(ReadNewestRecords(which, limit, a));
        return a;
    }
    // Column `name` of row `row` of a result table.
    static QString cell(const SQLiteAnswerClass &a, const char *name, int row = 0)
    {
        for (int c = 0; c < a.GetColoumCount(); ++c)
            if (a.GetHeader(c).compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                return a.Get(c, row);
        return QStringLiteral("<no column>");
    }
    // Column `name` of every row, oldest first.
    static QStringList column(const SQLiteAnswerClass &a, const char *name)
    {
        QStringList out;
        for (int r = a.GetRowCount() - 1; r >= 0; --r)
            out << cell(a, name, r);
        return out;
    }
};
