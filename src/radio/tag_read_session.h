#pragma once
// Reading one driver's tag from the main window: the port check, the tag ident
// data marked as not read, the switch-to-read request, then a wait box that OK
// tests again and Cancel ends by switching the programmer back to programming.

#include "common/user_notice.h"

#include <QString>
#include <functional>

class RadioLink;

inline const QString kTagReadWaitMessage = QStringLiteral(
    "Wait for reading the driver...\nPlease bring the NFC-Programmer close to the driver antenna until you "
    "hear a beep confirmation.");

enum class TagReadOutcome {
    NoPort,    // "COM port not opened." shown, nothing sent
    Busy,      // another send or read sequence runs: refused, nothing sent
    Cancelled, // "14" sent, ident data marked not read again
    Arrived,   // an identity block 0 arrived: show the tag info window
    LinkLost,  // the stick's port went away during the wait: kTagReadLinkLostMessage shown
};

inline const QString kTagReadLinkLostMessage = QStringLiteral(
    "The stick's port closed while waiting for the driver; the driver was not read \u2014 plug the stick in "
    "again and press read");

// Shows a notice to the user and returns the button pressed: the window's message
// box, or the command line's answer.
using AskUser = std::function<MsgAnswer(const UserNotice &)>;

// Every message of the read (the refusals, the wait box with OK and Cancel, the
// lost link) goes to `ask`. The receive tick keeps running while the wait box is
// open, so the identity arrives during the box and the user's OK finds it.
TagReadOutcome RunTagRead(RadioLink &link, const AskUser &ask);
