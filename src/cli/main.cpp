#include "cli/cli_command.h"
#include "cli/terminal_progress.h"
#include "common/program_version.h"
#include "common/user_manual.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <memory>
#include <cstdio>
#include <vector>

namespace {
std::vector<CliCommand> &commands()
{
    static std::vector<CliCommand> list;
    return list;
}

void printUsage(FILE *to)
{
    std::fprintf(to, "usage: tavel-nfc <command> [options]   (tavel-nfc <command> --help; tavel-nfc --version)\n\ncommands:\n");
    for (const auto &c : commands())
        std::fprintf(to, "  %-10s %s\n", c.name, c.summary);
    std::fprintf(to, "\nexit status:\n"
                     "  0  done\n"
                     "  1  failed (the reason is on standard error)\n"
                     "  2  usage error\n"
                     "  3  done, but records are kept pending (send, read; see \"tavel-nfc records pending\")\n");
    std::fprintf(to, "\nuser manual (HTML): %s\n", UserManualPlace().toUtf8().constData());
}
} // namespace

CliCommandRegistrar::CliCommandRegistrar(const CliCommand &command) { commands().push_back(command); }

void cliError(const QString &line)
{
    InterruptTerminalProgress();
    std::fprintf(stderr, "%s\n", line.toUtf8().constData());
    std::fflush(stderr);
}

void cliOut(const QString &line)
{
    InterruptTerminalProgress();
    std::fprintf(stdout, "%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

int cliUsageError(const QString &reason, const QString &usage)
{
    cliError(reason);
    cliError(usage);
    return kExitUsage;
}

int main(int argc, char **argv)
{
    if (PrintVersionIfAsked(argc, argv, "tavel-nfc"))
        return kExitOk;
    std::unique_ptr<QCoreApplication> app;
    {
        // A command that draws text needs fonts, that is a GUI application; the
        // command line never shows a window, so it runs on the offscreen platform.
        QStringList raw;
        for (int i = 2; i < argc; ++i)
            raw << QString::fromLocal8Bit(argv[i]);
        bool gui = false;
        for (const auto &c : commands())
            if (argc > 1 && qstrcmp(argv[1], c.name) == 0 && c.needsGui && c.needsGui(raw))
                gui = true;
        if (gui) {
            if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            app = std::make_unique<QGuiApplication>(argc, argv);
        } else {
            app = std::make_unique<QCoreApplication>(argc, argv);
        }
    }
    QCoreApplication::setApplicationName(QStringLiteral("tavel-nfc"));
    QStringList args = app->arguments().mid(1);
    if (args.isEmpty()) {
        printUsage(stderr);
        return kExitUsage;
    }
    const QString name = args.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help")) {
        printUsage(stdout);
        return kExitOk;
    }
    for (const auto &c : commands())
        if (name == QLatin1String(c.name))
            return c.run(args);
    cliError(QStringLiteral("tavel-nfc: unknown command '%1'").arg(name));
    printUsage(stderr);
    return kExitUsage;
}
