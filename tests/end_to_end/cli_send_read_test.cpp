// tavel-nfc send and read end to end against the simulated stick and programmer:
// a transfer with three drivers writes the records, and reading the last driver
// shows what was sent.
#include "devsim_process.h"
#include "paired_send_fixture.h"

#ifndef Q_OS_WIN
namespace {

class DevsimEndToEnd : public PairedSendFixture {};

TEST_F(DevsimEndToEnd, SendRecordsThreeDriversAndReadShowsWhatWasSent)
{
    DevsimProcess sim({"--drivers", "3"});
    ASSERT_TRUE(sim.ready()) << sim.error().toStdString();
    const QStringList send = {"send", settingsPath, "--port", sim.pty(), "--timeout", "8000", "--ack-timeout", "500",
                              "--drivers", "3"};
    CliRun r = cli(send);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    for (const char *serial : {"0000000000012345", "0000000000012346", "0000000000012347"})
        EXPECT_TRUE(r.out.contains(QStringLiteral("Driver programmed: serial ") + serial)) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("Transfer successful completed"));

    // The programmer confirms the transfer before it programs the drivers, so every
    // driver record carries the settings of the transfer that programmed it.
    r = cli(send);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const SQLiteAnswerClass d = drivers();
    ASSERT_EQ(d.GetRowCount(), 6);
    for (int row = 0; row < 6; ++row) {
        EXPECT_EQ(d.Get(6, row), "500") << row; // nomCurrent
        EXPECT_EQ(d.Get(3, row), "2.10") << row; // the slot's programmer firmware
        EXPECT_EQ(d.Get(4, row), "0x01A2B3C4") << row;
    }

    const CliRun report = cli({"records", "drivers", "--limit", "3"});
    EXPECT_EQ(report.out.split('\n', Qt::SkipEmptyParts).size(), 3);
    const CliRun settings = cli({"records", "settings"});
    EXPECT_EQ(settings.out.split('\n', Qt::SkipEmptyParts).size(), 2);

    r = cli({"read", "--port", sim.pty(), "--settings", settingsPath, "--timeout", "8000"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString() << r.out.toStdString();
    for (const char *line : {"GTIN: 001122334455", "Serial: 0000000000012347", "FW: 0102", "HW: 0A0B",
                             "RW size: 0x001E", "Current = 500", "LifeTime = 50000", "Level0 = 80", "DCLevel = 51"})
        EXPECT_TRUE(r.out.contains(line)) << line << "\n" << r.out.toStdString();
}

TEST_F(DevsimEndToEnd, ReadReportsAChecksumErrorAndAnIncompleteRead)
{
    {
        DevsimProcess sim({"--tag-fault", "area-crc"});
        ASSERT_TRUE(sim.ready()) << sim.error().toStdString();
        const CliRun r = cli({"read", "--port", sim.pty(), "--receiver", "0x01A2B3C4", "--timeout", "8000"});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains("Error: TAG RW CRC16 wrong")) << r.err.toStdString();
    }
    {
        DevsimProcess sim({"--tag-fault", "order"});
        ASSERT_TRUE(sim.ready()) << sim.error().toStdString();
        const CliRun r = cli({"read", "--port", sim.pty(), "--receiver", "0x01A2B3C4", "--timeout", "8000"});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains("tag read incomplete")) << r.err.toStdString();
    }
}

} // namespace
#endif
