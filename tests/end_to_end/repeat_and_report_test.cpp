// A driver programmed twice and the batch report, end to end: tavel-nfc send
// against the simulated stick and programmer, then the records commands.
#include "csv_rows.h"
#include "devsim_process.h"
#include "file_bytes.h"
#include "paired_send_fixture.h"
#include "print_qt.h"
#include "pseudo_terminal.h"

#include <QProcess>

#ifndef Q_OS_WIN
namespace {

class RepeatAndReport : public PairedSendFixture {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(TavelNfcIsBuilt());
        PairedSendFixture::SetUp();
    }
    // One transfer of `drivers` drivers to the simulator, the radio log on standard error.
    CliRun send(DevsimProcess &sim, int drivers)
    {
        return cli({"send", settingsPath, "--port", sim.pty(), "--timeout", "8000", "--ack-timeout", "500",
                    "--drivers", QString::number(drivers), "-v"});
    }
};

TEST_F(RepeatAndReport, ADriverSentTwiceIsMarkedRepeatInTheLogTheListAndTheCsv)
{
    DevsimProcess sim({"--drivers", "2"});
    ASSERT_TRUE(sim.ready()) << sim.error().toStdString();
    CliRun r = send(sim, 1);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains("recorded as a repeat")) << r.err.toStdString();
    // The same driver again (the simulator's first serial number), then one more.
    r = send(sim, 2);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("<- Driver 0000000000012345 was programmed before: recorded as a repeat"))
        << r.err.toStdString();
    EXPECT_FALSE(r.err.contains("<- Driver 0000000000012346 was programmed before")) << r.err.toStdString();

    const QString csv = tmp.filePath("drivers.csv");
    r = cli({"records", "export", "--csv", csv});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QList<QStringList> rows = CsvRows(ReadFileBytes(csv));
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_EQ(rows[0].last(), "repeat"); // the last column: the earlier columns stay where they were
    EXPECT_EQ(CsvColumn(rows, "serialNumber"), QStringList({"0000000000012345", "0000000000012345", "0000000000012346"}));
    EXPECT_EQ(CsvColumn(rows, "repeat"), QStringList({"0", "1", "0"}));

    r = cli({"records", "drivers"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << r.out.toStdString();
    QStringList marks;
    for (const QString &line : lines)
        marks << line.section(QStringLiteral(" - "), -2, -2); // the last column before the closing " - "
    EXPECT_EQ(marks, QStringList({"0", "1", "0"})) << r.out.toStdString(); // newest first
}

TEST_F(RepeatAndReport, TheReportOfTheTransfersHoldsEverySerialAndRefusesWhatItCannotDo)
{
    // Three drivers sent and verified; the second holds another L3.
    DevsimProcess sim({"--drivers", "3", "--read-all", "--tag-change", "2:267=0x64"});
    ASSERT_TRUE(sim.ready()) << sim.error().toStdString();
    CliRun r = send(sim, 3);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = cli({"verify", "--port", sim.pty(), "--settings", settingsPath, "--count", "3", "--timeout", "8000"});
    ASSERT_EQ(r.exitCode, 1) << r.err.toStdString() << r.out.toStdString();

    const QString pdf = tmp.filePath("batch.pdf"), csv = tmp.filePath("batch.csv");
    r = cli({"records", "report", "--pdf", pdf, "--csv", csv, "--programmer", "0x01A2B3C4"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("1 transfer(s), 3 driver(s), 0 repeat(s), 3 verified, 1 failed, 0 not verified"))
        << r.out.toStdString();
    QProcess text;
    text.start("pdftotext", {pdf, "-"});
    ASSERT_TRUE(text.waitForFinished(30000) && text.exitCode() == 0)
        << "pdftotext (poppler-utils, scripts/setup.sh): " << text.errorString().toStdString();
    const QString pdfText = QString::fromUtf8(text.readAllStandardOutput());
    for (const char *serial : {"0000000000012345", "0000000000012346", "0000000000012347"}) {
        EXPECT_TRUE(pdfText.contains(serial)) << serial << "\n" << pdfText.toStdString();
        EXPECT_TRUE(ReadFileBytes(csv).contains(serial)) << serial;
    }
    for (const char *line : {"programmer 0x01A2B3C4", "Nominal current: 500 mA", "Drivers: 3", "Verified: 3",
                             "Failed: 1", "FAIL", "PASS", "L3: expected 100 %, found 50 %"})
        EXPECT_TRUE(pdfText.contains(line)) << line << "\n" << pdfText.toStdString();

    // On a terminal the report shows how far it has come.
    PseudoTerminal terminal;
    ASSERT_FALSE(terminal.deviceName().isEmpty());
    CliRunOptions onTerminal;
    onTerminal.environment = DataHomeEnvironment(tmp.filePath("data"));
    onTerminal.standardErrorFile = terminal.deviceName();
    r = RunTavelNfc({"records", "report", "--pdf", pdf}, onTerminal);
    ASSERT_EQ(r.exitCode, 0);
    const QByteArray shown = terminal.readAll();
    EXPECT_TRUE(shown.contains("\rrecords report: 0% (0 of 3 drivers)\x1b[K")) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith("\rrecords report: 100% (3 of 3 drivers)\x1b[K\r\n")) << shown.toStdString();

    // Another programmer's report holds none of them; dates select by the record's time.
    r = cli({"records", "report", "--csv", csv, "--programmer", "0x99999999"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(CsvRows(ReadFileBytes(csv)).size(), 1); // the header alone
    r = cli({"records", "report", "--csv", csv, "--to", "2000-01-01"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(CsvRows(ReadFileBytes(csv)).size(), 1);

    struct Refused {
        const char *name;
        QStringList args;
        int exitCode;
        const char *message;
        QString file; // must not be there afterwards
    };
    const QString folderless = tmp.filePath("no/folder/r.pdf");
    const Refused cases[] = {
        {"no output named", {"records", "report"}, 2, "--pdf FILE or --csv FILE is missing", ""},
        {"a date that is none", {"records", "report", "--csv", tmp.filePath("d.csv"), "--from", "10.12.2026"}, 2,
         "is no date", tmp.filePath("d.csv")},
        {"a folder that is not there", {"records", "report", "--pdf", folderless}, 1, "Cannot write", folderless},
    };
    for (const Refused &c : cases) {
        SCOPED_TRACE(c.name);
        r = cli(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QLatin1String(c.message))) << r.err.toStdString();
        if (!c.file.isEmpty())
            EXPECT_FALSE(QFile::exists(c.file));
    }
}

TEST_F(RepeatAndReport, TheReportCountsOnlyTheVerificationsThatHappenedForEachRecord)
{
    // Three transfers: the simulator's first driver in each (five driver records,
    // two of them repeats), then one verify run of the last transfer's three drivers.
    DevsimProcess sim({"--drivers", "3", "--read-all"});
    ASSERT_TRUE(sim.ready()) << sim.error().toStdString();
    for (const int drivers : {1, 1, 3}) {
        const CliRun sent = send(sim, drivers);
        ASSERT_EQ(sent.exitCode, 0) << sent.err.toStdString();
    }
    CliRun r = cli({"verify", "--port", sim.pty(), "--settings", settingsPath, "--count", "3", "--timeout", "8000"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString() << r.out.toStdString();

    const QString pdf = tmp.filePath("day.pdf"), csv = tmp.filePath("day.csv");
    r = cli({"records", "report", "--pdf", pdf, "--csv", csv, "--batch", "Order 4711"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("3 transfer(s), 5 driver(s), 2 repeat(s), 3 verified, 0 failed, 2 not verified"))
        << r.out.toStdString();
    const QList<QStringList> rows = CsvRows(ReadFileBytes(csv));
    EXPECT_EQ(CsvColumn(rows, "serialNumber"), QStringList({"0000000000012345", "0000000000012345", "0000000000012345",
                                                            "0000000000012346", "0000000000012347"}));
    // The earlier records of the driver were not verified after they were made.
    EXPECT_EQ(CsvColumn(rows, "verify_result"), QStringList({"not verified", "not verified", "PASS", "PASS", "PASS"}));
    QProcess text;
    text.start("pdftotext", {pdf, "-"});
    ASSERT_TRUE(text.waitForFinished(30000) && text.exitCode() == 0) << text.errorString().toStdString();
    const QString pdfText = QString::fromUtf8(text.readAllStandardOutput());
    for (const char *line : {"Batch / order: Order 4711", "Verified: 3", "Failed: 0", "Not verified: 2", "Page 1 of 1"})
        EXPECT_TRUE(pdfText.contains(line)) << line << "\n" << pdfText.toStdString();
}

} // namespace
#endif
