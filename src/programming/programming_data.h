#pragma once
// Programming data: the bytes a driver's NFC tag gets, as an ordered list of items.
// An item is six upper-case hexadecimal characters, four for the tag address (the
// descriptor address minus 32) and two for the byte, e.g. "00E65E". The list is
// held one item per line; the programming data text joins the items with ";".
//
// The encoders append to a list owned by the caller (the main window's
// ProgrammedDataMemo). A text that does not convert throws EConvertError, a lifetime
// step of 0 throws EDivByZero, a value that its item's byte(s) cannot hold or an
// address outside 32 ... 65567 throws EValueRangeError; the items appended before the
// error stay in the list.

#include "profile/profile_record.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <stdexcept>

// A profile value that the programming data cannot carry. The text names the
// parameter, its value and the range it must lie in.
class EValueRangeError : public std::runtime_error {
public:
    EValueRangeError(const QString &parameter, const QString &value, const QString &low, const QString &high);
    QString message() const { return QString::fromUtf8(what()); }
};

// The tag address an item carries is the descriptor's address less this offset.
constexpr qint64 kItemAddressOffset = 32;

// Address text A and byte B -> "AAAA" + "BB" with A = integer(A) - 32.
// Throws EConvertError when the address text is not an integer, EValueRangeError
// (naming `parameter`) when the address lies outside 32 ... 65567 or the byte
// outside 0 ... 255.
QString FormatProgrammingDataItem(const QString &addressText, int byteValue,
                                  const QString &parameter = QStringLiteral("address"));

// The descriptor address (the item's tag address + 32) and the byte of a
// well-formed item.
int ProgrammingDataItemAddress(const QString &item);
uint8_t ProgrammingDataItemByte(const QString &item);

// The DC emergency level byte for a level in percent (DC switched on): 0 gives 0x00,
// otherwise the logarithmic dimming curve computed in single precision and rounded
// half to even.
uint8_t DcLevelByte(int percent);

// Current: two items, low byte at current.address - 32, high byte at the next address
// (current 0 ... 65535 mA, current.address 32 ... 65566).
void ProgrammingDataCalculation_Current(const STRUCT_XML_FILE_VARIABLES &slot, QStringList &memo);
// CLO: the lifetime count (hours / step, clamped at 255; hours 0 or more, step 1 or
// more), then L1 ... L5 (percent x 2, truncated, for 0 ... 127.5 %; "." and "," both
// accepted as the decimal separator).
void ProgrammingDataCalculation_CLO(const STRUCT_XML_FILE_VARIABLES &slot, QStringList &memo);
// DC level: 0xFF when `dcLevelActive` is false or dcLevel.defaultValue is the off
// marker "255", otherwise DcLevelByte(dcLevel.defaultValue) for a level of 0 ... 100 %.
void ProgrammingDataCalculation_DClevel(const STRUCT_XML_FILE_VARIABLES &slot, bool dcLevelActive,
                                        QStringList &memo);
// The NTC derating produces no programming data; appends nothing.
void ProgrammingDataCalculation_NTC(const STRUCT_XML_FILE_VARIABLES &slot, QStringList &memo);

// Slot-index forms (zero-based index into settingsVariablesField).
void ProgrammingDataCalculation_Current(int slotIndex, QStringList &memo);
void ProgrammingDataCalculation_CLO(int slotIndex, QStringList &memo);
void ProgrammingDataCalculation_DClevel(int slotIndex, bool dcLevelActive, QStringList &memo);
void ProgrammingDataCalculation_NTC(int slotIndex, QStringList &memo);

// Clears `memo`, then appends, as the enable flags say, the current items, the CLO
// items and the DC item (0 to 9 items). `dcLevelActive` is the DC editor's on/off
// state (the window: DC_level_active ticked; the command line: dcLevel.defaultValue
// is not "255").
void GenerateProgrammingData(const STRUCT_XML_FILE_VARIABLES &slot, bool dcLevelActive, QStringList &memo);
void GenerateProgrammingData(int slotIndex, bool dcLevelActive, QStringList &memo);

// The DC on/off state a slot stands for when shown: on unless dcLevel.defaultValue is "255".
bool DcLevelActiveForSlot(const STRUCT_XML_FILE_VARIABLES &slot);

// The current data package: "00E6" + low byte, "00E7" + high byte of `currentMa`.
QStringList CurrentDataPackageMemoFill(int currentMa);

// Items joined with ";" / a text split into items (an empty text is an empty list).
QString ProgrammingDataText(const QStringList &items);
QStringList ProgrammingDataItems(const QString &text);
