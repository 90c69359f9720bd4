#include "profile/profile_defaults.h"

#include "profile/parameter_table.h"

#include <stdexcept>

void ApplyDefaultProfile(STRUCT_XML_FILE_VARIABLES &r)
{
    r.currentAvailable = 1;
    r.cloAvailable = 1;
    r.dclevelAvailable = 1;
    r.ExtNTCAvailable = 0;
    r.currentAdjustEnable = 1;
    r.cloAdjustEnable = 1;
    r.dclevelAdjustEnable = 1;
    r.ExtNTCAdjustEnable = 0;

    r.programmer_Nfc_FW = defaultProgrammer_Nfc_FW;
    r.enOcean_HandHeldID = defaultEnOceanHandHeldID;
    r.editGTIN = defaultTeditGTIN;
    r.editFW = defaultEditFW;
    r.editSerial = defaultEditSerial;
    r.editHW = defaultEditHW;
    r.programmer = defaultProgrammer;
    r.memoData = defaultMemoData;
    r.familyName = defaultFamilyName;
    r.type = defaultType;
    r.ref_number = defaultRefNumber;

    for (const ParameterGroup &g : ParameterGroups()) {
        ParameterDescriptor &d = g.field.of(r);
        auto set = [](QString &member, const char *text) {
            if (text)
                member = QString::fromLatin1(text);
        };
        set(d.min, g.defaultMin);
        set(d.max, g.defaultMax);
        set(d.defaultValue, g.defaultValue);
        set(d.address, g.defaultAddress);
        set(d.step, g.defaultStep);
    }
}

void LoadDefaultProfileIntoSlots()
{
    for (auto &slot : settingsVariablesField)
        ApplyDefaultProfile(slot);
}

void DeleteProfile(int slotIndex, const QString &fill)
{
    if (slotIndex < 0 || slotIndex >= kSlotCount)
        throw std::out_of_range("slot index must be 0, 1 or 2");
    STRUCT_XML_FILE_VARIABLES &r = settingsVariablesField[slotIndex];
    r.currentAvailable = r.cloAvailable = r.dclevelAvailable = r.ExtNTCAvailable = 0;
    r.currentAdjustEnable = r.cloAdjustEnable = r.dclevelAdjustEnable = r.ExtNTCAdjustEnable = 0;

    for (const auto &f : kIdentityFields)
        r.*(f.field) = fill;

    for (const ParameterGroup &g : ParameterGroups()) {
        ParameterDescriptor &d = g.field.of(r);
        switch (g.cleared) {
        case ParameterGroup::BoundsAndStep:
            d.step = fill;
            [[fallthrough]];
        case ParameterGroup::Bounds:
            d.min = fill;
            d.max = fill;
            [[fallthrough]];
        case ParameterGroup::Value:
            d.defaultValue = fill;
            break;
        case ParameterGroup::Nothing:
            break;
        }
    }
}
