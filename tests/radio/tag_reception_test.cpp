#include "profile/profile_defaults.h"
#include "radio/crc16.h"
#include "radio/tag_buffers.h"
#include "radio/tag_image.h"
#include "radio/tag_reception.h"
#include "records/record_options.h"
#include "outbox_drain.h"
#include "records/records_database.h"
#include "driver_tags.h"
#include "scripted_dialogs.h"
#include "station/programmer_records.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr uint32_t kOwnId = 0xFFAA0001;
constexpr uint32_t kProgrammer = 0x0180A2B3;

// Feeds frames to the handlers and keeps the radio log.
struct Receiver {
    QStringList log;
    TagFrameEnv env{[this](const QString &l) { log << l; }, ShowUserNotice};

    void feed(const QByteArray &f)
    {
        TavelFrameIn in{reinterpret_cast<const uint8_t *>(f.constData()), int(f.size()), kProgrammer, kOwnId};
        switch (uint8_t(f[0])) {
        case 0x16: HandleTagIdentBlock(in, env); break;
        case 0x17: HandleTagAreaBlock(true, in, env); break;
        case 0x18: HandleTagAreaBlock(false, in, env); break;
        case 0x19: HandleEndTagFrame(in, env); break;
        case 0x1A: {
            // The report goes to the records as the link's signal takes it there.
            ProgrammedDriverReport r;
            if (HandleFeedbackFrame(in, env, &r))
                ProgrammerRecords::recordProgrammedDriver(r.ownId, r.programmerId, r.serial);
            break;
        }
        default: FAIL() << "no handler";
        }
    }
    void feed(const QList<QByteArray> &frames)
    {
        for (const auto &f : frames)
            feed(f);
    }
};

TagImage sampleTag(int rwSize = 30, int rSize = 12)
{
    TagImage t = PairedDriverTag();
    t.rwData.clear();
    for (int i = 0; i < rwSize; ++i)
        t.rwData.append(char(i + 1));
    t.rStart = 0x200;
    for (int i = 0; i < rSize; ++i)
        t.rData.append(char(0xA0 + i));
    return t;
}

class TagReception : public ::testing::Test {
protected:
    ScriptedDialogs dlg;
    Receiver rx;
    void SetUp() override
    {
        tagBuffers = TagBuffers();
        tagReadState = TagReadState();
    }
};

TEST(TagCrc, X25CheckValueStoredMostSignificantByteFirst)
{
    const QByteArray check("123456789");
    EXPECT_EQ(TagCRC16(reinterpret_cast<const uint8_t *>(check.constData()), 9, 0xFFFF), 0x6E90);
    EXPECT_EQ(TagAreaBytes(check).left(2), QByteArray::fromHex("906E"));
}

TEST_F(TagReception, CompleteReadFillsBuffersAndChecksEveryArea)
{
    const TagImage tag = sampleTag();
    rx.feed(TagReadFrames(tag));
    EXPECT_TRUE(tagReadState.identComplete);
    EXPECT_TRUE(tagReadState.rwComplete);
    EXPECT_EQ(tagReadState.rwCount, 7); // 30 bytes: 42 bytes in 7 blocks
    EXPECT_EQ(tagReadState.rCount, 4);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(tagBuffers.rw.data()), 32), TagAreaBytes(tag.rwData));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(tagBuffers.r.data()), 14), TagAreaBytes(tag.rData));
    EXPECT_TRUE(dlg.messages.isEmpty());
    for (const char *line : {"<- TAG Ident Block 1 received!", "<- TAG Ident Block 5 received!",
                             "<- All TAG Ident Blocks received!", "<- TAG Ident CRC16 okay!",
                             "<- TAG RW-Data Block 7 received from ID 0180A2B3", "<- All TAG RW-Data Blocks received!",
                             "<- TAG RW CRC16 okay!", "<- TAG R-Data Block 4 received from ID 0180A2B3",
                             "<- All TAG R-Data Blocks received!", "<- TAG R CRC16 okay!",
                             "<- End Tag Frame received from ID 0180A2B3"})
        EXPECT_TRUE(rx.log.contains(line)) << line;
}

TEST_F(TagReception, IdentityBlocksFollowTheExpectedOrder)
{
    const QList<QByteArray> ident = TagIdentFrames(TagIdentBytes(sampleTag()));
    rx.feed(ident[0]);
    rx.feed(ident[2]);
    EXPECT_EQ(rx.log.last(), "<- Unknown TAG Ident Block :2");
    EXPECT_EQ(tagBuffers.ident[14], 0); // dropped
    rx.feed(ident[1]);
    EXPECT_EQ(rx.log.last(), "<- TAG Ident Block 2 received!");
    EXPECT_EQ(tagReadState.nextIdentBlock, 2);
    // Block 0 in the middle of a read starts the sequence again.
    rx.feed(ident[0]);
    EXPECT_EQ(tagReadState.nextIdentBlock, 1);
    rx.feed(QByteArray::fromHex("1605000000000000000000"));
    EXPECT_EQ(rx.log.last(), "<- Unknown TAG Ident Block :5");
    for (int k = 1; k < 5; ++k)
        rx.feed(ident[k]);
    EXPECT_TRUE(tagReadState.identComplete);
    EXPECT_EQ(rx.log.last(), "<- TAG Ident CRC16 okay!");
}

TEST_F(TagReception, AreaSizesGiveBlockCountsAndOversizedAreasAreRefused)
{
    struct Case { int rwSize, rSize, rwCount, rCount; bool refusedLine; };
    const Case cases[] = {
        {30, 12, 7, 4, false}, {0, 0, 2, 2, false}, {503, 503, 85, 85, false},
        {504, 30, 0, 7, true}, {30, 0xFFFF, 7, 0, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.rwSize << "/" << c.rSize);
        TagImage t = sampleTag(std::min(c.rwSize, 503), std::min(c.rSize, 503));
        t.rwSizeAnnounced = c.rwSize;
        t.rSizeAnnounced = c.rSize;
        rx.log.clear();
        ResetTagReadState();
        rx.feed(TagIdentFrames(TagIdentBytes(t)));
        EXPECT_EQ(tagReadState.rwCount, c.rwCount);
        EXPECT_EQ(tagReadState.rCount, c.rCount);
        EXPECT_EQ(rx.log.filter("exceeds 503 bytes, area refused!").size(), c.refusedLine ? 1 : 0);
    }
    // With the refused RW area (announced 504) no block is taken, so nothing can be
    // written past the buffer: block 85 would fill bytes 510-515.
    TagImage big = sampleTag(503);
    big.rwSizeAnnounced = 504;
    ResetTagReadState();
    rx.feed(TagIdentFrames(TagIdentBytes(big)));
    rx.feed(QByteArray::fromHex("170055AABBCCDDEEFF"));
    EXPECT_EQ(rx.log.last(), "<- Unknown TAG Data RW Block :85");
    EXPECT_EQ(tagReadState.rwCounter, 0);
}

TEST_F(TagReception, AreaBlocksOutsideTheReadAreUnknown)
{
    // Before the identity is complete.
    rx.feed(QByteArray::fromHex("17000001020304050607"));
    EXPECT_EQ(rx.log.last(), "<- Unknown TAG Data RW Block :0");
    rx.feed(TagIdentFrames(TagIdentBytes(sampleTag(30))));
    // A number equal to the count (7 for 30 bytes).
    rx.feed(QByteArray::fromHex("170007010203040506"));
    EXPECT_EQ(rx.log.last(), "<- Unknown TAG Data RW Block :7");
    // R blocks need the RW area complete.
    rx.feed(QByteArray::fromHex("180000010203040506"));
    EXPECT_EQ(rx.log.last(), "<- Unknown TAG Data R Block :0");
    EXPECT_EQ(tagReadState.rwCounter, 0);
    EXPECT_EQ(tagReadState.rCounter, 0);
}

TEST_F(TagReception, WrongChecksumsShowBoxAndLogBothValues)
{
    TagImage tag = sampleTag(6);
    // A correct read first sets the counts; a later identity with a wrong checksum
    // keeps them.
    rx.feed(TagIdentFrames(TagIdentBytes(tag)));
    QByteArray badIdent = TagIdentBytes(tag);
    badIdent[20] = char(0x77);
    rx.feed(TagIdentFrames(badIdent));
    ASSERT_EQ(dlg.messages.size(), 1);
    EXPECT_EQ(dlg.messages[0].caption, "Error");
    EXPECT_EQ(dlg.messages[0].text, "Error: TAG Ident CRC16 wrong");
    EXPECT_TRUE(rx.log.last().startsWith("Error: TAG Ident CRC16 calculated: 0x"));
    const QString stored = QStringLiteral("%1").arg(uint8_t(badIdent[0]) | uint8_t(badIdent[1]) << 8, 4, 16,
                                                   QLatin1Char('0')).toUpper();
    EXPECT_TRUE(rx.log.last().endsWith(" ... CRC16 read: 0x" + stored)) << rx.log.last().toStdString();
    EXPECT_EQ(tagReadState.rwCount, 3);
    EXPECT_TRUE(tagReadState.identComplete); // the data stays; blocks still taken

    QByteArray rw = TagAreaBytes(tag.rwData);
    rw[3] = char(rw[3] ^ 0x01);
    rx.feed(TagAreaFrames(0x17, rw, 6));
    ASSERT_EQ(dlg.messages.size(), 2);
    EXPECT_EQ(dlg.messages[1].text, "Error: TAG RW CRC16 wrong");
    EXPECT_TRUE(tagReadState.rwComplete); // complete all the same
    QByteArray r = TagAreaBytes(tag.rData);
    r[0] = char(r[0] ^ 0x80);
    rx.feed(TagAreaFrames(0x18, r, 12));
    ASSERT_EQ(dlg.messages.size(), 3);
    EXPECT_EQ(dlg.messages[2].text, "Error: TAG R CRC16 wrong");
    EXPECT_TRUE(rx.log.last().startsWith("Error: TAG R CRC16 calculated: 0x"));
}

TEST_F(TagReception, BlockTwiceCountsTwiceAndWrongEndMarkerStopsBlocks)
{
    TagImage tag = sampleTag(12); // 4 RW blocks
    rx.feed(TagIdentFrames(TagIdentBytes(tag)));
    const auto rw = TagAreaFrames(0x17, TagAreaBytes(tag.rwData), 12);
    rx.feed(rw[0]);
    rx.feed(rw[0]);
    rx.feed(rw[1]);
    EXPECT_FALSE(tagReadState.rwComplete);
    rx.feed(rw[2]); // fourth accepted frame: counted complete although block 3 never came
    EXPECT_TRUE(tagReadState.rwComplete);
    EXPECT_TRUE(rx.log.contains("<- All TAG RW-Data Blocks received!"));

    rx.feed(QByteArray::fromHex("19E1"));
    EXPECT_EQ(rx.log.last(), "Error: Tavel Data CRC wrong! Should: 0xE0 read: 0xE1");
    EXPECT_FALSE(tagReadState.identComplete);
    EXPECT_FALSE(tagReadState.rwComplete);
    rx.feed(rw[3]);
    EXPECT_EQ(rx.log.last(), "<- Unknown TAG Data RW Block :3");
}

TEST_F(TagReception, ShortFramesAreDroppedWithALogLine)
{
    rx.feed(QByteArray::fromHex("1600"));
    rx.feed(QByteArray::fromHex("19"));
    EXPECT_EQ(rx.log, QStringList({"Error: Tavel frame 0x16 too short: 2 bytes",
                                   "Error: Tavel frame 0x19 too short: 1 bytes"}));
    EXPECT_EQ(tagReadState.nextIdentBlock, 0);
}

TEST(SerialText, SixteenDigitsAndUnsignedAbove2To63)
{
    struct Case { const char *hex; const char *text; };
    const Case cases[] = {
        {"0000000000003039", "0000000000012345"},
        {"0000000000000000", "0000000000000000"},
        {"7FFFFFFFFFFFFFFF", "9223372036854775807"},
        {"8000000000000000", "9223372036854775808"},
        {"FFFFFFFFFFFFFFFF", "18446744073709551615"},
    };
    for (const auto &c : cases) {
        const QByteArray b = QByteArray::fromHex(c.hex);
        EXPECT_EQ(SerialNumberText(reinterpret_cast<const uint8_t *>(b.constData())), c.text);
    }
}

class ProgrammerAnswers : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScriptedDialogs dlg;
    Receiver rx;
    void SetUp() override
    {
        setDatabaseFolder(dir.path());
        LoadDefaultProfileIntoSlots();
        recordOptions() = RecordOptions();
    }
    void TearDown() override { setDatabaseFolder(QString()); }
    static int rows(RecordDatabase which)
    {
        DrainOutbox(); // the records writer's work, here in the test's thread
        SQLiteAnswerClass a;
        ReadNewestRecords(which, 100, a);
        return a.GetRowCount();
    }
};

TEST_F(ProgrammerAnswers, FeedbackFrameLogsSerialAndWritesOneRecordPerMatchingSlot)
{
    settingsVariablesField[0].enOcean_HandHeldID = "0x0180A2B3";
    settingsVariablesField[1].enOcean_HandHeldID = "0x0180A2B4"; // another programmer: no record
    settingsVariablesField[2].enOcean_HandHeldID = "0x0180A2B3";
    rx.feed(QByteArray::fromHex("1A00000000000030390180A2B3"));
    EXPECT_EQ(rx.log.last(), "<- Feedback Frame received! Serial: 0000000000012345 from 0x0180A2B3");
    DrainOutbox();
    SQLiteAnswerClass a;
    ReadNewestRecords(RecordDatabase::Drivers, 10, a);
    ASSERT_EQ(a.GetRowCount(), 2);
    EXPECT_EQ(a.Get(2, 0), "0xFFAA0001"); // the own ID the telegram was addressed to
    EXPECT_EQ(a.Get(4, 0), "0x0180A2B3");
    EXPECT_EQ(a.Get(5, 0), "0000000000012345");
}

TEST_F(ProgrammerAnswers, TransferCompleteComparesTheTransferChecksum)
{
    const QByteArray ok = QByteArray::fromHex("1B5E");
    TavelFrameIn in{reinterpret_cast<const uint8_t *>(ok.constData()), 2, kProgrammer, kOwnId};
    // A confirmation goes to the records as the link's signal takes it there.
    auto confirm = [&](uint8_t checksum) {
        const bool confirmed = HandleTransferComplete(in, checksum, rx.env);
        if (confirmed)
            ProgrammerRecords::recordConfirmedTransfer();
        return confirmed;
    };
    EXPECT_FALSE(confirm(0x5F));
    EXPECT_EQ(rx.log.last(), "Error: CRC8 of transfered data wrong! calculated: 0x5F ... CRC8 received: 0x5E");
    EXPECT_EQ(rows(RecordDatabase::Settings), 0);

    recordOptions().writeSettings = false;
    EXPECT_TRUE(confirm(0x5E));
    EXPECT_EQ(rx.log.last(), "<- Transfer successful completed from ID 0180A2B3");
    EXPECT_EQ(rows(RecordDatabase::Settings), 0);
    recordOptions().writeSettings = true;
    EXPECT_TRUE(confirm(0x5E));
    EXPECT_EQ(rows(RecordDatabase::Settings), 1);
}

} // namespace
