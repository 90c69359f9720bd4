#pragma once
// Hexadecimal text as the system writes it everywhere: upper-case digits,
// zero-padded to the width of the value (a byte two digits, a 16-bit word four,
// an EnOcean ID "0x" and eight).

#include <QByteArray>
#include <QString>
#include <cstdint>

// `value` in at least `digits` digits (a larger value keeps all its digits).
QString HexDigits(quint64 value, int digits);
// "0A": the low byte of `value`.
QString HexByte(unsigned value);
// "01FF": the low 16 bits of `value`.
QString HexWord(unsigned value);
// "0180A2B3": eight digits, no prefix.
QString Hex32(uint32_t value);
// "0x0180A2B3": an EnOcean ID as people read it.
QString HexId(uint32_t id);
// " 55 00 07": every byte with a blank before it.
QString HexBytesSpaced(const QByteArray &bytes);
// "550007": the bytes without separators.
QString HexBytesCompact(const QByteArray &bytes);
