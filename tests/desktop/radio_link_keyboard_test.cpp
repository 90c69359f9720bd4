// Tab in the radio link window follows reading order: the left-hand column from
// top to bottom (port row, pairing row, settings, then the expert panels below),
// then the expert column on the right, row by row from left to right.
#include "desktop/radio_link_window.h"
#include "desktop/controls.h"
#include "focus_chain.h"
#include "scripted_dialogs.h"
#include "serial/port_discovery.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>
#include <map>

namespace {

class RadioLinkKeyboardTest : public ::testing::Test {
protected:
    ScriptedDialogs dialogs;
    std::unique_ptr<TForm9> radio;

    void SetUp() override
    {
        setSystemSerialPortLister([] { return QList<SystemSerialPort>{}; });
        radio = std::make_unique<TForm9>();
        radio->Link.stopReceiveTick();
        radio->ExpertModeSet(true);
    }
    void TearDown() override
    {
        radio.reset();
        setSystemSerialPortLister({});
    }

    // The controls' names in the tables below.
    QStringList names(const QList<QWidget *> &stops)
    {
        TForm9 &f = *radio;
        const std::map<const QWidget *, const char *> known = {
            {f.ComboBoxComPort, "port list"},
            {f.ButtonSearchComPorts, "Search EnOcean ports"},
            {f.OpenPortButton, "Open port"},
            {f.EditReceiverId, "NFC ID"},
            {f.EditReceiverFW, "NFC FW"},
            {f.SendPairingRequestButton, "Send pairing request"},
            {f.Develoop_Button, "Develop menu"},
            {f.Advanced_Button, "Settings"},
            {f.SelectNFCsensitivityButton, "Select NFC sensitivity"},
            {f.rgSensHigh, "High"},
            {f.rgSensLow, "Low"},
            {f.CalibrationButton, "Calibration"},
            {f.StartButton_PortForm, "Start"},
            {f.SwitchProgButton, "Switch to Prog"},
            {f.CheckBox1, "10s Send Delay"},
            {f.ButtonFirmwareUpdate, "Firmware Update"},
            {f.SwichReadButton, "Switch to Read"},
            {f.CheckBox2, "Use OwnId"},
            {f.EditGTIN, "GTIN"},
            {f.EditFW, "FW"},
            {f.EditHW, "HW"},
            {f.EditSerial, "Serial"},
            {f.MemoData, "TAG RW data"},
            {f.SendTagButton, "send Tag"},
            {f.SendTagDataButton, "Send Tag and Data"},
            {f.SendProgrammingData, "SendProgrammingData"},
            {f.EditReceiverVersion, "Firmware Version"},
            {f.GetStickVersionButton, "Get Stick Version"},
            {f.ViewTagInfoButton, "View TagInfo"},
            {f.CleanReceiveButton, "Clear Receive"},
            {f.EditUserText, "Send UserText"},
            {f.Button7, "send (user text)"},
            {f.Edit1, "Send Hex Code"},
            {f.Button1, "send (hex code)"},
            {f.MemoReceive, "receive log"},
        };
        QStringList result;
        for (const QWidget *w : stops) {
            const auto it = known.find(w);
            result << (w == nullptr ? QStringLiteral("(never reached the end)")
                       : it != known.end() ? QString::fromLatin1(it->second)
                                           : QStringLiteral("(a %1)").arg(QLatin1String(w->metaObject()->className())));
        }
        return result;
    }
};

TEST_F(RadioLinkKeyboardTest, TabRunsDownTheLeftColumnThenThroughTheExpertColumnInReadingOrder)
{
    const struct {
        const char *layout;
        bool settings;
        QStringList stops;
    } cases[] = {
        {"expert, settings hidden",
         false,
         {"port list", "Search EnOcean ports", "Open port", "NFC ID", "NFC FW", "Send pairing request", "Develop menu",
          "Settings", "Start", "Switch to Prog", "10s Send Delay", "Firmware Update", "Switch to Read", "Use OwnId",
          "GTIN", "FW", "HW", "Serial", "TAG RW data", "send Tag", "Send Tag and Data", "SendProgrammingData",
          "Firmware Version", "Get Stick Version", "View TagInfo", "Clear Receive", "Send UserText",
          "send (user text)", "Send Hex Code", "send (hex code)", "receive log"}},
        {"expert, settings shown",
         true,
         {"port list", "Search EnOcean ports", "Open port", "NFC ID", "NFC FW", "Send pairing request", "Develop menu",
          "Settings", "Select NFC sensitivity", "High", "Low", "Calibration", "Start", "Switch to Prog", "10s Send Delay",
          "Firmware Update", "Switch to Read", "Use OwnId", "GTIN", "FW", "HW", "Serial", "TAG RW data", "send Tag",
          "Send Tag and Data", "SendProgrammingData", "Firmware Version", "Get Stick Version", "View TagInfo",
          "Clear Receive", "Send UserText", "send (user text)", "Send Hex Code", "send (hex code)", "receive log"}},
    };
    radio->Develoop_ButtonClick();
    radio->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(radio.get()));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.layout);
        if (radio->Panel2->isVisible() != c.settings)
            radio->Advanced_ButtonClick();
        ASSERT_EQ(radio->Panel2->isVisible(), c.settings);
        EXPECT_EQ(names(TabStopWidgets(radio->ComboBoxComPort, radio->MemoReceive)), c.stops);
    }
}

TEST_F(RadioLinkKeyboardTest, TabLeavesTheDataMemoForTheNextControlInsteadOfTypingATab)
{
    radio->Develoop_ButtonClick();
    radio->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(radio.get()));
    radio->activateWindow();
    radio->MemoData->setPlainText(QStringLiteral("0010 FF"));
    radio->MemoData->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return radio->MemoData->hasFocus(); }));
    QTest::keyClick(radio->MemoData, Qt::Key_Tab);
    EXPECT_EQ(radio->MemoData->toPlainText(), QStringLiteral("0010 FF"));
    EXPECT_TRUE(radio->SendTagButton->hasFocus());
}

} // namespace
