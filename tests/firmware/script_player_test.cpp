// The firmware script interpreter: records, log lines, replies, waits, progress and
// scripts that are damaged.

#include "fake_clock.h"
#include "fake_serial_port.h"
#include "print_qt.h"
#include "firmware/script_generator.h"
#include "firmware/script_player.h"
#include "serial/tcom_class.h"
#include "scripted_dialogs.h"

#include <QElapsedTimer>
#include <cstring>
#include <gtest/gtest.h>

namespace {
// Builds scripts record by record.
struct Script {
    QByteArray bytes;
    Script &V(int v) { bytes += 'V'; bytes += char(v); return *this; }
    Script &C() { bytes += 'C'; return *this; }
    Script &S(const QByteArray &payload) { return S(int(payload.size()), payload); }
    Script &S(int n, const QByteArray &payload)
    {
        bytes += 'S';
        bytes += char(n >> 8);
        bytes += char(n & 0xFF);
        bytes += payload;
        return *this;
    }
    Script &D(int d) { bytes += 'D'; bytes += char(d >> 8); bytes += char(d & 0xFF); return *this; }
    Script &R(const QByteArray &accepted = "!Y")
    {
        bytes += 'R';
        bytes += char(10);
        bytes += accepted;
        bytes += '\0';
        return *this;
    }
    Script &E() { bytes += 'E'; return *this; }
    Script &raw(const QByteArray &b) { bytes += b; return *this; }
};

struct PlayRun {
    FakePortInstaller serial;
    ScriptedDialogs dialogs;
    FakeClock clock;
    QStringList log;
    QList<int> progress;
    std::unique_ptr<TComClass> port;
    FirmwareScriptPlayer::Outcome outcome{};

    PlayRun()
    {
        port = std::make_unique<TComClass>(4);
        serial.state->readTimeouts.clear(); // the drain at opening
    }
    // Every data block is answered with `reply` (nothing when empty).
    void answerWith(const QByteArray &reply)
    {
        serial.state->answerWith([reply](const QByteArray &) { return reply; });
    }
    FirmwareScriptPlayer player()
    {
        return FirmwareScriptPlayer({[this](const QString &l) { log << l; },
                                     [this](int p) { progress << p; }, clock.nowFn(), clock.sleepFn()});
    }
    FirmwareScriptPlayer::Outcome play(const QByteArray &script)
    {
        outcome = player().play(script, *port);
        return outcome;
    }
    QByteArray written() const { return serial.state->written(); }
};
} // namespace

TEST(FirmwareScriptPlayer, OneGroupLogsEveryStepLetterForLetter)
{
    PlayRun run;
    run.answerWith("Y");
    const QByteArray payload("\x01\x02\x03", 3);
    EXPECT_EQ(run.play(Script().V(0).C().S(payload).D(0).R().E().bytes), FirmwareScriptPlayer::Outcome::Finished);
    const QStringList expected = {
        "Filesize: 18",        "Version found 0",       "Clear marker found",
        "data found, anzahl3", "...Send data",          "Delay marker found",
        "...delay 25",         "... 0.025s left",       "... 0.003s left",
        "... 0.001s left",     "Read marker found",     "Matching ACK received :-)",
        "EOF marker found",
    };
    EXPECT_EQ(run.log, expected);
    EXPECT_EQ(run.written(), payload);
    EXPECT_EQ(run.clock.now, 25); // a delay of 0 still waits 25 ms
}

TEST(FirmwareScriptPlayer, ReplyIsCheckedAgainstTheListAndItsTerminator)
{
    struct Case {
        QByteArray reply;
        bool finished;
        QString lastLine;
    };
    const Case cases[] = {
        {"!", true, "EOF marker found"},
        {"Y", true, "EOF marker found"},
        {QByteArray(1, '\0'), true, "EOF marker found"}, // the list's terminator matches too
        {"N", false, "No Matching ACK received 0x4E"},
        {"\xAB", false, "No Matching ACK received 0xAB"},
        {"", false, "nothing to read"},
    };
    for (const Case &c : cases) {
        PlayRun run;
        run.answerWith(c.reply);
        const auto outcome = run.play(Script().V(0).S("abc").R().S("def").R().E().bytes);
        EXPECT_EQ(outcome == FirmwareScriptPlayer::Outcome::Finished, c.finished) << c.reply.toHex().constData();
        EXPECT_EQ(run.log.last(), c.lastLine) << c.reply.toHex().constData();
        // A failed check stops the run before the next block.
        EXPECT_EQ(run.written(), c.finished ? QByteArray("abcdef") : QByteArray("abc"));
    }
}

TEST(FirmwareScriptPlayer, ReplyReadWaitsTheLongestOneByteReadOfThePort)
{
    PlayRun run;
    run.play(Script().R().bytes);
    ASSERT_FALSE(run.serial.state->readTimeouts.isEmpty());
    EXPECT_EQ(run.serial.state->readTimeouts.last(), 101);
    EXPECT_EQ(run.log.last(), "nothing to read");
}

TEST(FirmwareScriptPlayer, LongDelayCountsDownInSlicesOfAtMostHalfASecond)
{
    PlayRun run;
    run.play(Script().D(1200).bytes); // waits 1225 ms
    EXPECT_EQ(run.clock.now, 1225);
    EXPECT_EQ(run.clock.sleeps.mid(0, 2), (QList<int>{500, 500}));
    for (int s : run.clock.sleeps)
        EXPECT_LE(s, 500);
    EXPECT_EQ(run.log.mid(2, 3), (QStringList{"...delay 1225", "... 1.225s left", "... 0.725s left"}));
    EXPECT_EQ(run.log.filter("s left").size(), run.clock.sleeps.size());
}

TEST(FirmwareScriptPlayer, ADelayNeverEndsEarlyOnAClockWithFractionsOfAMillisecond)
{
    // The clock reads fractions of a millisecond and every sleep lasts a little
    // longer than asked, as real sleeps do. Counting in whole milliseconds from a
    // truncated start reading ends such a wait up to a millisecond early.
    struct Case {
        double start;     // the clock when the wait begins
        double oversleep; // what each sleep adds to the time asked
        int delay;        // the record's value
    };
    const Case cases[] = {
        {10.9, 0.3, 0}, {10.9, 0.0, 0}, {0.5, 0.9, 0}, {3.99, 0.05, 475}, {1000.2, 0.7, 1200},
    };
    for (const Case &c : cases) {
        FakePortInstaller serial;
        TComClass port(4);
        double now = c.start;
        double waitStart = -1;
        FirmwareScriptPlayer player({[&](const QString &l) {
                                         if (l.startsWith(QLatin1String("...delay")))
                                             waitStart = now;
                                     },
                                     {}, [&] { return now; }, [&](int ms) { now += ms + c.oversleep; }});
        player.play(Script().D(c.delay).bytes, port);
        const double waited = now - waitStart;
        const int w = c.delay + FirmwareScriptPlayer::kDelayExtraMs;
        EXPECT_GE(waited, w) << c.start << " " << c.oversleep << " " << c.delay;
        // ... and not much longer: the last sleeps shrink towards the end.
        EXPECT_LT(waited, w + 3) << c.start << " " << c.oversleep << " " << c.delay;
    }
}

TEST(FirmwareScriptPlayer, RealClockWaitsAtLeastTheDelay)
{
    FakePortInstaller serial;
    TComClass port(4);
    QStringList log;
    FirmwareScriptPlayer player({[&](const QString &l) { log << l; }, {}, {}, {}});
    QElapsedTimer t;
    t.start();
    player.play(Script().D(0).bytes, port);
    EXPECT_GE(t.nsecsElapsed(), qint64(FirmwareScriptPlayer::kDelayExtraMs) * 1000000);
}

TEST(FirmwareScriptPlayer, ZeroLengthDataStopsTheRun)
{
    PlayRun run;
    run.answerWith("Y");
    EXPECT_EQ(run.play(Script().V(0).S(0, {}).R().E().bytes), FirmwareScriptPlayer::Outcome::Stopped);
    EXPECT_EQ(run.log.mid(2), (QStringList{"data found, anzahl0", "Length Null!"}));
    EXPECT_TRUE(run.serial.state->writes.isEmpty());
}

TEST(FirmwareScriptPlayer, UnknownMarkerIsReportedWithItsPosition)
{
    PlayRun run;
    EXPECT_EQ(run.play(Script().V(0).C().raw("x").E().bytes), FirmwareScriptPlayer::Outcome::Stopped);
    EXPECT_EQ(run.log.mid(3), (QStringList{"Error while reading the file", "Character 0x78 at Position 0x0003"}));

    // Positions beyond four digits are written in full.
    PlayRun far;
    QByteArray big = Script().V(0).bytes + QByteArray(0x12340 - 2, 'C') + QByteArray(1, '\xFF');
    far.play(big);
    EXPECT_EQ(far.log.last(), "Character 0xFF at Position 0x12340");
}

TEST(FirmwareScriptPlayer, WrongVersionIsLoggedAndTheRunGoesOn)
{
    PlayRun run;
    run.answerWith("!");
    EXPECT_EQ(run.play(Script().V(3).S("a").R().E().bytes), FirmwareScriptPlayer::Outcome::Finished);
    EXPECT_EQ(run.log.mid(1, 2), (QStringList{"Version found 3", "wrong File-Version"}));
    EXPECT_EQ(run.written(), "a");
}

TEST(FirmwareScriptPlayer, ScriptWithoutEndRecordFinishesAtItsLastByte)
{
    PlayRun run;
    run.answerWith("Y");
    EXPECT_EQ(run.play(Script().V(0).C().S("abc").D(0).R().bytes), FirmwareScriptPlayer::Outcome::Finished);
    EXPECT_EQ(run.log.last(), "Matching ACK received :-)");
}

TEST(FirmwareScriptPlayer, ProgressReachesHundredExactlyAtTheLastByte)
{
    PlayRun run;
    run.answerWith("Y");
    // 200 bytes: V(2) S(3+190) R(5) = 200, without an end record.
    const QByteArray script = Script().V(0).S(QByteArray(190, 'p')).R().bytes;
    ASSERT_EQ(script.size(), 200);
    run.play(script);
    EXPECT_EQ(run.progress, (QList<int>{1, 97, 100}));

    // An end record before the last byte stops the bar short of 100.
    PlayRun endMid;
    endMid.play(Script().V(0).E().C().bytes);
    EXPECT_EQ(endMid.progress, (QList<int>{50, 75}));
}

TEST(FirmwareScriptPlayer, TruncatedRecordsAreNeverReadPastTheEnd)
{
    const QByteArray cases[] = {
        Script().V(0).raw("V").bytes,                 // version byte missing
        Script().V(0).raw(QByteArray("S\0", 2)).bytes,           // length cut
        Script().V(0).S(10, "abcd").bytes,            // payload cut
        Script().V(0).raw("D\x01").bytes,             // delay cut
        Script().V(0).raw("R").bytes,                 // parameter missing
        Script().V(0).raw("R\x0A!Y").bytes,           // list without terminator
    };
    for (const QByteArray &c : cases) {
        PlayRun run;
        run.answerWith("Y");
        // An exact-size heap copy, so that a read beyond it is caught by the sanitizer.
        std::unique_ptr<char[]> exact(new char[size_t(c.size())]);
        memcpy(exact.get(), c.constData(), size_t(c.size()));
        const QByteArray view = QByteArray::fromRawData(exact.get(), c.size());
        EXPECT_EQ(run.play(view), FirmwareScriptPlayer::Outcome::Stopped) << c.toHex().constData();
        EXPECT_TRUE(run.serial.state->writes.isEmpty()) << c.toHex().constData();
        EXPECT_TRUE(run.log.last().endsWith("at Position 0x0002 runs past the end of the file"))
            << run.log.last().toStdString();
        EXPECT_TRUE(run.serial.state->readTimeouts.isEmpty()); // no reply was awaited
    }
}

TEST(FirmwareScriptPlayer, FailedWriteStopsWithTheTransferMessage)
{
    PlayRun run;
    run.serial.state->writeFails = true;
    EXPECT_EQ(run.play(Script().V(0).S("abc").R().E().bytes), FirmwareScriptPlayer::Outcome::Stopped);
    ASSERT_EQ(run.dialogs.messages.size(), 1);
    EXPECT_EQ(run.dialogs.messages[0].caption, "Error");
    EXPECT_EQ(run.dialogs.messages[0].text, "Error during Firmware Transfer!\nPlease check cable connection and retry!");
    EXPECT_EQ(run.dialogs.messages[0].icon, MsgIcon::Error);
    EXPECT_EQ(run.log.last(), "...Send data");
}
