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
// The parameters' default texts are in the parameter table.

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
