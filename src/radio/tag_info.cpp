#include "radio/tag_info.h"

#include "common/hex_text.h"
#include "common/convert.h"
#include "profile/parameter_table.h"
#include "radio/tag_reception.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <functional>

ETagAddressError::ETagAddressError(const QString &message)
    : std::runtime_error(message.toStdString())
{
}

namespace {

QString hexBytes(const TagBuffers &tag, int from, int count)
{
    QString s;
    for (int i = 0; i < count; ++i)
        s += HexByte(tag.ident[size_t(from + i)]);
    return s;
}

// The read-write byte at tag address `address` (decimal text) + `extra`. Only
// the bytes of the area the tag announced were read: any other byte (beyond the
// announced size, or beyond the buffer) is not on the tag.
uint8_t rwByteAt(const TagBuffers &tag, const char *parameter, const QString &address, qint64 extra = 0)
{
    const qint64 a = qint64(StrToInt(address)) + extra;
    const int j = TagRwIndex(tag, a);
    if (j < 0)
        throw ETagAddressError(
            QStringLiteral("The address %1 of %2 lies outside the read-write area read from the tag "
                           "(start address %3, %4 bytes). The parameter is not on the tag.")
                .arg(a)
                .arg(QLatin1String(parameter))
                .arg(tag.rwStart())
                .arg(tag.rwSize()));
    return tag.rw[size_t(j)];
}

// The current is always programmed as two bytes, whatever `current.size` says; a
// profile that names no size (the default profile) is read back the same way, so
// that a driver programmed with it can be read with it. A size that is given but is
// not a number still raises the conversion error.
qint64 currentByteCount(const ParameterDescriptor &current)
{
    return current.size.isEmpty() ? 2 : qint64(StrToInt(current.size));
}

double tagLevel(const TagBuffers &tag, const STRUCT_XML_FILE_VARIABLES &profile, const ParameterGroup &level)
{
    return TagLevelOfByte(rwByteAt(tag, level.name, level.field.of(profile).address));
}

} // namespace

TagIdentityTexts TagIdentity(const TagBuffers &tag)
{
    TagIdentityTexts t;
    t.gtin = hexBytes(tag, 10, 6);
    t.fw = hexBytes(tag, 16, 2);
    t.serial = SerialNumberText(tag.ident.data() + 18);
    t.hw = hexBytes(tag, 26, 2);
    return t;
}

QStringList TagIdentRawLines(const TagBuffers &tag)
{
    QStringList lines;
    for (int i = 0; i < 32; i += 4) {
        QString line;
        for (int k = 0; k < 4; ++k)
            line += hexBytes(tag, i + k, 1) + QLatin1Char(' ');
        lines << line;
    }
    return lines;
}

int TagAreaLastIndex(uint16_t size) { return std::min(int(size) + 1, kTagAreaBufferSize - 1); }

int TagRwIndex(const TagBuffers &tag, qint64 address)
{
    const qint64 j = address - tag.rwStart();
    return j >= 2 && j <= TagAreaLastIndex(tag.rwSize()) ? int(j) : -1;
}

QString TagAreaSizeText(uint16_t size)
{
    return QStringLiteral("0x") + HexWord(size);
}

QStringList TagAreaLines(uint16_t start, uint16_t size, const std::array<uint8_t, kTagAreaBufferSize> &area)
{
    QStringList lines;
    const int last = TagAreaLastIndex(size);
    for (int j = 0; j <= last; ++j)
        lines << QStringLiteral("0x%1  %2")
                     .arg(HexWord(unsigned(start + j)), HexByte(area[size_t(j)]));
    return lines;
}

bool TagIdentityMatchesProfile(const TagIdentityTexts &ident, const STRUCT_XML_FILE_VARIABLES &profile)
{
    return ident.gtin == profile.editGTIN && ident.fw == profile.editFW && ident.hw == profile.editHW;
}

int TagCurrent(const TagBuffers &tag, const STRUCT_XML_FILE_VARIABLES &profile)
{
    const uint8_t low = rwByteAt(tag, "current", profile.current.address);
    const uint8_t high = rwByteAt(tag, "current", profile.current.address, currentByteCount(profile.current) - 1);
    return low + 256 * high;
}

int TagLifeTimeByte(const TagBuffers &tag, const STRUCT_XML_FILE_VARIABLES &profile)
{
    return rwByteAt(tag, "lifeTime", profile.lifeTime.address);
}

double TagLevel(const TagBuffers &tag, const STRUCT_XML_FILE_VARIABLES &profile, int level)
{
    return tagLevel(tag, profile, CloLevelGroup(level));
}

int TagDcPercent(const TagBuffers &tag, const STRUCT_XML_FILE_VARIABLES &profile)
{
    return TagDcPercentOfByte(rwByteAt(tag, "dcLevel", profile.dcLevel.address));
}

double TagLevelOfByte(uint8_t b)
{
    const float value = float(b) * 0.5f;
    return std::round(double(value) * 10.0) / 10.0;
}

int TagDcPercentOfByte(uint8_t n)
{
    const float p = std::pow(10.0f, (float(n) - 1.0f) / 84.3333333f - 1.0f);
    return int(std::lround(p));
}

QString TagLevelText(double value)
{
    if (value == std::floor(value))
        return QString::number(qint64(value));
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', 1);
}

namespace {

// The value a group's tag bytes stand for, as the decoded lines show it.
QString shownValue(const TagBuffers &tag, const STRUCT_XML_FILE_VARIABLES &profile, const ParameterGroup &g)
{
    switch (g.coding) {
    case TagCoding::Current:
        return QString::number(TagCurrent(tag, profile));
    case TagCoding::LifeTime:
        return QString::number(qint64(TagLifeTimeByte(tag, profile)) * 500);
    case TagCoding::CloLevel:
        return TagLevelText(tagLevel(tag, profile, g));
    case TagCoding::DcLevel: {
        const int dc = TagDcPercent(tag, profile);
        return dc == kTagDcOff ? QStringLiteral("OFF") : QString::number(dc);
    }
    case TagCoding::None:
        break;
    }
    return QString();
}

} // namespace

QString TagParameterNotOnTagText(const QString &name) { return name + QStringLiteral(" = not on the tag"); }

void AppendUserFriendlyLines(const TagBuffers &tag, const STRUCT_XML_FILE_VARIABLES &profile, QStringList &lines,
                             QStringList *notOnTag)
{
    // A parameter outside the area the tag announced is shown as not on the tag;
    // the others are still decoded.
    auto line = [&](const QString &name, const std::function<QString()> &value) {
        try {
            lines << name + QStringLiteral(" = ") + value();
        } catch (const ETagAddressError &) {
            lines << TagParameterNotOnTagText(name);
            if (notOnTag)
                *notOnTag << name;
        }
    };
    for (const ParameterGroup &g : ParameterGroups())
        if (g.tagLine)
            line(QLatin1String(g.tagLine), [&] { return shownValue(tag, profile, g); });
}

bool CopyTagValuesToProfile(const TagBuffers &tag, STRUCT_XML_FILE_VARIABLES &profile, QStringList *notOnTag)
{
    // A parameter that is not on the tag keeps the profile's value.
    auto copy = [&](const QString &name, const std::function<void()> &take) {
        try {
            take();
        } catch (const ETagAddressError &) {
            if (notOnTag)
                *notOnTag << name;
        }
    };
    bool dcOn = false;
    for (const ParameterGroup &g : ParameterGroups()) {
        if (!g.tagLine)
            continue;
        QString &value = g.field.of(profile).defaultValue;
        if (g.coding == TagCoding::DcLevel)
            dcOn = StrToInt(value) != 255;
        copy(QLatin1String(g.tagLine), [&] {
            switch (g.coding) {
            case TagCoding::LifeTime:
                // The profile's own step turns the count back into hours.
                value = QString::number(qint64(TagLifeTimeByte(tag, profile)) * StrToInt(profile.lifeTime.step));
                break;
            case TagCoding::DcLevel: {
                const int dc = TagDcPercent(tag, profile);
                dcOn = dc < kTagDcOff;
                value = dcOn ? QString::number(dc) : QStringLiteral("255");
                break;
            }
            default:
                value = shownValue(tag, profile, g);
            }
        });
    }
    return dcOn;
}
