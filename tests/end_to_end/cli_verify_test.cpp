// tavel-nfc verify end to end against the simulated stick and programmer: drivers
// sent and read back pass, a driver whose tag holds another level or too short a
// read-write area fails naming why, and every result is a verification record.
#include "devsim_process.h"
#include "paired_send_fixture.h"

#ifndef Q_OS_WIN
namespace {

class VerifyEndToEnd : public PairedSendFixture {
protected:
    // Sends slot 1 to `drivers` drivers of the simulator, then verifies `count` tags.
    CliRun sendThenVerify(DevsimProcess &sim, int drivers, int count, const QString &timeout = "8000")
    {
        EXPECT_TRUE(sim.ready()) << sim.error().toStdString();
        const CliRun sent = cli({"send", settingsPath, "--port", sim.pty(), "--timeout", "8000", "--ack-timeout",
                                 "500", "--drivers", QString::number(drivers)});
        EXPECT_EQ(sent.exitCode, 0) << sent.err.toStdString();
        return cli({"verify", "--port", sim.pty(), "--settings", settingsPath, "--count", QString::number(count),
                    "--timeout", timeout});
    }
    VerificationRecord record(const QString &serial)
    {
        return withRecordsFolder([&] {
            VerificationRecord r;
            QString time, error;
            EXPECT_TRUE(NewestVerification(serial, &r, &time, &error)) << serial.toStdString() << error.toStdString();
            return r;
        });
    }
    static QStringList lines(const QString &out) { return out.split('\n', Qt::SkipEmptyParts); }
};

TEST_F(VerifyEndToEnd, ThreeDriversSentAndVerifiedAllPass)
{
    DevsimProcess sim({"--drivers", "3", "--read-all"});
    const CliRun r = sendThenVerify(sim, 3, 3);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString() << r.out.toStdString();
    EXPECT_EQ(lines(r.out), QStringList({"PASS 0000000000012345", "PASS 0000000000012346", "PASS 0000000000012347",
                                         "Verified 3 of 3 drivers: 3 passed, 0 failed"}));
    for (const char *serial : {"0000000000012345", "0000000000012346", "0000000000012347"}) {
        const VerificationRecord v = record(serial);
        EXPECT_EQ(v.result, "PASS") << serial;
        EXPECT_EQ(v.slot, "1");
        EXPECT_EQ(v.programmerId, "0x01A2B3C4");
        EXPECT_EQ(v.differences, "");
    }
}

TEST_F(VerifyEndToEnd, ADriverHoldingAnotherLevelFailsNamingIt)
{
    // The second driver's L3 (tag address 267) holds 50 % instead of 100 %.
    DevsimProcess sim({"--drivers", "3", "--read-all", "--tag-change", "2:267=0x64"});
    const CliRun r = sendThenVerify(sim, 3, 3);
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_EQ(lines(r.out), QStringList({"PASS 0000000000012345", "FAIL 0000000000012346",
                                         "    L3: expected 100 %, found 50 %", "PASS 0000000000012347",
                                         "Verified 3 of 3 drivers: 2 passed, 1 failed: 0000000000012346"}));
    const VerificationRecord v = record("0000000000012346");
    EXPECT_EQ(v.result, "FAIL");
    EXPECT_EQ(v.differences, "L3: expected 100 %, found 50 %");
    EXPECT_EQ(record("0000000000012347").result, "PASS");
}

TEST_F(VerifyEndToEnd, AReadWriteAreaTooShortFailsWithWhatIsNotOnTheTag)
{
    // Eight bytes from 258: the current, the lifetime and L1 are on the tag.
    DevsimProcess sim({"--tag-rw-size", "8"});
    const CliRun r = sendThenVerify(sim, 1, 1);
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_EQ(lines(r.out),
              QStringList({"FAIL 0000000000012345", "    L2: not on the tag", "    L3: not on the tag",
                           "    L4: not on the tag", "    L5: not on the tag", "    DC level: not on the tag",
                           "Verified 1 of 1 drivers: 0 passed, 1 failed: 0000000000012345"}));
    EXPECT_EQ(record("0000000000012345").result, "FAIL");
}

TEST_F(VerifyEndToEnd, ATagWithAWrongChecksumFailsWithThatReason)
{
    struct Case {
        const char *fault;
        const char *reason;
    };
    const Case cases[] = {{"ident-crc", "    Error: TAG Ident CRC16 wrong"},
                          {"area-crc", "    Error: TAG RW CRC16 wrong"}};
    for (const Case &c : cases) {
        DevsimProcess sim({"--tag-fault", c.fault});
        const CliRun r = sendThenVerify(sim, 1, 1);
        EXPECT_EQ(r.exitCode, 1) << c.fault << r.err.toStdString();
        EXPECT_EQ(lines(r.out), QStringList({"FAIL 0000000000012345", c.reason,
                                             "Verified 1 of 1 drivers: 0 passed, 1 failed: 0000000000012345"}))
            << c.fault;
    }
}

TEST_F(VerifyEndToEnd, FewerTagsThanAskedForFail)
{
    // One driver read, a second never comes.
    DevsimProcess sim;
    const CliRun r = sendThenVerify(sim, 1, 2, "3000");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(lines(r.out), QStringList({"PASS 0000000000012345", "Verified 1 of 2 drivers: 1 passed, 0 failed"}));
    EXPECT_TRUE(r.err.contains("tavel-nfc verify: no tag read within 3000 ms (1 of 2 drivers verified)"))
        << r.err.toStdString();
}

TEST_F(VerifyEndToEnd, UsageErrorsAndHelp)
{
    struct Case {
        QStringList args;
        int exitCode;
        const char *text; // in standard error, or for --help in standard output
    };
    const Case cases[] = {
        {{"verify", "--port", "/dev/null"}, 2, "tavel-nfc verify: no settings file given"},
        {{"verify", "--settings", settingsPath}, 2, "tavel-nfc verify: no port given"},
        {{"verify", "--port", "/dev/null", "--settings", settingsPath, "--count", "0"}, 2,
         "--count needs a number of drivers of 1 or more"},
        {{"verify", "--port", "/dev/null", "--settings", settingsPath, "--slot", "4"}, 2, "usage: tavel-nfc verify"},
        {{"verify", "--help"}, 0, "\"PASS <serial>\""},
    };
    for (const Case &c : cases) {
        const CliRun r = cli(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_TRUE((c.exitCode == 0 ? r.out : r.err).contains(c.text)) << r.err.toStdString() << r.out.toStdString();
    }
}

} // namespace
#endif
