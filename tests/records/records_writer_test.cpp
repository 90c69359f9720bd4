// The records writer: records appended to the outbox go into the store in order
// and once, as the same rows the direct writes make; after a failure it waits
// 1, 2, 4 ... 30 s (on a clock the test moves) and a new record never makes it
// try sooner; records appended while it rewrites the outbox are neither lost
// nor doubled.
#include "answer_rows.h"
#include "default_profiles.h"
#include "file_bytes.h"
#include "outbox_drain.h"
#include "record_files.h"
#include "records_folder.h"
#include "wait_for.h"

#include "records/records_outbox.h"
#include "records/records_writer.h"
#include "records/sqlite/sqlite_store.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <gtest/gtest.h>

namespace {

// A clock that stands still until the test fires the writer's timer.
class ManualClock : public WriterClock {
public:
    QDateTime time{QDate(2026, 12, 10), QTime(14, 2, 30)};
    QList<int> waits;
    std::function<void()> due;

    QDateTime now() const override { return time; }
    void callAfter(int ms, QObject *, std::function<void()> call) override
    {
        waits << ms;
        due = std::move(call);
    }
    // The wait is over: the time moves on and the writer tries again.
    void fire()
    {
        ASSERT_TRUE(due);
        time = time.addMSecs(waits.last());
        std::exchange(due, {})();
    }
};

class RecordsWriterTest : public RecordsFolderTest {
protected:
    // Every row of a table, id included, without the time (made when the record was made).
    static QList<QStringList> rows(RecordDatabase which)
    {
        SQLiteAnswerClass a;
        EXPECT_TRUE(ReadNewestRecords(which, 1000, a));
        return RowsOldestFirstWithoutTime(a);
    }
};

// ---- The same rows as the direct writes ----------------------------------------------

struct Step {
    enum Kind { Settings, Driver, Verification } kind;
    const char *programmer;
    const char *value; // settings: nomCurrent; driver, verification: serial
    const char *text = "LED driver"; // settings: family; verification: differences
};

const Step kSteps[] = {
    {Step::Settings, "0x0180A2B3", "400"},
    {Step::Settings, "0x0180A2B3", "500", "Fam 'x' \"quoted\", \xC3\xBC\ttab\nline"}, // same second: the later wins
    {Step::Settings, "0x11111111", "999"},
    {Step::Driver, "0x0180A2B3", "0000000000000001"},
    {Step::Driver, "0x22222222", "0000000000000002"}, // no settings record: NULL texts
    {Step::Driver, "0x11111111", "0000000000000003"},
    {Step::Verification, "0x0180A2B3", "0000000000000001", "CLO L2: expected 90, found 85\nGTIN: not on the tag"},
    {Step::Settings, "0x0180A2B3", "600"},
    {Step::Driver, "0x0180A2B3", "0000000000000004"},
    {Step::Driver, "0x0180A2B3", "0000000000000001"}, // the first driver again: a repeat
    {Step::Verification, "0x0180A2B3", "0000000000000004", ""},
};

TEST_F(RecordsWriterTest, RecordsWrittenThroughTheWriterAreTheRowsTheDirectWritesMake)
{
    auto verification = [](const Step &s) {
        return VerificationRecord{s.value, s.programmer, "2", *s.text ? "FAIL" : "PASS", s.text};
    };
    // The direct writes, one record at a time, as the program wrote them before.
    QTemporaryDir direct;
    setDatabaseFolder(direct.path());
    for (const Step &s : kSteps) {
        const RecordFate fate = s.kind == Step::Settings ? WriteSettingsRecord(ProgrammerSettings(s.programmer, s.value, s.text))
                                : s.kind == Step::Driver
                                    ? WriteDriversToDatabaseInAppdataWithSettings("2.10", "0xFFAA0001", s.programmer, s.value)
                                    : WriteVerificationRecord(verification(s));
        ASSERT_EQ(fate, RecordFate::Written) << s.value;
    }
    const QList<QStringList> settings = rows(RecordDatabase::Settings), drivers = rows(RecordDatabase::Drivers),
                             verifications = rows(RecordDatabase::Verifications);

    // Every record into the outbox first (the settings records are still there
    // when the drivers are reported), then the writer.
    QTemporaryDir outbox;
    setDatabaseFolder(outbox.path());
    for (const Step &s : kSteps) {
        const RecordFate fate = s.kind == Step::Settings ? QueueSettingsRecord(ProgrammerSettings(s.programmer, s.value, s.text))
                                : s.kind == Step::Driver ? QueueDriverRecord("2.10", "0xFFAA0001", s.programmer, s.value)
                                                         : QueueVerificationRecord(verification(s));
        ASSERT_EQ(fate, RecordFate::Pending) << s.value;
    }
    const OutboxDrain d = DrainOutbox();
    EXPECT_EQ(d.written, int(std::size(kSteps)));
    EXPECT_EQ(d.left, 0);
    EXPECT_EQ(d.repeats, QStringList({"0000000000000001"}));
    EXPECT_EQ(rows(RecordDatabase::Settings), settings);
    EXPECT_EQ(rows(RecordDatabase::Drivers), drivers);
    EXPECT_EQ(rows(RecordDatabase::Verifications), verifications);
    ASSERT_EQ(drivers.size(), 5);
    EXPECT_TRUE(drivers[0].contains("nomCurrent=500")) << drivers[0].join(' ').toStdString();
    EXPECT_TRUE(drivers[1].contains("nomCurrent=NULL"));
    EXPECT_TRUE(drivers[3].contains("nomCurrent=600"));
    EXPECT_TRUE(drivers[4].contains("repeat=1"));
    EXPECT_FALSE(QFile::exists(PendingRecordsJournalPath()));
    EXPECT_TRUE(dlg.messages.isEmpty()) << dlg.texts().join('|').toStdString();
}

// ---- Waiting after a failure -----------------------------------------------------------

TEST_F(RecordsWriterTest, AfterAFailureItWaitsLongerEachTimeUpToThirtySecondsAndANewRecordDoesNotMakeItTrySooner)
{
    auto clock = std::make_shared<ManualClock>();
    RecordsWriter writer(std::make_unique<SqliteStore>(), PendingRecordsJournalPath(), clock);
    QList<RecordsStoreState> states;
    QList<int> counts;
    QObject::connect(&writer, &RecordsWriter::storeStateChanged, [&](const RecordsStoreState &s) { states << s; });
    QObject::connect(&writer, &RecordsWriter::pendingChanged, [&](int n) { counts << n; });
    writer.start();
    ASSERT_EQ(QueueSettingsRecord(ProgrammerSettings("0x0180A2B3", "450")), RecordFate::Pending);
    writer.wake();
    EXPECT_EQ(writer.pending(), 0);
    ASSERT_EQ(states.size(), 1);
    EXPECT_EQ(states[0].kind, RecordsStoreState::Kind::Reachable);

    auto holder = std::make_unique<ExclusiveHolder>(DriversDatabasePath());
    ASSERT_EQ(QueueDriverRecord("2.10", "0xFFAA0001", "0x0180A2B3", "0000000000000001"), RecordFate::Pending);
    writer.wake();
    EXPECT_EQ(clock->waits, QList<int>({1000}));
    for (int i = 0; i < 7; ++i)
        clock->fire();
    EXPECT_EQ(clock->waits, QList<int>({1000, 2000, 4000, 8000, 16000, 30000, 30000, 30000}));
    // One outage: one state, its start kept while the clock moved on.
    ASSERT_EQ(states.size(), 2);
    EXPECT_EQ(states[1].kind, RecordsStoreState::Kind::Locked);
    EXPECT_EQ(states[1].text(), "record files locked since 14:02");
    EXPECT_TRUE(writer.backingOff());

    // A record made while the writer waits is counted, not tried.
    ASSERT_EQ(QueueDriverRecord("2.10", "0xFFAA0001", "0x0180A2B3", "0000000000000002"), RecordFate::Pending);
    writer.wake();
    EXPECT_EQ(clock->waits.size(), 8);
    EXPECT_EQ(writer.pending(), 2);
    EXPECT_EQ(counts.last(), 2);

    holder.reset();
    clock->fire();
    EXPECT_EQ(writer.pending(), 0);
    EXPECT_FALSE(writer.backingOff());
    EXPECT_EQ(states.last().kind, RecordsStoreState::Kind::Reachable);
    EXPECT_EQ(column(newest(RecordDatabase::Drivers), "serialNumber"),
              QStringList({"0000000000000001", "0000000000000002"}));
    EXPECT_EQ(column(newest(RecordDatabase::Drivers), "nomCurrent"), QStringList({"450", "450"}));

    // The next outage starts again with the shortest wait.
    holder = std::make_unique<ExclusiveHolder>(DriversDatabasePath());
    ASSERT_EQ(QueueDriverRecord("2.10", "0xFFAA0001", "0x0180A2B3", "0000000000000003"), RecordFate::Pending);
    writer.wake();
    EXPECT_EQ(clock->waits.last(), 1000);
    EXPECT_EQ(states.last().text(), "record files locked since 14:04") << states.last().text().toStdString();
}

// ---- Exactly once --------------------------------------------------------------------------

TEST_F(RecordsWriterTest, AStopBetweenTheStoreAndTheOutboxRewriteWritesNothingTwice)
{
    ASSERT_EQ(QueueSettingsRecord(ProgrammerSettings("0x0180A2B3", "450")), RecordFate::Pending);
    ASSERT_EQ(QueueDriverRecord("2.10", "0xFFAA0001", "0x0180A2B3", "0000000000000001"), RecordFate::Pending);
    ASSERT_EQ(QueueVerificationRecord({"0000000000000001", "0x0180A2B3", "1", "PASS", ""}), RecordFate::Pending);
    // The program dies after the store took the records, before the outbox was rewritten.
    const QByteArray outbox = ReadFileBytes(PendingRecordsJournalPath());
    ASSERT_EQ(DrainOutbox().left, 0);
    WriteFileBytes(PendingRecordsJournalPath(), outbox);
    const OutboxDrain again = DrainOutbox();
    EXPECT_EQ(again.left, 0);
    EXPECT_TRUE(again.repeats.isEmpty()); // not taken for a second report of the driver
    EXPECT_EQ(newest(RecordDatabase::Settings).GetRowCount(), 1);
    EXPECT_EQ(newest(RecordDatabase::Drivers).GetRowCount(), 1);
    EXPECT_EQ(newest(RecordDatabase::Verifications).GetRowCount(), 1);
}

TEST_F(RecordsWriterTest, RecordsAppendedWhileTheWriterRewritesTheOutboxAreNeitherLostNorDoubled)
{
    RecordsWriterThread writer(std::make_unique<SqliteStore>(), PendingRecordsJournalPath());
    writer.start();
    constexpr int kRecords = 120;
    for (int i = 0; i < kRecords; ++i) {
        ASSERT_EQ(QueueVerificationRecord({QString::number(i), "0x0180A2B3", "1", "PASS", ""}), RecordFate::Pending);
        if (i % 7 == 0)
            QCoreApplication::processEvents(); // the writer's signals, as in a running program
    }
    EXPECT_TRUE(writer.drain(kWaitLimitMs));
    EXPECT_TRUE(waitFor([&] { return writer.pending() == 0; }, kWaitLimitMs));
    writer.stop();
    const SQLiteAnswerClass v = newest(RecordDatabase::Verifications, 1000);
    QSet<QString> serials;
    for (const QString &s : column(v, "serialNumber"))
        serials.insert(s);
    EXPECT_EQ(v.GetRowCount(), kRecords);
    EXPECT_EQ(serials.size(), kRecords);
    EXPECT_EQ(PendingRecordCount(), 0);
}

TEST(RecordsStoreStateText, NamesTheKindAndWhenItBegan)
{
    const QDateTime at(QDate(2026, 12, 10), QTime(14, 2, 59));
    struct Case {
        StoreResult failure;
        bool server;
        const char *text;
    };
    auto result = [](StoreResult::Status status, bool locked) {
        StoreResult r = StoreResult::failed(status, "reason");
        r.locked = locked;
        return r;
    };
    const Case cases[] = {
        {result(StoreResult::Status::RetryLater, false), true, "server unreachable since 14:02"},
        {result(StoreResult::Status::RetryLater, true), true, "tables locked since 14:02"},
        {result(StoreResult::Status::RetryLater, true), false, "record files locked since 14:02"},
        {result(StoreResult::Status::Failed, false), false, "records cannot be written since 14:02"},
    };
    for (const Case &c : cases) {
        const RecordsStoreState s = RecordsStoreState::afterFailure({}, c.failure, c.server, at);
        EXPECT_EQ(s.text(), c.text);
        EXPECT_EQ(s.reason, "reason");
        // The same kind later: the same outage, its start kept.
        EXPECT_EQ(RecordsStoreState::afterFailure(s, c.failure, c.server, at.addSecs(600)).since, at);
    }
}

} // namespace
