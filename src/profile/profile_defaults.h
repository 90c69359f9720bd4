#pragma once
// The default profile and the clearing of a slot.

#include "profile/profile_record.h"

#include <QString>

inline const QString defaultProgrammer_Nfc_FW = QStringLiteral("0.0");
inline const QString defaultEnOceanHandHeldID = QStringLiteral("0x12345678");
inline const QString defaultTeditGTIN = QStringLiteral("123456789012");
inline const QString defaultEditFW = QStringLiteral("0000");
inline const QString defaultEditSerial = QStringLiteral("0000000000000000");
inline const QString defaultEditHW = QStringLiteral("0000");
inline const QString defaultProgrammer = QStringLiteral("nfc");
inline const QString defaultMemoData = QStringLiteral("00E62C;00E701");
inline const QString defaultFamilyName = QStringLiteral("DefaultFamily");
inline const QString defaultType = QStringLiteral("DefaultType");
inline const QString defaultRefNumber = QStringLiteral("123456");
inline const QString defaultCurrentMin = QStringLiteral("350");
inline const QString defaultCurrentDefaultValue = QStringLiteral("350");
inline const QString defaultCurrentMax = QStringLiteral("700");
inline const QString defaultCurrentAddress = QStringLiteral("262");
inline const QString defaultLifeTimeMin = QStringLiteral("0");
inline const QString defaultLifeTimeMax = QStringLiteral("127500");
inline const QString defaultLifeAddress = QStringLiteral("264");
inline const QString defaultLifeTimeStep = QStringLiteral("500");
inline const QString defaultCLOLevelMinValue = QStringLiteral("50");
inline const QString defaultCLOLevelMaxValue = QStringLiteral("100");
inline const QString defaultLevel0Address = QStringLiteral("265");
inline const QString defaultLevel1Address = QStringLiteral("266");
inline const QString defaultLevel2Address = QStringLiteral("267");
inline const QString defaultLevel3Address = QStringLiteral("268");
inline const QString defaultLevel4Address = QStringLiteral("269");
inline const QString defaultLEDTimeDefaultValue = QStringLiteral("4294967295");
inline const QString defaultLEDTimeAddress = QStringLiteral("258");
inline const QString defaultDcLevelMin = QStringLiteral("50");
inline const QString defaultDcLevelMax = QStringLiteral("100");
inline const QString defaultDcLevelAddress = QStringLiteral("270");
inline const QString defaultExtNTCLevel1Min = QStringLiteral("50");
inline const QString defaultExtNTCLevel1Max = QStringLiteral("100");
inline const QString defaultExtNTCLevel1DefaultValue = QStringLiteral("100");
inline const QString defaultExtNTCLevel2DefaultValue = QStringLiteral("20");
inline const QString defaultExtNTCLevel2Min = QStringLiteral("0");
inline const QString defaultExtNTCLevel2Max = QStringLiteral("100");
inline const QString defaultTemp1DefaultValue = QStringLiteral("50");
inline const QString defaultTemp1MinValue = QStringLiteral("0");
inline const QString defaultTemp1MaxValue = QStringLiteral("120");
inline const QString defaultTemp2DefaultValue = QStringLiteral("80");
inline const QString defaultTemp2MinValue = QStringLiteral("0");
inline const QString defaultTemp2MaxValue = QStringLiteral("120");
inline const QString defaultCutOffTempDefaultValue = QStringLiteral("90");
inline const QString defaultCutOffTempMinValue = QStringLiteral("0");
inline const QString defaultCutOffTempMaxValue = QStringLiteral("120");

// The DC-off marker: dcLevel.defaultValue holds it when DC emergency operation is off.
inline const QString defaultDcLevelOff = QStringLiteral("255");

// Writes the default profile's values into one record. Fields the default profile
// does not set keep their texts.
void ApplyDefaultProfile(STRUCT_XML_FILE_VARIABLES &record);

// The data side of loading the defaults: the default profile into all three slots.
// The main window adds its control updates around this.
void LoadDefaultProfileIntoSlots();

// Clears slot `slotIndex` (zero-based) before a driver model is loaded into it:
// flags to 0, the identity texts and the bounds and values the catalogue provides
// to `fill`; tag and every other descriptor member stay.
void DeleteProfile(int slotIndex, const QString &fill);
