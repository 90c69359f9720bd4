// tavel-nfc summary FILE.set [--slot N]: the summary text of one slot.

#include "cli/cli_command.h"
#include "cli/cli_settings.h"
#include "programming/summary_report.h"

namespace {
const QString kUsage = QStringLiteral("usage: tavel-nfc summary FILE.set [--slot N]");

int run(const QStringList &args)
{
    if (cliWantsHelp(args)) {
        cliOut(kUsage);
        cliOut(QStringLiteral("Prints the summary of slot N (1-3, default 1) with today's date and time."));
        return kExitOk;
    }
    QString file, error;
    int slot = 1;
    if (!parseFileAndSlot(args, file, slot, error))
        return cliUsageError(QStringLiteral("tavel-nfc summary: ") + error, kUsage);
    ProfileSlots profiles{};
    if (const int rc = loadSettingsForCli(file, profiles); rc != kExitOk)
        return rc;
    for (const QString &line : WriteSumarryInformation(slot, profiles[slot - 1]))
        cliOut(line);
    return kExitOk;
}

CliCommandRegistrar reg({"summary", "print the summary of a slot of a settings file", &run});
} // namespace
