// Full runs of short generated scripts against the simulated bootloader of
// tavel-devsim, over a pseudo-terminal with the real serial port class.

#include "cli_runner.h"
#include "devsim_process.h"
#include "firmware/firmware_updater.h"
#include "firmware/script_generator.h"
#include "scripted_dialogs.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifndef Q_OS_WIN
namespace {
// tavel-devsim with its bootloader, for the lifetime of the object.
struct SimulatedBootloader : DevsimProcess {
    explicit SimulatedBootloader(const QStringList &extra)
        : DevsimProcess(QStringList{"--bootloader", "--bootloader-restart-ms", "50"} + extra)
    {
    }
};

struct Outcome {
    bool finished = false;
    QStringList log;
};

// Opens the port, sends the magic code, confirms when the programmer has restarted,
// and plays a three-group script with short waits.
Outcome runUpdate(SimulatedBootloader &sim, bool withMagicCode = true)
{
    ScriptedDialogs dialogs;
    FirmwareScriptShape shape;
    shape.groups = 3;
    shape.firstDelay = 0;
    shape.delay = 7;
    FirmwareScriptLoad script;
    script.data = GenerateFirmwareScript(shape);
    Outcome out;
    FirmwareUpdater::Hooks hooks;
    hooks.log = [&](const QString &l) { out.log << l; };
    hooks.loadScript = [&] { return script; };
    // Confirmed once the simulated programmer has restarted into its bootloader.
    hooks.confirmBootloader = [&sim] { return sim.waitForOutput(QStringLiteral("bootloader waiting for data")); };
    FirmwareUpdater updater(hooks);
    QString port = sim.bootloaderPty();
    updater.PortButton(&port);
    EXPECT_TRUE(updater.portOpen()) << port.toStdString();
    out.finished = withMagicCode ? updater.SendMagicCodeAndFirmware() : updater.SendFirmware();
    EXPECT_FALSE(updater.portOpen());
    return out;
}
} // namespace

TEST(SimulatedBootloader, ShortScriptRunsToTheEndAfterTheMagicCode)
{
    SimulatedBootloader sim({});
    ASSERT_EQ(sim.error(), "");
    const Outcome run = runUpdate(sim);
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.log.filter("Matching ACK received :-)").size(), 3);
    EXPECT_EQ(run.log.mid(run.log.size() - 3), (QStringList{"EOF marker found", "finished successfully", "COM port closed"}));
    const QString report = sim.output();
    EXPECT_TRUE(report.contains("bootloader magic code received")) << report.toStdString();
    EXPECT_TRUE(report.contains("bootloader block 1 (80 bytes) answered !")) << report.toStdString();
    EXPECT_TRUE(report.contains("bootloader block 3 (80 bytes) answered Y")) << report.toStdString();
}

TEST(SimulatedBootloader, FaultsStopTheRunWithTheirLogLine)
{
    struct Case {
        QStringList options;
        bool magicCode;
        QString lastLine;
        int acks;
    };
    const Case cases[] = {
        {{"--bootloader-fault", "silent", "--bootloader-fault-at", "2"}, true, "nothing to read", 1},
        {{"--bootloader-fault", "wrong"}, true, "No Matching ACK received 0x4E", 0},
        {{"--bootloader-fault", "slow", "--bootloader-fault-at", "3"}, true, "nothing to read", 2},
        // Without the magic code the running firmware does not answer data blocks.
        {{}, false, "nothing to read", 0},
    };
    for (const Case &c : cases) {
        SimulatedBootloader sim(c.options);
        ASSERT_EQ(sim.error(), "");
        const Outcome run = runUpdate(sim, c.magicCode);
        const std::string what = c.options.join(' ').toStdString();
        EXPECT_FALSE(run.finished) << what;
        ASSERT_GE(run.log.size(), 2) << what;
        EXPECT_EQ(run.log[run.log.size() - 2], c.lastLine) << what;
        EXPECT_EQ(run.log.last(), "COM port closed") << what;
        EXPECT_EQ(run.log.filter("Matching ACK received :-)").size(), c.acks) << what;
        EXPECT_FALSE(run.log.contains("finished successfully")) << what;
    }
}

TEST(SimulatedBootloader, FirmwareCommandExitsZeroOnlyAfterASuccessfulRun)
{
    QTemporaryDir dir;
    FirmwareScriptShape shape;
    shape.groups = 2;
    shape.firstDelay = 0;
    const QString scriptPath = dir.filePath("script.bin");
    {
        QFile f(scriptPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(GenerateFirmwareScript(shape));
    }
    // A script that would stop part-way, after the programmer had left its firmware.
    const QString brokenPath = dir.filePath("broken.bin");
    {
        QFile f(brokenPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(GenerateFaultyFirmwareScript(FirmwareScriptFault::TruncatedRecord, shape));
    }
    struct Case {
        QStringList simOptions;
        QStringList args; // after "firmware --port PATH"
        int exitCode;
        QString lastOut;
        QString err; // part of standard error
    };
    // The simulated programmer restarts within 50 ms; the command line waits far
    // longer, so that a busy machine does not send the first block too early.
    const Case cases[] = {
        {{}, {"--script", scriptPath, "--magic-code", "--bootloader-wait", "1000"}, 0, "COM port closed", ""},
        {{"--bootloader-fault", "wrong"}, {"--script", scriptPath, "--magic-code", "--bootloader-wait", "1000"}, 1,
         "COM port closed", ""},
        {{}, {"--script", dir.filePath("missing.bin"), "--magic-code"}, 1, "", "Cannot find resource"},
        {{}, {"--script", brokenPath, "--magic-code"}, 1, "", "nothing was sent"},
        {{}, {"--magic-code"}, 2, "", "--port and --script are required"},
    };
    for (const Case &c : cases) {
        SimulatedBootloader sim(c.simOptions);
        ASSERT_EQ(sim.error(), "");
        CliRunOptions options;
        options.timeoutMs = 20000;
        const CliRun cli = RunTavelNfc(QStringList{"firmware", "--port", sim.bootloaderPty()} + c.args, options);
        const QStringList out = cli.out.split('\n', Qt::SkipEmptyParts);
        const QString &err = cli.err;
        const std::string what = c.args.join(' ').toStdString();
        EXPECT_EQ(cli.exitCode, c.exitCode) << what << err.toStdString();
        EXPECT_EQ(out.isEmpty() ? QString() : out.last(), c.lastOut) << what;
        EXPECT_TRUE(err.contains(c.err)) << what << err.toStdString();
        EXPECT_EQ(out.contains("finished successfully"), c.exitCode == 0) << what;
        // Nothing reaches the programmer when the script cannot be read.
        if (c.args.first() != "--script" || c.args[1].endsWith("missing.bin") || c.args[1] == brokenPath) {
            EXPECT_FALSE(sim.output().contains("magic code received")) << what;
        }
    }
}
#endif
