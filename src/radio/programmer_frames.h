#pragma once
// The frames the handheld programmer sends, each kind described once in the table
// of programmer_frames.cpp: its frame ID, the shortest frame it comes in and its
// decoder. A decoder reads the frame in place in the received telegram (nothing is
// copied), writes the frame's radio-log lines and returns what the programmer
// reported as a typed event; the link turns the event into its signals
// (pairingAccepted, tagRead, driverProgrammed, transferConfirmed, and
// programmerEvent for every event).

#include "common/user_notice.h"

#include <QString>
#include <cstdint>
#include <functional>

// One frame as it lies in the received telegram, frame ID first.
struct TavelFrameIn {
    const uint8_t *bytes = nullptr;
    int length = 0;
    uint32_t senderId = 0;
    uint32_t destinationId = 0; // the own ID the telegram was addressed to
};

// Where a decoder's output goes.
struct TagFrameEnv {
    std::function<void(const QString &)> log; // the radio log
    // What the user must be told (a wrong tag checksum); the link hands it up once
    // the parse loop is done.
    std::function<void(const UserNotice &)> notify;
};

// What a feedback frame reports: a driver programmed.
struct ProgrammedDriverReport {
    QString ownId;        // "0x" + the own ID the telegram was addressed to
    QString programmerId; // "0x" + the programmer's ID in the frame
    QString serial;       // decimal, at least 16 digits
};

// What the programmer reported with one frame (None: nothing beyond its log lines).
struct ProgrammerEvent {
    enum class Kind { None, PairingAccepted, TagRead, DriverProgrammed, TransferConfirmed };
    Kind kind = Kind::None;
    uint8_t frameId = 0;
    // PairingAccepted: the programmer's ID and firmware (that of an earlier pairing
    // when the frame carries none).
    uint32_t programmerId = 0;
    uint8_t firmwareMajor = 0;
    uint8_t firmwareMinor = 0;
    ProgrammedDriverReport driver; // DriverProgrammed
};

// What the decoders need to know of the link.
struct FrameDecodeContext {
    TagFrameEnv out;
    uint8_t transferChecksum = 0;
    // Only a transfer sent to its end is confirmed, and only once.
    bool transferAwaitingConfirmation = false;
    uint8_t firmwareMajor = 0; // of the last pairing that carried it
    uint8_t firmwareMinor = 0;
};

struct ProgrammerFrameKind {
    uint8_t id;
    int minLength; // frame ID included; a shorter frame is dropped with a log line
    ProgrammerEvent (*decode)(const TavelFrameIn &frame, const FrameDecodeContext &context);
};

// False, with the log line, when `frame` is shorter than its kind's minimum.
bool FrameLongEnough(const TavelFrameIn &frame, const TagFrameEnv &out);

// 0x1A: logs the driver's serial number. False for a short frame; otherwise the
// report is filled (the link hands it to whoever writes the driver records).
bool HandleFeedbackFrame(const TavelFrameIn &frame, const TagFrameEnv &env, ProgrammedDriverReport *report);
// 0x1B: true when the programmer's checksum equals `transferChecksum`.
bool HandleTransferComplete(const TavelFrameIn &frame, uint8_t transferChecksum, const TagFrameEnv &env);

// The kind of `frameId`, or nullptr for a frame the system does not know.
const ProgrammerFrameKind *FindProgrammerFrameKind(uint8_t frameId);
// Decodes one frame by its kind; an unknown frame ID gets its log line and no event.
ProgrammerEvent DecodeProgrammerFrame(const TavelFrameIn &frame, const FrameDecodeContext &context);

// "2.9": the programmer's firmware as the radio log and the window show it.
QString FirmwareVersionText(uint8_t major, uint8_t minor);
// True for a firmware older than the one the system needs.
bool FirmwareNeedsUpdate(uint8_t major, uint8_t minor);
