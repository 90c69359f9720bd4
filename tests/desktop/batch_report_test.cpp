// The batch report: which transfers and drivers a selection takes, in which
// order, with repeat marks, the verification that belongs to each driver record
// and totals that count only what happened; the PDF's text with units, heading,
// marked failures and page numbers; a report that cannot be written or read
// leaves no file.
#include "csv_rows.h"
#include "file_bytes.h"
#include "file_size_limit.h"
#include "print_qt.h"
#include "records_folder.h"
#include "report_fixture.h"
#include "profile/parameter_table.h"
#include "records/record_columns.h"
#include "report/batch_report.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

using namespace report_fixture;

// The text of a PDF as pdftotext (poppler-utils) extracts it.
QString PdfText(const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext (poppler-utils, scripts/setup.sh) could not read " << path.toStdString() << ": "
                      << p.errorString().toStdString() << p.readAllStandardError().toStdString();
        return QString();
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

class BatchReport : public RecordsFolderTest {
protected:
    void SetUp() override
    {
        RecordsFolderTest::SetUp();
        WriteBatch();
    }

    // The CSV report's rows as "transfer time|serial|repeat|verify".
    QStringList csvRows(const ReportSelection &selection, ReportTotals *totals = nullptr)
    {
        const QString path = dir.filePath("report.csv");
        QString error;
        auto writer = MakeCsvReportWriter();
        EXPECT_TRUE(WriteBatchReport(activeRecordsStore(), selection, *writer, path, &error, totals))
            << error.toStdString();
        const QList<QStringList> csv = CsvRows(ReadFileBytes(path));
        QStringList rows;
        const QStringList columns[] = {CsvColumn(csv, "transfer_datetime"), CsvColumn(csv, "serialNumber"),
                                       CsvColumn(csv, "repeat"), CsvColumn(csv, "verify_result")};
        for (qsizetype r = 0; r + 1 < csv.size(); ++r)
            rows << QStringList{columns[0][r], columns[1][r], columns[2][r], columns[3][r]}.join('|');
        return rows;
    }
};

TEST_F(BatchReport, TheSelectionTakesItsTransfersAndDriversInOrder)
{
    struct Case {
        const char *name;
        QString from, to, programmer;
        QStringList rows;
    };
    const QString t1 = "2026-01-05 08:00:00", t2 = "2026-01-06 09:00:00", t3 = "2026-01-07 10:00:00";
    const Case cases[] = {
        {"everything: drivers without a transfer first, the transfer without drivers on its own line", "", "", "",
         {"|S9|0|not verified", t1 + "|S1|0|FAIL", t1 + "|S2|0|not verified", t2 + "|S3|0|FAIL", t2 + "|S1|1|PASS",
          t3 + "|||"}},
        {"from a day", "2026-01-06", "", "", {"|S9|0|not verified", t2 + "|S3|0|FAIL", t2 + "|S1|1|PASS", t3 + "|||"}},
        {"to a day (the whole day)", "", "2026-01-05", "", {t1 + "|S1|0|FAIL", t1 + "|S2|0|not verified"}},
        {"one programmer", "", "", kB, {t2 + "|S3|0|FAIL", t2 + "|S1|1|PASS"}},
        {"a time range: a driver under a transfer made before it", "2026-01-06 09:06", "2026-01-06 12:00", "",
         {"|S9|0|not verified", t2 + "|S1|1|PASS"}},
        {"nothing selected", "2027-01-01", "", "", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ReportSelection selection;
        QString error;
        if (!c.from.isEmpty())
            ASSERT_TRUE(ParseReportDate(c.from, false, &selection.from, &error)) << error.toStdString();
        if (!c.to.isEmpty())
            ASSERT_TRUE(ParseReportDate(c.to, true, &selection.to, &error)) << error.toStdString();
        selection.programmerId = c.programmer;
        EXPECT_EQ(csvRows(selection), c.rows);
    }
}

TEST_F(BatchReport, TheCsvCarriesTheTransferAndTheDifferences)
{
    ReportTotals totals;
    csvRows({}, &totals);
    EXPECT_EQ(totals.transfers, 3);
    EXPECT_EQ(totals.drivers, 5);
    EXPECT_EQ(totals.repeats, 1);
    EXPECT_EQ(totals.verified, 3); // S1's two records, each verified after it, and S3
    EXPECT_EQ(totals.failed, 2);   // S1's first record and S3
    EXPECT_EQ(totals.notVerified(), 2);
    const QByteArray csv = ReadFileBytes(dir.filePath("report.csv"));
    EXPECT_TRUE(csv.startsWith("transfer_id,transfer_datetime,enOcean_HandHeldID,programmer_NFC_FW,familyName,"));
    EXPECT_TRUE(csv.contains(",Family B,")) << csv.toStdString();
    EXPECT_TRUE(csv.contains(",700,")) << csv.toStdString();
    // The two differences in one quoted field.
    EXPECT_TRUE(csv.contains(",\"L3: expected 80 %, found 70 %\nGTIN: not on the tag\"\n")) << csv.toStdString();
}

TEST_F(BatchReport, ThePdfHoldsEveryTransferDriverAndTheTotals)
{
    // Enough drivers under one more transfer for several pages.
    transfer("2026-01-08 07:00:00", kA, "500", "Family C");
    QStringList many;
    for (int i = 0; i < 150; ++i) {
        many << QStringLiteral("00000000001%1").arg(i, 5, 10, QLatin1Char('0'));
        driver(QStringLiteral("2026-01-08 08:%1:%2").arg(i / 60, 2, 10, QLatin1Char('0')).arg(i % 60, 2, 10, QLatin1Char('0')),
               kA, many.last());
    }
    const QString path = dir.filePath("report.pdf");
    QString error;
    auto writer = MakePdfReportWriter();
    qint64 lastDone = 0, lastTotal = 0;
    ASSERT_TRUE(WriteBatchReport(activeRecordsStore(), {}, *writer, path, &error, nullptr,
                                 [&](qint64 done, qint64 total) {
                                     lastDone = done;
                                     lastTotal = total;
                                 }))
        << error.toStdString();
    EXPECT_EQ(lastDone, 155);
    EXPECT_EQ(lastTotal, 155);
    EXPECT_TRUE(ReadFileBytes(path).startsWith("%PDF-"));
    const QString text = PdfText(path);
    for (const QString &serial : QStringList{"S1", "S2", "S3", "S9"} + many)
        EXPECT_TRUE(text.contains(QRegularExpression("(^|\\s)" + serial + "\\s"))) << serial.toStdString();
    for (const char *line : {"Batch report", "Transfer 2026-01-05 08:00:00 UTC, programmer 0x0180A2B3",
                             "Family: Family B", "Nominal current: 700 mA", "DC level: off", "Drivers without a settings record",
                             "No driver of this transfer in the selection.", "L3: expected 80 %, found 70 %",
                             "GTIN: not on the tag", "REPEAT", "not verified", "Transfers: 4", "Drivers: 155",
                             "Repeats: 1", "Verified: 3", "Failed: 2", "Not verified: 152"})
        EXPECT_TRUE(text.contains(QLatin1String(line))) << line;
    // The failed driver's differences come under its line, before the next driver.
    EXPECT_LT(text.indexOf("L3: expected 80 %, found 70 %"), text.indexOf(QRegularExpression("\\sS1\\s"),
                                                                          text.indexOf("Family B")));
    // Every page says which of how many it is (pdftotext ends each page with a form feed).
    const qsizetype pages = text.count(QLatin1Char('\f'));
    ASSERT_GE(pages, 3);
    QStringList numbers;
    QRegularExpressionMatchIterator it = QRegularExpression("Page (\\d+) of (\\d+)").globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        numbers << m.captured(1) + "/" + m.captured(2);
    }
    QStringList expected;
    for (qsizetype p = 1; p <= pages; ++p)
        expected << QStringLiteral("%1/%2").arg(p).arg(pages);
    EXPECT_EQ(numbers, expected);
}

TEST_F(BatchReport, AReportThatCannotBeWrittenOrReadLeavesNoFile)
{
    struct Case {
        const char *name;
        bool pdf;
        QString path;
        bool fillDisk;
        const char *message;
    };
    const QString missing = dir.filePath("no/such/folder/report");
    const QString out = dir.filePath("out");
    ASSERT_TRUE(QDir().mkpath(out));
    const Case cases[] = {
        {"PDF into a folder that is not there", true, missing + ".pdf", false, "Cannot write"},
        {"CSV into a folder that is not there", false, missing + ".csv", false, "Cannot write"},
        {"PDF on a full disk", true, out + "/full.pdf", true, "Cannot write"},
        {"CSV on a full disk", false, out + "/full.csv", true, "Cannot write"},
    };
    for (int i = 0; i < 400; ++i)
        driver("2026-01-09 10:00:00", kA, QStringLiteral("X%1").arg(i));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        auto writer = c.pdf ? MakePdfReportWriter() : MakeCsvReportWriter();
        QString error;
        bool written = false;
        {
            FileSizeLimit limit(c.fillDisk ? 4096 : RLIM_INFINITY);
            written = WriteBatchReport(activeRecordsStore(), {}, *writer, c.path, &error);
        }
        EXPECT_FALSE(written);
        EXPECT_TRUE(error.startsWith(QLatin1String(c.message))) << error.toStdString();
        EXPECT_FALSE(QFile::exists(c.path));
    }
    EXPECT_TRUE(QDir(out).entryList(QDir::Files | QDir::Hidden).isEmpty()) << QDir(out).entryList().join(',').toStdString();

    // Records that cannot be read: the file is not left behind either.
    setDatabaseFolder(dir.filePath("broken"));
    ASSERT_TRUE(QDir().mkpath(DriversDatabasePath())); // a folder where the drivers file should be
    for (const bool pdf : {true, false}) {
        auto writer = pdf ? MakePdfReportWriter() : MakeCsvReportWriter();
        QString error;
        const QString path = out + (pdf ? "/r.pdf" : "/r.csv");
        EXPECT_FALSE(WriteBatchReport(activeRecordsStore(), {}, *writer, path, &error));
        EXPECT_TRUE(error.startsWith("Drivers database could not be opened")) << error.toStdString();
        EXPECT_FALSE(QFile::exists(path));
    }
    EXPECT_TRUE(QDir(out).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

// A verification speaks for the driver record it follows: the newest record of
// its serial at or before its time. Each case is a day of records of its own.
class ReportTruth : public RecordsFolderTest {
protected:
    struct Event {
        char kind; // 'T' transfer, 'D' driver record, 'V' verification
        const char *time;
        const char *serial = "";
        const char *result = "";
    };
    void write(const QList<Event> &events)
    {
        for (const Event &e : events) {
            const QString time = QStringLiteral("2026-03-02 ") + QLatin1String(e.time);
            if (e.kind == 'T')
                transfer(time, kA, "500", "Family A");
            else if (e.kind == 'D')
                driver(time, kA, QLatin1String(e.serial));
            else
                verification(time, QLatin1String(e.serial), QLatin1String(e.result),
                             QLatin1String(e.result) == "FAIL" ? "L3: expected 88 %, found 50 %" : "");
        }
    }
    // "serial|repeat|verify" per driver line of the CSV report.
    QStringList lines(const QString &folder, ReportTotals *totals)
    {
        const QString path = QDir(folder).filePath("report.csv");
        QString error;
        auto writer = MakeCsvReportWriter();
        EXPECT_TRUE(WriteBatchReport(activeRecordsStore(), {}, *writer, path, &error, totals)) << error.toStdString();
        const QList<QStringList> csv = CsvRows(ReadFileBytes(path));
        const QStringList serials = CsvColumn(csv, "serialNumber"), repeats = CsvColumn(csv, "repeat"),
                          results = CsvColumn(csv, "verify_result");
        QStringList out;
        for (qsizetype r = 0; r < serials.size(); ++r)
            if (!serials[r].isEmpty())
                out << serials[r] + "|" + repeats[r] + "|" + results[r];
        return out;
    }
};

TEST_F(ReportTruth, AVerificationBelongsToTheDriverRecordItFollows)
{
    struct Case {
        const char *name;
        QList<Event> events;
        QStringList lines;
        qint64 verified, failed;
    };
    const Case cases[] = {
        {"three transfers, S1 programmed three times, one verify run after the last",
         {{'T', "08:00:00"}, {'D', "08:01:00", "S1"}, {'D', "08:02:00", "S2"},
          {'T', "09:00:00"}, {'D', "09:01:00", "S1"}, {'D', "09:02:00", "S3"},
          {'T', "10:00:00"}, {'D', "10:01:00", "S1"},
          {'V', "10:30:00", "S1", "PASS"}, {'V', "10:31:00", "S2", "PASS"}, {'V', "10:32:00", "S3", "FAIL"}},
         {"S1|0|not verified", "S2|0|PASS", "S1|1|not verified", "S3|0|FAIL", "S1|1|PASS"}, 3, 1},
        {"verified between two programmings: the earlier record's result",
         {{'T', "08:00:00"}, {'D', "08:01:00", "S1"}, {'V', "08:30:00", "S1", "FAIL"}, {'D', "09:01:00", "S1"}},
         {"S1|0|FAIL", "S1|1|not verified"}, 1, 1},
        {"a verification before the driver was programmed speaks for no record",
         {{'V', "07:00:00", "S1", "FAIL"}, {'T', "08:00:00"}, {'D', "08:01:00", "S1"}},
         {"S1|0|not verified"}, 0, 0},
        {"a verification in the second of the record belongs to it",
         {{'T', "08:00:00"}, {'D', "08:01:00", "S1"}, {'V', "08:01:00", "S1", "FAIL"}},
         {"S1|0|FAIL"}, 1, 1},
        {"verified twice: the newest result, counted once",
         {{'T', "08:00:00"}, {'D', "08:01:00", "S1"}, {'V', "08:05:00", "S1", "FAIL"}, {'V', "08:06:00", "S1", "PASS"}},
         {"S1|0|PASS"}, 1, 0},
        {"programmed again in the same second: the later record",
         {{'T', "08:00:00"}, {'D', "08:01:00", "S1"}, {'D', "08:01:00", "S1"}, {'V', "08:02:00", "S1", "PASS"}},
         {"S1|0|not verified", "S1|1|PASS"}, 1, 0},
    };
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = dir.filePath(QStringLiteral("case%1").arg(++n));
        ASSERT_TRUE(QDir().mkpath(folder));
        setDatabaseFolder(folder);
        write(c.events);
        ReportTotals totals;
        EXPECT_EQ(lines(folder, &totals), c.lines);
        EXPECT_EQ(totals.drivers, c.lines.size());
        EXPECT_EQ(totals.verified, c.verified);
        EXPECT_EQ(totals.failed, c.failed);
        EXPECT_EQ(totals.notVerified(), c.lines.size() - c.verified);
    }
}

// The pixels of a PDF's first page that are plainly red, as pdftoppm (poppler-utils) renders it.
int RedPixels(const QString &pdf)
{
    const QString stem = pdf + "-page";
    QProcess p;
    p.start(QStringLiteral("pdftoppm"), {"-png", "-r", "60", "-f", "1", "-l", "1", "-singlefile", pdf, stem});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) {
        ADD_FAILURE() << "pdftoppm (poppler-utils) could not render " << pdf.toStdString();
        return -1;
    }
    const QImage page(stem + ".png");
    int red = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            red += c.red() > 140 && c.green() < 90 && c.blue() < 90;
        }
    return red;
}

TEST_F(BatchReport, ThePdfIsHeadedWithTheBatchAndStationAndItsFailuresStandOut)
{
    // One transfer with every value, to see each with its unit.
    put(PendingRecord::Kind::Settings, "2026-01-04 07:00:00",
        {"0x33333333", "2.10", "Family U", "", "", "001122334455", "", "", "", "350", "50000", "100", "95", "88", "80",
         "70", "51", "40", "100", "60", "50", "85"});
    const QString path = dir.filePath("headed.pdf");
    QString error;
    auto writer = MakePdfReportWriter();
    ASSERT_TRUE(WriteBatchReport(activeRecordsStore(), {}, *writer, path, &error, nullptr, {}, "  B-2026-17 "))
        << error.toStdString();
    const QString text = PdfText(path);
    for (const QString &line :
         {QStringLiteral("Batch / order: B-2026-17"), "Station: " + RecordsStation(), QStringLiteral("Page 1 of 1"),
          QStringLiteral("Batch / order B-2026-17"), QStringLiteral("Nominal current: 350 mA"),
          QStringLiteral("Lifetime: 50000 h"), QStringLiteral("DC level: 51 %"), QStringLiteral("L1: 100 %"),
          QStringLiteral("L3: 88 %"), QStringLiteral("L5: 70 %"), QStringLiteral("NTC start temperature: 40 \u00B0C"),
          QStringLiteral("NTC start level: 100 %"), QStringLiteral("NTC stop temperature: 60 \u00B0C"),
          QStringLiteral("NTC stop level: 50 %"), QStringLiteral("NTC cut-off temperature: 85 \u00B0C"),
          QStringLiteral("Nominal current: 400 mA"), QStringLiteral("DC level: off")})
        EXPECT_TRUE(text.contains(line)) << line.toStdString() << "\n" << text.toStdString();
    EXPECT_FALSE(text.contains("Level")) << text.toStdString();
    // A failure's line and differences are red; a report without failures has no red.
    EXPECT_GT(RedPixels(path), 20);
    setDatabaseFolder(dir.filePath("passing"));
    ASSERT_TRUE(QDir().mkpath(dir.filePath("passing")));
    transfer("2026-01-05 08:00:00", kA, "400", "Family A");
    driver("2026-01-05 08:10:00", kA, "S1");
    verification("2026-01-05 09:00:00", "S1", "PASS");
    const QString passing = dir.filePath("passing.pdf");
    writer = MakePdfReportWriter();
    ASSERT_TRUE(WriteBatchReport(activeRecordsStore(), {}, *writer, passing, &error)) << error.toStdString();
    EXPECT_EQ(RedPixels(passing), 0);
    EXPECT_FALSE(PdfText(passing).contains("Batch / order")); // no number given
}

TEST_F(BatchReport, TheCsvAndThePdfCountTheSame)
{
    ReportTotals fromCsv;
    const QStringList rows = csvRows({}, &fromCsv);
    qint64 verified = 0, failed = 0, drivers = 0;
    for (const QString &row : rows) {
        const QString result = row.section('|', 3);
        drivers += !row.section('|', 1, 1).isEmpty();
        verified += result == "PASS" || result == "FAIL";
        failed += result == "FAIL";
    }
    EXPECT_EQ(drivers, fromCsv.drivers);
    EXPECT_EQ(verified, fromCsv.verified);
    EXPECT_EQ(failed, fromCsv.failed);
    const QString path = dir.filePath("same.pdf");
    QString error;
    auto writer = MakePdfReportWriter();
    ASSERT_TRUE(WriteBatchReport(activeRecordsStore(), {}, *writer, path, &error)) << error.toStdString();
    const QString text = PdfText(path);
    EXPECT_TRUE(text.contains(QStringLiteral("Verified: %1").arg(verified)));
    EXPECT_TRUE(text.contains(QStringLiteral("Failed: %1").arg(failed)));
    EXPECT_TRUE(text.contains(QStringLiteral("Not verified: %1").arg(drivers - verified)));
}

// Every name of the shared table stands for a column the records really have.
TEST(ParameterNames, EveryNamedColumnIsARecordColumn)
{
    const QStringList settings = SettingsRecordColumns(), drivers = DriverRecordColumns();
    QStringList labels;
    for (const ParameterName &p : ParameterNames()) {
        EXPECT_TRUE(settings.contains(p.recordColumn)) << p.recordColumn.toStdString();
        EXPECT_TRUE(drivers.contains(p.recordColumn)) << p.recordColumn.toStdString();
        EXPECT_FALSE(p.unit.isEmpty()) << p.label.toStdString();
        labels << p.label;
    }
    labels.removeDuplicates();
    EXPECT_EQ(labels.size(), ParameterNames().size());
    struct Case {
        const char *value, *unit, *text;
    };
    const Case cases[] = {{"500", "mA", "500 mA"}, {"82.5", "%", "82.5 %"}, {"82,5", "%", "82,5 %"},
                          {"-10", "\u00B0C", "-10 \u00B0C"}, {"", "h", ""}, {"NULL", "h", "NULL"}, {"OFF", "%", "OFF"}};
    for (const Case &c : cases)
        EXPECT_EQ(ValueWithUnit(QString::fromUtf8(c.value), QString::fromUtf8(c.unit)), QString::fromUtf8(c.text));
}

// The parameter columns of both records, in the order the table gives their values.
TEST(ParameterNames, RecordParameterColumnsFollowTheRecordsOrder)
{
    const QStringList parameters = RecordParameterColumns();
    for (const QStringList &record : {SettingsRecordColumns(), DriverRecordColumns()}) {
        const qsizetype first = record.indexOf(parameters.front());
        ASSERT_GE(first, 0);
        EXPECT_EQ(record.mid(first, parameters.size()), parameters);
    }
    EXPECT_EQ(SettingsRecordColumns().mid(SettingsRecordColumns().size() - parameters.size()), parameters);
}

TEST(ReportDates, FormsTakenAndRefused)
{
    struct Case {
        const char *text;
        bool endOfDay;
        const char *expected; // nullptr: refused
    };
    const Case cases[] = {
        {"2026-12-10", false, "2026-12-10 00:00:00"},
        {"2026-12-10", true, "2026-12-10 23:59:59"},
        {"2026-12-10 07:05", false, "2026-12-10 07:05:00"},
        {"2026-12-10 07:05", true, "2026-12-10 07:05:59"},
        {"2026-12-10T07:05:09", true, "2026-12-10 07:05:09"},
        {" 2026-02-28 ", false, "2026-02-28 00:00:00"},
        {"2026-02-30", false, nullptr},
        {"2026-12-10 24:00", false, nullptr},
        {"10.12.2026", false, nullptr},
        {"2026-12-10 7:05", false, nullptr},
        {"", false, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        QString time = "unchanged", error;
        EXPECT_EQ(ParseReportDate(QString::fromLatin1(c.text), c.endOfDay, &time, &error), c.expected != nullptr);
        if (c.expected)
            EXPECT_EQ(time, c.expected);
        else
            EXPECT_TRUE(error.contains("is no date")) << error.toStdString();
    }
}

} // namespace

// ---- The records panel's "Report" button ---------------------------------------------

#include "desktop/record_options_panel.h"
#include "wait_for.h"
#include "window_test_folder.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

TEST_F(BatchReport, TheReportButtonWritesTheFileTheUserChoosesAndSaysWhatItWrote)
{
    WindowTestFolder folder(dir.filePath("window"));
    setDatabaseFolder(dir.path()); // the fixture's records
    TProgrammedDriverReportPanel panel;
    ASSERT_EQ(panel.ReportPanelReportButton->text(), "Report");
    const QString pdf = dir.filePath("chosen.pdf"), csv = dir.filePath("chosen.CSV");
    const QString nowhere = dir.filePath("no/such/folder/r.pdf");
    dlg.filePaths = {"", pdf, csv, nowhere};

    const auto clickAndWait = [&] {
        panel.ReportPanelReportButton->click();
        return waitFor([&] { return !panel.WritingReport(); }, kWaitLimitMs);
    };
    ASSERT_TRUE(clickAndWait()); // cancelled: nothing happens
    ASSERT_EQ(dlg.fileDialogs.size(), 1);
    EXPECT_TRUE(dlg.fileDialogs[0].save);
    EXPECT_EQ(dlg.fileDialogs[0].request.defaultSuffix, "pdf");
    EXPECT_TRUE(dlg.fileDialogs[0].request.filter.contains("*.pdf"));
    EXPECT_TRUE(dlg.fileDialogs[0].request.filter.contains("*.csv"));
    EXPECT_TRUE(dlg.messages.isEmpty());

    panel.ReportBatchEdit->setText(" Order 77 "); // heads the report
    ASSERT_TRUE(clickAndWait());
    ASSERT_EQ(dlg.messages.size(), 1);
    EXPECT_EQ(dlg.messages[0].caption, "Info");
    EXPECT_EQ(dlg.messages[0].text, "Report written to " + QDir::toNativeSeparators(pdf)
                                        + ": 3 transfer(s), 5 driver(s), 1 repeat(s), 3 verified, 2 failed, "
                                          "2 not verified.");
    const QString text = PdfText(pdf);
    EXPECT_TRUE(text.contains("Transfer 2026-01-06 09:00:00 UTC, programmer 0x11111111"));
    EXPECT_TRUE(text.contains("Batch / order: Order 77")) << text.toStdString();

    ASSERT_TRUE(clickAndWait()); // a name ending in .csv (any case): CSV
    ASSERT_EQ(dlg.messages.size(), 2);
    EXPECT_EQ(dlg.messages[1].caption, "Info");
    EXPECT_TRUE(ReadFileBytes(csv).startsWith("transfer_id,transfer_datetime,"));

    ASSERT_TRUE(clickAndWait());
    ASSERT_EQ(dlg.messages.size(), 3);
    EXPECT_EQ(dlg.messages[2].caption, "Error");
    EXPECT_EQ(dlg.messages[2].icon, MsgIcon::Error);
    EXPECT_TRUE(dlg.messages[2].text.startsWith("The report was not written: Cannot write")) << dlg.messages[2].text.toStdString();
    EXPECT_FALSE(QFile::exists(nowhere));
}

} // namespace
