#include "radio/link_status.h"

QString LinkStatusText(const LinkStatus &s)
{
    QString stick;
    if (s.portOpen)
        stick = QStringLiteral("Stick: open (%1)").arg(s.port);
    else if (s.lost)
        stick = QStringLiteral("Stick: closed \u2014 port %1 went away; plug the stick in again").arg(s.port);
    else
        stick = QStringLiteral("Stick: closed");
    QString programmer = QStringLiteral("Programmer: ");
    if (s.programmerId.isEmpty())
        programmer += QStringLiteral("not paired");
    else
        programmer += s.programmerId
                      + (s.programmerFw.isEmpty() ? QString() : QStringLiteral(", FW ") + s.programmerFw);
    QString text = stick + QStringLiteral(" | ") + programmer;
    if (s.framesTotal > 0)
        // The frame on its way: the one after those sent, the last one once all went.
        text += QStringLiteral(" | frame %1 of %2").arg(qMin(s.framesSent + 1, s.framesTotal)).arg(s.framesTotal);
    return text;
}
