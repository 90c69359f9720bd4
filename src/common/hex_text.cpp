#include "common/hex_text.h"

QString HexDigits(quint64 value, int digits)
{
    return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

QString HexByte(unsigned value) { return HexDigits(value & 0xFFu, 2); }
QString HexWord(unsigned value) { return HexDigits(value & 0xFFFFu, 4); }
QString Hex32(uint32_t value) { return HexDigits(value, 8); }
QString HexId(uint32_t id) { return QStringLiteral("0x") + Hex32(id); }

QString HexBytesSpaced(const QByteArray &bytes)
{
    QString s;
    s.reserve(bytes.size() * 3);
    for (char c : bytes)
        s += QLatin1Char(' ') + HexByte(uint8_t(c));
    return s;
}

QString HexBytesCompact(const QByteArray &bytes) { return QString::fromLatin1(bytes.toHex()).toUpper(); }
