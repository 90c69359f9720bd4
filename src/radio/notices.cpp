#include "radio/notices.h"

#include "common/dialogs.h"
#include "radio/radio_link.h"
#include "radio/tavel_frames.h"

RadioNotices radioNotices;

void SendToUserMessageInfo(RadioLink &link)
{
    radioNotices.pending = false;
    if (radioNotices.transferDone) {
        radioNotices.transferDone = false;
        dialogs().message(QStringLiteral("Info"), QStringLiteral("Send information to Programmer"));
    }
    if (radioNotices.updateOffer) {
        radioNotices.updateOffer = false;
        const QString question = QStringLiteral("SW update for handheld device necessary.\nMin version is ")
                                 + QString::number(tavel::kMinFirmwareMajor) + QStringLiteral(".")
                                 + QString::number(tavel::kMinFirmwareMinor)
                                 + QStringLiteral(" Would you like to update it ?");
        if (dialogs().message(QStringLiteral("Info"), question, MsgButtons::YesNo) == MsgAnswer::Yes
            && link.showFirmwareUpdater)
            link.showFirmwareUpdater();
        // Whatever the answer: the programmer has to be paired again.
        link.receiverId = 0;
        link.setReceiver(QString(), QString());
    }
}
