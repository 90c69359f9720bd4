#pragma once
// The radio link's side of the programmer's answers besides the pairing: the tag
// read back, the feedback frames and the transfer confirmation. Each function
// takes one telegram the decoder dispatched by its frame ID and reports what the
// programmer said through the link's signals (tagRead, driverProgrammed,
// transferConfirmed).

class RadioLink;
struct ReceivedTelegram;

void DecodeTagIdentBlock(RadioLink &link, const ReceivedTelegram &telegram);   // 0x16
void DecodeTagRwBlock(RadioLink &link, const ReceivedTelegram &telegram);      // 0x17
void DecodeTagRBlock(RadioLink &link, const ReceivedTelegram &telegram);       // 0x18
void DecodeEndTagFrame(RadioLink &link, const ReceivedTelegram &telegram);     // 0x19
void DecodeFeedbackFrame(RadioLink &link, const ReceivedTelegram &telegram);   // 0x1A
void DecodeTransferComplete(RadioLink &link, const ReceivedTelegram &telegram); // 0x1B

// Lets "Switch to Read" reset the tag read state of this link.
void InstallTagReception(RadioLink &link);
