// Fuzz target: the settings file reader and the programming data of what it read.
#include "fuzz_targets.h"

#include "profile/settings_file.h"
#include "programming/programming_data.h"

#include <QByteArray>
#include <cstdio>
#include <cstdlib>

int FuzzSettingsReader(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    SettingsIniFile ini{QString()};
    ini.LoadFromBytes(bytes);

    ProfileSlots profiles{};
    SettingsLoadOptions options;
    options.fallbackToDefaults = false;
    if (UploadSettingsFromIniFile(ini, profiles, options) == SettingsLoadResult::Loaded) {
        for (const auto &slot : profiles) {
            QStringList items;
            try {
                GenerateProgrammingData(slot, DcLevelActiveForSlot(slot), items);
            } catch (const std::exception &) {
                // conversion, division and range errors are reported to the user
            }
            for (const QString &item : items)
                if (item.size() != 6) {
                    std::fprintf(stderr, "item of %lld characters: %s\n", static_cast<long long>(item.size()),
                                 item.toUtf8().constData());
                    std::abort();
                }
        }
    }

    // Whatever was read is written back and read again unchanged, unless the
    // program refuses the text as one the file cannot hold.
    SettingsIniFile copy{QString()};
    for (int s = 0; s < kSlotCount; ++s)
        for (const QString &key : SettingsKeyOrder()) {
            const QString value = ini.ReadString(SettingsSectionName(s), key, QString());
            if (UnstorableTextReason(value).isEmpty())
                copy.WriteString(SettingsSectionName(s), key, value);
        }
    SettingsIniFile reread{QString()};
    reread.LoadFromBytes(copy.ToBytes());
    for (int s = 0; s < kSlotCount; ++s)
        for (const QString &key : SettingsKeyOrder()) {
            const QString written = copy.ReadString(SettingsSectionName(s), key, QStringLiteral("<absent>"));
            const QString read = reread.ReadString(SettingsSectionName(s), key, QStringLiteral("<absent>"));
            if (written != read) {
                std::fprintf(stderr, "%s: wrote '%s', read back '%s'\n", key.toUtf8().constData(),
                             written.toUtf8().constData(), read.toUtf8().constData());
                std::abort();
            }
        }
    return 0;
}
