#pragma once
// Something the user must be told or asked, handed up by logic that shows no
// window itself (the radio link, the tag read); the window shows it as a message
// box, the command line prints it.

#include "common/dialogs.h"

#include <QMetaType>
#include <QString>

struct UserNotice {
    QString caption;
    QString text;
    MsgButtons buttons = MsgButtons::OK;
    MsgIcon icon = MsgIcon::None;
};
Q_DECLARE_METATYPE(UserNotice)

// Shows `notice` through the installed dialogs and returns the button pressed.
MsgAnswer ShowUserNotice(const UserNotice &notice);
