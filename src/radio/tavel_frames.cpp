#include "radio/tavel_frames.h"

#include "common/hex_text.h"
#include "radio/esp3.h"

namespace tavel {
namespace {
int hexDigit(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}
} // namespace

QByteArray HexTextToBytes(const QString &text)
{
    QByteArray out;
    const int pairs = int(text.size() / 2);
    out.reserve(pairs);
    for (int i = 0; i < pairs; ++i) {
        const int hi = hexDigit(text[2 * i]);
        const int lo = hexDigit(text[2 * i + 1]);
        out.append(char(hi < 0 || lo < 0 ? 0 : hi * 16 + lo));
    }
    return out;
}

QString HexTextDisplay(const QString &text)
{
    QString out;
    const int pairs = int(text.size() / 2);
    for (int i = 0; i < pairs; ++i)
        out += QStringLiteral("0x") + text.mid(2 * i, 2) + QLatin1Char(' ');
    return out;
}


QString AppendFrameCrc(const QString &text) { return text + HexByte(esp3::Crc8(HexTextToBytes(text))); }

QString IdentityFrameText(int part, const QString &chunk, uint8_t *checksum)
{
    const QString text = QStringLiteral("0E") + HexByte(unsigned(part)) + chunk;
    if (checksum) {
        const QByteArray bytes = HexTextToBytes(text);
        for (int i = 2; i < bytes.size(); ++i)
            *checksum = esp3::Crc8Step(*checksum, uint8_t(bytes[i]));
    }
    return AppendFrameCrc(text);
}

QString ProgrammingDataFrameText(int count, int index, const QString &item, uint8_t *checksum)
{
    const QString text = QStringLiteral("0F") + HexWord(unsigned(count)) + HexWord(unsigned(index)) + item;
    if (checksum) {
        const QByteArray bytes = HexTextToBytes(text);
        for (int i = 7; i < bytes.size(); ++i)
            *checksum = esp3::Crc8Step(*checksum, uint8_t(bytes[i]));
    }
    return AppendFrameCrc(text);
}

QString UserTextField(const QString &text) { return text.left(24).leftJustified(24, QLatin1Char(' ')); }

QString UserTextFrameText(int part, const QString &field)
{
    QString text = QStringLiteral("15") + HexByte(unsigned(part));
    const QString chunk = field.mid(6 * part, 6);
    for (QChar c : chunk) {
        unsigned code = c.unicode();
        if (code < 0x20 || code >= 0x7F)
            code = 0x7E;
        text += HexByte(code);
    }
    return AppendFrameCrc(text);
}

QStringList SplitMemoData(const QString &memoData)
{
    if (memoData.isEmpty())
        return {};
    return memoData.split(QLatin1Char(';'));
}

} // namespace tavel
