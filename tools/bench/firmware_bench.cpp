// Plays a generated firmware script of the delivered shape against the simulated
// bootloader of tavel-devsim and prints how long the run took next to the lower
// bound the script itself sets: its waits plus its payload bytes at 19200 baud.
//
//   firmware_bench [--groups N] [--first-delay D] [--delay D] [--devsim PATH]
//   firmware_bench --write-script FILE [--groups N] ...   (writes the script only)

#include "common/dialogs.h"
#include "devsim_process.h"
#include "firmware/firmware_updater.h"
#include "firmware/script_generator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    FirmwareScriptShape shape; // 587 groups, 80 bytes, 24960 then 7
    QString devsim = QCoreApplication::applicationDirPath() + QStringLiteral("/tavel-devsim");
    QString writeTo;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool v = i + 1 < args.size();
        if (a == "--groups" && v)
            shape.groups = args[++i].toInt();
        else if (a == "--first-delay" && v)
            shape.firstDelay = args[++i].toInt();
        else if (a == "--delay" && v)
            shape.delay = args[++i].toInt();
        else if (a == "--devsim" && v)
            devsim = args[++i];
        else if (a == "--write-script" && v)
            writeTo = args[++i];
        else {
            std::fprintf(stderr, "usage: firmware_bench [--groups N] [--first-delay D] [--delay D] "
                                 "[--devsim PATH] [--write-script FILE]\n");
            return 2;
        }
    }
    if (shape.groups < 1 || shape.groups > 10000 || shape.firstDelay < 0 || shape.firstDelay > 65535
        || shape.delay < 0 || shape.delay > 65535) {
        std::fprintf(stderr, "firmware_bench: value out of range\n");
        return 2;
    }
    const QByteArray script = GenerateFirmwareScript(shape);
    if (!writeTo.isEmpty()) {
        QFile f(writeTo);
        if (!f.open(QIODevice::WriteOnly) || f.write(script) != script.size()) {
            std::fprintf(stderr, "firmware_bench: cannot write %s\n", qPrintable(writeTo));
            return 1;
        }
        std::printf("wrote %lld bytes (%d groups) to %s\n", qint64(script.size()), shape.groups, qPrintable(writeTo));
        return 0;
    }

    DevsimProcess sim({QStringLiteral("--bootloader")}, devsim);
    if (!sim.ready()) {
        std::fprintf(stderr, "firmware_bench: %s\n", qPrintable(sim.error()));
        return 1;
    }
    QString path = sim.bootloaderPty();

    int lines = 0;
    QString last;
    FirmwareUpdater::Hooks hooks;
    hooks.log = [&](const QString &l) {
        ++lines;
        last = l;
    };
    hooks.loadScript = [&] {
        FirmwareScriptLoad s;
        s.data = script;
        return s;
    };
    FirmwareUpdater updater(hooks);
    updater.PortButton(&path);
    if (!updater.SendMagicCode()) {
        std::fprintf(stderr, "firmware_bench: cannot send the magic code\n");
        return 1;
    }
    QThread::msleep(300); // the simulated programmer restarts into its bootloader
    QElapsedTimer run;
    run.start();
    const bool ok = updater.SendFirmware();
    const double ms = double(run.nsecsElapsed()) / 1e6;
    sim.stop();

    const FirmwareScriptCost cost = MeasureFirmwareScript(script);
    std::printf("script:       %lld bytes, %d groups of %d payload bytes, first delay %d, then %d\n",
                qint64(script.size()), shape.groups, shape.payloadBytes, shape.firstDelay, shape.delay);
    std::printf("result:       %s (%d log lines, last \"%s\")\n", ok ? "finished successfully" : "FAILED",
                lines, qPrintable(last));
    std::printf("run:          %.1f ms\n", ms);
    std::printf("lower bound:  %.1f ms (waits %lld ms + %lld payload bytes at 19200 baud %.1f ms)\n",
                cost.lowerBoundMs(), cost.waitMs, cost.payloadBytes, cost.lineMs());
    std::printf("run / bound:  %.3f\n", ms / cost.lowerBoundMs());
    std::printf("(the bound adds the line time to the waits; a write returns once the driver has\n"
                " the bytes, so on a real line as on the pseudo-terminal the transmission overlaps\n"
                " the following wait, and a run can end below it)\n");
    return ok ? 0 : 1;
}
