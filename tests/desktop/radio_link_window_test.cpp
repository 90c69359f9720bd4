// The radio link window and the main window's "send".
#include "control_texts.h"
#include "fake_serial_port.h"

#include "common/app_data.h"
#include "app/recent_files.h"
#include "desktop/controls.h"
#include "desktop/desktop_app.h"
#include "desktop/main_window.h"
#include "profile/profile_defaults.h"
#include "radio/esp3.h"
#include "radio/tag_read_session.h"
#include "radio_test_util.h"
#include "desktop/radio_link_window.h"
#include "main_window_fixture.h"
#include "scripted_dialogs.h"
#include "wait_for.h"
#include "window_test_folder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QLayout>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

namespace {
const IdentityFields kIdentity{QStringLiteral("001122334455"), QStringLiteral("0011"),
                              QStringLiteral("0011223344556677"), QStringLiteral("0011")};

class Form9Test : public MainWindowTest {
protected:
    ScriptedDialogs &dialogs = dlg;
    std::unique_ptr<TForm1> &form1 = form;
    FakePortInstaller fake;
    QList<SystemSerialPort> ports;
    std::unique_ptr<TForm9> form9;

    void SetUp() override
    {
        setSystemSerialPortLister([this] { return ports; });
        MainWindowTest::SetUp();
        form9 = std::make_unique<TForm9>();
        ConnectDesktopWindows({.main = form1.get(), .radio = form9.get()});
        form9->Link.stopReceiveTick(); // ticks by hand
        // The stick acknowledges every radio telegram.
        fake.state->onWrite = [this](const QByteArray &w) {
            if (w.size() > 4 && w[4] == char(esp3::kTypeRadioErp1))
                fake.state->incoming.append(hexBytes("55 00 01 00 02 65 00 00"));
        };
    }
    void TearDown() override
    {
        form9.reset();
        MainWindowTest::TearDown();
        setSystemSerialPortLister({});
    }
    void openStick()
    {
        ports = {{QStringLiteral("ttyUSB0"), true, 0x0403, 0x6001, {}}};
        form9->ButtonSearchComPortsClick();
        form9->OpenPortButtonClick();
        ASSERT_TRUE(form9->PortOpen());
        fake.state->writes.clear();
    }
};
} // namespace

TEST_F(Form9Test, CreatedCompactWithEveryControlsCaption)
{
    TForm9 &f = *form9;
    EXPECT_EQ(f.windowTitle(), QStringLiteral("settings (constant data)"));
    EXPECT_EQ(f.size(), QSize(435, 180));
    EXPECT_TRUE(f.Panel2->isHidden());
    EXPECT_TRUE(f.Panel1->isHidden());
    EXPECT_TRUE(f.Panel3->isHidden());
    EXPECT_TRUE(f.Panel5->isHidden());
    EXPECT_TRUE(f.StatusBar1->isHidden());
    EXPECT_TRUE(f.Panel6->isHidden());
    EXPECT_EQ(f.Develoop_Button->Tag, 0);
    EXPECT_EQ(f.Advanced_Button->Tag, 0);
    ExpectControlTexts({
        {f.ButtonSearchComPorts, "Search EnOcean ports"}, {f.OpenPortButton, "Open port"},
        {f.SendPairingRequestButton, "Send pairing request"}, {f.Develoop_Button, "Develop menu"},
        {f.Advanced_Button, "Settings"}, {f.StartButton_PortForm, "Start"},
        {f.SelectNFCsensitivityButton, "Select NFC sensitivity"}, {f.CalibrationButton, "Calibration"},
        {f.OK_Button, "OK"}, {f.GetStickVersionButton, "Get Stick Version"}, {f.Button14, "Get DutyCycle Info"},
        {f.ViewTagInfoButton, "View TagInfo"}, {f.CleanReceiveButton, "Clear Receive"}, {f.Button7, "send"},
        {f.Button1, "send"}, {f.SwitchProgButton, "Switch to Prog"}, {f.SwichReadButton, "Switch to Read"},
        {f.ButtonFirmwareUpdate, "Firmware Update"}, {f.SendTagButton, "send Tag"},
        {f.SendTagDataButton, "Send Tag and Data"}, {f.SendProgrammingData, "SendProgrammingData"},
        {f.CheckBox1, "10s Send Delay"}, {f.CheckBox2, "Use OwnId"},
        {f.rgSensHigh, "High"}, {f.rgSensLow, "Low"},
        {f.Label9, "Stick Info:"}, {f.LabelTotal, "-"}, {f.LabelConnect, "Now Connect your Devices"},
        {f.LabelReceiverId, "NFC  ID (EnOcean)"}, {f.LabelReceiverFW, "NFC FW"},
    });
    const std::tuple<QLineEdit *, const char *, int> edits[] = {
        {f.EditReceiverId, "0x12345678", 10}, {f.EditReceiverFW, "0.0", 32767}, {f.EditUserText, "Test", 24},
        {f.EditGTIN, "001122334455", 12}, {f.EditFW, "0011", 4}, {f.EditSerial, "0011223344556677", 16},
        {f.EditHW, "0011", 4},
    };
    for (const auto &[e, text, max] : edits) {
        EXPECT_EQ(e->text(), QString::fromLatin1(text));
        EXPECT_EQ(e->maxLength(), max) << text;
    }
    EXPECT_TRUE(f.EditReceiverId->isReadOnly());
    EXPECT_TRUE(f.EditReceiverFW->isReadOnly());
    EXPECT_FALSE(f.Develoop_Button->isEnabled());
    EXPECT_FALSE(f.Button14->isEnabled());
    EXPECT_TRUE(f.CheckBox1->isChecked());
    EXPECT_TRUE(f.CheckBox2->isChecked());
    EXPECT_EQ(f.rgSens->title(), QStringLiteral("Sensivity"));
    // The status panels share the bar in the designed proportions 200 : 400 : 180 : 200.
    f.StatusBar1->layout()->activate();
    const int widths[] = {200, 400, 180, 200};
    const double unit = double(f.StatusPanels[1]->width()) / widths[1];
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(f.StatusPanels[size_t(i)]->width(), widths[i] * unit, 3.0) << i;
    EXPECT_LE(f.StatusPanels[3]->geometry().right(), f.StatusBar1->width());
    EXPECT_EQ(f.Timer1->interval(), 110);
}

TEST_F(Form9Test, LayoutToggles)
{
    TForm9 &f = *form9;
    f.Advanced_ButtonClick();
    EXPECT_EQ(f.size(), QSize(435, 290));
    EXPECT_FALSE(f.Panel2->isHidden());
    EXPECT_EQ(f.StartButton_PortForm->y(), 233);
    EXPECT_EQ(f.Panel2->y(), 122);
    f.Advanced_ButtonClick();
    EXPECT_EQ(f.size(), QSize(435, 180));
    EXPECT_EQ(f.StartButton_PortForm->y(), 123);
    EXPECT_EQ(f.Panel2->y(), 149);

    f.Develoop_ButtonClick();
    EXPECT_EQ(f.size(), QSize(920, 620));
    for (QWidget *w : {static_cast<QWidget *>(f.Panel1), static_cast<QWidget *>(f.Panel3),
                       static_cast<QWidget *>(f.Panel5), static_cast<QWidget *>(f.StatusBar1)})
        EXPECT_FALSE(w->isHidden());
    f.Develoop_ButtonClick();
    EXPECT_EQ(f.size(), QSize(435, 290));
    EXPECT_TRUE(f.Panel1->isHidden());

    f.Panel6->show();
    f.OK_ButtonClick();
    EXPECT_TRUE(f.Panel6->isHidden());
    EXPECT_EQ(f.height(), 180);
}

TEST_F(Form9Test, ShowingFindsThePortsAndLoadsTheActiveSlot)
{
    ports = {{QStringLiteral("ttyUSB0"), true, 0x0403, 0x6001, {}},
             {QStringLiteral("ttyUSB1"), true, 0x0403, 0x6001, {}}};
    form1->Setting2ToolButtonClick();
    STRUCT_XML_FILE_VARIABLES &slot = settingsVariablesField[1];
    slot.enOcean_HandHeldID = QStringLiteral("0x0A0B0C0D");
    slot.programmer_Nfc_FW = QStringLiteral("2.11");
    slot.editGTIN = QStringLiteral("998877665544");
    slot.editFW = QStringLiteral("0102");
    slot.editSerial = QStringLiteral("0000000000012345");
    slot.editHW = QStringLiteral("0304");
    slot.memoData = QStringLiteral("00E62C;00E701");
    form9->rgSensLow->setChecked(true);
    form9->show();
    EXPECT_EQ(form9->ComboBoxComPort->count(), 2);
    EXPECT_EQ(form9->ComboBoxComPort->currentIndex(), 1);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Ther are more OnOcean ports. Choice one of them"));
    EXPECT_TRUE(form9->rgSensHigh->isChecked());
    EXPECT_EQ(form9->EditReceiverId->text(), QStringLiteral("0x0A0B0C0D"));
    EXPECT_EQ(form9->EditReceiverFW->text(), QStringLiteral("2.11"));
    EXPECT_EQ(form9->EditGTIN->text(), QStringLiteral("998877665544"));
    EXPECT_EQ(form9->EditSerial->text(), QStringLiteral("0000000000012345"));
    EXPECT_EQ(form9->MemoData->toPlainText(), QStringLiteral("00E62C\n00E701"));
    form9->hide();

    // "Send Tag and Data" sends what the edits and the memo show now.
    form9->CheckBox1->setChecked(false);
    openStick();
    form9->SendTagDataButton->click();
    ASSERT_EQ(fake.state->writes.size(), 5);
    EXPECT_EQ(fake.state->writes[0].mid(7, 8), hexBytes("0E 00 99 88 77 66 55 44"));
    EXPECT_EQ(fake.state->writes[0].mid(22, 4), hexBytes("0A 0B 0C 0D"));
    EXPECT_EQ(fake.state->writes[3].mid(7, 8), hexBytes("0F 00 02 00 00 00 E6 2C"));
    EXPECT_EQ(fake.state->writes[4].mid(7, 8), hexBytes("0F 00 02 00 01 00 E7 01"));
    EXPECT_EQ(form9->LabelTotal->text(), QStringLiteral("998877665544010200000000000123450304"));
}

TEST_F(Form9Test, CalibrationAsksFirstAndTheFrameButtonsSendTheWindowsTexts)
{
    form9->CheckBox1->setChecked(false);
    openStick();
    dialogs.answers = {MsgAnswer::Cancel, MsgAnswer::OK};
    form9->CalibrationButtonClick(); // cancelled
    EXPECT_TRUE(fake.state->writes.isEmpty());
    form9->CalibrationButtonClick();
    ASSERT_EQ(dialogs.messages.size(), 2);
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("Attention"));
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Do you really want to start new calibration?"));
    EXPECT_EQ(dialogs.messages[0].buttons, MsgButtons::OKCancel);
    form9->rgSensHigh->setChecked(true);
    form9->SelectNFCsensitivityButtonClick();
    form9->rgSensLow->setChecked(true);
    form9->SelectNFCsensitivityButtonClick();
    form9->Edit1->setText(QStringLiteral("abcd"));
    form9->Button1Click();
    form9->EditUserText->setText(QStringLiteral("Hi"));
    form9->Button7Click();
    QStringList frames;
    for (const QByteArray &w : fake.state->writes)
        frames << QString::fromLatin1(w.mid(7, int(uint8_t(w[2])) - 6).toHex()).toUpper();
    ASSERT_EQ(frames.size(), 8);
    EXPECT_EQ(frames.mid(0, 4), (QStringList{"12", "1130", "1140", "ABCD"}));
    EXPECT_TRUE(frames[4].startsWith(QStringLiteral("15004869")));
}

TEST_F(Form9Test, PairingThenStartStoresTheProgrammerInTheActiveSlotOnly)
{
    form1->Setting1ToolButtonClick();
    form9->show();
    openStick();
    form9->Link.ownId = 0x0180A2B3;
    form9->SendPairingRequestButton->click();
    ASSERT_EQ(fake.state->writes.size(), 1);
    QByteArray frame = hexBytes("10 01 A2 B3 C4 02 0A");
    frame.append(char(esp3::Crc8(frame.mid(1))));
    fake.state->incoming.append(esp3::BuildRadioTelegram(reinterpret_cast<const uint8_t *>(frame.constData()),
                                                         uint8_t(frame.size()), 0x01A2B3C4, 0x0180A2B3));
    form9->Link.Timer1Timer(); // the stick's acknowledgement
    form9->Link.Timer1Timer(); // the programmer's answer
    EXPECT_EQ(form9->EditReceiverId->text(), QStringLiteral("0x01A2B3C4"));
    EXPECT_EQ(form9->EditReceiverFW->text(), QStringLiteral("2.10"));
    EXPECT_EQ(form9->EditReceiverVersion->text(), QStringLiteral("2.10"));
    EXPECT_TRUE(form9->MemoReceive->toPlainText().contains(
        QStringLiteral("<- Pairing accepted with ID 0x01A2B3C4 with FW Version: 2.10")));
    const QString slot2Id = settingsVariablesField[1].enOcean_HandHeldID;
    form9->StartButton_PortForm->click();
    EXPECT_FALSE(form9->isVisible());
    EXPECT_EQ(settingsVariablesField[0].enOcean_HandHeldID, QStringLiteral("0x01A2B3C4"));
    EXPECT_EQ(settingsVariablesField[0].programmer_Nfc_FW, QStringLiteral("2.10"));
    EXPECT_EQ(settingsVariablesField[1].enOcean_HandHeldID, slot2Id);
    EXPECT_EQ(form1->EnOceanIDLabel->text(), QStringLiteral("0x01A2B3C4"));
    // The port stays open when the window is shown again; the list is rebuilt.
    form9->show();
    EXPECT_TRUE(form9->PortOpen());
    EXPECT_EQ(form9->OpenPortButton->text(), QStringLiteral("Close port"));
    EXPECT_EQ(form9->ComboBoxComPort->count(), 1);
    form9->hide();
}

TEST_F(Form9Test, MainWindowSendChecksInOrderThenSendsTheActiveSlot)
{
    form1->Setting1ToolButtonClick();
    // 1. No programmer ID.
    settingsVariablesField[0].enOcean_HandHeldID.clear();
    form1->LoadSettingsDataToInterface(0);
    form1->SendButtonClick();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("OnOcean Handle Error"));
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("OnOcean Handle is missing. Pair NFC device before."));
    // 2. Port closed.
    dialogs.clear();
    settingsVariablesField[0].enOcean_HandHeldID = QStringLiteral("0x01A2B3C4");
    form1->LoadSettingsDataToInterface(0);
    form1->SendButtonClick();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("COM Error"));
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("COM port not opened."));
    // 3. Unsaved edits.
    openStick();
    dialogs.clear();
    form1->EnOceanIDLabel->setText(QStringLiteral("0x01A2B3C5"));
    ASSERT_EQ(form1->CompareInterfaceDataWithSettingsData(), 1);
    form1->SendButtonClick();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("Info"));
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Data were modified. Save them before Sending"));
    EXPECT_TRUE(fake.state->writes.isEmpty());

    // All checks pass: identity frames from the window's edits, then the items.
    dialogs.clear();
    form1->LoadSettingsDataToInterface(0);
    // The frames go to the programmer in the radio link window's edit, which
    // showing the window fills from the active slot.
    form9->show();
    form9->hide();
    form9->CheckBox1->setChecked(false);
    form9->EditGTIN->setText(QStringLiteral("001122334455"));
    form1->SendButtonClick();
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.texts().join(QLatin1Char('|')).toStdString();
    const QStringList items = form1->ProgrammedDataMemo->toPlainText().split(QLatin1Char('\n'));
    ASSERT_FALSE(items.isEmpty());
    ASSERT_EQ(fake.state->writes.size(), 3 + items.size());
    EXPECT_EQ(fake.state->writes[0].mid(7, 9), hexBytes("0E 00 00 11 22 33 44 55 BF"));
    EXPECT_EQ(fake.state->writes[0].mid(22, 4), hexBytes("01 A2 B3 C4"));
    EXPECT_EQ(fake.state->writes[3].mid(7, 2), hexBytes("0F 00"));
    EXPECT_TRUE(form1->Label53->text().isEmpty());
}

TEST_F(Form9Test, AReceiverIdOfAnyCaseTakesItsOneWrittenFormInTheFieldAndTheSlot)
{
    // From the active slot, from the main window and from whatever else fills the
    // field: the field and the slot it is stored into hold "0x" + upper case.
    form1->Setting1ToolButtonClick();
    settingsVariablesField[0].enOcean_HandHeldID = QStringLiteral("0x0a0b0c0d");
    form9->show();
    EXPECT_EQ(form9->EditReceiverId->text(), QStringLiteral("0x0A0B0C0D"));
    EXPECT_EQ(form9->Link.receiverIdText(), QStringLiteral("0x0A0B0C0D"));
    form9->EditReceiverId->setText(QStringLiteral("0Xabcdef01"));
    EXPECT_EQ(form9->EditReceiverId->text(), QStringLiteral("0xABCDEF01"));
    form9->close();
    EXPECT_EQ(settingsVariablesField[0].enOcean_HandHeldID, QStringLiteral("0xABCDEF01"));
    // A text that is no ID stays as it is, so that the send names it as given.
    form9->EditReceiverId->setText(QStringLiteral("0x1234"));
    EXPECT_EQ(form9->EditReceiverId->text(), QStringLiteral("0x1234"));
}

namespace {
// Every button that sends a frame to the programmer, in both windows.
QList<QPushButton *> frameButtons(TForm9 &f, TForm1 &m)
{
    return {f.SendPairingRequestButton, f.SelectNFCsensitivityButton, f.CalibrationButton, f.Button7,
            f.Button1, f.SwitchProgButton, f.SwichReadButton, f.SendTagButton,
            f.SendTagDataButton, f.SendProgrammingData, m.SendButton, m.ReadButton};
}
QStringList enabledFrameButtons(TForm9 &f, TForm1 &m)
{
    QStringList on;
    for (QPushButton *b : frameButtons(f, m))
        if (b->isEnabled())
            on << b->text();
    return on;
}
int radioTelegrams(const QList<QByteArray> &writes)
{
    int n = 0;
    for (const QByteArray &w : writes)
        n += w.size() > 4 && w[4] == char(esp3::kTypeRadioErp1);
    return n;
}
} // namespace

TEST_F(Form9Test, ASecondSendWhileOneRunsIsRefusedAndTheFrameButtonsFollowTheSequence)
{
    form1->Setting1ToolButtonClick();
    settingsVariablesField[0].enOcean_HandHeldID = QStringLiteral("0x01A2B3C4");
    form1->LoadSettingsDataToInterface(0);
    form9->show();
    form9->hide();
    form9->CheckBox1->setChecked(false);
    openStick();
    const int buttons = int(frameButtons(*form9, *form1).size());
    ASSERT_EQ(enabledFrameButtons(*form9, *form1).size(), buttons);

    // While the first transfer goes out (its log lines and pauses process events),
    // a double-click, the keyboard and every other way in ask for another one.
    QStringList enabledDuring;
    bool asked = false;
    fake.state->onWrite = [&](const QByteArray &w) {
        if (w.size() > 4 && w[4] == char(esp3::kTypeRadioErp1))
            fake.state->incoming.append(hexBytes("55 00 01 00 02 65 00 00"));
        if (asked)
            return;
        asked = true;
        enabledDuring = enabledFrameButtons(*form9, *form1);
        form1->SendButton->click();
        QTest::keyClick(form1->SendButton, Qt::Key_Space);
        form1->SendButtonClick();
        form9->SendTagDataButton->click();
        form9->SendTagDataButtonClick();
        EXPECT_FALSE(form9->Link.SendCurrentDataPackage(kIdentity, {QStringLiteral("00E65E")}));
        form9->SendPairingRequestButtonClick();
        EXPECT_EQ(RunTagRead(form9->Link, ShowUserNotice), TagReadOutcome::Busy);
        // Other buttons keep working.
        EXPECT_TRUE(form9->GetStickVersionButton->isEnabled());
        EXPECT_TRUE(form9->OpenPortButton->isEnabled());
        EXPECT_TRUE(form1->ReportButton->isEnabled());
    };
    form1->SendButtonClick();
    const QStringList items = form1->ProgrammedDataMemo->toPlainText().split(QLatin1Char('\n'));
    EXPECT_TRUE(asked);
    EXPECT_TRUE(enabledDuring.isEmpty()) << enabledDuring.join('|').toStdString();
    EXPECT_EQ(radioTelegrams(fake.state->writes), 3 + items.size()); // one transfer only
    EXPECT_EQ(form9->MemoReceive->toPlainText().count(QStringLiteral("-> Refused: ") + RadioLink::busyRefusalText()), 3);
    ASSERT_EQ(dialogs.messages.size(), 1) << dialogs.texts().join('|').toStdString(); // the refused read
    EXPECT_EQ(dialogs.messages[0].text, RadioLink::busyRefusalText());
    EXPECT_EQ(enabledFrameButtons(*form9, *form1).size(), buttons);
    EXPECT_FALSE(form9->Link.busy());

    // A transfer that fails on its first frame (the port closes) enables them again.
    dialogs.clear();
    fake.state->writes.clear();
    fake.state->writeFails = true;
    enabledDuring.clear();
    QObject::connect(&form9->Link, &RadioLink::busyChanged, form9.get(), [&](bool busy) {
        if (busy)
            enabledDuring = QStringList{QStringLiteral("checked")} + enabledFrameButtons(*form9, *form1);
    });
    form1->SendButtonClick();
    EXPECT_EQ(enabledDuring, QStringList{QStringLiteral("checked")});
    EXPECT_FALSE(form9->PortOpen());
    EXPECT_FALSE(form9->Link.busy());
    EXPECT_EQ(enabledFrameButtons(*form9, *form1).size(), buttons);
}

TEST_F(Form9Test, ATagReadHoldsTheFrameButtonsUntilItIsCancelled)
{
    openStick();
    form9->CheckBox1->setChecked(false);
    QStringList enabledDuring;
    int writesDuring = -1;
    dialogs.whileMessageOpen = [&](const RecordedMessage &m) {
        if (m.text != kTagReadWaitMessage)
            return;
        enabledDuring = enabledFrameButtons(*form9, *form1);
        const qsizetype before = fake.state->writes.size();
        form1->SendButtonClick();
        form9->SendPairingRequestButtonClick();
        writesDuring = int(fake.state->writes.size() - before);
    };
    dialogs.answers = {MsgAnswer::Cancel};
    EXPECT_EQ(RunTagRead(form9->Link, ShowUserNotice), TagReadOutcome::Cancelled);
    EXPECT_TRUE(enabledDuring.isEmpty()) << enabledDuring.join('|').toStdString();
    EXPECT_EQ(writesDuring, 0);
    EXPECT_FALSE(form9->Link.busy());
    EXPECT_EQ(enabledFrameButtons(*form9, *form1).size(), frameButtons(*form9, *form1).size());
}

TEST_F(Form9Test, OpenPortToggleFromTheWindow)
{
    ports.clear();
    form9->ButtonSearchComPortsClick();
    form9->OpenPortButtonClick(); // empty list: nothing happens
    EXPECT_FALSE(form9->PortOpen());
    EXPECT_TRUE(dialogs.messages.isEmpty());
    openStick();
    EXPECT_EQ(form9->OpenPortButton->text(), QStringLiteral("Close port"));
    EXPECT_EQ(form9->StatusPanels[0]->text(), QStringLiteral("Port ttyUSB0 opened"));
    form9->OpenPortButtonClick();
    EXPECT_FALSE(form9->PortOpen());
    EXPECT_EQ(form9->OpenPortButton->text(), QStringLiteral("Open port"));
    EXPECT_EQ(form9->StatusPanels[0]->text(), QStringLiteral("Port closed"));
    EXPECT_EQ(form9->Label9->text(), QStringLiteral("Stick Info: None"));
}

TEST_F(Form9Test, AfterTheUpdateOfferClosingUnpairsTheSlotAndSendRefuses)
{
    form1->Setting1ToolButtonClick();
    form9->show();
    openStick();
    form9->Link.ownId = 0x0180A2B3;
    QByteArray frame = hexBytes("10 01 A2 B3 C4 02 09");
    frame.append(char(esp3::Crc8(frame.mid(1))));
    fake.state->incoming.append(esp3::BuildRadioTelegram(reinterpret_cast<const uint8_t *>(frame.constData()),
                                                         uint8_t(frame.size()), 0x01A2B3C4, 0x0180A2B3));
    dialogs.answers = {MsgAnswer::No};
    form9->Link.Timer1Timer(); // the pairing frame
    form9->Link.Timer1Timer(); // the update offer
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(QStringLiteral("SW update for handheld device necessary.")));
    EXPECT_TRUE(form9->EditReceiverId->text().isEmpty());
    EXPECT_TRUE(form9->EditReceiverFW->text().isEmpty());
    form9->close();
    EXPECT_TRUE(settingsVariablesField[0].enOcean_HandHeldID.isEmpty());
    dialogs.clear();
    form1->SendButtonClick();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("OnOcean Handle is missing. Pair NFC device before."));
}

TEST_F(Form9Test, AfterAModelWasLoadedTheWindowOpensThePortAndPromptsToConnect)
{
    ports = {{QStringLiteral("ttyUSB0"), true, 0x0403, 0x6001, {}}};
    form9->rgSensLow->setChecked(true);
    form9->ShowAfterModelLoaded();
    EXPECT_TRUE(form9->isVisible());
    EXPECT_TRUE(form9->PortOpen());
    EXPECT_TRUE(form9->rgSensHigh->isChecked());
    EXPECT_FALSE(form9->Panel6->isHidden());
    EXPECT_EQ(form9->height(), 210);
    EXPECT_EQ(fake.state->writes.last(), hexBytes("55 00 01 00 05 70 03 09"));
    form9->OK_ButtonClick();
    EXPECT_EQ(form9->height(), 180);
    form9->hide();
}

TEST_F(Form9Test, DevelopMenuIsEnabledOnlyInExpertMode)
{
    form1->DevelopModeEnable();
    EXPECT_FALSE(form9->Develoop_Button->isEnabled());
    DevelopModeFlag = 1;
    form1->DevelopModeEnable();
    DevelopModeFlag = 0;
    EXPECT_TRUE(form9->Develoop_Button->isEnabled());
}

TEST_F(Form9Test, SettingsToolButtonShowsTheWindowAndClosingTheMainWindowDrainsThePort)
{
    form1->SettingsToolButtonClick();
    EXPECT_TRUE(form9->isVisible());
    openStick();
    fake.state->incoming.append(QByteArray(5, 'x'));
    form1->FormClose();
    EXPECT_TRUE(fake.state->incoming.isEmpty());
    form9->hide();
}

TEST_F(Form9Test, ALongPortNameIsCutInTheMiddleAndShownWholeInItsTooltip)
{
    ports = {{QStringLiteral("serial/by-id/usb-EnOcean_GmbH_USB_300_DB_FT4ABCDE-if00-port0"), true, 0x0403, 0x6001,
              {}}};
    form9->show();
    form9->ButtonSearchComPortsClick();
    auto *combo = qobject_cast<TComboBox *>(form9->ComboBoxComPort);
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->count(), 1);
    const QString entry = combo->currentText();
    ASSERT_TRUE(entry.endsWith(QStringLiteral("-if00-port0"))) << entry.toStdString();

    const QString shown = combo->shownText();
    const int cut = shown.indexOf(QChar(0x2026));
    ASSERT_GT(cut, 0) << shown.toStdString();
    EXPECT_TRUE(entry.startsWith(shown.left(cut)));
    EXPECT_TRUE(entry.endsWith(shown.mid(cut + 1)));
    EXPECT_EQ(combo->toolTip(), entry);
    EXPECT_EQ(combo->itemData(0, Qt::ToolTipRole).toString(), entry);

    // A short name shows whole.
    ports = {{QStringLiteral("ttyUSB0"), true, 0x0403, 0x6001, {}}};
    form9->ButtonSearchComPortsClick();
    EXPECT_EQ(combo->shownText(), combo->currentText());
    EXPECT_EQ(combo->toolTip(), combo->currentText());
}

// A stick pulled out: the radio window says so in its log and waits for it, the
// main window's status names the port that went away; when the stick is back the
// window opens it again by itself and both show it open.
TEST_F(Form9Test, APulledStickIsOpenedAgainWhenItIsBack)
{
    form1->Setting1ToolButtonClick();
    openStick();
    EXPECT_TRUE(form1->LinkStatusLabel->text().startsWith(QStringLiteral("Stick: open (ttyUSB0) | Programmer: ")))
        << form1->LinkStatusLabel->text().toStdString();

    fake.state->lost = true;
    form9->Link.Timer1Timer();
    EXPECT_FALSE(form9->PortOpen());
    EXPECT_EQ(form9->OpenPortButton->text(), QStringLiteral("Open port"));
    EXPECT_EQ(form9->StatusPanels[0]->text(), QStringLiteral("Port closed"));
    EXPECT_TRUE(form9->ReconnectTimer->isActive());
    EXPECT_TRUE(form9->MemoReceive->toPlainText().contains(QStringLiteral("Waiting for the stick on ttyUSB0 to come back")));
    EXPECT_TRUE(form1->LinkStatusLabel->text().startsWith(
        QStringLiteral("Stick: closed \u2014 port ttyUSB0 went away; plug the stick in again")))
        << form1->LinkStatusLabel->text().toStdString();
    EXPECT_TRUE(dialogs.messages.isEmpty()) << "no message box from the receive tick";

    // Not back yet: the next look finds nothing and says nothing.
    fake.state->openFails = true;
    EXPECT_FALSE(form9->ReconnectWhenBack());
    EXPECT_TRUE(form9->ReconnectTimer->isActive());
    EXPECT_TRUE(dialogs.messages.isEmpty());

    // Back: the timer's next look opens it.
    fake.state->openFails = false;
    fake.state->lost = false;
    form9->ReconnectTimer->setInterval(1);
    ASSERT_TRUE(waitFor([this] { return form9->PortOpen(); }, kWaitLimitMs));
    EXPECT_FALSE(form9->ReconnectTimer->isActive());
    EXPECT_EQ(form9->OpenPortButton->text(), QStringLiteral("Close port"));
    EXPECT_EQ(fake.state->lastOpened(), QStringLiteral("ttyUSB0"));
    EXPECT_TRUE(form1->LinkStatusLabel->text().startsWith(QStringLiteral("Stick: open (ttyUSB0)")));
    EXPECT_TRUE(dialogs.messages.isEmpty());

    // Closed by hand, the port stays closed.
    form9->OpenPortButtonClick();
    EXPECT_FALSE(form9->ReconnectTimer->isActive());
    EXPECT_EQ(form1->LinkStatusLabel->text().left(14), QStringLiteral("Stick: closed "));
}

// During a send the main window's status counts the frames; a stick pulled in the
// middle ends the send with the one message that says how far it got.
TEST_F(Form9Test, TheMainWindowFollowsASendFrameByFrameAndTellsWhenItBroke)
{
    form1->Setting1ToolButtonClick();
    settingsVariablesField[0].enOcean_HandHeldID = QStringLiteral("0x01A2B3C4");
    settingsVariablesField[0].programmer_Nfc_FW = QStringLiteral("2.10");
    form1->LoadSettingsDataToInterface(0);
    form9->show();
    form9->hide();
    openStick();
    form9->CheckBox1->setChecked(false);
    QStringList shown;
    QObject::connect(&form9->Link, &RadioLink::transferProgress, form1.get(),
                     [&] { shown << form1->LinkStatusLabel->text(); });
    form1->SendButtonClick();
    const int total = 3 + int(form1->ProgrammedDataMemo->toPlainText().split(QLatin1Char('\n')).size());
    ASSERT_EQ(shown.size(), total + 2) << shown.join('|').toStdString();
    EXPECT_EQ(shown.first(), QStringLiteral("Stick: open (ttyUSB0) | Programmer: 0x01A2B3C4, FW 2.10 | frame 1 of %1")
                                 .arg(total));
    EXPECT_TRUE(shown[2].endsWith(QStringLiteral("| frame 3 of %1").arg(total)));
    EXPECT_FALSE(shown.last().contains(QStringLiteral("frame"))) << "the count goes when the send ends";
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.texts().join('|').toStdString();

    // Pulled after the fourth frame.
    shown.clear();
    int writes = 0;
    fake.state->onWrite = [&](const QByteArray &) {
        if (++writes == 4)
            fake.state->lost = true;
    };
    form1->SendButtonClick();
    EXPECT_FALSE(form9->PortOpen());
    ASSERT_EQ(dialogs.messages.size(), 1) << dialogs.texts().join('|').toStdString();
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("COM Error"));
    EXPECT_TRUE(dialogs.messages[0].text.startsWith(TransferLostText(4, total)));
    EXPECT_TRUE(form1->Label53->text().isEmpty());
    EXPECT_TRUE(form1->LinkStatusLabel->text().startsWith(QStringLiteral("Stick: closed \u2014 port ttyUSB0 went away")));
}

// Read through a port that went away: the wait ends with what to do.
TEST_F(Form9Test, AReadEndsWhenTheStickGoesAway)
{
    openStick();
    dialogs.whileMessageOpen = [this](const RecordedMessage &m) {
        if (m.text == kTagReadWaitMessage) {
            fake.state->lost = true;
            form9->Link.Timer1Timer();
        }
    };
    EXPECT_EQ(RunTagRead(form9->Link, ShowUserNotice), TagReadOutcome::LinkLost);
    EXPECT_EQ(dialogs.texts(), (QStringList{kTagReadWaitMessage, kTagReadLinkLostMessage}));
    EXPECT_FALSE(form9->Link.busy());
}

// The expert layout's status panels share the bar as designed and widen for a
// longer text (a port path) so that every text is shown whole; the log shows a
// new line from its start however far a long line scrolled it sideways.
TEST_F(Form9Test, StatusPanelsFitTheirTextsAndTheLogShowsNewLinesFromTheirStart)
{
    form9->ExpertModeSet(true);
    form9->show();
    form9->Develoop_ButtonClick();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form9.get()));
    const QStringList texts = {QStringLiteral("Port /tmp/tavel-devsim-12345/stick opened"),
                               QStringLiteral("10.12.26 15:33:00 sent: 0x11 0x40 0x12 0x13 0x14 0x15 0x16"),
                               QStringLiteral("ok"), QStringLiteral("Own ID : 0x0180A2B3")};
    for (int i = 0; i < 4; ++i)
        emit form9->Link.statusPanelChanged(i, texts[i]);
    QCoreApplication::processEvents();
    form9->StatusBar1->layout()->activate();
    int right = 0;
    for (int i = 0; i < 4; ++i) {
        QLabel *panel = form9->StatusPanels[size_t(i)];
        EXPECT_GE(panel->contentsRect().width(), panel->fontMetrics().horizontalAdvance(texts[i]))
            << texts[i].toStdString();
        right = std::max(right, panel->geometry().right());
    }
    EXPECT_LE(right, form9->StatusBar1->width()) << "the last panel stays on the bar";

    form9->MemoReceive->appendPlainText(QString(300, QLatin1Char('x')));
    QScrollBar *sideways = form9->MemoReceive->horizontalScrollBar();
    sideways->setValue(sideways->maximum());
    ASSERT_GT(sideways->value(), 0);
    form9->Link.OutputLog(QStringLiteral("<- ok"));
    EXPECT_EQ(sideways->value(), 0);
    form9->hide();
}

// The radio link window is a window of its own: it opens on the main window but
// is not kept above it, so the main window's panels can come to the front.
TEST_F(Form9Test, TheWindowIsNotKeptAboveTheMainWindow)
{
    form1->show();
    emit form1->radioLinkSettingsWanted();
    ASSERT_TRUE(form9->isVisible());
    EXPECT_EQ(form9->windowType(), Qt::Window);
    ASSERT_NE(form9->windowHandle(), nullptr);
    EXPECT_EQ(form9->windowHandle()->transientParent(), nullptr);
    form9->hide();
    form1->hide();
}
