// tavel-nfc new --model INDEX [--catalogue FILE.xml] -o FILE.set [--slot N]: a settings
// file whose slot N holds a catalogue model, loaded as the "Driver select" window
// loads it (the slot is cleared with empty text, then every value is copied as text
// and the four enable and availability flags are set).

#include "cli/cli_command.h"
#include "cli/cli_settings.h"
#include "common/convert.h"
#include "profile/catalogue.h"
#include "profile/profile_defaults.h"

#include <QFileInfo>

namespace {
const QString kUsage =
    QStringLiteral("usage: tavel-nfc new --model INDEX [--catalogue FILE.xml] -o FILE.set [--slot N]");

int usageError(const QString &reason)
{
    return cliUsageError(QStringLiteral("tavel-nfc new: %1").arg(reason), kUsage);
}

int run(const QStringList &args)
{
    if (cliWantsHelp(args)) {
        cliOut(kUsage);
        cliOut(QStringLiteral(
            "Loads model INDEX of the driver catalogue (default: nfc_model.xml beside the program,\n"
            "else the installed one in /usr/share/tavel-nfc/;\n"
            "'tavel-nfc catalogue' lists the indexes) into slot N (1-3, default 1) of FILE.set.\n"
            "The other slots keep what FILE.set holds, or get the default profile when the file\n"
            "does not exist yet. The pairing fields of the slot stay empty until a programmer is paired."));
        return kExitOk;
    }
    QString catalogue, output, modelText, slotText;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        auto value = [&](QString &target) {
            if (i + 1 >= args.size() || !target.isEmpty())
                return false;
            target = args[++i];
            return true;
        };
        bool ok = false;
        if (a == QLatin1String("--model"))
            ok = value(modelText);
        else if (a == QLatin1String("--catalogue"))
            ok = value(catalogue);
        else if (a == QLatin1String("-o") || a == QLatin1String("--output"))
            ok = value(output);
        else if (a == QLatin1String("--slot"))
            ok = value(slotText);
        if (!ok)
            return usageError(QStringLiteral("unexpected argument '%1'").arg(a));
    }
    if (modelText.isEmpty())
        return usageError(QStringLiteral("no model index given (--model INDEX)"));
    if (output.isEmpty())
        return usageError(QStringLiteral("no output file given (-o FILE.set)"));
    int index = -1;
    if (!TryStrToInt(modelText, index) || index < 0)
        return usageError(QStringLiteral("the model index must be 0 or more, not '%1'").arg(modelText));
    int slot = 1;
    if (!slotText.isEmpty() && (!TryStrToInt(slotText, slot) || slot < 1 || slot > kSlotCount))
        return usageError(QStringLiteral("the slot must be 1, 2 or 3, not '%1'").arg(slotText));
    if (catalogue.isEmpty())
        catalogue = DefaultCataloguePath();

    if (!QFileInfo(catalogue).isFile()) {
        cliError(QStringLiteral("tavel-nfc new: '%1' does not exist").arg(catalogue));
        return kExitFailure;
    }
    std::shared_ptr<IXMLModelSelectionType> root;
    try {
        root = LoadModelSelection(catalogue);
    } catch (const ECatalogueError &e) {
        cliError(QStringLiteral("tavel-nfc new: %1: %2").arg(kCatalogueFormatMessage, e.message()));
        return kExitFailure;
    }

    // The three slots: what the file holds, or the default profile.
    ProfileSlots profiles{};
    if (QFileInfo::exists(output)) {
        if (loadSettingsForCli(output, profiles) != kExitOk) {
            cliError(QStringLiteral("tavel-nfc new: '%1' is left unchanged").arg(output));
            return kExitFailure;
        }
    } else {
        for (auto &p : profiles)
            ApplyDefaultProfile(p);
    }
    settingsVariablesField = profiles;

    const int slotIndex = slot - 1;
    DeleteProfile(slotIndex, QString());
    try {
        CopyModelToProfile(*root, index, settingsVariablesField[slotIndex]);
    } catch (const std::exception &e) {
        cliError(QStringLiteral("tavel-nfc new: %1: %2").arg(kCatalogueLoadModelMessage, QString::fromUtf8(e.what())));
        return kExitFailure;
    }

    CliDialogs messagesToStderr;
    SettingsIniFile ini(output);
    if (!DownloadSettingsToIniFile(ini))
        return kExitFailure;
    const auto &s = settingsVariablesField[slotIndex];
    cliOut(QStringLiteral("slot %1: %2 %3 (%4) written to %5").arg(slot).arg(s.ref_number, s.familyName, s.type, output));
    return kExitOk;
}

CliCommandRegistrar reg({"new", "a settings file with a catalogue model in one slot", &run});
} // namespace
