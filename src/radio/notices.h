#pragma once
// The notices the frame decoder raises and the receive tick shows afterwards,
// outside the parse loop: the update offer after pairing with an old programmer
// firmware, and the confirmation of a complete transfer. Process-wide, all false at start.

class RadioLink;

struct RadioNotices {
    bool pending = false;      // the tick shows the due notices
    bool updateOffer = false;  // the programmer's firmware is older than 2.10
    bool transferDone = false; // the programmer confirmed the transfer checksum
};
extern RadioNotices radioNotices;

// Shows the due notices (called by the receive tick while one is pending).
void SendToUserMessageInfo(RadioLink &link);
