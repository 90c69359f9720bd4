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
#include "scripted_dialogs.h"
#include "window_test_folder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
const IdentityFields kIdentity{QStringLiteral("001122334455"), QStringLiteral("0011"),
                              QStringLiteral("0011223344556677"), QStringLiteral("0011")};

class Form9Test : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    WindowTestFolder folder{tmp.path()};
    ScriptedDialogs dialogs;
    FakePortInstaller fake;
    QList<SystemSerialPort> ports;
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TForm9> form9;

    void SetUp() override
    {
        setSystemSerialPortLister([this] { return ports; });
        form1 = std::make_unique<TForm1>(QStringList{QStringLiteral("tavel-nfc-config")});
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
        form1.reset();
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
    const int widths[] = {200, 400, 180, 200};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(f.StatusPanels[size_t(i)]->width(), widths[i]);
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
        EXPECT_EQ(RunTagRead(form9->Link), TagReadOutcome::Busy);
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
    EXPECT_EQ(RunTagRead(form9->Link), TagReadOutcome::Cancelled);
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
