// The records windows read and write the store on a thread of their own: with a
// server that takes the connection and never answers, the window keeps turning,
// says what it waits for, takes no second request meanwhile, gives the answer
// when the store ends the wait, and closes at once while the wait goes on.
#include "main_window_fixture.h"

#include "desktop/programmed_drivers_window.h"
#include "desktop/record_options_panel.h"
#include "records/records_setting.h"
#include "records/records_store.h"
#include "silent_listener.h"
#include "wait_for.h"

#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <optional>

#ifndef _WIN32
namespace {

class StoreReadsTest : public MainWindowTest {
protected:
    std::optional<SilentListener> silent;

    void SetUp() override
    {
        MainWindowTest::SetUp();
        silent.emplace();
        ASSERT_TRUE(silent->ok());
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        silent.reset();
        ASSERT_TRUE(setRecordsLocation(QString(), nullptr));
        setRecordsStation(QString());
    }
    // The silent server; its connection time-out is far beyond any test, so only
    // the end of the listener (its queued connections are reset) or an interrupt
    // ends the wait.
    QString silentUrl() const
    {
        return QStringLiteral("postgresql://127.0.0.1:%1/records?user=tavel&connect_timeout=600").arg(silent->port());
    }
    TProgrammedDriverReportPanel *panel()
    {
        form->ReportButtonClick();
        return form->ProgrammedDriverReportPanel;
    }
    // Whether a 10 ms timer of this thread fires `n` times while `busy` holds.
    static bool turnsWhile(const std::function<bool()> &busy, int n)
    {
        int ticks = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        timer.start(10);
        const bool turned = waitFor([&] { return ticks >= n || !busy(); }, kWaitLimitMs);
        return turned && ticks >= n && busy();
    }
    // The server goes away: the waiting connection fails.
    void serverGone() { silent.reset(); }
};

TEST_F(StoreReadsTest, TheDriversReportIsReadWhileTheWindowKeepsTurning)
{
    ASSERT_TRUE(setRecordsLocation(silentUrl(), nullptr));
    TProgrammedDrivers report(form.get());
    report.ShowReport();
    ASSERT_TRUE(report.Reading());
    EXPECT_TRUE(report.isVisible());
    EXPECT_EQ(report.ProgrammedDriversMemo->toPlainText(), "Reading the records \u2026");
    EXPECT_TRUE(turnsWhile([&] { return report.Reading(); }, 5));

    report.ShowReport(); // while it reads: no second reading
    EXPECT_TRUE(report.Reading());
    EXPECT_TRUE(dlg.messages.isEmpty());

    serverGone();
    ASSERT_TRUE(waitFor([&] { return !report.Reading(); }, kWaitLimitMs));
    ASSERT_EQ(dlg.messages.size(), 1) << dlg.texts().join('|').toStdString();
    EXPECT_FALSE(dlg.messages[0].text.isEmpty());
    EXPECT_TRUE(report.ProgrammedDriversMemo->toPlainText().isEmpty()) << "the reading text is gone";
}

TEST_F(StoreReadsTest, TheBatchReportIsWrittenWhileTheWindowKeepsTurningAndTheButtonWaits)
{
    ASSERT_TRUE(setRecordsLocation(silentUrl(), nullptr));
    TProgrammedDriverReportPanel *p = panel();
    ASSERT_NE(p, nullptr);
    const QString pdf = Path("batch.pdf");
    dlg.filePaths = {pdf, pdf};
    p->ReportPanelReportButton->click();
    ASSERT_TRUE(p->WritingReport());
    EXPECT_FALSE(p->ReportPanelReportButton->isEnabled());
    EXPECT_EQ(p->ReportPanelReportButton->text(), "Writing \u2026");
    EXPECT_TRUE(turnsWhile([&] { return p->WritingReport(); }, 5));

    p->ReportPanelReportButtonClick(); // while it writes: not asked for a second file
    EXPECT_EQ(dlg.fileDialogs.size(), 1);

    serverGone();
    ASSERT_TRUE(waitFor([&] { return !p->WritingReport(); }, kWaitLimitMs));
    ASSERT_EQ(dlg.messages.size(), 1) << dlg.texts().join('|').toStdString();
    EXPECT_EQ(dlg.messages[0].caption, "Error");
    EXPECT_TRUE(dlg.messages[0].text.startsWith("The report was not written: ")) << dlg.messages[0].text.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_TRUE(p->ReportPanelReportButton->isEnabled());
    EXPECT_EQ(p->ReportPanelReportButton->text(), "Report");
}

TEST_F(StoreReadsTest, ANewLocationIsPreparedWhileTheWindowKeepsTurning)
{
    TProgrammedDriverReportPanel *p = panel();
    ASSERT_NE(p, nullptr);
    p->RecordsLocationEdit->setText(silentUrl());
    p->UseRecordsLocationButton->click();
    ASSERT_TRUE(p->PreparingLocation());
    EXPECT_FALSE(p->UseRecordsLocationButton->isEnabled());
    EXPECT_TRUE(turnsWhile([&] { return p->PreparingLocation(); }, 5));
    p->UseRecordsLocationButtonClick(); // while it prepares: not a second time

    serverGone();
    ASSERT_TRUE(waitFor([&] { return !p->PreparingLocation(); }, kWaitLimitMs));
    EXPECT_TRUE(p->UseRecordsLocationButton->isEnabled());
    // The records writer may tell of the server afterwards; the location is told once.
    ASSERT_FALSE(dlg.messages.isEmpty());
    EXPECT_TRUE(dlg.messages[0].text.startsWith("The records location cannot be used: "))
        << dlg.messages[0].text.toStdString();
    EXPECT_EQ(dlg.texts().filter("The records location cannot be used").size(), 1)
        << dlg.texts().join('|').toStdString();
}

TEST_F(StoreReadsTest, ClosingWhileTheStoreWaitsEndsTheWaitAndTellsNothing)
{
    ASSERT_TRUE(setRecordsLocation(silentUrl(), nullptr));
    TProgrammedDriverReportPanel *p = panel();
    ASSERT_NE(p, nullptr);
    dlg.filePaths = {Path("batch.pdf")};
    p->ReportPanelReportButton->click();
    p->ReportPanelShowDriversButton->click();
    ASSERT_TRUE(p->WritingReport());
    ASSERT_TRUE(p->ProgrammedDrivers->Reading());
    ASSERT_TRUE(silent->waitForClient(kWaitLimitMs)); // a connection waits for its answer
    // The windows go with the main window; the waits end by their interrupt, not
    // by the server (which stays silent until the test ends).
    Destroy();
    EXPECT_TRUE(dlg.messages.isEmpty()) << dlg.texts().join('|').toStdString();
    EXPECT_FALSE(QFile::exists(Path("batch.pdf")));
}

} // namespace
#endif
