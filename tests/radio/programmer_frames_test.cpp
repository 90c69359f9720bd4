// The programmer frames decoded one by one: which event each kind yields, and
// that every kind drops a frame shorter than its minimum.
#include "common/hex_text.h"
#include "radio/esp3.h"
#include "radio/programmer_frames.h"
#include "radio/tag_buffers.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

constexpr uint32_t kProgrammer = 0x01A2B3C4;
constexpr uint32_t kOwn = 0x0180A2B3;

struct Decoder {
    QStringList log;
    FrameDecodeContext context;
    Decoder() { context.out.log = [this](const QString &l) { log << l; }; }

    ProgrammerEvent decode(QByteArray frame)
    {
        const int length = int(frame.size());
        frame.append(QByteArray(16, '\0')); // whatever a decoder reads past the frame lies in the packet
        return DecodeProgrammerFrame(
            TavelFrameIn{reinterpret_cast<const uint8_t *>(frame.constData()), length, kProgrammer, kOwn}, context);
    }
};

QByteArray withCrc8(QByteArray frame)
{
    frame.append(char(esp3::Crc8(frame.mid(1))));
    return frame;
}

} // namespace

TEST(ProgrammerFrames, EveryKindDropsAFrameShorterThanItsMinimumAndTakesOneOfIt)
{
    // The frame sizes the programmer sends: a block carries its number and seven
    // (identity) or six (areas) bytes, the feedback a serial number and an ID.
    const struct {
        uint8_t id;
        int minimum;
    } cases[] = {{0x16, 9}, {0x17, 9}, {0x18, 9}, {0x19, 2}, {0x1A, 13}, {0x1B, 2}};
    for (const auto &c : cases) {
        const ProgrammerFrameKind *kind = FindProgrammerFrameKind(c.id);
        ASSERT_NE(kind, nullptr) << int(c.id);
        EXPECT_EQ(kind->minLength, c.minimum) << int(c.id);
        for (const int length : {c.minimum - 1, c.minimum}) {
            tagBuffers = TagBuffers();
            tagReadState = TagReadState();
            Decoder d;
            d.context.transferAwaitingConfirmation = true; // so the confirmation reaches its length check
            QByteArray frame(length, '\0');
            frame[0] = char(c.id);
            const ProgrammerEvent e = d.decode(frame);
            const QString tooShort =
                QStringLiteral("Error: Tavel frame 0x%1 too short: %2 bytes").arg(HexByte(c.id)).arg(length);
            if (length < c.minimum) {
                EXPECT_EQ(e.kind, ProgrammerEvent::Kind::None) << int(c.id);
                EXPECT_EQ(d.log, QStringList{tooShort}) << int(c.id);
            } else {
                EXPECT_FALSE(d.log.contains(tooShort)) << int(c.id);
            }
        }
    }
}

TEST(ProgrammerFrames, EachKindYieldsItsEvent)
{
    using Kind = ProgrammerEvent::Kind;
    {
        // The pairing with its firmware, then one without: the earlier firmware stays.
        Decoder d;
        ProgrammerEvent e = d.decode(withCrc8(QByteArray::fromHex("1001A2B3C4020A")));
        EXPECT_EQ(e.kind, Kind::PairingAccepted);
        EXPECT_EQ(e.programmerId, kProgrammer);
        EXPECT_EQ(e.firmwareMajor, 2);
        EXPECT_EQ(e.firmwareMinor, 10);
        EXPECT_EQ(d.log.last(), "<- Pairing accepted with ID 0x01A2B3C4 with FW Version: 2.10");
        d.context.firmwareMajor = 2;
        d.context.firmwareMinor = 9;
        e = d.decode(withCrc8(QByteArray::fromHex("1001A2B3C5")));
        EXPECT_EQ(e.kind, Kind::PairingAccepted);
        EXPECT_EQ(e.programmerId, 0x01A2B3C5u);
        EXPECT_EQ(e.firmwareMinor, 9);
        EXPECT_EQ(d.log.last(), "<- Pairing accepted with ID 0x01A2B3C5 with FW Version: 2.9");
        // A wrong CRC8 takes nothing over.
        EXPECT_EQ(d.decode(QByteArray::fromHex("1001A2B3C400")).kind, Kind::None);
        EXPECT_TRUE(d.log.last().startsWith("Error: CRC8 calculated: 0x"));
    }
    {
        Decoder d;
        const ProgrammerEvent e = d.decode(QByteArray::fromHex("1A000000000000303901A2B3C4"));
        EXPECT_EQ(e.kind, Kind::DriverProgrammed);
        EXPECT_EQ(e.frameId, 0x1A);
        EXPECT_EQ(e.driver.serial, "0000000000012345");
        EXPECT_EQ(e.driver.programmerId, "0x01A2B3C4");
        EXPECT_EQ(e.driver.ownId, "0x0180A2B3");
    }
    {
        Decoder d;
        d.context.transferChecksum = 0x5E;
        EXPECT_EQ(d.decode(QByteArray::fromHex("1B5E")).kind, Kind::None); // no transfer sent to its end
        d.context.transferAwaitingConfirmation = true;
        EXPECT_EQ(d.decode(QByteArray::fromHex("1B5F")).kind, Kind::None);
        EXPECT_EQ(d.decode(QByteArray::fromHex("1B5E")).kind, Kind::TransferConfirmed);
    }
    {
        Decoder d;
        EXPECT_EQ(d.decode(QByteArray::fromHex("19E0")).kind, Kind::TagRead);
        EXPECT_EQ(d.decode(QByteArray::fromHex("19E1")).kind, Kind::None);
    }
    {
        Decoder d;
        EXPECT_EQ(FindProgrammerFrameKind(0x30), nullptr);
        EXPECT_EQ(d.decode(QByteArray::fromHex("30")).kind, Kind::None);
        EXPECT_EQ(d.log, QStringList{"<- Unknown Tavel FrameID 30!! "});
    }
}
