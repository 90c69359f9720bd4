// The progress line of long command-line work: drawn in place on a terminal, at
// a bounded rate, never on anything else; and through a real terminal for
// "tavel-nfc records export".

#include "common/progress_line.h"

#include "cli_runner.h"
#include "fake_clock.h"
#include "pseudo_terminal.h"
#include "records/records_database.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct Terminal {
    QByteArray written;
    FakeClock clock;
    ProgressLine::Output output(bool isTerminal = true)
    {
        return {[this](const QByteArray &b) { written += b; }, isTerminal, clock.nowFn()};
    }
};

TEST(ProgressLineTest, NotATerminalGetsNothingAtAll)
{
    Terminal t;
    {
        ProgressLine line(QStringLiteral("records export"), QStringLiteral("records"), t.output(false));
        line.update(0, 10);
        line.update(10, 10);
        line.interrupt();
    } // finishes
    EXPECT_EQ(t.written, QByteArray());
}

TEST(ProgressLineTest, RedrawsInPlaceAtMostEveryIntervalButAlwaysTheFirstAndLastState)
{
    Terminal t;
    ProgressLine line(QStringLiteral("records export"), QStringLiteral("records"), t.output());
    line.update(0, 1000);
    for (int i = 1; i < 1000; ++i)
        line.update(i, 1000); // the clock stands still: nothing between is drawn
    t.clock.now += ProgressLine::kRedrawIntervalMs;
    line.update(500, 1000);
    line.update(1000, 1000);
    line.finish();
    line.finish(); // once only
    EXPECT_EQ(t.written, QByteArray("\rrecords export: 0% (0 of 1000 records)\x1b[K"
                                    "\rrecords export: 50% (500 of 1000 records)\x1b[K"
                                    "\rrecords export: 100% (1000 of 1000 records)\x1b[K\n"));
}

TEST(ProgressLineTest, OtherOutputClearsTheLineAndTheNextUpdateDrawsItAgain)
{
    Terminal t;
    ProgressLine line(QStringLiteral("firmware"), QString(), t.output());
    line.interrupt(); // nothing drawn yet: nothing to clear
    line.update(10, 100);
    line.interrupt();
    line.update(10, 100);
    line.finish();
    line.interrupt(); // after the finishing newline: nothing to clear
    EXPECT_EQ(t.written, QByteArray("\rfirmware: 10%\x1b[K\r\x1b[K\rfirmware: 10%\x1b[K\n"));
}

TEST(ProgressLineTest, TextForUnknownTotalsAndFiguresOutOfRange)
{
    const ProgressLine counted(QStringLiteral("export"), QStringLiteral("records"), {});
    const ProgressLine bare(QStringLiteral("firmware"), QString(), {});
    EXPECT_EQ(counted.text(37, 0), QStringLiteral("export: 37 records"));
    EXPECT_EQ(counted.text(37, -1), QStringLiteral("export: 37 records"));
    EXPECT_EQ(counted.text(12, 10), QStringLiteral("export: 100% (10 of 10 records)"));
    EXPECT_EQ(counted.text(-3, 10), QStringLiteral("export: 0% (0 of 10 records)"));
    EXPECT_EQ(counted.text(1, 3), QStringLiteral("export: 33% (1 of 3 records)"));
    // Large counts do not overflow the percentage.
    EXPECT_EQ(counted.text(qint64(1) << 40, qint64(1) << 41), QStringLiteral("export: 50% (1099511627776 of 2199023255552 records)"));
    EXPECT_EQ(bare.text(7, 100), QStringLiteral("firmware: 7%"));
}

TEST(ProgressLineTest, RecordsExportDrawsItsLineOnATerminalAndNothingIntoAPipe)
{
    ASSERT_TRUE(TavelNfcIsBuilt());
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    // Three driver records where the command will find them.
    const QString databases = home.filePath(QStringLiteral("NFC configuration Software Tavel/database"));
    ASSERT_TRUE(QDir().mkpath(databases));
    setDatabaseFolder(databases);
    for (const char *serial : {"0000000000000001", "0000000000000002", "0000000000000003"})
        ASSERT_EQ(WriteDriversToDatabaseInAppdataWithSettings(QStringLiteral("2.10"), QStringLiteral("0x0180A2B3"),
                                                               QStringLiteral("0x01A2B3C4"), QString::fromLatin1(serial)),
                  RecordFate::Written);
    setDatabaseFolder(QString());

    const QStringList args = {QStringLiteral("records"), QStringLiteral("export"), QStringLiteral("--csv"),
                              home.filePath(QStringLiteral("out.csv"))};
    // Into a pipe: standard error stays empty.
    const CliRun piped = RunTavelNfc(args, {home.path(), DataHomeEnvironment(home.path())});
    EXPECT_EQ(piped.exitCode, 0);
    EXPECT_EQ(piped.err, QString());

    PseudoTerminal terminal;
    ASSERT_FALSE(terminal.deviceName().isEmpty());
    CliRunOptions onTerminal{home.path(), DataHomeEnvironment(home.path())};
    onTerminal.standardErrorFile = terminal.deviceName();
    EXPECT_EQ(RunTavelNfc(args, onTerminal).exitCode, 0);
    const QByteArray shown = terminal.readAll();
    EXPECT_TRUE(shown.startsWith("\rrecords export: 0% (0 of 3 records)\x1b[K")) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith("\rrecords export: 100% (3 of 3 records)\x1b[K\r\n")) << shown.toStdString();
}
} // namespace
