// The main window and the record databases: prepared at start, and the records
// kept pending shown until they are written.
#include "main_window_fixture.h"
#include "record_files.h"
#include "wait_for.h"

#include "records/records_database.h"

#include <QDir>
#include <QFile>
#include <QLabel>

TEST_F(MainWindowTest, StartGivesAFileOfAnEarlierVersionItsIndexes)
{
    Destroy();
    // The window of the fixture prepared new files: an older program made these.
    ASSERT_TRUE(QFile::remove(SettingsDatabasePath()));
    ASSERT_TRUE(QFile::remove(DriversDatabasePath()));
    {
        // An older settings file: the table without indexes, one record in it.
        sqlite3 *db = nullptr;
        ASSERT_TRUE(QDir().mkpath(DatabaseFolder()));
        ASSERT_EQ(sqlite3_open(SettingsDatabasePath().toUtf8().constData(), &db), SQLITE_OK);
        ASSERT_TRUE(ExecInt(kSettingsCreateTableSqlDriverForm, nullptr, db));
        ASSERT_TRUE(ExecInt("INSERT INTO ProgrammedLines (datetime,enOcean_HandHeldID) "
                            "VALUES ('2020-01-01 10:00:00', '0x0180A2B3');",
                            nullptr, db));
        sqlite3_close(db);
    }
    ASSERT_EQ(RecordIndexCount(SettingsDatabasePath()), 0);
    Create({QStringLiteral("tavel-nfc-config")});
    EXPECT_EQ(RecordIndexCount(SettingsDatabasePath()), 2);
    EXPECT_EQ(RecordIndexCount(DriversDatabasePath()), 2); // the time and the serial number (repeat check)
    EXPECT_TRUE(QFile::exists(VerificationsDatabasePath()));
    EXPECT_TRUE(form->PendingRecordsLabel->text().isEmpty());
    EXPECT_TRUE(dlg.messages.isEmpty()) << dlg.texts().join('|').toStdString();
}

TEST_F(MainWindowTest, RecordsKeptPendingGiveOneMessageAndTheirCountUntilTheyAreWritten)
{
    auto writeDriver = [](const char *serial) {
        return WriteDriversToDatabaseInAppdataWithSettings(QStringLiteral("2.10"), QStringLiteral("0x0180A2B3"),
                                                           QStringLiteral("0x01A2B3C4"), QString::fromLatin1(serial));
    };
    ExclusiveHolder otherProgram(DriversDatabasePath());
    ASSERT_EQ(writeDriver("0000000000000001"), RecordFate::Pending);
    // The record is written inside the receive tick: the message waits until the
    // tick has returned, the count is there at once.
    EXPECT_TRUE(dlg.messages.isEmpty());
    EXPECT_EQ(form->PendingRecordsLabel->text(), QStringLiteral("1 record(s) kept pending"));
    ASSERT_EQ(writeDriver("0000000000000002"), RecordFate::Pending);
    EXPECT_EQ(form->PendingRecordsLabel->text(), QStringLiteral("2 record(s) kept pending"));
    ASSERT_TRUE(waitFor([this] { return !dlg.messages.isEmpty(); }, kWaitLimitMs));
    QCoreApplication::processEvents();
    ASSERT_EQ(dlg.messages.size(), 1) << dlg.texts().join('|').toStdString(); // one for both records
    EXPECT_EQ(dlg.messages[0].icon, MsgIcon::Warning);
    EXPECT_TRUE(dlg.messages[0].text.contains(QStringLiteral("kept pending")));

    otherProgram.release();
    ASSERT_EQ(writeDriver("0000000000000003"), RecordFate::Written);
    EXPECT_TRUE(form->PendingRecordsLabel->text().isEmpty());
    EXPECT_EQ(PendingRecordCount(), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(dlg.messages.size(), 1);
    EXPECT_EQ(ProgrammedDriversReportLines().size(), 3);

    // A window started while records wait shows their count at once.
    ExclusiveHolder again(DriversDatabasePath());
    ASSERT_EQ(writeDriver("0000000000000004"), RecordFate::Pending);
    again.release();
    Create({QStringLiteral("tavel-nfc-config")});
    EXPECT_EQ(form->PendingRecordsLabel->text(), QStringLiteral("1 record(s) kept pending"));
}
