#include "radio/tag_read_session.h"

#include "radio/radio_link.h"
#include "radio/tag_buffers.h"
#include "radio/tag_reception.h"

TagReadOutcome RunTagRead(RadioLink &link, const AskUser &ask)
{
    if (!link.isPortOpen()) {
        ask({kComErrorCaption, kComPortNotOpened});
        return TagReadOutcome::NoPort;
    }
    // The read holds the link's busy state until the identity arrived or the user
    // cancelled, so that no send, pairing or second read starts meanwhile.
    RadioLink::BusyGuard busy(link);
    if (!busy.acquired()) {
        ask({QStringLiteral("Info"), RadioLink::busyRefusalText()});
        return TagReadOutcome::Busy;
    }
    MarkTagIdentNotRead();
    if (!link.resetReadState)
        InstallTagReception(link);
    link.SwitchToRead();
    while (!TagIdentReceived()) {
        // Nothing can arrive through a port that went away: the wait ends with
        // what to do instead of asking again and again.
        if (link.CheckLinkLost() || !link.isPortOpen()) {
            MarkTagIdentNotRead();
            ask({kComErrorCaption, kTagReadLinkLostMessage, MsgButtons::OK, MsgIcon::Error});
            return TagReadOutcome::LinkLost;
        }
        if (ask({QStringLiteral("Info"), kTagReadWaitMessage, MsgButtons::OKCancel}) == MsgAnswer::Cancel) {
            link.Send(QStringLiteral("14"), false);
            MarkTagIdentNotRead();
            return TagReadOutcome::Cancelled;
        }
    }
    return TagReadOutcome::Arrived;
}
