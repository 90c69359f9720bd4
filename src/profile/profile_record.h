#pragma once
// The profile record: one complete configuration of one LED driver model, and the
// three process-wide profile slots with the active slot number.

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

// One adjustable parameter. Every member is decimal text; defaultValue is the
// present value of the parameter (the one programmed and shown).
struct ParameterDescriptor {
    QString list;
    QString min;
    QString max;
    QString defaultValue;
    QString unit;
    QString address;
    QString size;
    QString step;
    QString factor;
    QString offset;
    QString convform;

    bool operator==(const ParameterDescriptor &) const = default;
};

// The number of CLO levels (L1 ... L5 for people, Level0 ... Level4 in files and catalogues).
constexpr int kCloLevelCount = 5;

struct STRUCT_XML_FILE_VARIABLES {
    int32_t tag = 0;
    int32_t currentAvailable = 0;
    int32_t cloAvailable = 0;
    int32_t dclevelAvailable = 0;
    int32_t ExtNTCAvailable = 0;
    int32_t currentAdjustEnable = 0;
    int32_t cloAdjustEnable = 0;
    int32_t dclevelAdjustEnable = 0;
    int32_t ExtNTCAdjustEnable = 0;

    QString enOcean_HandHeldID;
    QString programmer_Nfc_FW;
    QString familyName;
    QString type;
    QString ref_number;
    QString editGTIN;
    QString programmer;
    QString editFW;
    QString editHW;
    QString editSerial;
    QString memoData;

    ParameterDescriptor current;
    ParameterDescriptor lifeTime;
    std::array<ParameterDescriptor, kCloLevelCount> Level; // Level[0] is L1
    ParameterDescriptor LEDTime;
    ParameterDescriptor dcLevel;
    ParameterDescriptor Temp1;
    ParameterDescriptor ExtNTCLevel1;
    ParameterDescriptor Temp2;
    ParameterDescriptor ExtNTCLevel2;
    ParameterDescriptor CutOffTemp;
    ParameterDescriptor NTCType;

    bool operator==(const STRUCT_XML_FILE_VARIABLES &) const = default;
};

// ---- The tables that name every field once --------------------------------
// Record order, key names and settings-file order all come from these tables.

struct DescriptorMember {
    const char *name; // "list", "min", ...
    QString ParameterDescriptor::*field;
};
// The eleven members in record order.
extern const std::array<DescriptorMember, 11> kDescriptorMembers;

// One descriptor group of a record: a named member, or one CLO level of the level
// array (a member pointer cannot point into an array element).
class DescriptorRef {
public:
    constexpr DescriptorRef(ParameterDescriptor STRUCT_XML_FILE_VARIABLES::*member) : member_(member) {}
    static constexpr DescriptorRef cloLevel(int level) { return DescriptorRef(level); }

    ParameterDescriptor &of(STRUCT_XML_FILE_VARIABLES &record) const
    {
        return member_ ? record.*member_ : record.Level[size_t(level_)];
    }
    const ParameterDescriptor &of(const STRUCT_XML_FILE_VARIABLES &record) const
    {
        return member_ ? record.*member_ : record.Level[size_t(level_)];
    }
    // The CLO level reached (0 is L1); -1 for a named member.
    constexpr int level() const { return level_; }

    constexpr bool operator==(const DescriptorRef &) const = default;

private:
    constexpr explicit DescriptorRef(int level) : level_(level) {}

    ParameterDescriptor STRUCT_XML_FILE_VARIABLES::*member_ = nullptr;
    int level_ = -1;
};

struct IntegerField {
    const char *name;
    int32_t STRUCT_XML_FILE_VARIABLES::*field;
};
// The nine integers in record order (tag, four availability flags, four enable flags).
extern const std::array<IntegerField, 9> kIntegerFields;

struct TextField {
    const char *name;
    QString STRUCT_XML_FILE_VARIABLES::*field;
};
// The eleven identity texts in record order.
extern const std::array<TextField, 11> kIdentityFields;

// ---- Process-wide slots ------------------------------------------------------

constexpr int kSlotCount = 3;
extern std::array<STRUCT_XML_FILE_VARIABLES, kSlotCount> settingsVariablesField;

// The active slot, one-based (1-3).
int activeSlot();
void setActiveSlot(int slot);
// The active slot's record.
STRUCT_XML_FILE_VARIABLES &activeProfile();
