#include "profile/profile_defaults.h"

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

    r.current.min = defaultCurrentMin;
    r.current.defaultValue = defaultCurrentDefaultValue;
    r.current.max = defaultCurrentMax;
    r.current.address = defaultCurrentAddress;

    r.lifeTime.min = defaultLifeTimeMin;
    r.lifeTime.max = defaultLifeTimeMax;
    r.lifeTime.defaultValue = defaultLifeTimeMax;
    r.lifeTime.address = defaultLifeAddress;
    r.lifeTime.step = defaultLifeTimeStep;

    ParameterDescriptor *levels[] = {&r.Level0, &r.Level1, &r.Level2, &r.Level3, &r.Level4};
    const QString addresses[] = {defaultLevel0Address, defaultLevel1Address, defaultLevel2Address,
                                 defaultLevel3Address, defaultLevel4Address};
    for (int i = 0; i < 5; ++i) {
        levels[i]->min = defaultCLOLevelMinValue;
        levels[i]->max = defaultCLOLevelMaxValue;
        levels[i]->defaultValue = defaultCLOLevelMaxValue;
        levels[i]->address = addresses[i];
    }
    r.LEDTime.defaultValue = defaultLEDTimeDefaultValue;
    r.LEDTime.address = defaultLEDTimeAddress;

    r.dcLevel.min = defaultDcLevelMin;
    r.dcLevel.max = defaultDcLevelMax;
    r.dcLevel.defaultValue = defaultDcLevelMax;
    r.dcLevel.address = defaultDcLevelAddress;

    r.ExtNTCLevel1.min = defaultExtNTCLevel1Min;
    r.ExtNTCLevel1.max = defaultExtNTCLevel1Max;
    r.ExtNTCLevel1.defaultValue = defaultExtNTCLevel1DefaultValue;
    r.ExtNTCLevel2.defaultValue = defaultExtNTCLevel2DefaultValue;
    r.ExtNTCLevel2.min = defaultExtNTCLevel2Min;
    r.ExtNTCLevel2.max = defaultExtNTCLevel2Max;
    r.Temp1.defaultValue = defaultTemp1DefaultValue;
    r.Temp1.min = defaultTemp1MinValue;
    r.Temp1.max = defaultTemp1MaxValue;
    r.Temp2.defaultValue = defaultTemp2DefaultValue;
    r.Temp2.min = defaultTemp2MinValue;
    r.Temp2.max = defaultTemp2MaxValue;
    r.CutOffTemp.defaultValue = defaultCutOffTempDefaultValue;
    r.CutOffTemp.min = defaultCutOffTempMinValue;
    r.CutOffTemp.max = defaultCutOffTempMaxValue;
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

    auto bounds = [&fill](ParameterDescriptor &d) {
        d.min = fill;
        d.max = fill;
        d.defaultValue = fill;
    };
    bounds(r.current);
    bounds(r.lifeTime);
    r.lifeTime.step = fill;
    for (ParameterDescriptor *d : {&r.Level0, &r.Level1, &r.Level2, &r.Level3, &r.Level4})
        bounds(*d);
    r.LEDTime.defaultValue = fill;
    for (ParameterDescriptor *d : {&r.dcLevel, &r.ExtNTCLevel1, &r.ExtNTCLevel2, &r.Temp1, &r.Temp2,
                                   &r.CutOffTemp})
        bounds(*d);
}
