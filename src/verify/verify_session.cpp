#include "verify/verify_session.h"

#include "common/hex_text.h"
#include "radio/tag_buffers.h"
#include "radio/tag_reception.h"
#include "radio/tag_info.h"
#include "radio/tavel_frames.h"

#include <stdexcept>

VerifySession::VerifySession(RadioLink &link, QObject *parent) : QObject(parent), link_(link), linkAlive_(&link)
{
    connect(&link_, &RadioLink::frameReceived, this,
            [this](quint8 frameId, const QByteArray &frame, quint32) { frameReceived(frameId, frame); });
    connect(&link_, &RadioLink::portStateChanged, this, [this](bool open) {
        if (!open)
            end();
    });
}

VerifySession::~VerifySession()
{
    // The guard's busyChanged reaches the windows still connected; the mode's end
    // is not reported to this object's own listeners any more.
    blockSignals(true);
    end();
}

bool VerifySession::start(const STRUCT_XML_FILE_VARIABLES &slot, int slotNumber, QString *refusal)
{
    auto refuse = [refusal](const QString &why) {
        if (refusal)
            *refusal = why;
        return false;
    };
    if (active())
        return refuse(QStringLiteral("Verify is already on"));
    if (!link_.isPortOpen())
        return refuse(kComPortNotOpened);
    try {
        ExpectedTagParameters(slot);
    } catch (const std::exception &e) {
        return refuse(QStringLiteral("The profile cannot be verified: ") + QString::fromUtf8(e.what()));
    }
    auto guard = std::make_unique<RadioLink::BusyGuard>(link_);
    if (!guard->acquired())
        return refuse(RadioLink::busyRefusalText());
    busy_ = std::move(guard);
    slot_ = slot;
    slotNumber_ = slotNumber;
    programmerId_ = link_.receiverIdText();
    passed_ = failed_ = 0;
    MarkTagIdentNotRead();
    if (!link_.resetReadState)
        InstallTagReception(link_);
    link_.SwitchToRead();
    emit activeChanged(true);
    return true;
}

void VerifySession::end()
{
    if (!busy_)
        return;
    if (!linkAlive_) {
        // The owner let the link go first: its busy state went with it, and the
        // guard must not reach into it (its few bytes are left as they are).
        (void)busy_.release();
        emit activeChanged(false);
        return;
    }
    // Back to programming, as a cancelled read does (not possible once the port closed).
    if (link_.isPortOpen())
        link_.Send(QStringLiteral("14"), false);
    MarkTagIdentNotRead();
    busy_.reset();
    emit activeChanged(false);
}

void VerifySession::frameReceived(quint8 frameId, const QByteArray &frame)
{
    // The end tag frame closes one driver's tag: the tag buffers and read state
    // hold what arrived of it.
    if (!busy_ || frameId != tavel::kFrameEndTag || frame.size() < 2)
        return;
    TagVerification result;
    if (quint8(frame[1]) == 0xE0) {
        result = VerifyTag(tagBuffers, tagReadState, slot_);
    } else {
        result.serial = TagIdentity(tagBuffers).serial;
        result.differences << QStringLiteral("tag read incomplete: wrong end tag frame (0x")
                                  + HexByte(quint8(frame[1]))
                                  + QLatin1Char(')');
    }
    // The programmer stays in reading: the next tag starts from a clean read state.
    ResetTagReadState();
    report(std::move(result));
}

void VerifySession::report(TagVerification result)
{
    result.programmerId = programmerId_;
    result.slot = slotNumber_;
    ++(result.passed ? passed_ : failed_);
    emit driverVerified(result);
}
