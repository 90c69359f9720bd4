// The "Firmware Updater" window: its port list and search, the port button, the
// send buttons, the log and progress, clicks during a run, and showing it again.

#include "control_texts.h"
#include "fake_serial_port.h"
#include "print_qt.h"
#include "firmware/firmware_script.h"
#include "serial/port_discovery.h"
#include "firmware/script_generator.h"
#include "desktop/firmware_window.h"
#include "screenshots.h"
#include "scripted_dialogs.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
SystemSerialPort programmer(const char *name)
{
    return {name, true, kProgrammerUsbVendorId, kProgrammerUsbProductId, "NFC programming device"};
}

class Form2Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        setSystemSerialPortLister([this] { return ports; });
        setFirmwareScriptFolder(scriptDir.path());
        serial.state->answerWith([](const QByteArray &d) { return d.size() == 80 ? QByteArray("Y") : QByteArray(); });
        form = std::make_unique<TForm2>();
    }
    void TearDown() override
    {
        form.reset();
        setSystemSerialPortLister({});
        setFirmwareScriptFolder({});
    }
    // A short script beside the program.
    void placeScript(int groups = 2)
    {
        FirmwareScriptShape shape;
        shape.groups = groups;
        shape.firstDelay = 0;
        shape.delay = 0;
        QFile f(QDir(scriptDir.path()).filePath(kFirmwareScriptFileName));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(GenerateFirmwareScript(shape));
    }
    void select(const QString &entry)
    {
        form->ComboBoxComPortFW->setCurrentIndex(form->ComboBoxComPortFW->findText(entry));
    }
    QStringList entries() const
    {
        QStringList out;
        for (int i = 0; i < form->ComboBoxComPortFW->count(); ++i)
            out << form->ComboBoxComPortFW->itemText(i);
        return out;
    }
    QStringList log() const { return form->MemoLogg->toPlainText().split('\n', Qt::SkipEmptyParts); }
    bool sendEnabled() const
    {
        const bool e = form->Button1->isEnabled();
        EXPECT_EQ(form->Button2->isEnabled(), e);
        EXPECT_EQ(form->Button3->isEnabled(), e);
        return e;
    }

    QList<SystemSerialPort> ports = {{"COM1", false, 0, 0, "Communications Port"}, {"COM12", false, 0, 0, ""},
                                     {"COM3", true, 0x0403, 0x6001, "USB Serial Port"}};
    FakePortInstaller serial;
    ScriptedDialogs dialogs;
    QTemporaryDir scriptDir;
    std::unique_ptr<TForm2> form;
};
} // namespace

TEST_F(Form2Test, ShownWithItsControlsAFreshListAndNothingSelected)
{
    form->show();
    EXPECT_EQ(form->windowTitle(), "Firmware Updater");
    EXPECT_EQ(form->size(), QSize(624, 227));
    ExpectControlTexts({
        {form->Label1, "NFC programming device Firmware Update"},
        {form->ButtonSearchComPortsFW, "Search COM"},
        {form->RefreshList1, "Refresh"},
        {form->ButtonOpenComPortsFW, "Open port"},
        {form->Button1, "Send MagicCode"},
        {form->Button2, "Send Firmware"},
        {form->Button3, "Send MC + FW"},
    });
    EXPECT_EQ(entries(), (QStringList{"COM1", "COM12", "COM3"}));
    EXPECT_EQ(form->ComboBoxComPortFW->currentIndex(), -1);
    EXPECT_FALSE(sendEnabled());

    // "Open port" with nothing selected does nothing.
    form->ButtonOpenComPortsFW->click();
    EXPECT_TRUE(serial.state->opened.isEmpty());
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_FALSE(sendEnabled());
}

TEST_F(Form2Test, OpensPortTwelveAndKeepsItAfterAnotherSelection)
{
    form->show();
    select("COM12");
    form->ButtonOpenComPortsFW->click();
    EXPECT_EQ(serial.state->opened, QStringList{"\\\\.\\COM12"});
    EXPECT_EQ(form->ButtonOpenComPortsFW->text(), "Close port");
    EXPECT_EQ(form->StatusPanel0->text(), "Ready on COM12");
    EXPECT_TRUE(sendEnabled());

    form->ButtonOpenComPortsFW->click(); // close
    EXPECT_EQ(form->StatusPanel0->text(), "Com zu");
    EXPECT_FALSE(sendEnabled());
    select("COM1");
    form->ButtonOpenComPortsFW->click(); // reopens port 12, not COM1
    EXPECT_EQ(serial.state->opened, (QStringList{"\\\\.\\COM12", "\\\\.\\COM12"}));
    EXPECT_EQ(log(), (QStringList{"COM port opened", "COM port closed", "COM port reopened"}));
    EXPECT_TRUE(sendEnabled());
}

TEST_F(Form2Test, SearchSelectsTheLastProgrammerOrNothing)
{
    form->show();
    select("COM1");
    form->ButtonSearchComPortsFW->click();
    EXPECT_EQ(form->ComboBoxComPortFW->currentIndex(), -1); // no programmer: refreshed, nothing selected

    ports = {programmer("COM7"), {"COM1", false, 0, 0, ""}, programmer("COM4")};
    form->ButtonSearchComPortsFW->click();
    EXPECT_EQ(entries(), (QStringList{"COM7", "COM1", "COM4"}));
    EXPECT_EQ(form->ComboBoxComPortFW->currentText(), "COM4");
}

TEST_F(Form2Test, ShowingTheWindowAgainFreesThePort)
{
    form->show();
    select("COM3");
    form->ButtonOpenComPortsFW->click();
    EXPECT_TRUE(serial.state->isOpen);
    form->hide();
    form->show();
    EXPECT_FALSE(serial.state->isOpen);
    EXPECT_EQ(form->ButtonOpenComPortsFW->text(), "Open port");
    EXPECT_FALSE(sendEnabled());
    // A new port object for whatever is selected now.
    select("COM1");
    form->ButtonOpenComPortsFW->click();
    EXPECT_EQ(serial.state->opened, (QStringList{"COM3", "COM1"}));
    EXPECT_TRUE(serial.state->isOpen);
    form.reset(); // destroying the window closes the port
    EXPECT_FALSE(serial.state->isOpen);
}

TEST_F(Form2Test, SendFirmwareWithoutScriptSendsNothing)
{
    if (hasEmbeddedFirmwareScript())
        GTEST_SKIP() << "this build carries a firmware script";
    form->show();
    select("COM3");
    form->ButtonOpenComPortsFW->click();
    form->Button2->click();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text.split('\n').first(), "Cannot find resource");
    EXPECT_TRUE(serial.state->writes.isEmpty());
    EXPECT_EQ(form->ButtonOpenComPortsFW->text(), "Close port");

    // "Send MC + FW" is refused before the magic code, and the log says why and
    // which file was looked for.
    dialogs.clear();
    form->Button3->click();
    EXPECT_TRUE(serial.state->writes.isEmpty());
    ASSERT_EQ(dialogs.messages.size(), 1);
    const QString lookedFor = QDir::toNativeSeparators(QDir(scriptDir.path()).filePath(kFirmwareScriptFileName));
    EXPECT_TRUE(dialogs.messages[0].text.contains(lookedFor)) << dialogs.messages[0].text.toStdString();
    EXPECT_TRUE(log().contains("Update refused: Cannot find resource - " + lookedFor)) << log().join('|').toStdString();
}

TEST_F(Form2Test, MagicCodeAndFirmwareRunWithLogAndProgress)
{
    placeScript(2);
    form->show();
    select("COM3");
    form->ButtonOpenComPortsFW->click();
    form->Button3->click();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].text, "Is NFC programming device in Bootloader Mode?");
    EXPECT_EQ(serial.state->writes.size(), 3);
    EXPECT_EQ(serial.state->writes[0], QByteArray("\x5C\x03\x09\xD1"));
    const QStringList lines = log();
    EXPECT_TRUE(lines.contains("Sending Magic Code! Programmer should switch in Bootloader Mode"));
    EXPECT_EQ(lines.mid(lines.size() - 2), (QStringList{"finished successfully", "COM port closed"}));
    EXPECT_EQ(form->ProgressBar1->value(), 100);
    EXPECT_EQ(form->ButtonOpenComPortsFW->text(), "Open port");
    EXPECT_EQ(form->StatusPanel0->text(), "Com zu");
    EXPECT_TRUE(sendEnabled()); // the next run reopens the same port

    // A picture of the window after the run.
    SaveScreenshot(*form, QStringLiteral("firmware-updater-after-run.png"));
}

TEST_F(Form2Test, ClicksDuringARunAreIgnored)
{
    placeScript(3);
    form->show();
    select("COM3");
    form->ButtonOpenComPortsFW->click();
    bool clicked = false;
    bool openDuringRun = false;
    // Runs inside the first log line's event processing, in the middle of the run.
    QTimer::singleShot(0, form.get(), [&] {
        clicked = form->Busy();
        form->ButtonOpenComPortsFW->click();
        form->Button1->click();
        form->Button2->click();
        form->Button3->click();
        form->reject();
        openDuringRun = serial.state->isOpen;
    });
    form->Button2->click();
    EXPECT_TRUE(clicked);
    EXPECT_TRUE(openDuringRun);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(log().filter("Filesize").size(), 1);
    EXPECT_EQ(serial.state->writes.size(), 3); // the three blocks, no magic code
    EXPECT_EQ(log().last(), "COM port closed");
    EXPECT_TRUE(log().contains("finished successfully"));
}
