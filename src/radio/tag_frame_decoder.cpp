#include "radio/tag_frame_decoder.h"

#include "common/hex_text.h"
#include "radio/radio_link.h"
#include "radio/tag_buffers.h"
#include "radio/tag_reception.h"

#include <array>

namespace {

// The telegram's frame copied out of the packet, with the handlers' environment.
struct FrameCopy {
    std::array<uint8_t, esp3::kMaxReceivedPacket> bytes{};
    TavelFrameIn in;
    TagFrameEnv env;

    FrameCopy(RadioLink &link, const ReceivedTelegram &t)
    {
        const int n = std::clamp(t.frameLength(), 0, int(bytes.size()));
        for (int i = 0; i < n; ++i)
            bytes[size_t(i)] = t.frame(i);
        in = TavelFrameIn{bytes.data(), n, t.senderId(), t.destinationId()};
        env.log = [&link](const QString &line) { link.OutputLog(line); };
        env.notify = [&link](const UserNotice &notice) { link.deferNotice(notice); };
    }
};

} // namespace

void DecodeTagIdentBlock(RadioLink &link, const ReceivedTelegram &t)
{
    FrameCopy f(link, t);
    HandleTagIdentBlock(f.in, f.env);
}

void DecodeTagRwBlock(RadioLink &link, const ReceivedTelegram &t)
{
    FrameCopy f(link, t);
    HandleTagAreaBlock(true, f.in, f.env);
}

void DecodeTagRBlock(RadioLink &link, const ReceivedTelegram &t)
{
    FrameCopy f(link, t);
    HandleTagAreaBlock(false, f.in, f.env);
}

void DecodeEndTagFrame(RadioLink &link, const ReceivedTelegram &t)
{
    FrameCopy f(link, t);
    if (HandleEndTagFrame(f.in, f.env))
        emit link.tagRead();
}

void DecodeFeedbackFrame(RadioLink &link, const ReceivedTelegram &t)
{
    FrameCopy f(link, t);
    ProgrammedDriverReport report;
    if (HandleFeedbackFrame(f.in, f.env, &report))
        emit link.driverProgrammed(report.ownId, report.programmerId, report.serial);
}

void DecodeTransferComplete(RadioLink &link, const ReceivedTelegram &t)
{
    FrameCopy f(link, t);
    // Only a transfer this program sent to the end is confirmed, and only once.
    if (!link.transferAwaitingConfirmation) {
        link.OutputLog(QStringLiteral("<- Transfer-complete frame without a transfer sent, ignored (from ID ")
                       + Hex32(t.senderId()) + QStringLiteral(")"));
        return;
    }
    if (HandleTransferComplete(f.in, link.transferChecksum, f.env)) {
        link.transferAwaitingConfirmation = false;
        emit link.transferConfirmed();
        link.pendingNotices.transferDone = true;
        link.pendingNotices.pending = true;
    }
}

void InstallTagReception(RadioLink &link) { link.resetReadState = &ResetTagReadState; }
