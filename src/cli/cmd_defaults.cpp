// tavel-nfc defaults -o FILE.set: the default profile in all three slots of a settings file.

#include "cli/cli_command.h"
#include "cli/cli_settings.h"
#include "profile/profile_defaults.h"

namespace {
const QString kUsage = QStringLiteral("usage: tavel-nfc defaults -o FILE.set");

int run(const QStringList &args)
{
    if (cliWantsHelp(args)) {
        cliOut(kUsage);
        cliOut(QStringLiteral("Writes the default profile into all three slots of FILE.set. An existing\n"
                              "file is updated in place: its other sections and keys are kept."));
        return kExitOk;
    }
    QString output;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if ((a == QLatin1String("-o") || a == QLatin1String("--output")) && i + 1 < args.size()
            && output.isEmpty()) {
            output = args[++i];
        } else if (a.startsWith(QLatin1String("--output=")) && output.isEmpty()) {
            output = a.mid(9);
        } else {
            return cliUsageError(QStringLiteral("tavel-nfc defaults: unexpected argument '%1'").arg(a), kUsage);
        }
    }
    if (output.isEmpty())
        return cliUsageError(QStringLiteral("tavel-nfc defaults: no output file given"), kUsage);

    ProfileSlots profiles{};
    for (auto &p : profiles)
        ApplyDefaultProfile(p);
    CliDialogs messagesToStderr;
    SettingsIniFile ini(output);
    return DownloadSettingsToIniFile(ini, profiles) ? kExitOk : kExitFailure;
}

CliCommandRegistrar reg({"defaults", "write the default profile into a settings file", &run});
} // namespace
