// window_pictures: writes PNG pictures of what a user of the desktop program
// sees, for a look by eye (not a test): the main window's states (welcome panel,
// slot 1, the CLO and DC editors, expert mode with the summary view), the four
// parameter editors with their graphs, the Help and License windows, the
// splash, the radio link window (compact, with its settings panel, expert with a
// log line; its stick is a stand-in port), the tag info window in expert layout,
// the record options and the programmed drivers report, the language, company,
// NFC system and firmware update windows, the driver selection window with the
// catalogue beside the program. The user manual shows some of them.
//
//   window_pictures [FOLDER]     (default: build/screenshots beside build/bin)
//
// The windows run with the application-data folder, the records and the
// recently-used list in a temporary folder and every message box answered
// "OK" / every file dialog cancelled, so the user's own files are never touched.
// Exit status 0 when every picture was written; 1 naming the picture otherwise.

#include "desktop/controls.h"
#include "desktop/desktop_app.h"
#include "desktop/driver_select_window.h"
#include "desktop/firmware_window.h"
#include "desktop/graph_view.h"
#include "desktop/info_windows.h"
#include "desktop/main_window.h"
#include "desktop/programmed_drivers_window.h"
#include "desktop/radio_link_window.h"
#include "desktop/record_options_panel.h"
#include "desktop/splash_screen.h"
#include "desktop/tag_info_window.h"
#include "fake_serial_port.h"
#include "profile/profile_record.h"
#include "radio/esp3.h"
#include "radio/tag_buffers.h"
#include "radio/tag_image.h"
#include "radio_test_util.h"
#include "records/records_database.h"
#include "scripted_dialogs.h"
#include "serial/port_discovery.h"
#include "default_profiles.h"
#include "driver_tags.h"
#include "window_test_folder.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <cstdio>
#include <memory>

namespace {

class Pictures {
public:
    explicit Pictures(QString folder) : folder_(std::move(folder)) {}

    void save(QWidget &w, const QString &name)
    {
        QApplication::processEvents();
        const QImage image = w.grab().toImage();
        const QString path = QDir(folder_).filePath(name);
        if (image.isNull() || !image.save(path)) {
            std::fprintf(stderr, "window_pictures: could not write %s\n", qPrintable(path));
            ++failed_;
            return;
        }
        // A window's place on the screen: one reaching past the screen's free
        // area is named.
        const QRect frame = w.window()->frameGeometry();
        const QRect room = w.screen() ? w.screen()->availableGeometry() : QRect();
        std::printf("%s  %dx%d at %d,%d of %dx%d%s\n", qPrintable(path), frame.width(), frame.height(), frame.x(),
                    frame.y(), room.width(), room.height(),
                    room.isValid() && !room.contains(frame) ? "  OUTSIDE THE SCREEN" : "");
        ++written_;
    }
    int failed() const { return failed_; }
    int written() const { return written_; }

private:
    QString folder_;
    int failed_ = 0;
    int written_ = 0;
};

void setAndLeave(TEdit *edit, const QString &text)
{
    edit->setText(text);
    RunUserAction(edit->OnExit);
}

void mainWindowStates(Pictures &pictures)
{
    auto form = std::make_unique<TForm1>(QStringList{QStringLiteral("tavel-nfc-config")});
    form->show();
    pictures.save(*form, QStringLiteral("main-window-welcome.png"));
    form->LoadFileButtonClick(); // file dialog cancelled: the toolbar and slot 1
    pictures.save(*form, QStringLiteral("main-window-slot1.png"));
    form->CLOEditEnter();
    pictures.save(*form, QStringLiteral("main-window-slot1-clo.png"));
    form->DClevelEditEnter();
    pictures.save(*form, QStringLiteral("main-window-slot1-dc.png"));
    form->close();
    form.reset();

    form = std::make_unique<TForm1>(QStringList{QStringLiteral("prog"), QStringLiteral("qavrelo")});
    form->show();
    form->LoadFileButtonClick();
    form->CloseInterfaceButtonClick(); // the summary view with the programming data beside it
    pictures.save(*form, QStringLiteral("main-window-expert-summary.png"));
    form->close();
    form.reset();
    DevelopModeFlag = 0;
}

// The catalogue's models, as after "new settings", with the first one chosen.
void driverSelection(Pictures &pictures)
{
    TForm10 select;
    select.show(); // opens the catalogue beside the program
    if (select.DriversListView->topLevelItemCount() > 0)
        select.DriversListView->setCurrentItem(select.DriversListView->topLevelItem(0));
    pictures.save(select, QStringLiteral("driver-select.png"));
    select.close();
}

void editorsAndGraphs(Pictures &pictures)
{
    TForm1 form(QStringList{QStringLiteral("tavel-nfc-config")});
    form.show();
    form.Setting1ToolButtonClick();

    // Current: the line dragged to about 525 mA.
    form.CurrentEditEnter();
    QWidget *plot = form.CurrentGraph->Plot();
    QTest::mousePress(plot, Qt::LeftButton, Qt::NoModifier, QPoint(200, 180));
    QTest::mouseRelease(plot, Qt::LeftButton, Qt::NoModifier, QPoint(200, 180));
    pictures.save(form, QStringLiteral("editor-current.png"));
    pictures.save(*form.GraphPanel, QStringLiteral("graph-current.png"));

    // CLO: a falling profile over 50000 h, one level written "0".
    form.CLOEditEnter();
    activeProfile().Level[3].min = QStringLiteral("0");
    setAndLeave(form.clo_LifeTimeEdit, QStringLiteral("50000"));
    setAndLeave(form.clo_L2_Edit, QStringLiteral("90"));
    setAndLeave(form.clo_L3_Edit, QStringLiteral("80.5"));
    setAndLeave(form.clo_L4_Edit, QStringLiteral("0"));
    setAndLeave(form.clo_L5_Edit, QStringLiteral("60"));
    pictures.save(form, QStringLiteral("editor-clo.png"));
    pictures.save(*form.CLO_Adjust_Panel, QStringLiteral("graph-clo.png"));

    // DC level at 70 %.
    form.DClevelEditEnter();
    setAndLeave(form.DC_level_Edit, QStringLiteral("70"));
    pictures.save(form, QStringLiteral("editor-dc.png"));

    // NTC with the default temperatures and a span of 85.
    form.NTCEditEnter();
    setAndLeave(form.NTC_cut_degree_edit, QStringLiteral("85"));
    setAndLeave(form.NTC_stop_edit, QStringLiteral("40"));
    pictures.save(form, QStringLiteral("editor-ntc.png"));
    pictures.save(*form.NTCPanel, QStringLiteral("graph-ntc.png"));
    form.close();
}

void infoWindows(Pictures &pictures)
{
    TForm7 help;
    help.show();
    pictures.save(help, QStringLiteral("help-window.png"));
    help.close();

    // The licence text beside the program, as the installed program reads it.
    const QString besideProgram = QCoreApplication::applicationDirPath();
    const QString resources = QFileInfo::exists(besideProgram + QStringLiteral("/license.rtf"))
                                  ? besideProgram
                                  : QStringLiteral(TAVEL_SOURCE_DIR "/resources");
    TForm6 licence(resources);
    licence.show();
    pictures.save(licence, QStringLiteral("license-window.png"));
    licence.close();

    TForm3 language;
    TForm4 company;
    TForm5 nfc;
    const std::pair<TInfoForm *, const char *> small[] = {
        {&language, "language-window.png"}, {&company, "company-window.png"}, {&nfc, "nfc-system-window.png"}};
    for (const auto &[window, name] : small) {
        window->show();
        pictures.save(*window, QString::fromLatin1(name));
        window->close();
    }

    TForm2 firmware;
    firmware.show();
    pictures.save(firmware, QStringLiteral("firmware-window.png"));
    firmware.close();

    TSplashScreen splash;
    splash.show();
    splash.Timer1->stop();
    pictures.save(splash, QStringLiteral("splash.png"));
    splash.close();
}

void radioLinkLayouts(Pictures &pictures)
{
    FakePortInstaller fake; // a stand-in stick that acknowledges every radio telegram
    fake.state->onWrite = [&fake](const QByteArray &w) {
        if (w.size() > 4 && w[4] == char(esp3::kTypeRadioErp1))
            fake.state->incoming.append(hexBytes("55 00 01 00 02 65 00 00"));
    };
    setSystemSerialPortLister([] { return QList<SystemSerialPort>{{QStringLiteral("ttyUSB0"), true, 0x0403, 0x6001, {}}}; });
    {
        TForm1 main(QStringList{QStringLiteral("tavel-nfc-config")});
        TForm9 radio;
        ConnectDesktopWindows({.main = &main, .radio = &radio});
        radio.Link.stopReceiveTick(); // ticks by hand
        main.Setting1ToolButtonClick();
        radio.show();
        radio.ButtonSearchComPortsClick();
        radio.OpenPortButtonClick();
        pictures.save(radio, QStringLiteral("radio-link-compact.png"));
        radio.Advanced_ButtonClick();
        pictures.save(radio, QStringLiteral("radio-link-settings.png"));
        radio.Develoop_ButtonClick();
        fake.state->incoming.append(hexBytes("55 00 01 00 02 65 00 00"));
        radio.Link.Timer1Timer();
        pictures.save(radio, QStringLiteral("radio-link-expert.png"));
        radio.hide();
    }
    setSystemSerialPortLister({});
}

void tagAndRecordWindows(Pictures &pictures)
{
    TForm1 main(QStringList{QStringLiteral("tavel-nfc-config")});
    main.Setting1ToolButtonClick();
    ApplyPairedDriverIdentity(settingsVariablesField[0]);
    TFormTagInfo info;
    ConnectDesktopWindows({.main = &main, .tagInfo = &info});

    // The profile's driver's tag: current 350, lifetime byte 100, levels
    // 200/199/180/160/100, DC off.
    LoadTagIntoBuffers(PairedDriverTag());

    info.SetExpertLayout(true);
    info.show();
    pictures.save(info, QStringLiteral("tag-info-expert.png"));
    info.hide();

    WriteDriversToDatabaseInAppdataWithSettings(QStringLiteral("2.10"), QStringLiteral("0x0180A2B3"),
                                                QStringLiteral("0x01A2B3C4"), QStringLiteral("0000000000012345"));
    main.show();
    main.ReportButtonClick();
    pictures.save(main, QStringLiteral("record-options.png"));
    main.ProgrammedDriverReportPanel->ReportPanelShowDriversButton->click();
    pictures.save(*main.ProgrammedDriverReportPanel->ProgrammedDrivers, QStringLiteral("programmed-drivers.png"));
    main.close();
}

// Verify mode over the stand-in stick: a driver that passed, then one whose tag
// holds another level and too short a read-write area, then one more that passed.
void verifyPanel(Pictures &pictures)
{
    FakePortInstaller fake;
    TForm1 main(QStringList{QStringLiteral("tavel-nfc-config")});
    ApplyPairedDriverIdentity(settingsVariablesField[0]);
    main.Setting1ToolButtonClick();
    TForm9 radio;
    ConnectDesktopWindows({.main = &main, .radio = &radio});
    radio.Link.stopReceiveTick(); // ticks by hand
    radio.Link.TogglePort(QStringLiteral("stick"));
    radio.Link.ownId = 0x0180A2B3;
    radio.EditReceiverId->setText(QStringLiteral("0x01A2B3C4"));
    radio.CheckBox1->setChecked(false);
    main.show();
    main.VerifyButtonClick();
    auto hold = [&](const TagImage &t) {
        for (const QByteArray &f : TagReadFrames(t)) {
            fake.state->incoming.append(telegramFrom(f, 0x01A2B3C4, 0x0180A2B3));
            radio.Link.Timer1Timer();
        }
    };
    pictures.save(main, QStringLiteral("verify-waiting.png"));
    hold(PairedDriverTagProgrammedWith(settingsVariablesField[0]));
    pictures.save(main, QStringLiteral("verify-pass.png"));
    TagImage changed = PairedDriverTagProgrammedWith(settingsVariablesField[0], 256, 9);
    changed.serial = QByteArray::fromHex("000000000000303A");
    changed.rwData[265 - 256 - 2] = char(150); // Level0 75 %
    hold(changed);
    pictures.save(main, QStringLiteral("verify-fail.png"));
    // The next driver passes: the FAIL stays in the large field until acknowledged.
    TagImage next = PairedDriverTagProgrammedWith(settingsVariablesField[0]);
    next.serial = QByteArray::fromHex("000000000000303B");
    hold(next);
    pictures.save(main, QStringLiteral("verify-fail-held.png"));
    main.EndVerifyClick();
    main.close();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() > 2 || (args.size() == 2 && args[1].startsWith(QLatin1Char('-')))) {
        std::fprintf(stderr, "usage: window_pictures [FOLDER]\n");
        return 2;
    }
    const QString folder = args.size() == 2
                               ? args[1]
                               : QCoreApplication::applicationDirPath() + QStringLiteral("/../screenshots");
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "window_pictures: could not make the folder %s\n", qPrintable(folder));
        return 1;
    }

    QTemporaryDir tmp;
    if (!tmp.isValid()) {
        std::fprintf(stderr, "window_pictures: no temporary folder: %s\n", qPrintable(tmp.errorString()));
        return 1;
    }
    WindowTestFolder keepFilesAway(tmp.path());
    ScriptedDialogs dialogs; // message boxes answered OK, file dialogs cancelled

    Pictures pictures(QDir(folder).absolutePath());
    mainWindowStates(pictures);
    driverSelection(pictures);
    editorsAndGraphs(pictures);
    infoWindows(pictures);
    radioLinkLayouts(pictures);
    tagAndRecordWindows(pictures);
    verifyPanel(pictures);
    std::printf("%d picture(s) written to %s\n", pictures.written(), qPrintable(QDir(folder).absolutePath()));
    return pictures.failed() == 0 ? 0 : 1;
}
