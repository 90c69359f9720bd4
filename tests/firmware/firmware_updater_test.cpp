// The updater's session: the port object and its button, the magic code, the
// script run, the port search, and clicks that arrive while a run is going on.

#include "fake_clock.h"
#include "fake_serial_port.h"
#include "print_qt.h"
#include "firmware/firmware_updater.h"
#include "serial/port_discovery.h"
#include "firmware/script_generator.h"
#include "serial/tcom_class.h"
#include "scripted_dialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct Session {
    FakePortInstaller serial;
    ScriptedDialogs dialogs;
    FakeClock clock;
    QStringList log;
    QList<int> progress;
    FirmwareScriptLoad script; // what "Send Firmware" loads
    std::function<void(const QString &)> onLog;
    FirmwareUpdater updater{FirmwareUpdater::Hooks{
        [this](const QString &l) {
            log << l;
            if (onLog)
                onLog(l);
        },
        [this](int p) { progress << p; }, {}, {}, {}, clock.nowFn(), clock.sleepFn(),
        [this] { return script; }}};

    Session()
    {
        FirmwareScriptShape shape;
        shape.groups = 2;
        shape.firstDelay = 0;
        shape.delay = 0;
        script.data = GenerateFirmwareScript(shape);
        serial.state->answerWith([](const QByteArray &d) {
            return d.size() == 80 ? QByteArray("Y") : QByteArray();
        });
    }
    void open(const QString &entry) { updater.PortButton(&entry); }
};
} // namespace

TEST(FirmwareUpdater, PortButtonOpensTheSelectedComPortAndNothingWithoutSelection)
{
    Session s;
    s.updater.PortButton(nullptr);
    EXPECT_FALSE(s.updater.hasPort());
    EXPECT_TRUE(s.serial.state->opened.isEmpty());
    EXPECT_TRUE(s.dialogs.messages.isEmpty());

    s.open("COM12");
    EXPECT_EQ(s.serial.state->opened, QStringList{"\\\\.\\COM12"});
    EXPECT_EQ(s.updater.port()->GetComState(), 12);
    EXPECT_EQ(s.updater.statusText(), "Ready on COM12");
    EXPECT_EQ(s.updater.portButtonCaption(), "Close port");
    EXPECT_TRUE(s.updater.sendButtonsEnabled());
    EXPECT_EQ(s.log, QStringList{"COM port opened"});
    // The modem lines are set by hand: RTS cleared, DTR set.
    EXPECT_EQ(s.serial.state->rts, 0);
    EXPECT_EQ(s.serial.state->dtr, 1);
}

TEST(FirmwareUpdater, FirstPortIsKeptAfterAnotherEntryIsSelected)
{
    Session s;
    s.open("COM9");
    s.open("COM3"); // closes COM9
    EXPECT_EQ(s.updater.portButtonCaption(), "Open port");
    EXPECT_EQ(s.updater.statusText(), "Com zu");
    EXPECT_FALSE(s.updater.sendButtonsEnabled());
    s.open("COM3"); // reopens COM9
    EXPECT_EQ(s.serial.state->opened, (QStringList{"COM9", "COM9"}));
    EXPECT_EQ(s.log, (QStringList{"COM port opened", "COM port closed", "COM port reopened"}));
    EXPECT_EQ(s.updater.statusText(), "Ready on COM9");
    EXPECT_TRUE(s.updater.sendButtonsEnabled());
}

TEST(FirmwareUpdater, PortThatCannotBeOpenedIsReportedAndForgotten)
{
    Session s;
    s.serial.state->openFails = true;
    s.open("COM5");
    EXPECT_FALSE(s.updater.hasPort());
    EXPECT_EQ(s.dialogs.texts(), QStringList{"ERROR: Could not connect. Maybe in use?"});
    EXPECT_FALSE(s.updater.sendButtonsEnabled());
    EXPECT_EQ(s.updater.portButtonCaption(), "Open port");
    // The next click starts again from the selected entry.
    s.serial.state->openFails = false;
    s.open("COM6");
    EXPECT_EQ(s.serial.state->opened, (QStringList{"COM5", "COM6"}));
    EXPECT_TRUE(s.updater.portOpen());
}

TEST(FirmwareUpdater, MagicCodeIsWrittenAndThePortClosedButSendingStaysEnabled)
{
    Session s;
    s.open("COM4");
    EXPECT_TRUE(s.updater.SendMagicCode());
    EXPECT_EQ(s.serial.state->written(), QByteArray("\x5C\x03\x09\xD1"));
    EXPECT_EQ(s.log.mid(1), (QStringList{"Sending Magic Code! Programmer should switch in Bootloader Mode",
                                         "COM port closed"}));
    EXPECT_FALSE(s.updater.portOpen());
    EXPECT_TRUE(s.updater.sendButtonsEnabled());
    EXPECT_EQ(s.updater.portButtonCaption(), "Open port");

    // A failing write is logged and shown; the port is closed all the same.
    s.log.clear();
    s.serial.state->writeFails = true;
    EXPECT_FALSE(s.updater.SendMagicCode());
    EXPECT_EQ(s.log, (QStringList{"COM port reopened", "ERROR: Could not write Magic Code  to COM!", "COM port closed"}));
    EXPECT_EQ(s.dialogs.texts(), QStringList{"ERROR: Could not write to COM. Maybe in use?"});
}

TEST(FirmwareUpdater, FirmwareRunReopensPlaysAndClosesThePort)
{
    Session s;
    s.open("COM4");
    s.updater.SendMagicCode();
    s.log.clear();
    EXPECT_TRUE(s.updater.SendFirmware());
    EXPECT_EQ(s.log.first(), "COM port reopened");
    EXPECT_EQ(s.log.mid(1, 1), QStringList{QString("Filesize: %1").arg(s.script.data.size())});
    EXPECT_EQ(s.log.mid(s.log.size() - 3),
              (QStringList{"EOF marker found", "finished successfully", "COM port closed"}));
    EXPECT_EQ(s.serial.state->writes.size(), 3); // magic code and two blocks
    EXPECT_EQ(s.progress.first(), 0);
    EXPECT_EQ(s.progress.last(), 100);
    EXPECT_FALSE(s.updater.portOpen());
    EXPECT_EQ(s.updater.statusText(), "Com zu");
}

TEST(FirmwareUpdater, FailedRunHasNoSuccessLineAndStillClosesThePort)
{
    Session s;
    s.serial.state->onWrite = {}; // the bootloader stays silent
    s.open("COM4");
    EXPECT_FALSE(s.updater.SendFirmware());
    EXPECT_EQ(s.log.mid(s.log.size() - 2), (QStringList{"nothing to read", "COM port closed"}));
    EXPECT_FALSE(s.log.contains("finished successfully"));
    EXPECT_FALSE(s.updater.portOpen());
}

TEST(FirmwareUpdater, WithoutScriptNothingIsSentAndThePortStaysOpen)
{
    Session s;
    QTemporaryDir empty;
    setFirmwareScriptFolder(empty.path());
    if (hasEmbeddedFirmwareScript())
        GTEST_SKIP() << "this build carries a firmware script";
    s.script = LoadFirmwareScript();
    s.open("COM4");
    EXPECT_FALSE(s.updater.SendFirmware());
    // The refusal names the file looked for, in the message and in the log.
    const QString lookedFor = QDir::toNativeSeparators(QDir(empty.path()).filePath("nfc_programmer_firmware.bin"));
    ASSERT_EQ(s.dialogs.messages.size(), 1);
    EXPECT_EQ(s.dialogs.messages[0].caption, "Error");
    EXPECT_EQ(s.dialogs.messages[0].text.split('\n').first(), "Cannot find resource");
    EXPECT_TRUE(s.dialogs.messages[0].text.contains(lookedFor)) << s.dialogs.messages[0].text.toStdString();
    EXPECT_TRUE(s.serial.state->writes.isEmpty());
    EXPECT_TRUE(s.updater.portOpen());
    ASSERT_EQ(s.log.size(), 3);
    EXPECT_EQ(s.log[1], "Update refused: Cannot find resource - " + lookedFor);

    // The script file beside the program is found under its fixed name; an empty
    // one is refused rather than reported as a successful update.
    QFile f(QDir(empty.path()).filePath("nfc_programmer_firmware.bin"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_EQ(LoadFirmwareScript().error, "Cannot get size of resource");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    const QByteArray script = GenerateFirmwareScript();
    f.write(script);
    f.close();
    const FirmwareScriptLoad found = LoadFirmwareScript();
    EXPECT_EQ(found.error, "");
    EXPECT_EQ(found.data, script);
    setFirmwareScriptFolder({});
}

// "Send MC + FW" checks the script before the magic code: a script that is missing,
// empty or would stop part-way is refused before anything is sent, so the
// programmer is never left in its bootloader without a firmware to receive.
TEST(FirmwareUpdater, MagicCodeAndFirmwareRefusesAnUnusableScriptBeforeTheMagicCode)
{
    FirmwareScriptShape shape;
    shape.groups = 2;
    shape.firstDelay = 0;
    shape.delay = 0;
    const struct {
        const char *name;
        FirmwareScriptLoad script;
        const char *firstLine; // of the message
        const char *flaw;      // in the message and the log ("" for a load failure)
    } cases[] = {
        {"missing", {{}, "Cannot find resource", "/opt/x/nfc_programmer_firmware.bin"}, "Cannot find resource", ""},
        {"empty", {{}, "Cannot get size of resource", "/opt/x/nfc_programmer_firmware.bin"},
         "Cannot get size of resource", ""},
        {"zero-length send record",
         {GenerateFaultyFirmwareScript(FirmwareScriptFault::ZeroLength, shape), {}, "/opt/x/zero.bin"},
         "The firmware script cannot be used: the send record at position 0x", "carries no data"},
        {"unknown record byte",
         {GenerateFaultyFirmwareScript(FirmwareScriptFault::UnknownMarker, shape), {}, "/opt/x/stray.bin"},
         "The firmware script cannot be used: unknown record byte 0x58 at position 0x", "unknown record byte 0x58"},
        {"cut short",
         {GenerateFaultyFirmwareScript(FirmwareScriptFault::TruncatedRecord, shape), {}, "/opt/x/cut.bin"},
         "The firmware script cannot be used: the record 'S' at position 0x", "is cut short"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Session s;
        s.script = c.script;
        s.open("COM4");
        s.log.clear();
        EXPECT_FALSE(s.updater.SendMagicCodeAndFirmware());
        EXPECT_TRUE(s.serial.state->writes.isEmpty()) << "not even the magic code";
        ASSERT_EQ(s.dialogs.messages.size(), 1) << "no bootloader question either";
        const QString text = s.dialogs.messages[0].text;
        EXPECT_TRUE(text.split('\n').first().startsWith(QString::fromLatin1(c.firstLine))) << text.toStdString();
        EXPECT_TRUE(text.contains(QDir::toNativeSeparators(c.script.origin))) << text.toStdString();
        EXPECT_TRUE(text.contains(QString::fromLatin1(c.flaw))) << text.toStdString();
        ASSERT_EQ(s.log.size(), 2);
        EXPECT_TRUE(s.log[0].startsWith("Update refused: ")) << s.log[0].toStdString();
        EXPECT_TRUE(s.log[0].endsWith(QDir::toNativeSeparators(c.script.origin))) << s.log[0].toStdString();
        EXPECT_EQ(s.log[1], "Nothing was sent; the programmer keeps its firmware");
        EXPECT_TRUE(s.updater.portOpen()) << "the port stays as it was";
        EXPECT_FALSE(s.updater.busy());
    }
    // What a delivered script may hold and still plays to its end is not refused.
    for (FirmwareScriptFault harmless : {FirmwareScriptFault::NoEndRecord, FirmwareScriptFault::WrongVersion}) {
        EXPECT_EQ(CheckFirmwareScript(GenerateFaultyFirmwareScript(harmless, shape)), QString());
        Session s;
        s.script.data = GenerateFaultyFirmwareScript(harmless, shape);
        s.open("COM4");
        s.dialogs.answers << MsgAnswer::Yes;
        EXPECT_TRUE(s.updater.SendMagicCodeAndFirmware());
        EXPECT_EQ(s.serial.state->writes.size(), 3);
    }
}

TEST(FirmwareUpdater, MagicCodeAndFirmwareAsksBeforeTheScript)
{
    for (MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Yes}) {
        Session s;
        s.open("COM4");
        s.dialogs.answers << answer;
        EXPECT_EQ(s.updater.SendMagicCodeAndFirmware(), answer == MsgAnswer::Yes);
        ASSERT_EQ(s.dialogs.messages.size(), 1);
        EXPECT_EQ(s.dialogs.messages[0].caption, "Please confirm");
        EXPECT_EQ(s.dialogs.messages[0].text, "Is NFC programming device in Bootloader Mode?");
        EXPECT_EQ(s.dialogs.messages[0].buttons, MsgButtons::YesNo);
        EXPECT_EQ(s.dialogs.messages[0].icon, MsgIcon::Question);
        EXPECT_EQ(s.serial.state->writes.size(), answer == MsgAnswer::Yes ? 3 : 1);
    }
}

TEST(FirmwareUpdater, ClicksDuringARunNeitherNestNorCloseThePort)
{
    Session s;
    s.open("COM4");
    bool clicked = false;
    QStringList openWhileRunning;
    s.onLog = [&](const QString &line) {
        // The window processes events on every log line: the user clicks now.
        if (line == "...Send data" && !clicked) {
            clicked = true;
            const QString other("COM7");
            s.updater.PortButton(&other);
            EXPECT_FALSE(s.updater.SendFirmware());
            EXPECT_FALSE(s.updater.SendMagicCode());
            EXPECT_FALSE(s.updater.SendMagicCodeAndFirmware());
            s.updater.Reset();
            openWhileRunning << (s.updater.portOpen() ? "open" : "closed");
        }
    };
    EXPECT_TRUE(s.updater.SendFirmware());
    EXPECT_TRUE(clicked);
    EXPECT_EQ(openWhileRunning, QStringList{"open"});
    EXPECT_EQ(s.log.filter("Filesize").size(), 1);
    EXPECT_EQ(s.serial.state->writes.size(), 2);
    EXPECT_EQ(s.serial.state->opened, QStringList{"COM4"});
    EXPECT_TRUE(s.updater.busy() == false);
}

TEST(FirmwarePorts, ComNamesAndEntries)
{
    EXPECT_TRUE(IsComPortName("COM1"));
    EXPECT_TRUE(IsComPortName("com12"));
    EXPECT_FALSE(IsComPortName("COM"));
    EXPECT_FALSE(IsComPortName("COMx1"));
    EXPECT_FALSE(IsComPortName("ttyUSB0"));

    FakePortInstaller serial;
    EXPECT_EQ(CreateFirmwarePort("COM9")->systemPortName(), "COM9");
    EXPECT_EQ(CreateFirmwarePort("COM10")->systemPortName(), "\\\\.\\COM10");
#ifndef Q_OS_WIN
    // Elsewhere an entry is the system's port name.
    auto named = CreateFirmwarePort("/dev/ttyACM0");
    ASSERT_TRUE(named);
    EXPECT_EQ(serial.state->opened.last(), "/dev/ttyACM0");
    EXPECT_EQ(named->GetComStateText(), "Ready on /dev/ttyACM0");
#endif
}
