#pragma once
// Writes firmware scripts of the shape the device maker delivers: one version
// record, groups of clear / send / delay / read, and one end record. The payload is
// made-up bytes: such scripts serve tests, the simulator and benchmarks, never a
// real programmer.

#include <QByteArray>

struct FirmwareScriptShape {
    int groups = 587;            // clear / send / delay / read groups
    int payloadBytes = 80;       // bytes of every send record
    int firstDelay = 24960;      // delay value of the first group (waits 25 ms longer)
    int delay = 7;               // delay value of every other group
    quint8 version = 0;
    quint8 readParameter = 10;
    QByteArray acceptedReplies = QByteArrayLiteral("!Y");
    bool endRecord = true;
    quint32 seed = 1;            // the payload's pseudo-random bytes
};

enum class FirmwareScriptFault {
    ZeroLength,      // the last group's send record has length 0
    UnknownMarker,   // a stray byte 'X' stands before the end record
    NoEndRecord,     // the script ends after the last group
    WrongVersion,    // version 1
    TruncatedRecord, // the script ends inside the last send record's payload
};

// Byte size of a script of the given shape.
qint64 FirmwareScriptSize(const FirmwareScriptShape &shape);
QByteArray GenerateFirmwareScript(const FirmwareScriptShape &shape = {});
QByteArray GenerateFaultyFirmwareScript(FirmwareScriptFault fault, FirmwareScriptShape shape = {});

// What a script itself costs at least: the sum of its waits (every delay plus the
// 25 ms added to it) and the time its payload bytes take on the line.
struct FirmwareScriptCost {
    qint64 waitMs = 0;
    qint64 payloadBytes = 0;
    double lineMs(int baud = 19200) const { return double(payloadBytes) * 10.0 * 1000.0 / baud; }
    double lowerBoundMs(int baud = 19200) const { return double(waitMs) + lineMs(baud); }
};
// Reads the records of a well-formed script (stops at the end record or at the
// first record it cannot read).
FirmwareScriptCost MeasureFirmwareScript(const QByteArray &script);
