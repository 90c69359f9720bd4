#pragma once
// The profile's fifteen parameter groups, each described once: its group name (the
// settings-file key), the enable/availability flags it belongs to, how it goes into
// the tag's bytes, the name of its decoded tag line, its record column, its label and
// unit for people, its summary line, its catalogue element and the default profile's texts. Everything that
// walks the parameters (defaults, settings file, encoder, tag decoding, verify,
// summary, reports, editors) reads this table; a new group is a new row and a new
// catalogue element here and a new member of the profile record, a sixth CLO level a
// new row and element here and a larger kCloLevelCount.
//
// The CLO levels are the record's array Level; their group names, settings-file keys
// and catalogue elements stay Level0 ... Level4, their people's names L1 ... L5.

#include "profile/profile_record.h"

#include <QList>
#include <QString>
#include <algorithm>
#include <array>
#include <string_view>

// The enable/availability flag pair of a group (currentAdjustEnable, cloAdjustEnable, ...).
enum class ParameterBlock { Current, Clo, DcLevel, Ntc };

// How a group's present value becomes tag bytes and is read back from them.
enum class TagCoding {
    None,     // not programmed through the tag
    Current,  // mA, 16 bits: low byte at the address, high byte after it
    LifeTime, // hours / lifetime step, one byte, at most 255
    CloLevel, // percent x 2, one byte
    DcLevel,  // logarithmic dimming curve, one byte; 0xFF is DC operation off
};

// The number of tag bytes a coding writes.
constexpr int TagByteCount(TagCoding coding)
{
    return coding == TagCoding::None ? 0 : coding == TagCoding::Current ? 2 : 1;
}

struct ParameterGroup {
    const char *name; // profile group and settings-file key ("Level0")
    DescriptorRef field;          // where the group lives in a profile record
    const char *catalogueElement; // its element in the driver catalogue ("Level0", "DCLevel")
    ParameterBlock block;
    TagCoding coding;
    const char *tagLine;      // name of its decoded tag line ("Level0"), nullptr when not on the tag
    const char *recordColumn; // column of the settings and driver records ("CLO_L1"), nullptr when none
    const char *label;        // what a person reads ("L1"), nullptr when never shown by name
    const char *unit;         // "mA", "h", "%", "°C"
    const char *summaryKey;   // key of its summary line ("Level1"), nullptr when it has none
    int summaryRank;          // place of that line among the lines of its block
    // The default profile's texts; nullptr leaves the member as it is.
    const char *defaultMin;
    const char *defaultMax;
    const char *defaultValue;
    const char *defaultAddress;
    const char *defaultStep;
    // What clearing a slot for a catalogue model clears: what the catalogue provides again.
    enum Cleared { Nothing, Value, Bounds, BoundsAndStep } cleared;
};

// The groups in record order: the one list of them.
namespace parameter_rows {
using R = STRUCT_XML_FILE_VARIABLES;
using B = ParameterBlock;
using C = TagCoding;
using G = ParameterGroup;
constexpr DescriptorRef L(int level) { return DescriptorRef::cloLevel(level); }
// The degree sign as UTF-8, for the people's texts.
#define TAVEL_CELSIUS "\xC2\xB0" "C"

// clang-format off
inline constexpr auto kParameterGroups = std::to_array<ParameterGroup>({
    // name, member, catalogue element, block, coding, tag line, record column, label, unit, summary key, rank,
    // default min, max, value, address, step, cleared for a catalogue model
    {"current", &R::current, "Current", B::Current, C::Current, "Current", "nomCurrent", "Nominal current", "mA",
     "Nominal_current", 0, "350", "700", "350", "262", nullptr, G::Bounds},
    {"lifeTime", &R::lifeTime, "LifeTime", B::Clo, C::LifeTime, "LifeTime", "lifeTime", "Lifetime", "h",
     "LifeTime", 0, "0", "127500", "127500", "264", "500", G::BoundsAndStep},
    {"Level0", L(0), "Level0", B::Clo, C::CloLevel, "Level0", "CLO_L1", "L1", "%",
     "Level1", 1, "50", "100", "100", "265", nullptr, G::Bounds},
    {"Level1", L(1), "Level1", B::Clo, C::CloLevel, "Level1", "CLO_L2", "L2", "%",
     "Level2", 2, "50", "100", "100", "266", nullptr, G::Bounds},
    {"Level2", L(2), "Level2", B::Clo, C::CloLevel, "Level2", "CLO_L3", "L3", "%",
     "Level3", 3, "50", "100", "100", "267", nullptr, G::Bounds},
    {"Level3", L(3), "Level3", B::Clo, C::CloLevel, "Level3", "CLO_L4", "L4", "%",
     "Level4", 4, "50", "100", "100", "268", nullptr, G::Bounds},
    {"Level4", L(4), "Level4", B::Clo, C::CloLevel, "Level4", "CLO_L5", "L5", "%",
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
});
// clang-format on

#undef TAVEL_CELSIUS
} // namespace parameter_rows
using parameter_rows::kParameterGroups;

constexpr int kParameterGroupCount = int(kParameterGroups.size());

// The table's CLO level rows are the record's levels, each once and in order.
static_assert(
    [] {
        int next = 0;
        for (const ParameterGroup &g : kParameterGroups) {
            const bool isLevel = g.field.level() >= 0;
            if ((g.coding == TagCoding::CloLevel) != isLevel || (isLevel && g.field.level() != next++))
                return false;
        }
        return next == kCloLevelCount;
    }(),
    "one CloLevel row per CLO level of the profile record, in level order");

// ---- The catalogue's parameter elements ----------------------------------------------
// The element of each group as the catalogue binding's typed classes need it:
// X(element name, class stem, attribute kind RANGED or LIST), in table order. A
// preprocessor list because the binding makes a class and getters of each name
// (TXMLLevel0Type, Get_Level0).
#define TAVEL_PARAMETER_CATALOGUE_ELEMENTS(X)                                                    \
    X(Current, Current, RANGED)                                                                  \
    X(LifeTime, LifeTime, RANGED)                                                                \
    X(Level0, Level0, RANGED)                                                                    \
    X(Level1, Level1, RANGED)                                                                    \
    X(Level2, Level2, RANGED)                                                                    \
    X(Level3, Level3, RANGED)                                                                    \
    X(Level4, Level4, RANGED)                                                                    \
    X(LEDTime, LEDTime, RANGED)                                                                  \
    X(DCLevel, DCLevel, RANGED)                                                                  \
    X(Temp1, Temp1, RANGED)                                                                      \
    X(ExtNTCLevel1, ExtNTCLevel1, RANGED)                                                        \
    X(Temp2, Temp2, RANGED)                                                                      \
    X(ExtNTCLevel2, ExtNTCLevel2, RANGED)                                                        \
    X(CutOffTemp, CutOffTemp, RANGED)                                                            \
    X(NTCType, NTC, LIST)

namespace parameter_rows {
#define TAVEL_ELEMENT_NAME(elem, stem, kind) std::string_view(#elem),
inline constexpr std::string_view kCatalogueElementNames[] = {TAVEL_PARAMETER_CATALOGUE_ELEMENTS(TAVEL_ELEMENT_NAME)};
#undef TAVEL_ELEMENT_NAME
} // namespace parameter_rows

static_assert(
    [] {
        if (std::size(parameter_rows::kCatalogueElementNames) != kParameterGroups.size())
            return false;
        for (size_t i = 0; i < kParameterGroups.size(); ++i)
            if (parameter_rows::kCatalogueElementNames[i] != kParameterGroups[i].catalogueElement)
                return false;
        return true;
    }(),
    "the catalogue element list names each row's element, in table order");

// The same groups.
const std::array<ParameterGroup, kParameterGroupCount> &ParameterGroups();
// The group named `name`; nullptr when there is none.
const ParameterGroup *ParameterGroupNamed(const QString &name);
// The group of CLO level `level` (0 ... kCloLevelCount - 1; L1 is 0).
const ParameterGroup &CloLevelGroup(int level);

// The adjust-enable flag of a block (currentAdjustEnable, ...).
int32_t STRUCT_XML_FILE_VARIABLES::*AdjustEnableFlag(ParameterBlock block);

// The descriptor of CLO level `level` of a record; throws std::out_of_range for a
// level that is not there.
const ParameterDescriptor &CloLevel(const STRUCT_XML_FILE_VARIABLES &record, int level);
ParameterDescriptor &CloLevel(STRUCT_XML_FILE_VARIABLES &record, int level);

// The groups that have a record column, in column order: the parameter columns of the
// settings record (after its identity columns) and of the driver record (after its
// datetime, programmer and serial columns).
QList<const ParameterGroup *> RecordParameterGroups();
// Those columns' names ("nomCurrent", "lifeTime", "CLO_L1", ...).
QStringList RecordParameterColumns();
// Those columns' values of a profile (each group's present value), in the same order.
QStringList RecordParameterValues(const STRUCT_XML_FILE_VARIABLES &record);

// ---- Names for people ------------------------------------------------------------
// In every text the program writes of its own (verify results, the batch report) the
// CLO levels are L1 ... L5 as the editor shows them, the current is the "Nominal
// current", and each value carries its unit.

struct ParameterName {
    QString group;        // descriptor group of the profile record ("Level2")
    QString recordColumn; // column of the settings and driver records ("CLO_L3")
    QString label;        // what a person reads ("L3")
    QString unit;         // "mA", "h", "%", "°C"
};

// Every parameter with a record column, in the order the editor shows them.
const QList<ParameterName> &ParameterNames();

// The entry of a descriptor group ("current", "Level0") or of a record column
// ("nomCurrent", "CLO_L1"); nullptr for a name not in the table.
const ParameterName *ParameterByGroup(const QString &group);
const ParameterName *ParameterByRecordColumn(const QString &column);

// A value with its unit ("500 mA", "80 %", "40 °C"); the value alone when it is
// empty or not a number (an "OFF", a missing value).
QString ValueWithUnit(const QString &value, const QString &unit);
