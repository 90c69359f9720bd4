// The decoder of the frames the handheld programmer sends: the address checks
// every telegram passes, then one function per frame ID.
#include "common/hex_text.h"
#include "radio/esp3.h"
#include "radio/radio_link.h"
#include "radio/tag_frame_decoder.h"
#include "radio/tavel_frames.h"

void RadioLink::DecodeRadioTelegram(const ReceivedTelegram &t)
{
    if (t.data(0) != esp3::kRorgTavel)
        return;
    // A telegram too short to hold a frame ID, the sender ID and the status, or
    // whose optional data cannot hold a destination ID, carries no frame.
    if (t.L < 7 || t.O < 6)
        return;
    const uint32_t destination = t.destinationId();
    if (destination != ownId) {
        OutputLog(QStringLiteral("<- Target ID does not match! TargetID: ") + HexId(destination)
                  + QStringLiteral(" OwnID: ") + HexId(ownId));
        return;
    }
    const uint8_t frameId = t.frame(0);
    switch (frameId) {
    case tavel::kFramePairing:
        DecodePairingAccepted(*this, t);
        break;
    case tavel::kFrameTagIdentityBlock:
        DecodeTagIdentBlock(*this, t);
        break;
    case tavel::kFrameTagRwBlock:
        DecodeTagRwBlock(*this, t);
        break;
    case tavel::kFrameTagRBlock:
        DecodeTagRBlock(*this, t);
        break;
    case tavel::kFrameEndTag:
        DecodeEndTagFrame(*this, t);
        break;
    case tavel::kFrameFeedback:
        DecodeFeedbackFrame(*this, t);
        break;
    case tavel::kFrameTransferComplete:
        DecodeTransferComplete(*this, t);
        break;
    default:
        DecodeUnknownFrame(*this, t);
        break;
    }
    QByteArray frame;
    for (int i = 0; i < t.frameLength(); ++i)
        frame.append(char(t.frame(i)));
    emit frameReceived(frameId, frame, t.senderId());
}

void DecodePairingAccepted(RadioLink &link, const ReceivedTelegram &t)
{
    const int covered = t.L == 14 ? 6 : 4; // with the firmware version: bytes 1-6
    uint8_t crc = 0;
    for (int i = 1; i <= covered; ++i)
        crc = esp3::Crc8Step(crc, t.frame(i));
    const uint8_t read = t.frame(covered + 1);
    if (crc != read) {
        link.OutputLog(QStringLiteral("Error: CRC8 calculated: 0x") + HexByte(crc)
                       + QStringLiteral(" ... CRC8 read: 0x") + HexByte(read));
        return;
    }
    const uint32_t id = (uint32_t(t.frame(1)) << 24) | (uint32_t(t.frame(2)) << 16) | (uint32_t(t.frame(3)) << 8)
                        | uint32_t(t.frame(4));
    const QString idText = HexId(id);
    if (t.L == 14) {
        link.programmerFwMajor = t.frame(5);
        link.programmerFwMinor = t.frame(6);
    }
    const QString version = QString::number(link.programmerFwMajor) + QLatin1Char('.')
                            + QString::number(link.programmerFwMinor);
    link.OutputLog(QStringLiteral("<- Pairing accepted with ID ") + idText + QStringLiteral(" with FW Version: ")
                   + version);
    if (link.programmerFwMajor < tavel::kMinFirmwareMajor
        || (link.programmerFwMajor == tavel::kMinFirmwareMajor && link.programmerFwMinor < tavel::kMinFirmwareMinor)) {
        link.pendingNotices.updateOffer = true;
        link.pendingNotices.pending = true;
    }
    link.setReceiver(idText, version);
    emit link.pairingAccepted(idText, version);
}

void DecodeUnknownFrame(RadioLink &link, const ReceivedTelegram &t)
{
    link.OutputLog(QStringLiteral("<- Unknown Tavel FrameID ") + HexByte(t.frame(0)) + QStringLiteral("!! "));
}
