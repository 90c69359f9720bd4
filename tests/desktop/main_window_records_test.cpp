// The main window and the records: the record databases prepared at start by
// the records writer, the records pending and the store's state in the status
// strip, one message per outage, and the records kept at close.
#include "main_window_fixture.h"
#include "record_files.h"
#include "wait_for.h"

#include "records/records_database.h"
#include "records/records_outbox.h"
#include "records/records_writer.h"
#include "records/sqlite/sqlite_exec.h"
#include "records/sqlite/sqlite_tables.h"

#include <QDir>
#include <QFile>
#include <QLabel>

TEST_F(MainWindowTest, StartGivesAFileOfAnEarlierVersionItsIndexes)
{
    Destroy();
    // The window of the fixture may have prepared new files: an older program made these.
    QFile::remove(SettingsDatabasePath());
    QFile::remove(DriversDatabasePath());
    {
        // An older settings file: the table without indexes, one record in it.
        sqlite3 *db = nullptr;
        ASSERT_TRUE(QDir().mkpath(DatabaseFolder()));
        ASSERT_EQ(sqlite3_open(SettingsDatabasePath().toUtf8().constData(), &db), SQLITE_OK);
        ASSERT_TRUE(ExecInt(SettingsCreateTableSqlDriverForm(), nullptr, db));
        ASSERT_TRUE(ExecInt("INSERT INTO ProgrammedLines (datetime,enOcean_HandHeldID) "
                            "VALUES ('2020-01-01 10:00:00', '0x0180A2B3');",
                            nullptr, db));
        sqlite3_close(db);
    }
    ASSERT_EQ(RecordIndexCount(SettingsDatabasePath()), 0);
    Create({QStringLiteral("tavel-nfc-config")});
    // The writer prepares them on its thread, before the first record needs them.
    ASSERT_TRUE(waitFor([this] { return form->RecordsWriter()->state().kind == RecordsStoreState::Kind::Reachable; },
                        kWaitLimitMs));
    EXPECT_TRUE(QFile::exists(VerificationsDatabasePath()));
    EXPECT_EQ(RecordIndexCount(SettingsDatabasePath()), 2);
    EXPECT_EQ(RecordIndexCount(DriversDatabasePath()), 2); // the time and the serial number (repeat check)
    EXPECT_TRUE(form->PendingRecordsLabel->text().isEmpty()) << form->PendingRecordsLabel->text().toStdString();
    EXPECT_TRUE(dlg.messages.isEmpty()) << dlg.texts().join('|').toStdString();
}

TEST_F(MainWindowTest, RecordsPendingShowTheirCountAndTheStoreStateWithOneMessagePerOutage)
{
    auto queueDriver = [](const char *serial) {
        return QueueDriverRecord(QStringLiteral("2.10"), QStringLiteral("0x0180A2B3"), QStringLiteral("0x01A2B3C4"),
                                 QString::fromLatin1(serial));
    };
    auto labelIs = [this](const QString &text) {
        return waitFor([&] { return form->PendingRecordsLabel->text() == text; }, kWaitLimitMs);
    };
    ASSERT_TRUE(waitFor([this] { return form->RecordsWriter()->state().kind == RecordsStoreState::Kind::Reachable; },
                        kWaitLimitMs));
    auto otherProgram = std::make_unique<ExclusiveHolder>(DriversDatabasePath());
    ASSERT_EQ(queueDriver("0000000000000001"), RecordFate::Pending);
    ASSERT_TRUE(waitFor([this] { return form->RecordsWriter()->state().failing(); }, kWaitLimitMs));
    const QString since = form->RecordsWriter()->state().since.toString("HH:mm");
    EXPECT_TRUE(labelIs("Records: 1 pending \u2014 record files locked since " + since))
        << form->PendingRecordsLabel->text().toStdString();
    ASSERT_EQ(queueDriver("0000000000000002"), RecordFate::Pending);
    EXPECT_TRUE(labelIs("Records: 2 pending \u2014 record files locked since " + since))
        << form->PendingRecordsLabel->text().toStdString();
    // A later attempt that fails again is the same outage: no second message.
    form->RecordsWriter()->retryNow();
    ASSERT_EQ(queueDriver("0000000000000003"), RecordFate::Pending);
    EXPECT_TRUE(labelIs("Records: 3 pending \u2014 record files locked since " + since));
    ASSERT_EQ(dlg.messages.size(), 1) << dlg.texts().join('|').toStdString();
    EXPECT_EQ(dlg.messages[0].icon, MsgIcon::Warning);
    EXPECT_TRUE(dlg.messages[0].text.contains(QStringLiteral("kept pending"))) << dlg.messages[0].text.toStdString();

    otherProgram.reset();
    form->RecordsWriter()->retryNow();
    EXPECT_TRUE(labelIs(QString())) << form->PendingRecordsLabel->text().toStdString();
    EXPECT_EQ(PendingRecordCount(), 0);
    EXPECT_EQ(ProgrammedDriversReportLines().size(), 3);
    EXPECT_EQ(dlg.messages.size(), 1);

    // The next outage has its message.
    otherProgram = std::make_unique<ExclusiveHolder>(DriversDatabasePath());
    ASSERT_EQ(queueDriver("0000000000000004"), RecordFate::Pending);
    EXPECT_TRUE(waitFor([this] { return dlg.messages.size() == 2; }, kWaitLimitMs));

    // Closing keeps the record for the next start and says so once.
    form->close();
    ASSERT_EQ(dlg.messages.size(), 3) << dlg.texts().join('|').toStdString();
    EXPECT_TRUE(dlg.messages[2].text.startsWith("1 record is kept pending")) << dlg.messages[2].text.toStdString();
    EXPECT_EQ(PendingRecordCount(), 1);
    form->close();
    EXPECT_EQ(dlg.messages.size(), 3);

    // A window started while the record waits shows it at once, then its writer moves it in.
    Destroy();
    Create({QStringLiteral("tavel-nfc-config")});
    EXPECT_TRUE(form->PendingRecordsLabel->text().startsWith("Records: 1 pending"))
        << form->PendingRecordsLabel->text().toStdString();
    otherProgram.reset();
    form->RecordsWriter()->retryNow();
    EXPECT_TRUE(labelIs(QString())) << form->PendingRecordsLabel->text().toStdString();
    EXPECT_EQ(ProgrammedDriversReportLines().size(), 4);
}
