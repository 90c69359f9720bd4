#include "programming/programming_data.h"

#include "common/convert.h"

#include <cfenv>
#include <cmath>

namespace {
QString hex(qint64 value, int digits)
{
    return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

const STRUCT_XML_FILE_VARIABLES &slotAt(int slotIndex)
{
    if (slotIndex < 0 || slotIndex >= kSlotCount)
        throw std::out_of_range("slot index must be 0, 1 or 2");
    return settingsVariablesField[slotIndex];
}
} // namespace

QString FormatProgrammingDataItem(const QString &addressText, int byteValue)
{
    const qint64 address = qint64(StrToInt(addressText)) - 32;
    return hex(address, 4) + hex(byteValue & 0xFF, 2);
}

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
    // Little-endian: the low byte at the descriptor's address, the high byte after it.
    memo << FormatProgrammingDataItem(QString::number(address), current & 0xFF);
    memo << FormatProgrammingDataItem(QString::number(qint64(address) + 1), (current >> 8) & 0xFF);
}

void ProgrammingDataCalculation_CLO(const STRUCT_XML_FILE_VARIABLES &slot, QStringList &memo)
{
    const int hours = StrToInt(slot.lifeTime.defaultValue);
    const int step = StrToInt(slot.lifeTime.step);
    if (step == 0)
        throw EDivByZero();
    qint64 count = qint64(hours) / step;
    if (count > 255)
        count = 255;
    memo << FormatProgrammingDataItem(slot.lifeTime.address, int(count));

    for (const ParameterDescriptor *level : {&slot.Level0, &slot.Level1, &slot.Level2, &slot.Level3, &slot.Level4}) {
        // Levels are in half-percent units; the text may use "." or "," as separator.
        const double percent = StrToFloat(level->defaultValue);
        const int value = static_cast<int>(std::trunc(percent * 2.0));
        memo << FormatProgrammingDataItem(level->address, value);
    }
}

void ProgrammingDataCalculation_DClevel(const STRUCT_XML_FILE_VARIABLES &slot, bool dcLevelActive,
                                        QStringList &memo)
{
    int value = 0xFF; // DC emergency operation off
    if (dcLevelActive)
        value = DcLevelByte(StrToInt(slot.dcLevel.defaultValue));
    memo << FormatProgrammingDataItem(slot.dcLevel.address, value);
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
    return slot.dcLevel.defaultValue != QLatin1String("255");
}

QStringList CurrentDataPackageMemoFill(int currentMa)
{
    return {QStringLiteral("00E6") + hex(currentMa & 0xFF, 2),
            QStringLiteral("00E7") + hex((currentMa >> 8) & 0xFF, 2)};
}

QString ProgrammingDataText(const QStringList &items) { return items.join(QLatin1Char(';')); }

QStringList ProgrammingDataItems(const QString &text)
{
    if (text.isEmpty())
        return {};
    return text.split(QLatin1Char(';'));
}
