#include "common/user_notice.h"

MsgAnswer ShowUserNotice(const UserNotice &notice)
{
    return dialogs().message(notice.caption, notice.text, notice.buttons, notice.icon);
}
