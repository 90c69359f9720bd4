// The receive tick and the parse loop: resynchronisation, checks, log lines, the
// stick's responses, re-entrance and the full ring.
#include "common/hex_text.h"
#include "radio_test_util.h"
#include "radio/tavel_frames.h"
#include "scripted_dialogs.h"

#include <gtest/gtest.h>

namespace {
const QByteArray kAck = hexBytes("55 00 01 00 02 65 00 00");
const QByteArray kAckRc2 = responsePacket({0x02});

QString logged(const QByteArray &packet) { return QStringLiteral("<- ") + HexBytesCompact(packet); }

class ReceiveTest : public RadioLinkTest {
protected:
    void SetUp() override { openStick(); }
    // One tick reading `chunk` (nothing when empty); returns its log lines.
    QStringList tick(const QByteArray &chunk = {})
    {
        if (!chunk.isEmpty())
            fake.state->incoming.append(chunk);
        link.Timer1Timer();
        return log.take();
    }
};

QByteArray withHeaderCrc(QByteArray header)
{
    header.append(char(esp3::Crc8(header.mid(1, 4))));
    return header;
}
} // namespace

TEST_F(ReceiveTest, ParseLoopCases)
{
    // A radio telegram of 22 bytes (a two-byte frame) addressed to own ID 0.
    const QByteArray unknown22 = telegramFrom(hexBytes("20 00"), 0x01A2B3C4, 0);
    ASSERT_EQ(unknown22.size(), 22);
    // L = 29, O = 6: exactly 42 bytes; its RORG is not 0xD1 so only the log sees it.
    QByteArray data29(29, '\x11');
    data29[0] = char(0xA5);
    const QByteArray total42 = esp3::BuildPacket(esp3::kTypeRadioErp1, data29, QByteArray(6, '\x22'));
    ASSERT_EQ(total42.size(), 42);
    const QByteArray event = esp3::BuildPacket(esp3::kTypeEvent, hexBytes("01"), {});
    const QByteArray version = versionResponse(0x0180A2B3);
    QByteArray badHeader = kAck;
    badHeader[5] = char(0x66);
    QByteArray badData = kAck;
    badData[7] = char(0x01);
    const QString notEnough = QStringLiteral("Warning: Not enough chars in buffer for complete frame!");
    // A 0xD1 telegram too short to hold a frame, a sender and a destination.
    const QByteArray tooShort = esp3::BuildPacket(esp3::kTypeRadioErp1, hexBytes("D1"), hexBytes("03"));

    struct Case {
        const char *name;
        int start; // read and write index of the empty ring
        QList<QByteArray> reads; // one per tick; empty: nothing arrives
        QList<QStringList> logs; // per tick
    };
    const QList<Case> cases = {
        {"two packets in one read", 0, {kAck + kAckRc2},
         {{logged(kAck), "<- ok", logged(kAckRc2), "<- ok"}}},
        {"a packet split over two reads", 0, {version.left(10), version.mid(10)},
         {{notEnough},
          {logged(version),
           "<- USB300 Stick info: APP Version: 2.6.3b0 API Version: 2.6.0b0"}}},
        {"noise before a packet", 0, {hexBytes("00 A0 FF 13") + kAck}, {{logged(kAck), "<- ok"}}},
        {"wrong header CRC, then a valid packet", 0, {badHeader + kAck, {}},
         {{"Error: Header CRC wrong! calc: 0x65 read: 0x66"}, {logged(kAck), "<- ok"}}},
        {"L 250 and O 7", 0, {withHeaderCrc(hexBytes("55 00 FA 07 01")) + QByteArray(10, '\0')},
         {{"Error: Total length > 42 chars!"}}},
        {"total exactly 42", 0, {total42}, {{logged(total42)}}},
        {"data CRC wrong", 0, {badData}, {{"Error: Data CRC8 wrong! calc: 0x00 read: 0x01"}}},
        {"data length of 256 or more", 0, {withHeaderCrc(hexBytes("55 01 00 00 02")) + kAck, {}},
         {{}, {logged(kAck), "<- ok"}}},
        {"event packet", 0, {event}, {{logged(event)}}},
        {"a packet wrapping the ring, its frame ID unknown to the decoder", 250, {unknown22},
         {{logged(unknown22), "<- Unknown Tavel FrameID 20!! "}}},
        {"nothing but noise", 0, {hexBytes("01 02 03")}, {{}}},
        {"a radio telegram too short for a frame", 0, {tooShort}, {{logged(tooShort)}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        link.ring().Reset(uint8_t(c.start));
        link.ownId = 0;
        link.Timer1Timer(); // clears any pending resumption
        log.take();
        for (int t = 0; t < c.reads.size(); ++t) {
            QStringList expected;
            for (const QString &l : c.logs[t])
                expected << l;
            EXPECT_EQ(tick(c.reads[t]), expected) << "tick " << t;
        }
        tick(); // what is left after a rejected candidate goes on the next tick
        EXPECT_EQ(link.ring().BufferContent(), 0);
    }
}

TEST_F(ReceiveTest, StickResponses)
{
    // Version response with "Use OwnId" ticked: own ID, panel 3, stick line, Button14.
    EXPECT_FALSE(seen.dutyCycleButtonEnabled);
    tick(versionResponse(0x0180A2B3));
    EXPECT_EQ(link.ownId, 0x0180A2B3u);
    EXPECT_EQ(seen.statusPanels[3], QStringLiteral("Own ID : 0x0180A2B3"));
    EXPECT_EQ(seen.stickInfo, QStringLiteral("USB300 Stick info: APP Version: 2.6.3b0 API Version: 2.6.0b0"));
    EXPECT_TRUE(seen.dutyCycleButtonEnabled);

    // A second version response while the own ID is set is only logged.
    EXPECT_EQ(tick(versionResponse(0x11111111)).size(), 1);
    EXPECT_EQ(link.ownId, 0x0180A2B3u);

    // Duty cycle.
    EXPECT_EQ(tick(responsePacket({0, 99, 20, 0x0E, 0x10, 0x00, 0xB4, 98})).last(),
              QStringLiteral("Duty Cycle Info: Available %: 99 % Slots: 20 Slot period: 3600 s, Time left: 180 s, "
                             "Avail after Slot: 98 %."));

    // An acknowledgement with any return code.
    link.stickAcknowledged = false;
    EXPECT_EQ(tick(kAckRc2).last(), QStringLiteral("<- ok"));
    EXPECT_TRUE(link.stickAcknowledged);
    EXPECT_EQ(seen.statusPanels[2], QStringLiteral("ok"));
}

TEST_F(ReceiveTest, VersionResponseVariants)
{
    // A non-zero return code changes nothing but the log.
    EXPECT_EQ(tick(versionResponse(0x0180A2B3, 0x01)).size(), 1);
    EXPECT_EQ(link.ownId, 0u);
    EXPECT_TRUE(seen.statusPanels[3].isEmpty());
    // API 2.5 leaves "Get DutyCycle Info" disabled; "Use OwnId" unticked keeps the own ID 0.
    link.setUseOwnId(false);
    tick(versionResponse(0x0180A2B3, 0, 2, 5));
    EXPECT_EQ(link.ownId, 0u);
    EXPECT_EQ(seen.statusPanels[3], QStringLiteral("Own ID : 0x00000000"));
    EXPECT_FALSE(seen.dutyCycleButtonEnabled);
    link.setSendDelay(false);
    link.setReceiverId(QStringLiteral("0x01A2B3C4"));
    link.Send(QStringLiteral("14"), false);
    EXPECT_EQ(fake.state->writes.last().mid(8, 4), hexBytes("00 00 00 00"));
}

TEST_F(ReceiveTest, PairingAcceptedFillsTheReceiverAndOffersAnUpdateBelow2_10)
{
    link.ownId = 0x0180A2B3;
    struct Case {
        uint8_t major, minor;
        bool offer;
    };
    for (const Case c : {Case{1, 12, true}, Case{2, 9, true}, Case{2, 10, false}, Case{3, 0, false}}) {
        link.pendingNotices = {};
        QByteArray f = hexBytes("10 01 A2 B3 C4");
        f.append(char(c.major)).append(char(c.minor));
        f.append(char(esp3::Crc8(f.mid(1))));
        const QStringList lines = tick(telegramFrom(f, 0x01A2B3C4, 0x0180A2B3));
        const QString version = QStringLiteral("%1.%2").arg(c.major).arg(c.minor);
        EXPECT_EQ(lines.last(), QStringLiteral("<- Pairing accepted with ID 0x01A2B3C4 with FW Version: ") + version);
        EXPECT_EQ(link.receiverIdText(), QStringLiteral("0x01A2B3C4"));
        EXPECT_EQ(seen.receiverIdText, QStringLiteral("0x01A2B3C4"));
        EXPECT_EQ(seen.receiverFwText, version);
        EXPECT_EQ(seen.receiverVersionText, version);
        EXPECT_EQ(link.pendingNotices.updateOffer, c.offer) << version.toStdString();
        EXPECT_EQ(link.pendingNotices.pending, c.offer);
    }
    link.pendingNotices = {};

    // The short form (L = 12) keeps the previous version.
    QByteArray shortFrame = hexBytes("10 0A 0B 0C 0D");
    shortFrame.append(char(esp3::Crc8(shortFrame.mid(1))));
    EXPECT_EQ(tick(telegramFrom(shortFrame, 0x0A0B0C0D, 0x0180A2B3)).last(),
              QStringLiteral("<- Pairing accepted with ID 0x0A0B0C0D with FW Version: 3.0"));

    // A wrong CRC8 leaves the pairing as it was.
    QByteArray bad = hexBytes("10 01 02 03 04 02 0A 00");
    const uint8_t right = esp3::Crc8(bad.mid(1, 6));
    EXPECT_EQ(tick(telegramFrom(bad, 0x01020304, 0x0180A2B3)).last(),
              QStringLiteral("Error: CRC8 calculated: 0x") + HexByte(right) + QStringLiteral(" ... CRC8 read: 0x00"));
    EXPECT_EQ(link.receiverIdText(), QStringLiteral("0x0A0B0C0D"));

    // Addressed to anybody else (broadcast included): refused with its log line.
    EXPECT_EQ(tick(telegramFrom(shortFrame, 0x0A0B0C0D, 0xFFFFFFFF)).last(),
              QStringLiteral("<- Target ID does not match! TargetID: 0xFFFFFFFF OwnID: 0x0180A2B3"));
}

TEST_F(ReceiveTest, UpdateOfferIsShownByTheNextTickAndDropsThePairing)
{
    link.ownId = 0x0180A2B3;
    QByteArray f = hexBytes("10 01 A2 B3 C4 02 09");
    f.append(char(esp3::Crc8(f.mid(1))));
    link.pendingNotices = {};
    tick(telegramFrom(f, 0x01A2B3C4, 0x0180A2B3));
    ASSERT_TRUE(dialogs.messages.isEmpty()); // not inside the parse loop
    int updaterShown = 0;
    // The window's answer to the offer: Yes shows the updater.
    QObject::connect(&link, &RadioLink::firmwareUpdateOffered, &link, [&updaterShown](const UserNotice &question) {
        if (ShowUserNotice(question) == MsgAnswer::Yes)
            ++updaterShown;
    });
    dialogs.answers = {MsgAnswer::Yes};
    tick();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("SW update for handheld device necessary.\nMin version is 2.10 "
                                                       "Would you like to update it ?"));
    EXPECT_EQ(dialogs.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(updaterShown, 1);
    EXPECT_TRUE(link.receiverIdText().isEmpty());
    EXPECT_TRUE(seen.receiverIdText.isEmpty());
    EXPECT_TRUE(seen.receiverFwText.isEmpty());
    tick();
    EXPECT_EQ(dialogs.messages.size(), 1);
}

TEST_F(ReceiveTest, ANestedTickHandlesEveryPacketExactlyOnce)
{
    link.ownId = 0x0180A2B3;
    // Every received frame opens a message box; while it is open the timer keeps
    // ticking and more telegrams arrive.
    QList<quint8> frames;
    int nested = 0;
    QObject::connect(&link, &RadioLink::frameReceived, &link, [&](quint8 id, const QByteArray &, quint32) {
        frames << id;
        ::dialogs().message(QStringLiteral("Error"), QStringLiteral("box"));
    });
    dialogs.whileMessageOpen = [&](const RecordedMessage &) {
        if (nested++ < 3) {
            fake.state->incoming.append(telegramFrom(QByteArray(1, char(0x30 + nested)), 1, 0x0180A2B3));
            link.Timer1Timer();
            link.Timer1Timer();
        }
    };
    // Log lines process events too: a tick from inside the log.
    int logTicks = 0;
    QObject::connect(&link, &RadioLink::logLine, &link, [&](const QString &) {
        if (logTicks++ < 5)
            link.Timer1Timer();
    });
    tick(telegramFrom(hexBytes("30"), 1, 0x0180A2B3) + kAck);
    EXPECT_EQ(frames, (QList<quint8>{0x30, 0x31, 0x32, 0x33}));
    EXPECT_EQ(link.ring().BufferContent(), 0);
    EXPECT_FALSE(link.parsing());
}

TEST_F(ReceiveTest, TheRingNeverOverwritesUnreadBytes)
{
    // 250 sync bytes with a non-zero high length byte: one candidate is dropped per
    // tick, so the ring stays nearly full.
    tick(QByteArray(250, char(0x55)));
    EXPECT_EQ(link.ring().BufferContent(), 249);
    fake.state->incoming.append(QByteArray(20, char(0x55)));
    tick();
    // Only six bytes fitted; the rest waits in the port.
    ASSERT_EQ(fake.state->incoming.size(), 1);
    EXPECT_EQ(fake.state->incoming[0].size(), 14);
    EXPECT_EQ(link.ring().BufferContent(), 254);

    esp3::ReceiveRing ring;
    for (int i = 0; i < 255; ++i)
        ASSERT_TRUE(ring.BufferWrite(uint8_t(i)));
    EXPECT_FALSE(ring.BufferWrite(0xEE));
    EXPECT_EQ(ring.BufferRead(254), 254);
    ring.BufferDel(10);
    EXPECT_EQ(ring.BufferRead(0), 10);
}

TEST_F(ReceiveTest, WriteFailureClosesThePortAndShowsTheSystemText)
{
    fake.state->writeFails = true;
    link.RequestStickVersion();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("Fehler"));
    EXPECT_EQ(dialogs.messages[0].icon, MsgIcon::Error);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Fehlernachricht: failed with error 5: Access is denied.\n"));
    EXPECT_FALSE(link.isPortOpen());
    EXPECT_EQ(seen.statusPanels[0], QStringLiteral("Port closed"));
    EXPECT_EQ(seen.stickInfo, QStringLiteral("Stick Info: None"));

    // A failure without an error code is silent and leaves the port open.
    dialogs.clear();
    fake.state->writeFails = false;
    link.TogglePort(QStringLiteral("stick"));
    fake.state->writeFails = true;
    fake.state->writeErrorCode = 0;
    EXPECT_EQ(link.WriteCom(reinterpret_cast<const uint8_t *>("x"), 1), kComError);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(link.isPortOpen());

    // A write that fails because the stick went away (outside a transfer): the same
    // message, and the port is one to open again when the stick is back.
    fake.state->writeErrorCode = 9;
    fake.state->lost = true;
    link.RequestStickVersion();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("Fehler"));
    EXPECT_FALSE(link.isPortOpen());
    EXPECT_EQ(link.lostPortEntry(), QStringLiteral("stick"));
}

TEST_F(ReceiveTest, OpenPortToggle)
{
    EXPECT_TRUE(fake.state->dtr);
    EXPECT_FALSE(fake.state->rts);
    EXPECT_EQ(seen.statusPanels[0], QStringLiteral("Port stick opened"));
    link.ownId = 0x1234;
    EXPECT_EQ(link.TogglePort(QStringLiteral("stick")), QStringLiteral("Open port"));
    EXPECT_FALSE(link.isPortOpen());
    EXPECT_EQ(link.ownId, 0u);
    // Nothing selected: nothing happens.
    EXPECT_EQ(link.TogglePort(QString()), QStringLiteral("Open port"));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(fake.state->writes.isEmpty());
    // Reopening sends CO_RD_VERSION again.
    EXPECT_EQ(link.TogglePort(QStringLiteral("stick")), QStringLiteral("Close port"));
    EXPECT_EQ(fake.state->writes.last(), hexBytes("55 00 01 00 05 70 03 09"));
    // A port that cannot be opened.
    link.TogglePort(QStringLiteral("stick"));
    fake.state->openFails = true;
    EXPECT_EQ(link.TogglePort(QStringLiteral("stick")), QStringLiteral("Open port"));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("ERROR: Could not connect. Maybe in use?"));
}

TEST(PortDiscovery, FtdiPortsInEnumerationOrderThenTheExtraPorts)
{
    ScriptedDialogs dialogs;
    QList<SystemSerialPort> ports = {
        {QStringLiteral("ttyS0"), false, 0, 0, {}},
        {QStringLiteral("ttyUSB0"), true, 0x0403, 0x6001, {}},
        {QStringLiteral("ttyUSB1"), true, 0x0403, 0x6015, {}},
        {QStringLiteral("ttyUSB2"), true, 0x1234, 0x6001, {}},
        {QStringLiteral("ttyUSB3"), true, 0x0403, 0x6001, {}},
    };
    setSystemSerialPortLister([&ports] { return ports; });
    RadioLink link;
    NoticesInDialogs notices(link);
    int selected = -2;
    EXPECT_EQ(link.SearchStickPorts(&selected), (QStringList{"ttyUSB0", "ttyUSB3"}));
    EXPECT_EQ(selected, 1);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("Info"));
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Ther are more OnOcean ports. Choice one of them"));

    dialogs.clear();
    ports.removeAt(4);
    EXPECT_EQ(link.SearchStickPorts(&selected), QStringList{"ttyUSB0"});
    EXPECT_EQ(selected, 0);
    EXPECT_TRUE(dialogs.messages.isEmpty());

    ports.clear();
    EXPECT_TRUE(link.SearchStickPorts(&selected).isEmpty());
    EXPECT_EQ(selected, -1);

    QStringList args = {"--port", "/tmp/a", "x", "--port=/tmp/b"};
    setExtraSerialPorts(TakePortArguments(args));
    EXPECT_EQ(args, QStringList{"x"});
    EXPECT_EQ(link.SearchStickPorts(&selected), (QStringList{"/tmp/a", "/tmp/b"}));
    EXPECT_EQ(selected, 1);
    setExtraSerialPorts({});
    setSystemSerialPortLister({});
}
