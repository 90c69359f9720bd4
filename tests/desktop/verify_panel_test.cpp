// The main window's verify mode on a radio link over the fake stick: "verify"
// switches the programmer to reading and shows the panel, each tag read shows
// PASS or FAIL with its serial, differences and running counts, send / read /
// verify stay disabled until "End verify".
#include "default_profiles.h"
#include "desktop/desktop_app.h"
#include "desktop/radio_link_window.h"
#include "desktop/verify_panel.h"
#include "driver_tags.h"
#include "fake_serial_port.h"
#include "main_window_fixture.h"
#include "radio/tag_buffers.h"
#include "radio_test_util.h"
#include "records/records_database.h"
#include "wait_for.h"

#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimeZone>
#include <QTimer>

namespace {

constexpr uint32_t kOwn = 0x0180A2B3;
constexpr uint32_t kProgrammer = 0x01A2B3C4;
constexpr int kLevel0 = 265; // tag address of Level0
constexpr int kFirstRwByte = 258; // tag address of the first data byte of the read-write area

class VerifyPanelTest : public MainWindowTest {
protected:
    FakePortInstaller fake;
    std::unique_ptr<TForm9> radio;

    void SetUp() override
    {
        MainWindowTest::SetUp();
        tagBuffers = TagBuffers();
        tagReadState = TagReadState();
        ApplyPairedDriverIdentity(settingsVariablesField[0]);
        form->Setting1ToolButtonClick();
        radio = std::make_unique<TForm9>();
        ConnectDesktopWindows({.main = form.get(), .radio = radio.get()});
        radio->Link.TogglePort("stick");
        radio->Link.ownId = kOwn;
        radio->EditReceiverId->setText("0x01A2B3C4");
        radio->CheckBox1->setChecked(false); // no waits for the stick's acknowledgements
        ASSERT_TRUE(radio->Link.isPortOpen());
        form->show();
    }
    void TearDown() override
    {
        form->EndVerifyClick(); // the mode ends while the link exists
        radio.reset();
        MainWindowTest::TearDown();
    }

    int lastFrameId() const
    {
        const QByteArray &w = fake.state->writes.last();
        return w.size() > 7 ? quint8(w[7]) : -1;
    }
    void hold(const TagImage &t)
    {
        for (const QByteArray &f : TagReadFrames(t)) {
            fake.state->incoming.append(telegramFrom(f, kProgrammer, kOwn));
            radio->Link.Timer1Timer();
        }
    }
    TagImage driver(quint64 serial) const
    {
        TagImage t = PairedDriverTagProgrammedWith(settingsVariablesField[0]);
        for (int i = 0; i < 8; ++i)
            t.serial[i] = char(serial >> (8 * (7 - i)));
        return t;
    }
    // The colour the result is shown on, taken from the label's picture.
    QColor resultColour() const
    {
        return form->VerifyPanel->VerifyResultLabel->grab().toImage().pixelColor(4, 4);
    }
    bool linkButtonsEnabled() const
    {
        return form->SendButton->isEnabled() || form->ReadButton->isEnabled() || form->VerifyButton->isEnabled();
    }
};

TEST_F(VerifyPanelTest, ShowsEachDriverWithTheRunningCountsUntilEnded)
{
    ASSERT_NE(form->VerifyButton, nullptr);
    EXPECT_EQ(form->VerifyButton->text(), "verify");
    form->VerifyButton->click();
    ASSERT_TRUE(dlg.messages.isEmpty()) << dlg.messages.first().text.toStdString();
    EXPECT_EQ(lastFrameId(), 0x13);
    TVerifyPanel *panel = form->VerifyPanel;
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->VerifyTitleLabel->text(), "Verify against slot 1");
    EXPECT_EQ(panel->VerifyResultLabel->text(), kVerifyWaitingText);
    EXPECT_EQ(panel->VerifyCountsLabel->text(), "Passed: 0   Failed: 0");
    EXPECT_FALSE(linkButtonsEnabled());

    hold(driver(12345));
    EXPECT_EQ(panel->VerifyResultLabel->text(), "PASS");
    const QColor pass = resultColour();
    EXPECT_GT(pass.green(), pass.red() + 60);
    EXPECT_EQ(panel->VerifySerialLabel->text(), "Serial: 0000000000012345");
    EXPECT_EQ(panel->VerifyDifferencesMemo->toPlainText(), "");
    EXPECT_EQ(panel->VerifyCountsLabel->text(), "Passed: 1   Failed: 0");

    TagImage changed = driver(12346);
    changed.rwData[kLevel0 - 256 - 2] = char(150);
    hold(changed);
    EXPECT_EQ(panel->VerifyResultLabel->text(), "FAIL");
    const QColor fail = resultColour();
    EXPECT_GT(fail.red(), fail.green() + 60);
    EXPECT_EQ(panel->VerifySerialLabel->text(), "Serial: 0000000000012346");
    EXPECT_EQ(panel->VerifyDifferencesMemo->toPlainText(), "L1: expected 100 %, found 75 %");
    EXPECT_EQ(panel->VerifyCountsLabel->text(), "Passed: 1   Failed: 1");
    EXPECT_FALSE(linkButtonsEnabled()); // the mode stays on for the next driver

    panel->EndVerifyButton->click();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(lastFrameId(), 0x14);
    EXPECT_TRUE(form->SendButton->isEnabled() && form->ReadButton->isEnabled() && form->VerifyButton->isEnabled());

    // Both drivers were recorded (by the records writer, a moment later).
    VerificationRecord record;
    QString time, error;
    ASSERT_TRUE(waitFor([&] { return PendingRecordCount() == 0; }, kWaitLimitMs));
    ASSERT_TRUE(NewestVerification("0000000000012346", &record, &time, &error)) << error.toStdString();
    EXPECT_EQ(record.result, "FAIL");
    EXPECT_EQ(record.differences, "L1: expected 100 %, found 75 %");

    // A new mode starts its counts again.
    form->VerifyButton->click();
    EXPECT_EQ(panel->VerifyCountsLabel->text(), "Passed: 0   Failed: 0");
}

TEST_F(VerifyPanelTest, EveryDriverIsListedAndAFailWaitsForTheOperator)
{
    QDateTime now(QDate(2026, 12, 10), QTime(8, 0, 0), Qt::UTC);
    form->VerifyButton->click();
    TVerifyPanel *panel = form->VerifyPanel;
    ASSERT_NE(panel, nullptr);
    panel->SetClock([&now] { return now; });
    EXPECT_EQ(panel->VerifyHistoryList->count(), 0);
    EXPECT_FALSE(panel->AcknowledgeFailButton->isEnabled());

    TagImage changed = driver(12346);
    changed.rwData[267 - kFirstRwByte] = char(0x64); // L3 at 50 %
    hold(driver(12345));
    now = now.addSecs(1);
    hold(changed);
    now = now.addSecs(1);
    hold(driver(12347));

    // The FAIL is not covered by the next driver's PASS.
    EXPECT_EQ(panel->VerifyResultLabel->text(), "FAIL");
    EXPECT_EQ(panel->VerifySerialLabel->text(), "Serial: 0000000000012346");
    EXPECT_EQ(panel->VerifyDifferencesMemo->toPlainText(), "L3: expected 100 %, found 50 %");
    EXPECT_EQ(panel->VerifyCountsLabel->text(), "Passed: 2   Failed: 1");
    EXPECT_TRUE(panel->AcknowledgeFailButton->isEnabled());
    // Every driver in the list, newest on top, the failed one red with its differences.
    ASSERT_EQ(panel->VerifyHistoryList->count(), 3);
    auto at = [&now](int secondsBefore) { return now.addSecs(-secondsBefore).toLocalTime().toString("HH:mm:ss"); };
    EXPECT_EQ(panel->VerifyHistoryList->item(0)->text(), at(0) + "  PASS  0000000000012347");
    EXPECT_EQ(panel->VerifyHistoryList->item(1)->text(),
              at(1) + "  FAIL  0000000000012346\n      L3: expected 100 %, found 50 %");
    EXPECT_EQ(panel->VerifyHistoryList->item(2)->text(), at(2) + "  PASS  0000000000012345");
    const QColor failText = panel->VerifyHistoryList->item(1)->foreground().color();
    EXPECT_GT(failText.red(), failText.green() + 60);
    EXPECT_NE(panel->VerifyHistoryList->item(0)->foreground().color(), failText);

    // Without a hold time only the operator releases it, however long it takes.
    now = now.addSecs(3600);
    EXPECT_FALSE(panel->FailHoldTimer->isActive());
    QCoreApplication::processEvents();
    EXPECT_EQ(panel->VerifyResultLabel->text(), "FAIL");
    panel->AcknowledgeFailButton->click();
    EXPECT_EQ(panel->VerifyResultLabel->text(), kVerifyWaitingText);
    EXPECT_FALSE(panel->AcknowledgeFailButton->isEnabled());
    EXPECT_EQ(panel->VerifyHistoryList->count(), 3); // the list and the counts stay
    EXPECT_EQ(panel->VerifyCountsLabel->text(), "Passed: 2   Failed: 1");

    // The Escape key acknowledges as well.
    hold(changed);
    ASSERT_EQ(panel->VerifyResultLabel->text(), "FAIL");
    QApplication::setActiveWindow(form.get());
    QTest::keyClick(form.get(), Qt::Key_Escape);
    EXPECT_EQ(panel->VerifyResultLabel->text(), kVerifyWaitingText);

    // With a hold time the FAIL gives way to the newest driver when the time is up.
    panel->FailHoldSpinBox->setValue(5);
    hold(changed);
    now = now.addSecs(2);
    hold(driver(12348));
    EXPECT_EQ(panel->VerifyResultLabel->text(), "FAIL");
    EXPECT_TRUE(panel->FailHoldTimer->isActive());
    now = now.addSecs(3);
    QTRY_COMPARE_WITH_TIMEOUT(panel->VerifyResultLabel->text(), QStringLiteral("PASS"), 20000);
    EXPECT_EQ(panel->VerifySerialLabel->text(), "Serial: 0000000000012348");
    EXPECT_FALSE(panel->AcknowledgeFailButton->isEnabled());
    EXPECT_EQ(panel->VerifyHistoryList->count(), 6);
    EXPECT_EQ(panel->VerifyCountsLabel->text(), "Passed: 3   Failed: 3");

    // A new mode starts an empty list.
    panel->EndVerifyButton->click();
    form->VerifyButton->click();
    EXPECT_EQ(panel->VerifyHistoryList->count(), 0);
    EXPECT_EQ(panel->VerifyCountsLabel->text(), "Passed: 0   Failed: 0");
}

TEST_F(VerifyPanelTest, RefusedWithoutAPortOrWithUnsavedEdits)
{
    struct Case {
        std::function<void()> arrange;
        QString message;
    };
    const Case cases[] = {
        {[&] { form->NomCurrentEdit->setText("400"); }, kVerifyModifiedMessage},
        {[&] { radio->Link.CloseCom(); }, kComPortNotOpened},
    };
    for (const Case &c : cases) {
        c.arrange();
        fake.state->writes.clear();
        dlg.clear();
        form->VerifyButton->click();
        ASSERT_EQ(dlg.messages.size(), 1);
        EXPECT_EQ(dlg.messages[0].text, c.message);
        EXPECT_TRUE(fake.state->writes.isEmpty());
        EXPECT_TRUE(form->VerifyPanel == nullptr || !form->VerifyPanel->isVisible());
    }
}

} // namespace
