#pragma once
// The default profile and default settings files, as many tests start from them.

#include "profile/profile_defaults.h"
#include "profile/settings_file.h"

#include <functional>

inline STRUCT_XML_FILE_VARIABLES DefaultProfile()
{
    STRUCT_XML_FILE_VARIABLES r;
    ApplyDefaultProfile(r);
    return r;
}

// The default profile in all three slots.
inline ProfileSlots DefaultSlots()
{
    ProfileSlots p{};
    for (auto &r : p)
        ApplyDefaultProfile(r);
    return p;
}

// Writes the three default profiles to `path`, then changes the file through `edit`.
// Returns whether the profiles were written.
inline bool WriteDefaultSettingsFile(const QString &path, const std::function<void(SettingsIniFile &)> &edit = {})
{
    SettingsIniFile ini(path);
    const bool written = DownloadSettingsToIniFile(ini, DefaultSlots());
    if (edit) {
        edit(ini);
        ini.UpdateFile();
    }
    return written;
}

// The identity of the driver the tests program and read back: GTIN 001122334455,
// FW 0102, HW 0A0B, serial field zero, a current of two bytes.
inline void ApplyPairedDriverIdentity(STRUCT_XML_FILE_VARIABLES &p)
{
    p.editGTIN = QStringLiteral("001122334455");
    p.editFW = QStringLiteral("0102");
    p.editSerial = QStringLiteral("0000000000000000");
    p.editHW = QStringLiteral("0A0B");
    p.current.size = QStringLiteral("2");
}

// The default profile paired with the simulator's programmer (ID 0x01A2B3C4,
// firmware 2.10) for that driver, with a current of 500 mA.
inline STRUCT_XML_FILE_VARIABLES PairedDriverProfile()
{
    STRUCT_XML_FILE_VARIABLES p = DefaultProfile();
    p.enOcean_HandHeldID = QStringLiteral("0x01A2B3C4");
    p.programmer_Nfc_FW = QStringLiteral("2.10");
    ApplyPairedDriverIdentity(p);
    p.current.defaultValue = QStringLiteral("500");
    return p;
}

// The first slot's profile made the settings of one programmer: its ID, a current
// (mA) and a family name, as records tests tell transfers apart.
inline STRUCT_XML_FILE_VARIABLES ProgrammerSettings(const QString &programmer, const QString &current,
                                                    const QString &family = QStringLiteral("LED driver"))
{
    STRUCT_XML_FILE_VARIABLES p = settingsVariablesField[0];
    p.enOcean_HandHeldID = programmer;
    p.current.defaultValue = current;
    p.familyName = family;
    return p;
}

// Writes a settings file whose first slot is paired with the simulator's
// programmer (PairedDriverProfile), the other two the default profile.
inline bool WritePairedSettingsFile(const QString &path)
{
    ProfileSlots profiles = DefaultSlots();
    profiles[0] = PairedDriverProfile();
    SettingsIniFile ini(path);
    return DownloadSettingsToIniFile(ini, profiles);
}
