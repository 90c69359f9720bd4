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
