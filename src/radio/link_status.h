#pragma once
// The one-line state of the radio link for the main window's status strip: the
// stick's port (open or closed, and which), the programmer the frames go to (its
// ID and firmware) and, while a transfer runs, how far it got.

#include <QString>

struct LinkStatus {
    bool portOpen = false;
    QString port;          // the port list entry opened last (or lost)
    bool lost = false;     // the port went away (closed by the link, not the user)
    QString programmerId;  // "0x" and eight hexadecimal digits; empty: none
    QString programmerFw;  // empty when not known
    int framesSent = 0;    // while a transfer runs: frames sent so far of framesTotal
    int framesTotal = 0;   // 0: no transfer running
};

// "Stick: open (COM5) | Programmer: 0x01A2B3C4, FW 2.10 | frame 3 of 12" (the frame
// on its way: one more than those sent, at most the total); a closed
// stick reads "Stick: closed", one that went away names its port and what to do.
QString LinkStatusText(const LinkStatus &status);
