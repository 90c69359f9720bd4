// tavel-nfc ports [--port PATH]: the ports where a stick was found.

#include "cli/cli_command.h"
#include "cli/cli_settings.h"
#include "serial/port_discovery.h"

namespace {
const QString kUsage = QStringLiteral("usage: tavel-nfc ports [--port PATH ...]");

int run(const QStringList &argsIn)
{
    if (cliWantsHelp(argsIn)) {
        cliOut(kUsage);
        cliOut(QStringLiteral("Lists the serial ports of EnOcean USB300 sticks (FTDI vendor 0403, product 6001)\n"
                              "in the order the system reports them, then the ports given with --port; the\n"
                              "last one is the one the radio link window selects. Exit status 1 when none is found."));
        return kExitOk;
    }
    QStringList args = argsIn;
    setExtraSerialPorts(TakePortArguments(args));
    if (!args.isEmpty())
        return cliUsageError(QStringLiteral("tavel-nfc ports: unexpected argument '%1'").arg(args.first()), kUsage);
    const QStringList ports = DiscoverStickPorts();
    for (const QString &p : ports)
        cliOut(p);
    if (ports.isEmpty()) {
        cliError(QStringLiteral("tavel-nfc ports: no stick found"));
        return kExitFailure;
    }
    return kExitOk;
}

CliCommandRegistrar reg({"ports", "list the serial ports of EnOcean sticks", &run});
} // namespace
