#pragma once
// What the handheld programmer sends back besides the pairing: the blocks of a
// driver's tag read back, a feedback frame per driver programmed and the
// confirmation of a complete transfer. Each handler takes one Tavel frame (frame
// ID first) and works on the process-wide tag buffers and read state.

#include "common/user_notice.h"

#include <QString>
#include <cstdint>
#include <functional>

struct TavelFrameIn {
    const uint8_t *bytes = nullptr; // the frame, frame ID first
    int length = 0;
    uint32_t senderId = 0;
    uint32_t destinationId = 0; // the own ID the telegram was addressed to
};

struct TagFrameEnv {
    std::function<void(const QString &)> log; // the radio log
    // What the user must be told (a wrong tag checksum); the link hands it up once
    // the frame is handled.
    std::function<void(const UserNotice &)> notify;
};

// A 64-bit big-endian serial number as decimal text of at least 16 digits; a
// number of 2^63 or more is written as its unsigned value.
QString SerialNumberText(const uint8_t *bigEndian8);

// 0x16: identity block; checks the tag checksum after block 4 and sets the
// expected area block counts.
void HandleTagIdentBlock(const TavelFrameIn &frame, const TagFrameEnv &env);
// 0x17 (readWrite) and 0x18: one block of six area bytes.
void HandleTagAreaBlock(bool readWrite, const TavelFrameIn &frame, const TagFrameEnv &env);
// 0x19: end of the tag; a wrong marker stops the area blocks until a new
// identity. True for the right end marker.
bool HandleEndTagFrame(const TavelFrameIn &frame, const TagFrameEnv &env);

// What a feedback frame reports: a driver programmed.
struct ProgrammedDriverReport {
    QString ownId;        // "0x" + the own ID the telegram was addressed to
    QString programmerId; // "0x" + the programmer's ID in the frame
    QString serial;       // decimal, at least 16 digits
};
// 0x1A: logs the driver's serial number. False for a short frame; otherwise the
// report is filled (the caller hands it to whoever writes the driver records).
bool HandleFeedbackFrame(const TavelFrameIn &frame, const TagFrameEnv &env, ProgrammedDriverReport *report);
// 0x1B: true when the programmer's checksum equals `transferChecksum`. The caller
// reports the confirmation and raises the notice.
bool HandleTransferComplete(const TavelFrameIn &frame, uint8_t transferChecksum, const TagFrameEnv &env);

// The shortest frame each handler takes (frame ID included); a shorter frame is
// dropped with a log line.
int MinimumTagFrameLength(uint8_t frameId);
