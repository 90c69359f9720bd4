#include "radio/programmer_frames.h"

#include "common/hex_text.h"
#include "radio/esp3.h"
#include "radio/tag_reception.h"
#include "radio/tavel_frames.h"

#include <array>

namespace {

void log(const TagFrameEnv &out, const QString &line)
{
    if (out.log)
        out.log(line);
}

// 0x10: the programmer accepted the pairing; 6 bytes, or 8 with its firmware
// version, the CRC8 last.
ProgrammerEvent decodePairingAccepted(const TavelFrameIn &f, const FrameDecodeContext &c)
{
    const bool withFirmware = f.length == 8;
    const int covered = withFirmware ? 6 : 4;
    uint8_t crc = 0;
    for (int i = 1; i <= covered; ++i)
        crc = esp3::Crc8Step(crc, f.bytes[i]);
    const uint8_t read = f.bytes[covered + 1];
    if (crc != read) {
        log(c.out, QStringLiteral("Error: CRC8 calculated: 0x") + HexByte(crc) + QStringLiteral(" ... CRC8 read: 0x")
                       + HexByte(read));
        return {};
    }
    ProgrammerEvent e;
    e.kind = ProgrammerEvent::Kind::PairingAccepted;
    e.programmerId = (uint32_t(f.bytes[1]) << 24) | (uint32_t(f.bytes[2]) << 16) | (uint32_t(f.bytes[3]) << 8)
                     | uint32_t(f.bytes[4]);
    e.firmwareMajor = withFirmware ? f.bytes[5] : c.firmwareMajor;
    e.firmwareMinor = withFirmware ? f.bytes[6] : c.firmwareMinor;
    log(c.out, QStringLiteral("<- Pairing accepted with ID ") + HexId(e.programmerId)
                   + QStringLiteral(" with FW Version: ") + FirmwareVersionText(e.firmwareMajor, e.firmwareMinor));
    return e;
}

ProgrammerEvent decodeTagIdentBlock(const TavelFrameIn &f, const FrameDecodeContext &c)
{
    HandleTagIdentBlock(f, c.out);
    return {};
}

ProgrammerEvent decodeTagRwBlock(const TavelFrameIn &f, const FrameDecodeContext &c)
{
    HandleTagAreaBlock(true, f, c.out);
    return {};
}

ProgrammerEvent decodeTagRBlock(const TavelFrameIn &f, const FrameDecodeContext &c)
{
    HandleTagAreaBlock(false, f, c.out);
    return {};
}

ProgrammerEvent decodeEndTag(const TavelFrameIn &f, const FrameDecodeContext &c)
{
    ProgrammerEvent e;
    if (HandleEndTagFrame(f, c.out))
        e.kind = ProgrammerEvent::Kind::TagRead;
    return e;
}

ProgrammerEvent decodeFeedback(const TavelFrameIn &f, const FrameDecodeContext &c)
{
    ProgrammerEvent e;
    if (HandleFeedbackFrame(f, c.out, &e.driver))
        e.kind = ProgrammerEvent::Kind::DriverProgrammed;
    return e;
}

ProgrammerEvent decodeTransferComplete(const TavelFrameIn &f, const FrameDecodeContext &c)
{
    ProgrammerEvent e;
    if (!c.transferAwaitingConfirmation) {
        log(c.out, QStringLiteral("<- Transfer-complete frame without a transfer sent, ignored (from ID ")
                       + Hex32(f.senderId) + QStringLiteral(")"));
        return e;
    }
    if (HandleTransferComplete(f, c.transferChecksum, c.out))
        e.kind = ProgrammerEvent::Kind::TransferConfirmed;
    return e;
}

// Every frame the programmer sends. The pairing frame is read as it comes (its
// length says whether it carries the firmware).
constexpr std::array<ProgrammerFrameKind, 7> kFrameKinds{{
    {tavel::kFramePairing, 1, decodePairingAccepted},
    {tavel::kFrameTagIdentityBlock, 9, decodeTagIdentBlock},
    {tavel::kFrameTagRwBlock, 9, decodeTagRwBlock},
    {tavel::kFrameTagRBlock, 9, decodeTagRBlock},
    {tavel::kFrameEndTag, 2, decodeEndTag},
    {tavel::kFrameFeedback, 13, decodeFeedback},
    {tavel::kFrameTransferComplete, 2, decodeTransferComplete},
}};

} // namespace

const ProgrammerFrameKind *FindProgrammerFrameKind(uint8_t frameId)
{
    for (const ProgrammerFrameKind &kind : kFrameKinds)
        if (kind.id == frameId)
            return &kind;
    return nullptr;
}

ProgrammerEvent DecodeProgrammerFrame(const TavelFrameIn &frame, const FrameDecodeContext &context)
{
    const uint8_t id = frame.bytes[0];
    const ProgrammerFrameKind *kind = FindProgrammerFrameKind(id);
    if (!kind) {
        log(context.out, QStringLiteral("<- Unknown Tavel FrameID ") + HexByte(id) + QStringLiteral("!! "));
        return {};
    }
    ProgrammerEvent event = kind->decode(frame, context);
    event.frameId = id;
    return event;
}

bool FrameLongEnough(const TavelFrameIn &frame, const TagFrameEnv &out)
{
    const ProgrammerFrameKind *kind = FindProgrammerFrameKind(frame.bytes[0]);
    if (frame.length >= (kind ? kind->minLength : 1))
        return true;
    log(out, QStringLiteral("Error: Tavel frame 0x%1 too short: %2 bytes").arg(HexByte(frame.bytes[0])).arg(frame.length));
    return false;
}

QString FirmwareVersionText(uint8_t major, uint8_t minor)
{
    return QString::number(major) + QLatin1Char('.') + QString::number(minor);
}

bool FirmwareNeedsUpdate(uint8_t major, uint8_t minor)
{
    return major < tavel::kMinFirmwareMajor || (major == tavel::kMinFirmwareMajor && minor < tavel::kMinFirmwareMinor);
}

bool HandleFeedbackFrame(const TavelFrameIn &frame, const TagFrameEnv &env, ProgrammedDriverReport *report)
{
    if (!FrameLongEnough(frame, env))
        return false;
    const QString serial = SerialNumberText(frame.bytes + 1);
    const uint32_t programmer = (uint32_t(frame.bytes[9]) << 24) | (uint32_t(frame.bytes[10]) << 16)
                                | (uint32_t(frame.bytes[11]) << 8) | uint32_t(frame.bytes[12]);
    const QString programmerId = QStringLiteral("0x") + Hex32(programmer);
    log(env, QStringLiteral("<- Feedback Frame received! Serial: ") + serial + QStringLiteral(" from ")
                 + programmerId);
    if (report)
        *report = {QStringLiteral("0x") + Hex32(frame.destinationId), programmerId, serial};
    return true;
}

bool HandleTransferComplete(const TavelFrameIn &frame, uint8_t transferChecksum, const TagFrameEnv &env)
{
    if (!FrameLongEnough(frame, env))
        return false;
    if (frame.bytes[1] != transferChecksum) {
        log(env, QStringLiteral("Error: CRC8 of transfered data wrong! calculated: 0x") + HexByte(transferChecksum)
                     + QStringLiteral(" ... CRC8 received: 0x") + HexByte(frame.bytes[1]));
        return false;
    }
    log(env, QStringLiteral("<- Transfer successful completed from ID ") + Hex32(frame.senderId));
    return true;
}
