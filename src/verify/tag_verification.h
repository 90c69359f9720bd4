#pragma once
// Verifying a driver: the tag the handheld programmer read back, compared with the
// profile slot it was programmed from, parameter by parameter.
//
// What is compared is what a transfer of the slot writes: the bytes of its
// programming data (current, lifetime and the CLO levels, DC level, as the
// enable flags say), each at its tag address in the read-write area, and the
// identity (GTIN always; FW and HW when the slot holds them). Bytes are compared
// as stored, so a lossy encoding (the DC level: 99 % and 100 % are one byte)
// counts as equal exactly when a transfer would have written the same byte. The
// NTC derating is not part of the programming data, so nothing of it is on the
// tag to compare.
//
// A verification passes only when every compared byte was read and equal: a
// parameter whose bytes lie outside the read-write area the tag announced is a
// difference ("not on the tag"), and a read that is incomplete or has a wrong
// checksum, or a driver of another identity, fails with that reason.

#include "profile/profile_record.h"
#include "radio/tag_buffers.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

inline const QString kVerifyPass = QStringLiteral("PASS");
inline const QString kVerifyFail = QStringLiteral("FAIL");

// The result for one driver.
struct TagVerification {
    QString serial;          // the driver's serial number from the tag (decimal, 16 digits)
    bool passed = false;
    // One line per difference: "<name>: expected X, found Y" (names and units as
    // the editor shows them: "L3: expected 88 %, found 50 %"), "<name>: not on the
    // tag", or why the tag could not be compared. Empty when passed.
    QStringList differences;
    // Filled by whoever verified it: the programmer that read it and the slot (1-3).
    QString programmerId;
    int slot = 0;

    QString resultText() const { return passed ? kVerifyPass : kVerifyFail; }
};

// One parameter as a transfer of the slot writes it: its name, the tag addresses
// with the bytes, and how a set of those bytes reads ("500 mA", "80 %",
// "51 % (byte E5)").
struct ExpectedParameter {
    QString name;
    QList<int> addresses; // tag addresses (descriptor addresses), in the order of `bytes`
    QList<uint8_t> bytes;
    std::function<QString(const QList<uint8_t> &)> valueText;
};

// The parameters a transfer of `slot` writes, in the order of its programming
// data. Throws what the programming data encoding throws (EConvertError,
// EDivByZero, EValueRangeError) for a slot that cannot be sent.
QList<ExpectedParameter> ExpectedTagParameters(const STRUCT_XML_FILE_VARIABLES &slot);

// Why the tag buffers do not hold a complete, correct read (identity, read-write
// and read-only areas with their checksums); empty when they do.
QString TagReadProblem(const TagReadState &state);

// Compares the tag in `tag` (read as `state` says) with `slot`.
TagVerification VerifyTag(const TagBuffers &tag, const TagReadState &state, const STRUCT_XML_FILE_VARIABLES &slot);

// The lines of a result as the command line prints it: "PASS <serial>" or
// "FAIL <serial>", then each difference indented by four blanks.
QStringList VerificationLines(const TagVerification &result);
