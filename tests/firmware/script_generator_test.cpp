// Generated scripts: the delivered shape, and each fault as the interpreter sees it.

#include "fake_clock.h"
#include "fake_serial_port.h"
#include "print_qt.h"
#include "firmware/script_generator.h"
#include "firmware/script_player.h"
#include "serial/tcom_class.h"
#include "scripted_dialogs.h"

#include <gtest/gtest.h>

TEST(FirmwareScriptGenerator, DeliveredShapeHasTheDeliveredSizeAndWaits)
{
    const QByteArray s = GenerateFirmwareScript();
    EXPECT_EQ(s.size(), 54007);
    EXPECT_EQ(FirmwareScriptSize({}), 54007);
    EXPECT_EQ(s.left(2), QByteArray("V\0", 2));
    EXPECT_EQ(s.right(1), "E");
    // First group: C, S with 80 bytes, D 24960, R 10 "!Y".
    EXPECT_EQ(s.mid(2, 4), QByteArray("CS\x00\x50", 4));
    EXPECT_EQ(s.mid(86, 3), QByteArray("D\x61\x80", 3));
    EXPECT_EQ(s.mid(89, 5), QByteArray("R\x0A!Y\0", 5));
    EXPECT_EQ(s.mid(94 + 84, 3), QByteArray("D\x00\x07", 3));

    const FirmwareScriptCost cost = MeasureFirmwareScript(s);
    EXPECT_EQ(cost.waitMs, 24985 + 586 * 32);
    EXPECT_EQ(cost.payloadBytes, 587 * 80);
    EXPECT_NEAR(cost.lineMs(), 587 * 80 * 10 * 1000.0 / 19200, 1e-6);
}

TEST(FirmwareScriptGenerator, SameSeedSameScriptOtherSeedOtherPayload)
{
    FirmwareScriptShape a;
    a.groups = 3;
    FirmwareScriptShape b = a;
    b.seed = 2;
    EXPECT_EQ(GenerateFirmwareScript(a), GenerateFirmwareScript(a));
    EXPECT_NE(GenerateFirmwareScript(a), GenerateFirmwareScript(b));
    EXPECT_EQ(GenerateFirmwareScript(a).size(), FirmwareScriptSize(a));
}

TEST(FirmwareScriptGenerator, EachFaultEndsTheRunAsTheInterpreterReportsIt)
{
    struct Case {
        FirmwareScriptFault fault;
        bool finished;
        QString line; // a line the log must contain
        int blocksSent;
    };
    const Case cases[] = {
        {FirmwareScriptFault::ZeroLength, false, "Length Null!", 2},
        {FirmwareScriptFault::UnknownMarker, false, "Error while reading the file", 3},
        {FirmwareScriptFault::NoEndRecord, true, "Matching ACK received :-)", 3},
        {FirmwareScriptFault::WrongVersion, true, "wrong File-Version", 3},
        {FirmwareScriptFault::TruncatedRecord, false, "Error while reading the file", 2},
    };
    FirmwareScriptShape shape;
    shape.groups = 3;
    shape.firstDelay = 0;
    shape.delay = 0;
    for (const Case &c : cases) {
        FakePortInstaller serial;
        ScriptedDialogs dialogs;
        serial.state->answerWith([](const QByteArray &) { return QByteArray("Y"); });
        FakeClock clock;
        QStringList log;
        TComClass port(4);
        FirmwareScriptPlayer player({[&](const QString &l) { log << l; }, {}, clock.nowFn(), clock.sleepFn()});
        const QByteArray script = GenerateFaultyFirmwareScript(c.fault, shape);
        const bool finished = player.play(script, port) == FirmwareScriptPlayer::Outcome::Finished;
        EXPECT_EQ(finished, c.finished) << int(c.fault);
        EXPECT_TRUE(log.contains(c.line)) << int(c.fault);
        EXPECT_EQ(serial.state->writes.size(), c.blocksSent) << int(c.fault);
        EXPECT_EQ(log.contains("EOF marker found"), c.fault == FirmwareScriptFault::WrongVersion)
            << int(c.fault);
    }
}
