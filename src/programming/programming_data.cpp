#include "programming/programming_data.h"

#include "common/hex_text.h"
#include "common/convert.h"
#include "profile/parameter_table.h"
#include "profile/profile_defaults.h"

#include <cfenv>
#include <cmath>

namespace {
// Descriptor addresses whose item address has four hexadecimal digits.
constexpr qint64 kLowestAddress = kItemAddressOffset;
constexpr qint64 kHighestAddress = 0xFFFF + kItemAddressOffset;

void checkRange(const QString &parameter, qint64 value, qint64 low, qint64 high)
{
    if (value < low || value > high)
        throw EValueRangeError(parameter, QString::number(value), QString::number(low), QString::number(high));
}

bool isDcLevelOffMarker(const QString &text) { return text == defaultDcLevelOff; }

const STRUCT_XML_FILE_VARIABLES &slotAt(int slotIndex)
{
    if (slotIndex < 0 || slotIndex >= kSlotCount)
        throw std::out_of_range("slot index must be 0, 1 or 2");
    return settingsVariablesField[slotIndex];
}
} // namespace

EValueRangeError::EValueRangeError(const QString &parameter, const QString &value, const QString &low,
                                   const QString &high)
    : std::runtime_error(QStringLiteral("%1 = %2 is out of range: it must lie in %3 ... %4")
                             .arg(parameter, value, low, high)
                             .toStdString())
{
}

QString FormatProgrammingDataItem(const QString &addressText, int byteValue, const QString &parameter)
{
    const qint64 address = StrToInt(addressText);
    checkRange(parameter, address, kLowestAddress, kHighestAddress);
    checkRange(parameter, byteValue, 0, 0xFF);
    return HexWord(unsigned(address - kItemAddressOffset)) + HexByte(unsigned(byteValue));
}

int ProgrammingDataItemAddress(const QString &item) { return item.left(4).toInt(nullptr, 16) + int(kItemAddressOffset); }

uint8_t ProgrammingDataItemByte(const QString &item) { return uint8_t(item.mid(4, 2).toInt(nullptr, 16)); }

uint8_t DcLevelByte(int percent)
{
    const float v = static_cast<float>(percent);
    if (v == 0.0f)
        return 0x00;
    // Logarithmic dimming curve: 1 % -> 85, 100 % -> 254, in single precision,
    // rounded to the nearest integer with halves to even.
    const float l = std::log10(v);
    const float x = ((l + 1.0f) * 253.0f) / 3.0f + 1.0f;
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const float rounded = std::nearbyint(x);
    std::fesetround(saved);
    if (!(rounded >= 0.0f && rounded < 65536.0f)) // a negative level has no place on the curve
        return 0x00;
    return static_cast<uint8_t>(static_cast<int>(rounded) & 0xFF);
}

void ProgrammingDataCalculation_Current(const STRUCT_XML_FILE_VARIABLES &slot, QStringList &memo)
{
    const int current = StrToInt(slot.current.defaultValue);
    const int address = StrToInt(slot.current.address);
    checkRange(QStringLiteral("current.defaultValue"), current, 0, 0xFFFF);
    // The high byte goes to the address after the low byte's.
    checkRange(QStringLiteral("current.address"), address, kLowestAddress, kHighestAddress - 1);
    // Little-endian: the low byte at the descriptor's address, the high byte after it.
    memo << FormatProgrammingDataItem(QString::number(address), current & 0xFF);
    memo << FormatProgrammingDataItem(QString::number(address + 1), (current >> 8) & 0xFF);
}

void ProgrammingDataCalculation_CLO(const STRUCT_XML_FILE_VARIABLES &slot, QStringList &memo)
{
    const int hours = StrToInt(slot.lifeTime.defaultValue);
    const int step = StrToInt(slot.lifeTime.step);
    if (step == 0)
        throw EDivByZero();
    // A negative count has no byte: hours and hours per count are never below zero.
    checkRange(QStringLiteral("lifeTime.defaultValue"), hours, 0, INT32_MAX);
    checkRange(QStringLiteral("lifeTime.step"), step, 1, INT32_MAX);
    qint64 count = qint64(hours) / step;
    if (count > 255)
        count = 255;
    memo << FormatProgrammingDataItem(slot.lifeTime.address, int(count), QStringLiteral("lifeTime.address"));

    for (int n = 0; n < kCloLevelCount; ++n) {
        const ParameterDescriptor *level = &CloLevel(slot, n);
        const QString name = QLatin1String(CloLevelGroup(n).name);
        // Levels are in half-percent units; the text may use "." or "," as separator.
        const double percent = StrToFloat(level->defaultValue);
        // 127.5 % is the highest level one byte holds; the check also keeps the
        // conversion to int below defined.
        if (!(percent >= 0.0 && percent <= 127.5))
            throw EValueRangeError(name + QStringLiteral(".defaultValue"), level->defaultValue,
                                   QStringLiteral("0"), QStringLiteral("127.5"));
        const int value = static_cast<int>(std::trunc(percent * 2.0));
        memo << FormatProgrammingDataItem(level->address, value, name + QStringLiteral(".address"));
    }
}

void ProgrammingDataCalculation_DClevel(const STRUCT_XML_FILE_VARIABLES &slot, bool dcLevelActive,
                                        QStringList &memo)
{
    int value = 0xFF; // DC emergency operation off
    // "255" marks a slot whose DC operation is off, whatever a window's check box
    // still shows while it changes over to that slot.
    if (dcLevelActive && !isDcLevelOffMarker(slot.dcLevel.defaultValue)) {
        const int percent = StrToInt(slot.dcLevel.defaultValue);
        // Above 100 % the curve passes 254 and reaches 0xFF (off) and beyond.
        checkRange(QStringLiteral("dcLevel.defaultValue"), percent, 0, 100);
        value = DcLevelByte(percent);
    }
    memo << FormatProgrammingDataItem(slot.dcLevel.address, value, QStringLiteral("dcLevel.address"));
}

void ProgrammingDataCalculation_NTC(const STRUCT_XML_FILE_VARIABLES &, QStringList &)
{
    // The driver's NTC derating is not programmed through the tag data.
}

void ProgrammingDataCalculation_Current(int slotIndex, QStringList &memo)
{
    ProgrammingDataCalculation_Current(slotAt(slotIndex), memo);
}

void ProgrammingDataCalculation_CLO(int slotIndex, QStringList &memo)
{
    ProgrammingDataCalculation_CLO(slotAt(slotIndex), memo);
}

void ProgrammingDataCalculation_DClevel(int slotIndex, bool dcLevelActive, QStringList &memo)
{
    ProgrammingDataCalculation_DClevel(slotAt(slotIndex), dcLevelActive, memo);
}

void ProgrammingDataCalculation_NTC(int slotIndex, QStringList &memo)
{
    ProgrammingDataCalculation_NTC(slotAt(slotIndex), memo);
}

void GenerateProgrammingData(const STRUCT_XML_FILE_VARIABLES &slot, bool dcLevelActive, QStringList &memo)
{
    memo.clear();
    if (slot.currentAdjustEnable != 0)
        ProgrammingDataCalculation_Current(slot, memo);
    if (slot.cloAdjustEnable != 0)
        ProgrammingDataCalculation_CLO(slot, memo);
    if (slot.dclevelAdjustEnable != 0)
        ProgrammingDataCalculation_DClevel(slot, dcLevelActive, memo);
}

void GenerateProgrammingData(int slotIndex, bool dcLevelActive, QStringList &memo)
{
    GenerateProgrammingData(slotAt(slotIndex), dcLevelActive, memo);
}

bool DcLevelActiveForSlot(const STRUCT_XML_FILE_VARIABLES &slot)
{
    return !isDcLevelOffMarker(slot.dcLevel.defaultValue);
}

QStringList CurrentDataPackageMemoFill(int currentMa)
{
    return {QStringLiteral("00E6") + HexByte(unsigned(currentMa & 0xFF)),
            QStringLiteral("00E7") + HexByte(unsigned((currentMa >> 8) & 0xFF))};
}

QString ProgrammingDataText(const QStringList &items) { return items.join(QLatin1Char(';')); }

QStringList ProgrammingDataItems(const QString &text)
{
    if (text.isEmpty())
        return {};
    return text.split(QLatin1Char(';'));
}
