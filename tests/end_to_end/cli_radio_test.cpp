// tavel-nfc ports, pair and send against the device simulator.
#include "cli_runner.h"
#include "devsim_process.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// The records a send writes go below a folder of the test, never the user's own.
QString &dataHome()
{
    static QString folder;
    return folder;
}

CliRun cli(const QStringList &args)
{
    CliRunOptions options;
    if (!dataHome().isEmpty())
        options.environment = DataHomeEnvironment(dataHome());
    options.timeoutMs = 20000;
    return RunTavelNfc(args, options);
}

class CliRadioTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    QString settings;
    void SetUp() override
    {
        if (!kHaveDevsim)
            GTEST_SKIP() << "tavel-devsim needs a POSIX system";
        dataHome() = tmp.filePath(QStringLiteral("data"));
        settings = tmp.filePath(QStringLiteral("default.set"));
        ASSERT_EQ(cli({"defaults", "-o", settings}).exitCode, 0);
    }
    void TearDown() override { dataHome().clear(); }
};
} // namespace

TEST_F(CliRadioTest, PairPrintsTheProgrammerAndTheLogGoesToStderrWithV)
{
    DevsimProcess sim({"--fw", "2.11"});
    ASSERT_TRUE(sim.ready());
    const CliRun r = cli({"pair", "--port", sim.pty(), "--timeout", "3000", "-v"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("Programmer ID: 0x01A2B3C4\nFirmware: 2.11\n"));
    const QStringList err = r.err.split(QLatin1Char('\n'));
    EXPECT_EQ(err.value(0), QStringLiteral("-> send 0x 55 00 01 00 05 70 03 09"));
    EXPECT_TRUE(err.contains(QStringLiteral("<- USB300 Stick info: APP Version: 2.6.3b0 API Version: 2.6.0b0")));
    EXPECT_TRUE(err.contains(QStringLiteral("-> sending 0x 55 00 07 07 01 7A D1 10 01 80 A2 B3 00 03 FF FF FF FF FF 00 B3")));
    EXPECT_TRUE(err.contains(QStringLiteral("<- Pairing accepted with ID 0x01A2B3C4 with FW Version: 2.11")));
}

TEST_F(CliRadioTest, PairFailsClearlyWhenNothingAnswers)
{
    DevsimProcess mute({"--mute"});
    ASSERT_TRUE(mute.ready());
    CliRun r = cli({"pair", "--port", mute.pty(), "--timeout", "400"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("no answer from the stick on ") + mute.pty() + QStringLiteral(" within 400 ms")))
        << r.err.toStdString();

    r = cli({"pair", "--port", QStringLiteral("/nonexistent/tty"), "--timeout", "400"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("ERROR: Could not connect. Maybe in use?")));

    DevsimProcess noProgrammer({"--programmer-id", "01A2B3C4", "--wrong-crc", "pairing"});
    ASSERT_TRUE(noProgrammer.ready());
    r = cli({"pair", "--port", noProgrammer.pty(), "--timeout", "500"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("no pairing answer from the programmer within 500 ms")));

    EXPECT_EQ(cli({"pair"}).exitCode, 2);
    EXPECT_EQ(cli({"pair", "--port", "x", "--timeout", "soon"}).exitCode, 2);
}

TEST_F(CliRadioTest, SendTransfersTheSlotAndChecksTheChecksum)
{
    DevsimProcess sim({"--drivers", "2"});
    ASSERT_TRUE(sim.ready());
    CliRun r = cli({"send", settings, "--port", sim.pty(), "--receiver", "0x01A2B3C4", "--timeout", "3000",
                    "--drivers", "2"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("Sent 12 frames to 0x01A2B3C4")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("Driver programmed: serial 0000000000012345")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("Driver programmed: serial 0000000000012346")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("Transfer successful completed from ID 0x01A2B3C4")));
    EXPECT_EQ(sim.received().size(), 13); // CO_RD_VERSION and 12 frames

    // Waiting for more drivers than the programmer reports ends in failure, not success.
    DevsimProcess oneDriver({"--drivers", "1"});
    ASSERT_TRUE(oneDriver.ready());
    r = cli({"send", settings, "--port", oneDriver.pty(), "--receiver", "0x01A2B3C4", "--timeout", "1500",
             "--drivers", "2"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.contains(QStringLiteral("Transfer successful completed from ID 0x01A2B3C4")));
    EXPECT_TRUE(r.err.contains(QStringLiteral("1 of 2 drivers reported within 1500 ms"))) << r.err.toStdString();

    DevsimProcess wrong({"--wrong-crc", "transfer"});
    ASSERT_TRUE(wrong.ready());
    r = cli({"send", settings, "--slot", "2", "--port", wrong.pty(), "--receiver", "0x01A2B3C4", "--timeout", "3000"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Error: CRC8 of transfered data wrong! calculated: 0x")));

    // The slot's own programmer ID (the default one) reaches no programmer: time-out.
    DevsimProcess other;
    ASSERT_TRUE(other.ready());
    r = cli({"send", settings, "--port", other.pty(), "--timeout", "500"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.contains(QStringLiteral("Sent 12 frames to 0x12345678")));
    EXPECT_TRUE(r.err.contains(QStringLiteral("no transfer-complete frame within 500 ms")));

    EXPECT_EQ(cli({"send", settings, "--port", "x", "--receiver", "0x123"}).exitCode, 2);
    EXPECT_EQ(cli({"send", "--port", "x"}).exitCode, 2);
    EXPECT_EQ(cli({"send", settings, "--port", "x", "--drivers", "many"}).exitCode, 2);
}

TEST_F(CliRadioTest, PortsListsTheGivenPorts)
{
    CliRun r = cli({"ports", "--port", "/tmp/a", "--port=/tmp/b"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.endsWith(QStringLiteral("/tmp/a\n/tmp/b\n"))) << r.out.toStdString();
    EXPECT_EQ(cli({"ports", "extra"}).exitCode, 2);
}
