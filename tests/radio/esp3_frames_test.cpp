// Packet and frame bytes: what the stick and the programmer get, byte for byte.
#include "common/hex_text.h"
#include "fake_clock.h"
#include "radio_test_util.h"
#include "radio/tavel_frames.h"
#include "scripted_dialogs.h"

#include <gtest/gtest.h>

TEST(Esp3Crc8, MatchesTheSmbusCheckValueAndTheStoredTableEntries)
{
    EXPECT_EQ(esp3::Crc8(QByteArray("123456789")), 0xF4);
    EXPECT_EQ(esp3::kCrc8Table[0], 0x00);
    EXPECT_EQ(esp3::kCrc8Table[1], 0x07);
    EXPECT_EQ(esp3::kCrc8Table[0x80], 0x89);
    EXPECT_EQ(esp3::kCrc8Table[0xFF], 0xF3);
}

TEST(Esp3Packets, CommonCommandsAndThePairingRequestAreWrittenByteForByte)
{
    FakePortInstaller fake;
    ScriptedDialogs dialogs;
    RadioLink link;
    NoticesInDialogs notices(link);
    LogRecorder log(link);
    ASSERT_EQ(link.TogglePort(QStringLiteral("stick")), QStringLiteral("Close port"));
    ASSERT_EQ(fake.state->writes.size(), 1); // opening asks for the version
    EXPECT_EQ(fake.state->writes[0], hexBytes("55 00 01 00 05 70 03 09"));
    EXPECT_TRUE(log.lines.contains(QStringLiteral("-> send 0x 55 00 01 00 05 70 03 09")));

    link.RequestDutyCycleInfo();
    EXPECT_EQ(fake.state->writes.last(), hexBytes("55 00 01 00 05 70 23 E9"));

    link.ownId = 0x0180A2B3;
    link.SendPairingRequest();
    EXPECT_EQ(fake.state->writes.last(), hexBytes("55 00 07 07 01 7A D1 10 01 80 A2 B3 00 03 FF FF FF FF FF 00 B3"));
    EXPECT_TRUE(log.lines.contains(
        QStringLiteral("-> sending 0x 55 00 07 07 01 7A D1 10 01 80 A2 B3 00 03 FF FF FF FF FF 00 B3")));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST(Esp3Packets, SendingWithThePortClosedShowsTheComErrorAndWritesNothing)
{
    FakePortInstaller fake;
    ScriptedDialogs dialogs;
    RadioLink link;
    NoticesInDialogs notices(link);
    LogRecorder log(link);
    link.RequestStickVersion();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("COM Error"));
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("COM port not opened."));
    EXPECT_EQ(log.lines, QStringList{QStringLiteral("-> send 0x 55 00 01 00 05 70 03 09")});
    EXPECT_TRUE(fake.state->writes.isEmpty());

    // The pairing request checks the port itself and logs nothing.
    dialogs.clear();
    log.take();
    link.SendPairingRequest();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("COM port not opened."));
    EXPECT_TRUE(log.lines.isEmpty());
}

TEST(TavelFrames, FrameTextsCarryTheirCrcAndFeedTheTransferChecksum)
{
    uint8_t checksum = 0;
    EXPECT_EQ(tavel::IdentityFrameText(0, QStringLiteral("001122334455"), &checksum), QStringLiteral("0E0000112233445" "5BF"));
    EXPECT_EQ(checksum, esp3::Crc8(hexBytes("00 11 22 33 44 55")));

    checksum = 0;
    EXPECT_EQ(tavel::ProgrammingDataFrameText(9, 0, QStringLiteral("00E65E"), &checksum),
              QStringLiteral("0F0009000000E65E27"));
    EXPECT_EQ(checksum, esp3::Crc8(hexBytes("5E"))); // only the data byte

    const QString field = tavel::UserTextField(QStringLiteral("Test"));
    EXPECT_EQ(field.size(), 24);
    EXPECT_EQ(tavel::UserTextFrameText(0, field), QStringLiteral("15005465737420" "20EF"));
    for (int p = 1; p < 4; ++p)
        EXPECT_TRUE(tavel::UserTextFrameText(p, field).startsWith(QStringLiteral("150") + QString::number(p)
                                                                  + QStringLiteral("202020202020")));
    const QString umlaut = tavel::UserTextFrameText(0, tavel::UserTextField(QStringLiteral("\u00e4\u007f\u0001x")));
    EXPECT_TRUE(umlaut.startsWith(QStringLiteral("15007E7E7E78")));

    EXPECT_EQ(tavel::HexTextToBytes(QStringLiteral("0aZZ1")), hexBytes("0A 00"));
    EXPECT_EQ(tavel::HexTextDisplay(QStringLiteral("0a1B")), QStringLiteral("0x0a 0x1B "));
}

// The identity the radio window starts with.
const IdentityFields kValidIdentity{QStringLiteral("001122334455"), QStringLiteral("0011"),
                                   QStringLiteral("0011223344556677"), QStringLiteral("0011")};

// Frames as the radio link sends them, with the stick acknowledging each one. The
// link's clock moves only when it sleeps, and a receive tick runs after every sleep.
class SendTest : public RadioLinkTest {
protected:
    FakeClock clock;
    QList<qint64> writtenAt; // the link clock at each write

    void SetUp() override
    {
        openStick();
        link.ownId = 0x0180A2B3;
        link.setReceiverId(QStringLiteral("0x01A2B3C4"));
        link.sendDelayLimitMs = 300;
        clock.duringSleep = [this] { link.Timer1Timer(); };
        link.setClock(clock.nowFn(), clock.sleepFn());
        stickAcknowledges(true);
    }
    // Whether the stick answers every radio telegram with a one-byte response.
    void stickAcknowledges(bool on)
    {
        fake.state->onWrite = [this, on](const QByteArray &w) {
            writtenAt << clock.now;
            if (on && w.size() > 4 && w[4] == char(esp3::kTypeRadioErp1))
                fake.state->incoming.append(responsePacket({0x00}));
        };
    }
    // The Tavel frames written, as hexadecimal text.
    QStringList framesWritten() const
    {
        QStringList out;
        for (const QByteArray &w : fake.state->writes) {
            const int n = int(uint8_t(w[2])) - 6;
            out << QString::fromLatin1(w.mid(7, n).toHex()).toUpper();
        }
        return out;
    }
};

TEST_F(SendTest, LengthRefusalsAndAcceptedLengths)
{
    struct Case {
        QString text;
        QString status; // expected end of status panel 1; empty: sent
    };
    const Case cases[] = {
        {QStringLiteral("0102030405060708090A"), QStringLiteral(" Error: too much to send 20")},
        {QStringLiteral("123"), QStringLiteral(" Error: chars not even 3")},
        {QString(), QStringLiteral(" Error: nothing to send 0")},
        {QStringLiteral("010203040506070809"), QString()},
        {QStringLiteral("14"), QString()},
    };
    for (const Case &c : cases) {
        fake.state->writes.clear();
        link.stickAcknowledged = true;
        link.Send(c.text, false);
        if (c.status.isEmpty()) {
            ASSERT_EQ(fake.state->writes.size(), 1) << c.text.toStdString();
            EXPECT_EQ(fake.state->writes[0].size(), c.text.size() / 2 + 20);
            EXPECT_TRUE(seen.statusPanels[1].endsWith(QStringLiteral(" sent: ") + tavel::HexTextDisplay(c.text)));
        } else {
            EXPECT_TRUE(fake.state->writes.isEmpty()) << c.text.toStdString();
            EXPECT_TRUE(seen.statusPanels[1].endsWith(c.status)) << seen.statusPanels[1].toStdString();
        }
        EXPECT_TRUE(log.lines.contains(QStringLiteral("-> Tavel payload to send: ") + c.text + QStringLiteral(" Length: ")
                                       + QString::number(c.text.size())));
    }
}

TEST_F(SendTest, ANineCharacterReceiverIdRefusesEveryFrameButThePairingRequest)
{
    link.setReceiverId(QStringLiteral("0x1234567"));
    link.Send(QStringLiteral("14"), false);
    EXPECT_TRUE(fake.state->writes.isEmpty());
    EXPECT_TRUE(seen.statusPanels[1].endsWith(QStringLiteral(" Missing / Wrong Receiver ID")));
    link.stickAcknowledged = true;
    link.SendPairingRequest();
    ASSERT_EQ(fake.state->writes.size(), 1);
    EXPECT_EQ(fake.state->writes[0].mid(14, 4), hexBytes("FF FF FF FF"));
}

TEST_F(SendTest, DestinationIsTheReceiverIdAndANonNumberGivesZero)
{
    link.Send(QStringLiteral("14"), false);
    ASSERT_EQ(fake.state->writes.size(), 1);
    EXPECT_EQ(fake.state->writes[0].mid(14, 4), hexBytes("01 A2 B3 C4"));
    EXPECT_EQ(fake.state->writes[0].mid(8, 4), hexBytes("01 80 A2 B3")); // sender: own ID
    link.setReceiverId(QStringLiteral("0xZZZZZZZZ"));
    link.stickAcknowledged = true;
    link.Send(QStringLiteral("14"), false);
    EXPECT_EQ(fake.state->writes.last().mid(14, 4), hexBytes("00 00 00 00"));
}

TEST_F(SendTest, DataPackageSendsIdentityThenItemsAndKeepsTheTransferChecksum)
{
    const IdentityFields identity{QStringLiteral("001122334455"), QStringLiteral("0102"),
                                  QStringLiteral("0000000000012345"), QStringLiteral("0304")};
    const QStringList items = {QStringLiteral("00E65E"), QStringLiteral("00E7 01")};
    link.SendCurrentDataPackage(identity, items);

    const QStringList frames = framesWritten();
    ASSERT_EQ(frames.size(), 5);
    EXPECT_EQ(frames[0], QStringLiteral("0E0000112233445" "5BF"));
    EXPECT_TRUE(frames[1].startsWith(QStringLiteral("0E01010200000000")));
    EXPECT_TRUE(frames[2].startsWith(QStringLiteral("0E02000123450304")));
    EXPECT_EQ(frames[3], QStringLiteral("0F0002000000E65E") + HexByte(esp3::Crc8(hexBytes("0F0002000000E65E"))));
    EXPECT_EQ(frames[4], QStringLiteral("0F0002000100E701") + HexByte(esp3::Crc8(hexBytes("0F0002000100E701"))));
    const uint8_t expected = esp3::Crc8(hexBytes("001122334455 0102 0000000000012345 0304 5E 01"));
    EXPECT_EQ(link.transferChecksum, expected);
    EXPECT_EQ(seen.labelTotal, QStringLiteral("0011223344550102000000000001234503" "04"));
    EXPECT_TRUE(log.lines.contains(QStringLiteral("-> Ident Data to send '001122334455' in Frame 1")));
    EXPECT_TRUE(log.lines.contains(QStringLiteral("-> Ident Data to send '000123450304' in Frame 3")));
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(SendTest, AShortIdentityIsReportedAndSentAnyway)
{
    link.SendIdentity({QStringLiteral("0011"), QString(), QString(), QString()});
    EXPECT_TRUE(log.lines.contains(QStringLiteral("-> Ident Data to send '0011'")));
    // "0E00" + "0011" + CRC is sent; the two empty parts are frames of four digits.
    const QStringList frames = framesWritten();
    ASSERT_EQ(frames.size(), 3);
    EXPECT_TRUE(frames[0].startsWith(QStringLiteral("0E000011")));
    EXPECT_EQ(frames[1].size(), 6);
}

TEST_F(SendTest, UserTextIsSentInFourFramesAndLeavesTheChecksumAlone)
{
    link.transferChecksum = 0x42;
    link.SendUserTextFrames(QStringLiteral("Test"));
    const QStringList frames = framesWritten();
    ASSERT_EQ(frames.size(), 4);
    EXPECT_EQ(frames[0], QStringLiteral("15005465737420" "20EF"));
    EXPECT_EQ(link.transferChecksum, 0x42);
    EXPECT_TRUE(log.lines.contains(QStringLiteral("-> Text to send: 'Test'")));
    EXPECT_TRUE(log.lines.contains(QStringLiteral("-> Part 1 of UserText to send: 'Test  '")));
    EXPECT_TRUE(log.lines.contains(QStringLiteral("-> Part 4 of UserText to send: '      '")));
}

TEST_F(SendTest, PacingWaitsForTheAcknowledgementAtMostTheLimit)
{
    // The first frame goes at once; the next one after the sleep whose tick read
    // the stick's acknowledgement.
    link.Send(QStringLiteral("14"), false);
    link.Send(QStringLiteral("14"), false);
    EXPECT_EQ(writtenAt, (QList<qint64>{0, 100}));
    EXPECT_EQ(clock.sleeps, QList<int>{100});

    // A silent stick: the frame after an unacknowledged one waits until the limit
    // has passed since that frame was sent.
    stickAcknowledges(false);
    link.Send(QStringLiteral("14"), false); // the second frame's ack is still waiting in the port
    link.Send(QStringLiteral("14"), false);
    EXPECT_EQ(writtenAt, (QList<qint64>{0, 100, 200, 500}));
    EXPECT_EQ(link.lastFrameSentMs, 500);

    // Unticked "10s Send Delay": no wait at all.
    link.setSendDelay(false);
    clock.sleeps.clear();
    link.Send(QStringLiteral("14"), false);
    EXPECT_TRUE(clock.sleeps.isEmpty());
    EXPECT_EQ(writtenAt.size(), 5);
}

TEST_F(SendTest, AnEarlyAcknowledgementStillKeepsTheFramesTheGapApart)
{
    // The receiver reads the acknowledgement as soon as it arrives; the next frame
    // still goes no sooner than 100 ms after the previous one.
    link.Send(QStringLiteral("14"), false);
    link.Timer1Timer();
    ASSERT_TRUE(link.stickAcknowledged);
    clock.now += 30;
    link.Send(QStringLiteral("14"), false);
    EXPECT_EQ(writtenAt, (QList<qint64>{0, 100}));
    EXPECT_EQ(clock.sleeps, QList<int>{70});
}

TEST_F(SendTest, APortThatClosesEndsTheWaitForTheAcknowledgement)
{
    stickAcknowledges(false);
    link.Send(QStringLiteral("14"), false);
    clock.duringSleep = [this] { link.CloseCom(); };
    link.Send(QStringLiteral("14"), false);
    EXPECT_EQ(clock.sleeps, QList<int>{100}); // not the 300 ms limit
    EXPECT_FALSE(link.isPortOpen());
}

// A stick pulled out in the middle of a transfer: the transfer ends at the next
// receive tick instead of waiting for acknowledgements, the port is closed, one
// message says how far it got and what to do, and the progress ends. When the
// stick is back, its port opens again without a word and the stick is asked for
// its version (which brings the own ID back).
TEST_F(SendTest, AStickPulledMidTransferEndsItAtOnceWithOneMessage)
{
    QList<QPair<int, int>> progress;
    QObject::connect(&link, &RadioLink::transferProgress, &link,
                     [&](int sent, int total) { progress << qMakePair(sent, total); });
    QStringList lost;
    QObject::connect(&link, &RadioLink::linkLost, &link, [&](const QString &port, const QString &) { lost << port; });
    const QStringList items = {QStringLiteral("00E65E"), QStringLiteral("00E701"), QStringLiteral("00E800")};
    int writes = 0;
    int pulledAfter = 0;
    for (int pulled : {2, 3, 5}) {
        SCOPED_TRACE(pulled);
        pulledAfter = pulled;
        fake.state->lost = false;
        fake.state->onWrite = {};
        if (!link.isPortOpen()) // open from the fixture the first time, lost after that
            openStick();
        fake.state->writes.clear();
        link.ownId = 0x0180A2B3;
        dialogs.clear();
        progress.clear();
        lost.clear();
        writes = 0;
        fake.state->onWrite = [&](const QByteArray &) {
            if (++writes == pulledAfter)
                fake.state->lost = true; // gone before the stick acknowledged
            else
                fake.state->incoming.append(responsePacket({0x00}));
        };
        const qint64 started = clock.now;
        EXPECT_FALSE(link.SendCurrentDataPackage(kValidIdentity, items));
        EXPECT_EQ(fake.state->writes.size(), pulledAfter);
        EXPECT_LT(clock.now - started, pulledAfter * 100 + 200 + link.sendDelayLimitMs)
            << "no wait for an acknowledgement that cannot come";
        EXPECT_FALSE(link.isPortOpen());
        EXPECT_FALSE(link.transferAwaitingConfirmation);
        ASSERT_EQ(dialogs.messages.size(), 1) << dialogs.texts().join('|').toStdString();
        EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("COM Error"));
        const QString expected = QStringLiteral("%1 of 6 frames sent; the transfer is incomplete and was not "
                                                "recorded \u2014 plug the stick in again and press send")
                                     .arg(pulledAfter);
        EXPECT_EQ(dialogs.messages[0].text.split('\n').first(), expected);
        QList<QPair<int, int>> steps{{0, 6}};
        for (int k = 1; k <= pulledAfter; ++k)
            steps << qMakePair(k, 6);
        steps << qMakePair(0, 0);
        EXPECT_EQ(progress, steps);
        EXPECT_EQ(lost, QStringList{QStringLiteral("stick")});
        EXPECT_EQ(link.lostPortEntry(), QStringLiteral("stick"));
        EXPECT_EQ(link.ownId, 0u);
        EXPECT_EQ(seen.statusPanels[0], QStringLiteral("Port closed"));
    }

    // Not back yet: nothing opens, nothing is said.
    fake.state->onWrite = {};
    fake.state->openFails = true;
    dialogs.clear();
    EXPECT_FALSE(link.ReopenLostPort());
    EXPECT_TRUE(dialogs.messages.isEmpty());
    // Back: the same entry opens and the stick is asked for its version.
    fake.state->openFails = false;
    fake.state->lost = false;
    fake.state->writes.clear();
    EXPECT_TRUE(link.ReopenLostPort());
    EXPECT_TRUE(link.isPortOpen());
    EXPECT_EQ(fake.state->lastOpened(), QStringLiteral("stick"));
    ASSERT_EQ(fake.state->writes.size(), 1);
    EXPECT_EQ(fake.state->writes[0], hexBytes("55 00 01 00 05 70 03 09"));
    EXPECT_TRUE(link.lostPortEntry().isEmpty());
    EXPECT_FALSE(link.ReopenLostPort()) << "open already";
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

// Closed by the operator ("Close port"), the port is not a lost one: nothing
// reopens it.
TEST_F(SendTest, APortClosedByHandIsNotReopened)
{
    link.TogglePort(QStringLiteral("stick"));
    ASSERT_FALSE(link.isPortOpen());
    EXPECT_FALSE(link.ReopenLostPort());
    EXPECT_FALSE(link.isPortOpen());
}

TEST_F(SendTest, TheDataPackagePausesBetweenIdentityAndItems)
{
    link.SendCurrentDataPackage(kValidIdentity, {QStringLiteral("00E65E")});
    ASSERT_EQ(writtenAt.size(), 4);
    // Identity frames one tick apart, then the 200 ms pause (whose ticks read the
    // last acknowledgement, so the item goes right after it).
    EXPECT_EQ(writtenAt, (QList<qint64>{0, 100, 200, 400}));
}

TEST_F(SendTest, CommandsSendTheirFrames)
{
    link.StartCalibration(); // the window asks first (the radio link window's tests)
    int resets = 0;
    link.resetReadState = [&resets] { ++resets; };
    link.setSendDelay(false);
    link.SendSensitivity(false);
    link.SendSensitivity(true);
    link.RequestReadMode();
    link.RequestProgMode();
    link.SendFrame(QStringLiteral("abcd"));
    QStringList frames = framesWritten();
    for (QString &f : frames)
        f = f.toUpper();
    EXPECT_EQ(frames, (QStringList{"12", "1130", "1140", "13", "14", "ABCD"}));
    EXPECT_EQ(resets, 1);
}

namespace {
// A malformed receiver ID or identity field refuses the whole transfer before
// its first frame, naming the field; nothing goes out and no confirmation is awaited.
TEST_F(SendTest, AMalformedReceiverOrIdentityFieldRefusesTheWholeTransfer)
{
    struct Case {
        const char *name;
        QString receiver, gtin, fw, serial, hw;
        const char *named;
    };
    const Case cases[] = {
        {"short receiver ID", "0x1234", "001122334455", "0102", "0000000000012345", "0304", "receiver ID '0x1234'"},
        {"11-digit GTIN", "0x01A2B3C4", "00112233445", "0102", "0000000000012345", "0304", "GTIN '00112233445'"},
        {"FW not hexadecimal", "0x01A2B3C4", "001122334455", "01G2", "0000000000012345", "0304", "FW '01G2'"},
        {"serial too long", "0x01A2B3C4", "001122334455", "0102", "00000000000123456", "0304", "Serial"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        fake.state->writes.clear();
        dialogs.clear();
        link.setReceiverId(c.receiver);
        EXPECT_FALSE(link.SendCurrentDataPackage({c.gtin, c.fw, c.serial, c.hw}, {QStringLiteral("00E65E")}));
        EXPECT_TRUE(framesWritten().isEmpty());
        EXPECT_FALSE(link.transferAwaitingConfirmation);
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_TRUE(dialogs.messages[0].text.contains(QLatin1String(c.named))) << dialogs.messages[0].text.toStdString();
    }
}
} // namespace
