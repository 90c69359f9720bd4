#pragma once
// The profile's fifteen parameter groups, each described once: its group name (the
// settings-file key), the enable/availability flags it belongs to, how it goes into
// the tag's bytes, the name of its decoded tag line, its record column, its label and
// unit for people, its summary line, its catalogue element and the default profile's texts. Everything that
// walks the parameters (defaults, settings file, encoder, tag decoding, verify,
// summary, reports, editors) reads this table; a new group or a sixth CLO level is a
// new row here and a new member of the profile record.
//
// The CLO levels keep their record members Level0 ... Level4 (files, catalogues and
// tests name them); CloLevel() reaches them by number.

#include "profile/profile_record.h"

#include <QList>
#include <QString>
#include <array>

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
    ParameterDescriptor STRUCT_XML_FILE_VARIABLES::*field;
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

constexpr int kParameterGroupCount = 15;
constexpr int kCloLevelCount = 5;

// The fifteen groups in record order.
const std::array<ParameterGroup, kParameterGroupCount> &ParameterGroups();
// The group named `name`; nullptr when there is none.
const ParameterGroup *ParameterGroupNamed(const QString &name);
// The group of CLO level `level` (0 ... kCloLevelCount - 1; L1 is 0).
const ParameterGroup &CloLevelGroup(int level);

// The adjust-enable flag of a block (currentAdjustEnable, ...).
int32_t STRUCT_XML_FILE_VARIABLES::*AdjustEnableFlag(ParameterBlock block);

// The descriptor of CLO level `level` of a record.
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
