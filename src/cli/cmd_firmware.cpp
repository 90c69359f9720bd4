// tavel-nfc firmware --port P --script FILE [--magic-code]: plays a firmware script
// to the handheld programmer's bootloader with the updater's own steps and log.

#include "cli/cli_command.h"
#include "cli/cli_settings.h"
#include "cli/terminal_progress.h"
#include "firmware/firmware_script.h"
#include "firmware/firmware_updater.h"

#include <QThread>

namespace {
const QString kUsage = QStringLiteral(
    "usage: tavel-nfc firmware --port P --script FILE [--magic-code] [--bootloader-wait MS]");

int run(const QStringList &args)
{
    if (cliWantsHelp(args)) {
        cliOut(kUsage);
        cliOut(QStringLiteral(
            "Opens the programmer's port P (COMn, or a device path), plays the firmware script\n"
            "FILE to its bootloader and prints every step. With --magic-code the magic code is\n"
            "sent first and the script follows after MS milliseconds (default 1000), the time\n"
            "the programmer needs to restart into its bootloader. Exits 0 only when the script\n"
            "ran to its end without an error."));
        return kExitOk;
    }
    QString port, script;
    bool magic = false;
    int waitMs = 1000;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool hasValue = i + 1 < args.size();
        bool ok = true;
        if (a == QLatin1String("--port") && hasValue && port.isEmpty()) {
            port = args[++i];
        } else if (a == QLatin1String("--script") && hasValue && script.isEmpty()) {
            script = args[++i];
        } else if (a == QLatin1String("--magic-code")) {
            magic = true;
        } else if (a == QLatin1String("--bootloader-wait") && hasValue) {
            waitMs = args[++i].toInt(&ok);
            if (!ok || waitMs < 0) {
                cliError(QStringLiteral("tavel-nfc firmware: bad --bootloader-wait '%1'").arg(args[i]));
                return kExitUsage;
            }
        } else {
            return cliUsageError(QStringLiteral("tavel-nfc firmware: unexpected argument '%1'").arg(a), kUsage);
        }
    }
    if (port.isEmpty() || script.isEmpty())
        return cliUsageError(QStringLiteral("tavel-nfc firmware: --port and --script are required"), kUsage);

    CliDialogs messagesToStderr;
    // The script is read before anything is sent: without it, nothing goes out.
    const FirmwareScriptLoad loaded = LoadFirmwareScriptFile(script);
    if (!loaded.error.isEmpty()) {
        cliError(loaded.error + QStringLiteral(": ") + script);
        return kExitFailure;
    }
    // A script that would stop part-way is refused before the magic code, which
    // would otherwise leave the programmer waiting in its bootloader.
    if (const QString flaw = CheckFirmwareScript(loaded.data); !flaw.isEmpty()) {
        cliError(QStringLiteral("tavel-nfc firmware: %1: %2; nothing was sent").arg(script, flaw));
        return kExitFailure;
    }

    bool started = false;
    FirmwareUpdater::Hooks hooks;
    TerminalProgress progress(QStringLiteral("firmware"));
    hooks.progress = [&](int percent) { progress.update(percent, 100); };
    hooks.log = [&](const QString &line) {
        if (line.startsWith(QLatin1String("Filesize: ")))
            started = true;
        cliOut(line);
    };
    hooks.loadScript = [&] { return loaded; };
    FirmwareUpdater updater(hooks);

    updater.PortButton(&port);
    if (!updater.portOpen())
        return kExitFailure; // the reason went to standard error
    if (magic) {
        if (!updater.SendMagicCode())
            return kExitFailure;
        QThread::msleep(ulong(waitMs));
    }
    if (updater.SendFirmware())
        return kExitOk;
    if (!started)
        cliError(QStringLiteral("tavel-nfc firmware: cannot reopen %1").arg(port));
    return kExitFailure;
}

CliCommandRegistrar reg({"firmware", "play a firmware script to the handheld programmer's bootloader", &run});
} // namespace
