#pragma once
// The meaning of a driver's tag read back: the identity texts, the raw lines and
// the parameters decoded from the read-write area at the addresses of a profile.

#include "profile/profile_record.h"
#include "radio/tag_buffers.h"

#include <QString>
#include <QStringList>
#include <stdexcept>

inline const QString kTagMismatchShowMessage =
    QStringLiteral("Downloaded values doesn't match to actual profile\nAssignment to profile data is not possible!");
inline const QString kTagMismatchCopyQuestion = QStringLiteral(
    "GTIN or FW or HW of downloaded driver is different as data in actual profile !!!\nAre you sore to continue ?");
inline const QString kTagCopiedMessage = QStringLiteral("Downloaded values were copied to actual profile");
inline const QString kTagCopiedAfterMismatchMessage = QStringLiteral("Dowloaded values where copied to actual profile");

// A profile address that does not lie in the read-write buffer relative to the
// tag's start address: the parameter cannot be decoded from what was read.
class ETagAddressError : public std::runtime_error {
public:
    explicit ETagAddressError(const QString &message);
};

struct TagIdentityTexts {
    QString gtin;   // twelve hexadecimal digits, byte 10 first
    QString fw;     // four hexadecimal digits
    QString serial; // decimal, at least 16 digits
    QString hw;     // four hexadecimal digits
};
TagIdentityTexts TagIdentity(const TagBuffers &tag);

// Ident bytes 0-31, eight lines of four bytes, each byte "XX ".
QStringList TagIdentRawLines(const TagBuffers &tag);
// An area's bytes 0 and 1 hold its header; its parameters lie at 2 ... size + 1, as far
// as the buffer reaches. The index of the last byte read of an area of `size` bytes:
int TagAreaLastIndex(uint16_t size);
// The read-write buffer index of tag address `address`, or -1 when the byte lies
// outside the area the tag announced (or outside the buffer).
int TagRwIndex(const TagBuffers &tag, qint64 address);

// "0x" + size as four hexadecimal digits.
QString TagAreaSizeText(uint16_t size);
// One line per area byte 0 ... size + 1: "0x" + address (four digits), two blanks,
// the byte. An area larger than the buffer lists only the bytes the buffer holds.
QStringList TagAreaLines(uint16_t start, uint16_t size, const std::array<uint8_t, kTagAreaBufferSize> &area);

// GTIN, FW and HW compared as texts, exactly, in that order.
bool TagIdentityMatchesProfile(const TagIdentityTexts &ident, const STRUCT_XML_FILE_VARIABLES &profile);

// The parameter values of a read-write area. Each reader takes the profile's
// descriptor texts; a text that is not an integer raises EConvertError, an
// address outside the buffer ETagAddressError.
int TagCurrent(const TagBuffers &tag, const STRUCT_XML_FILE_VARIABLES &profile);
int TagLifeTimeByte(const TagBuffers &tag, const STRUCT_XML_FILE_VARIABLES &profile);
double TagLevel(const TagBuffers &tag, const STRUCT_XML_FILE_VARIABLES &profile, int level); // 0 = L1
// DC percentage; 103 means DC emergency operation off.
int TagDcPercent(const TagBuffers &tag, const STRUCT_XML_FILE_VARIABLES &profile);
constexpr int kTagDcOff = 103;

// The values single stored bytes stand for: a CLO level (byte / 2, one decimal)
// and the DC percentage (kTagDcOff for 255).
double TagLevelOfByte(uint8_t b);
int TagDcPercentOfByte(uint8_t n);

// A level in the system's number format, one decimal at most ("100", "99.5").
QString TagLevelText(double value);

// "<name> = not on the tag": a parameter whose bytes lie outside the read-write
// area the tag announced.
QString TagParameterNotOnTagText(const QString &name);

// The decoded lines in the order Current, LifeTime, the CLO levels, DCLevel, appended to
// `lines` one by one (so that the lines before a failing parameter stay). A
// parameter outside the announced area reads "<name> = not on the tag" and its
// name goes into `notOnTag`.
void AppendUserFriendlyLines(const TagBuffers &tag, const STRUCT_XML_FILE_VARIABLES &profile, QStringList &lines,
                             QStringList *notOnTag = nullptr);

// Writes the decoded values into `profile` (current, lifetime by its step, the
// CLO levels, DC level or "255"); returns whether DC emergency operation is on.
// A parameter that is not on the tag is left as it was, its name in `notOnTag`.
// Values already written stay written when a later parameter raises a conversion error.
bool CopyTagValuesToProfile(const TagBuffers &tag, STRUCT_XML_FILE_VARIABLES &profile, QStringList *notOnTag = nullptr);
