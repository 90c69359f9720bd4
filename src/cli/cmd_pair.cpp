// tavel-nfc pair --port P [--timeout MS] [-v]: pairs with a handheld programmer.

#include "cli/cli_command.h"
#include "cli/cli_radio.h"

namespace {
const QString kUsage = QStringLiteral("usage: tavel-nfc pair --port PATH [--timeout MS] [-v]");

int run(const QStringList &args)
{
    if (cliWantsHelp(args)) {
        cliOut(kUsage);
        cliOut(QStringLiteral("Opens the stick's port, asks the stick for its version, sends the pairing\n"
                              "request and prints the programmer's ID and firmware version. Exit status 1\n"
                              "when nothing answers within the time-out (default 10000 ms).\n"
                              "-v writes the radio log to standard error."));
        return kExitOk;
    }
    RadioCliOptions options;
    QString error;
    if (!parseRadioOptions(args, options, error, false) || !options.rest.isEmpty())
        return cliUsageError(
            QStringLiteral("tavel-nfc pair: ")
                + (error.isEmpty() ? QStringLiteral("unexpected argument '%1'").arg(options.rest.first()) : error),
            kUsage);
    if (options.ports.isEmpty())
        return cliUsageError(QStringLiteral("tavel-nfc pair: no port given"), kUsage);
    CliRadioSession session(options);
    if (!session.openStick(QStringLiteral("tavel-nfc pair")))
        return kExitFailure;
    QString id, version;
    QObject::connect(&session.link, &RadioLink::pairingAccepted, &session.link,
                     [&](const QString &i, const QString &v) { id = i, version = v; });
    session.link.SendPairingRequest();
    if (!session.waitFor([&] { return !id.isEmpty() || !session.link.isPortOpen(); }, options.timeoutMs)
        || id.isEmpty()) {
        cliError(QStringLiteral("tavel-nfc pair: no pairing answer from the programmer within %1 ms").arg(options.timeoutMs));
        return kExitFailure;
    }
    cliOut(QStringLiteral("Programmer ID: ") + id);
    cliOut(QStringLiteral("Firmware: ") + version);
    if (session.link.programmerFwMajor < 2 || (session.link.programmerFwMajor == 2 && session.link.programmerFwMinor < 10))
        cliError(QStringLiteral("SW update for handheld device necessary.\nMin version is 2.10"));
    return kExitOk;
}

CliCommandRegistrar reg({"pair", "pair with a handheld programmer through the stick", &run});
} // namespace
