// tavel-nfc encode FILE.set [--slot N]: the programming data text of one slot.

#include "cli/cli_command.h"
#include "cli/cli_settings.h"
#include "programming/programming_data.h"

namespace {
const QString kUsage = QStringLiteral("usage: tavel-nfc encode FILE.set [--slot N]");

int run(const QStringList &args)
{
    if (cliWantsHelp(args)) {
        cliOut(kUsage);
        cliOut(QStringLiteral("Prints the programming data of slot N (1-3, default 1) as one line, the\n"
                              "items joined with ';'. DC counts as off when dcLevel.defaultValue is 255."));
        return kExitOk;
    }
    QString file, error;
    int slot = 1;
    if (!parseFileAndSlot(args, file, slot, error))
        return cliUsageError(QStringLiteral("tavel-nfc encode: ") + error, kUsage);
    ProfileSlots profiles{};
    if (const int rc = loadSettingsForCli(file, profiles); rc != kExitOk)
        return rc;
    const STRUCT_XML_FILE_VARIABLES &profile = profiles[slot - 1];
    QStringList items;
    if (const int rc = programmingDataForCli(profile, items); rc != kExitOk)
        return rc;
    cliOut(ProgrammingDataText(items));
    return kExitOk;
}

CliCommandRegistrar reg({"encode", "print the programming data of a slot of a settings file", &run});
} // namespace
