#include "profile/parameter_table.h"

#include <QRegularExpression>
#include <stdexcept>

namespace {

using R = STRUCT_XML_FILE_VARIABLES;
using B = ParameterBlock;
using C = TagCoding;
using G = ParameterGroup;

// The degree sign as UTF-8, for the people's texts.
#define TAVEL_CELSIUS "\xC2\xB0" "C"

// clang-format off
constexpr std::array<ParameterGroup, kParameterGroupCount> kGroups = {{
    // name, member, catalogue element, block, coding, tag line, record column, label, unit, summary key, rank,
    // default min, max, value, address, step, cleared for a catalogue model
    {"current", &R::current, "Current", B::Current, C::Current, "Current", "nomCurrent", "Nominal current", "mA",
     "Nominal_current", 0, "350", "700", "350", "262", nullptr, G::Bounds},
    {"lifeTime", &R::lifeTime, "LifeTime", B::Clo, C::LifeTime, "LifeTime", "lifeTime", "Lifetime", "h",
     "LifeTime", 0, "0", "127500", "127500", "264", "500", G::BoundsAndStep},
    {"Level0", &R::Level0, "Level0", B::Clo, C::CloLevel, "Level0", "CLO_L1", "L1", "%",
     "Level1", 1, "50", "100", "100", "265", nullptr, G::Bounds},
    {"Level1", &R::Level1, "Level1", B::Clo, C::CloLevel, "Level1", "CLO_L2", "L2", "%",
     "Level2", 2, "50", "100", "100", "266", nullptr, G::Bounds},
    {"Level2", &R::Level2, "Level2", B::Clo, C::CloLevel, "Level2", "CLO_L3", "L3", "%",
     "Level3", 3, "50", "100", "100", "267", nullptr, G::Bounds},
    {"Level3", &R::Level3, "Level3", B::Clo, C::CloLevel, "Level3", "CLO_L4", "L4", "%",
     "Level4", 4, "50", "100", "100", "268", nullptr, G::Bounds},
    {"Level4", &R::Level4, "Level4", B::Clo, C::CloLevel, "Level4", "CLO_L5", "L5", "%",
     "Level5", 5, "50", "100", "100", "269", nullptr, G::Bounds},
    {"LEDTime", &R::LEDTime, "LEDTime", B::Clo, C::None, nullptr, nullptr, nullptr, "h",
     "LEDTime", 6, nullptr, nullptr, "4294967295", "258", nullptr, G::Value},
    {"dcLevel", &R::dcLevel, "DCLevel", B::DcLevel, C::DcLevel, "DCLevel", "DC_level", "DC level", "%",
     "DCLevel", 0, "50", "100", "100", "270", nullptr, G::Bounds},
    {"Temp1", &R::Temp1, "Temp1", B::Ntc, C::None, nullptr, "extNTC_Temp1", "NTC start temperature", TAVEL_CELSIUS,
     "Temp1", 2, "0", "120", "50", nullptr, nullptr, G::Bounds},
    {"ExtNTCLevel1", &R::ExtNTCLevel1, "ExtNTCLevel1", B::Ntc, C::None, nullptr, "extNTC_Level1", "NTC start level", "%",
     "ExtNTCLevel1", 0, "50", "100", "100", nullptr, nullptr, G::Bounds},
    {"Temp2", &R::Temp2, "Temp2", B::Ntc, C::None, nullptr, "extNTC_Temp2", "NTC stop temperature", TAVEL_CELSIUS,
     "Temp2", 3, "0", "120", "80", nullptr, nullptr, G::Bounds},
    {"ExtNTCLevel2", &R::ExtNTCLevel2, "ExtNTCLevel2", B::Ntc, C::None, nullptr, "extNTC_Level2", "NTC stop level", "%",
     "ExtNTCLevel2", 1, "0", "100", "20", nullptr, nullptr, G::Bounds},
    {"CutOffTemp", &R::CutOffTemp, "CutOffTemp", B::Ntc, C::None, nullptr, "extNTC_CutOffTemp", "NTC cut-off temperature",
     TAVEL_CELSIUS, "CutOffTemp", 4, "0", "120", "90", nullptr, nullptr, G::Bounds},
    {"NTCType", &R::NTCType, "NTCType", B::Ntc, C::None, nullptr, nullptr, nullptr, nullptr,
     nullptr, 0, nullptr, nullptr, nullptr, nullptr, nullptr, G::Nothing},
}};
// clang-format on

#undef TAVEL_CELSIUS

// The CLO levels are the table's CloLevel rows, in table order.
constexpr std::array<int, kCloLevelCount> cloLevelRows()
{
    std::array<int, kCloLevelCount> rows{};
    int n = 0;
    for (int i = 0; i < kParameterGroupCount; ++i)
        if (kGroups[size_t(i)].coding == C::CloLevel)
            rows[size_t(n++)] = i;
    if (n != kCloLevelCount)
        throw std::logic_error("the table's CLO levels and kCloLevelCount differ");
    return rows;
}
constexpr std::array<int, kCloLevelCount> kCloLevelRows = cloLevelRows();

constexpr std::array<DescriptorGroup, kParameterGroupCount> descriptorGroups()
{
    std::array<DescriptorGroup, kParameterGroupCount> groups{};
    for (size_t i = 0; i < groups.size(); ++i)
        groups[i] = {kGroups[i].name, kGroups[i].field};
    return groups;
}

QString text(const char *utf8) { return utf8 ? QString::fromUtf8(utf8) : QString(); }

} // namespace

// The record's name table, made from this one.
const std::array<DescriptorGroup, 15> kDescriptorGroups = descriptorGroups();
static_assert(kParameterGroupCount == 15, "kDescriptorGroups is declared with the group count");

const std::array<ParameterGroup, kParameterGroupCount> &ParameterGroups() { return kGroups; }

const ParameterGroup *ParameterGroupNamed(const QString &name)
{
    for (const ParameterGroup &g : kGroups)
        if (name == QLatin1String(g.name))
            return &g;
    return nullptr;
}

const ParameterGroup &CloLevelGroup(int level) { return kGroups.at(size_t(kCloLevelRows.at(size_t(level)))); }

int32_t STRUCT_XML_FILE_VARIABLES::*AdjustEnableFlag(ParameterBlock block)
{
    switch (block) {
    case B::Current:
        return &R::currentAdjustEnable;
    case B::Clo:
        return &R::cloAdjustEnable;
    case B::DcLevel:
        return &R::dclevelAdjustEnable;
    case B::Ntc:
        break;
    }
    return &R::ExtNTCAdjustEnable;
}

const ParameterDescriptor &CloLevel(const STRUCT_XML_FILE_VARIABLES &record, int level)
{
    return record.*(CloLevelGroup(level).field);
}

ParameterDescriptor &CloLevel(STRUCT_XML_FILE_VARIABLES &record, int level)
{
    return record.*(CloLevelGroup(level).field);
}

QList<const ParameterGroup *> RecordParameterGroups()
{
    QList<const ParameterGroup *> groups;
    for (const ParameterGroup &g : kGroups)
        if (g.recordColumn)
            groups << &g;
    return groups;
}

QStringList RecordParameterColumns()
{
    QStringList columns;
    for (const ParameterGroup *g : RecordParameterGroups())
        columns << QString::fromLatin1(g->recordColumn);
    return columns;
}

QStringList RecordParameterValues(const STRUCT_XML_FILE_VARIABLES &record)
{
    QStringList values;
    for (const ParameterGroup *g : RecordParameterGroups())
        values << (record.*(g->field)).defaultValue;
    return values;
}

const QList<ParameterName> &ParameterNames()
{
    static const QList<ParameterName> names = [] {
        QList<ParameterName> list;
        for (const ParameterGroup *g : RecordParameterGroups())
            list << ParameterName{text(g->name), text(g->recordColumn), text(g->label), text(g->unit)};
        return list;
    }();
    return names;
}

const ParameterName *ParameterByGroup(const QString &group)
{
    for (const ParameterName &p : ParameterNames())
        if (p.group == group)
            return &p;
    return nullptr;
}

const ParameterName *ParameterByRecordColumn(const QString &column)
{
    for (const ParameterName &p : ParameterNames())
        if (p.recordColumn == column)
            return &p;
    return nullptr;
}

QString ValueWithUnit(const QString &value, const QString &unit)
{
    // A number in the program's own or the C notation ("82.5", "82,5", "-10").
    static const QRegularExpression number(QStringLiteral("^-?\\d+([.,]\\d+)?$"));
    if (unit.isEmpty() || !number.match(value).hasMatch())
        return value;
    return value + QLatin1Char(' ') + unit;
}
