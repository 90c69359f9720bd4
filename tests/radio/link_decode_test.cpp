// The programmer's answers through the radio link's receive tick: address check,
// dispatch by frame ID, records and the notice shown by the next tick.
#include "radio_test_util.h"
#include "profile/profile_defaults.h"
#include "radio/tag_buffers.h"
#include "radio/tag_reception.h"
#include "radio/tag_image.h"
#include "records/record_options.h"
#include "outbox_drain.h"
#include "records/records_database.h"
#include "scripted_dialogs.h"
#include "station/programmer_records.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr uint32_t kOwn = 0x0180A2B3;
constexpr uint32_t kProgrammer = 0x01A2B3C4;

class LinkDecode : public RadioLinkTest {
protected:
    QTemporaryDir dir;
    ProgrammerRecords records{link}; // the records of the link's reports

    void SetUp() override
    {
        setDatabaseFolder(dir.path());
        LoadDefaultProfileIntoSlots();
        recordOptions() = RecordOptions();
        link.pendingNotices = {};
        tagBuffers = TagBuffers();
        tagReadState = TagReadState();
        openStick();
        link.ownId = kOwn;
        InstallTagReception(link);
    }
    void TearDown() override { setDatabaseFolder(QString()); }

    QStringList receive(const QByteArray &frame, uint32_t destination = kOwn)
    {
        fake.state->incoming.append(telegramFrom(frame, kProgrammer, destination));
        link.Timer1Timer();
        return log.take();
    }
    // The records writer's work, here in the test's thread: the repeats it finds go
    // to the radio log as the program's writer's do, after the driver's own line.
    QStringList written()
    {
        for (const QString &serial : DrainOutbox().repeats)
            records.logRepeat(serial);
        return log.take();
    }
    static int driverRecords()
    {
        DrainOutbox(); // the records writer's work, here in the test's thread
        SQLiteAnswerClass a;
        ReadNewestRecords(RecordDatabase::Drivers, 100, a);
        return a.GetRowCount();
    }
};

TEST_F(LinkDecode, TagReadArrivesThroughTheReceiveTick)
{
    TagImage tag;
    tag.gtin = QByteArray::fromHex("001122334455");
    tag.rwData = QByteArray::fromHex("0000000000005E01FF");
    tag.rData = QByteArray("ro");
    // "Switch to Read" resets the read state.
    tagReadState.nextIdentBlock = 3;
    link.RequestReadMode();
    EXPECT_EQ(tagReadState.nextIdentBlock, 0);
    QStringList lines;
    for (const QByteArray &f : TagReadFrames(tag))
        lines += receive(f);
    EXPECT_TRUE(lines.contains("<- TAG Ident CRC16 okay!"));
    EXPECT_TRUE(lines.contains("<- TAG RW CRC16 okay!"));
    EXPECT_TRUE(lines.contains("<- TAG R CRC16 okay!"));
    EXPECT_TRUE(lines.contains("<- End Tag Frame received from ID 01A2B3C4"));
    EXPECT_EQ(tagBuffers.rw[2 + 6], 0x5E);
    EXPECT_EQ(tagBuffers.r[2], 'r');
}

TEST_F(LinkDecode, AWrongTagChecksumIsShownAfterTheParseLoopNotInsideIt)
{
    TagImage tag;
    tag.gtin = QByteArray::fromHex("001122334455");
    QList<QByteArray> frames = TagIdentFrames(TagIdentBytes(tag));
    frames[1][3] = char(frames[1][3] ^ 0x01); // a data byte of block 2: the checksum no longer fits
    bool boxInsideParseLoop = false;
    dialogs.whileMessageOpen = [&](const RecordedMessage &) { boxInsideParseLoop |= link.parsing(); };
    // All five blocks arrive in one read, so the notice waits for the whole batch.
    QByteArray batch;
    for (const QByteArray &f : frames)
        batch += telegramFrom(f, kProgrammer, kOwn);
    fake.state->incoming.append(batch);
    link.Timer1Timer();
    const QStringList lines = log.take();
    EXPECT_TRUE(lines.contains("<- All TAG Ident Blocks received!"));
    EXPECT_TRUE(lines.last().startsWith("Error: TAG Ident CRC16 calculated: 0x"));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].caption, "Error");
    EXPECT_EQ(dialogs.messages[0].text, "Error: TAG Ident CRC16 wrong");
    EXPECT_FALSE(boxInsideParseLoop);
    // Told once: the next tick has nothing more to say.
    link.Timer1Timer();
    EXPECT_EQ(dialogs.messages.size(), 1);

    // The same through a parse loop run by hand on bytes put into the ring.
    dialogs.clear();
    for (const char byte : batch)
        ASSERT_TRUE(link.ring().BufferWrite(uint8_t(byte)));
    link.ProcessUsartData();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, "Error: TAG Ident CRC16 wrong");
    EXPECT_FALSE(boxInsideParseLoop);
}

TEST_F(LinkDecode, FeedbackAddressedElsewhereWritesNothing)
{
    settingsVariablesField[0].enOcean_HandHeldID = "0x01A2B3C4";
    const QByteArray frame = QByteArray::fromHex("1A000000000000303901A2B3C4");
    EXPECT_EQ(receive(frame, 0xFFFFFFFF).last(),
              "<- Target ID does not match! TargetID: 0xFFFFFFFF OwnID: 0x0180A2B3");
    EXPECT_EQ(driverRecords(), 0);
    EXPECT_EQ(receive(frame).last(), "<- Feedback Frame received! Serial: 0000000000012345 from 0x01A2B3C4");
    EXPECT_EQ(driverRecords(), 1);
}

TEST_F(LinkDecode, EveryReportAlsoGoesOutAsAProgrammerEventAfterItsOwnSignal)
{
    QStringList order;
    QObject::connect(&link, &RadioLink::driverProgrammed, &link,
                     [&](const QString &, const QString &, const QString &serial) { order << "driver " + serial; });
    QObject::connect(&link, &RadioLink::programmerEvent, &link, [&](const ProgrammerEvent &e) {
        order << QStringLiteral("event %1 ").arg(int(e.frameId), 0, 16) + e.driver.serial;
    });
    receive(QByteArray::fromHex("1A000000000000303901A2B3C4"));
    receive(QByteArray::fromHex("30")); // an unknown frame reports nothing
    EXPECT_EQ(order, (QStringList{"driver 0000000000012345", "event 1a 0000000000012345"}));
}

TEST_F(LinkDecode, ADriverReportedAgainIsRecordedAndTheRadioLogSaysItIsARepeat)
{
    settingsVariablesField[0].enOcean_HandHeldID = "0x01A2B3C4";
    const QByteArray frame = QByteArray::fromHex("1A000000000000303901A2B3C4");
    const QString repeatLine = "<- Driver 0000000000012345 was programmed before: recorded as a repeat";
    receive(frame);
    EXPECT_FALSE(written().contains(repeatLine));
    EXPECT_FALSE(receive(frame).contains(repeatLine)); // decided when the record goes in
    EXPECT_EQ(written(), QStringList({repeatLine}));
    receive(QByteArray::fromHex("1A000000000000303A01A2B3C4"));
    EXPECT_FALSE(written().contains(repeatLine));
    EXPECT_EQ(driverRecords(), 3);
}

TEST_F(LinkDecode, TransferCompleteRaisesTheNoticeForTheNextTick)
{
    // Nothing sent yet: the checksum starts at 0, yet "1B 00" confirms nothing.
    EXPECT_TRUE(receive(QByteArray::fromHex("1B00")).last().startsWith("<- Transfer-complete frame without a transfer"));
    EXPECT_FALSE(link.pendingNotices.pending);
    link.transferChecksum = 0x5E;
    link.transferAwaitingConfirmation = true; // every frame of a transfer went out
    receive(QByteArray::fromHex("1B5F"));
    EXPECT_FALSE(link.pendingNotices.pending);
    EXPECT_EQ(receive(QByteArray::fromHex("1B5E")).last(), "<- Transfer successful completed from ID 01A2B3C4");
    EXPECT_TRUE(link.pendingNotices.pending);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    link.Timer1Timer();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, "Send information to Programmer");
    EXPECT_EQ(dialogs.messages[0].caption, "Info");
    // A repeated confirmation of the same transfer writes no second record.
    EXPECT_TRUE(receive(QByteArray::fromHex("1B5E")).last().startsWith("<- Transfer-complete frame without a transfer"));
    DrainOutbox(); // the records writer's work, here in the test's thread
    SQLiteAnswerClass a;
    ReadNewestRecords(RecordDatabase::Settings, 10, a);
    EXPECT_EQ(a.GetRowCount(), 1);
}

// The log line of a frame ID the decoder does not know is checked with the receive
// side's parse loop (tests/radio/receive_test.cpp, "a packet wrapping the ring").

} // namespace

#include "radio/tag_read_session.h"

namespace {

TEST_F(LinkDecode, ReadWaitsUntilTheIdentityArrivesAndCancelSends14Once)
{
    tagBuffers.ident[0] = 0x12; // an earlier read
    link.setReceiverId("0x01A2B3C4");
    link.setSendDelay(false);
    // First box: OK with nothing arrived yet, second box: the identity block 0
    // arrives while the box is open.
    int boxes = 0;
    dialogs.whileMessageOpen = [&](const RecordedMessage &m) {
        if (m.text == kTagReadWaitMessage && ++boxes == 2) {
            fake.state->incoming.append(
                telegramFrom(TagIdentFrames(TagIdentBytes(TagImage{}))[0], kProgrammer, kOwn));
            link.Timer1Timer();
        }
    };
    EXPECT_EQ(RunTagRead(link, ShowUserNotice), TagReadOutcome::Arrived);
    EXPECT_EQ(boxes, 2);
    ASSERT_EQ(fake.state->writes.size(), 1);
    EXPECT_EQ(uint8_t(fake.state->writes[0][7]), 0x13); // switch to read

    fake.state->writes.clear();
    dialogs.clear();
    dialogs.whileMessageOpen = nullptr;
    dialogs.answers = {MsgAnswer::OK, MsgAnswer::Cancel};
    EXPECT_EQ(RunTagRead(link, ShowUserNotice), TagReadOutcome::Cancelled);
    ASSERT_EQ(dialogs.messages.size(), 2);
    EXPECT_EQ(dialogs.messages[0].caption, "Info");
    EXPECT_EQ(dialogs.messages[0].buttons, MsgButtons::OKCancel);
    ASSERT_EQ(fake.state->writes.size(), 2); // "13", then "14" once
    EXPECT_EQ(uint8_t(fake.state->writes[1][7]), 0x14);
    EXPECT_FALSE(TagIdentReceived());

    link.ClearCom();
    link.CloseCom();
    dialogs.clear();
    EXPECT_EQ(RunTagRead(link, ShowUserNotice), TagReadOutcome::NoPort);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, "COM port not opened.");
    EXPECT_EQ(dialogs.messages[0].caption, "COM Error");
}

} // namespace
