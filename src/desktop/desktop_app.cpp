#include "desktop/desktop_app.h"

#include "desktop/driver_select_window.h"
#include "desktop/firmware_window.h"
#include "desktop/info_windows.h"
#include "desktop/main_window.h"
#include "desktop/radio_link_window.h"
#include "desktop/splash_screen.h"
#include "desktop/tag_info_window.h"
#include "desktop/window_owner.h"
#include "station/programmer_records.h"

void ConnectDesktopWindows(const DesktopWindows &w)
{
    if (TForm1 *main = w.main) {
        if (w.splash)
            QObject::connect(w.splash, &TSplashScreen::finished, main, &QWidget::show);
        if (w.language)
            QObject::connect(main, &TForm1::languageWanted, w.language, &TInfoForm::ShowWindow);
        if (w.company)
            QObject::connect(main, &TForm1::aboutCompanyWanted, w.company, &TInfoForm::ShowWindow);
        if (w.nfc)
            QObject::connect(main, &TForm1::aboutNfcWanted, w.nfc, &TInfoForm::ShowWindow);
        if (w.licence)
            QObject::connect(main, &TForm1::licenceWanted, w.licence, &TInfoForm::ShowWindow);
        if (w.help)
            QObject::connect(main, &TForm1::helpWanted, w.help, &TInfoForm::ShowWindow);
        if (w.radio) {
            TForm9 *radio = w.radio;
            // Placed on the main window, not kept above it: the operator works in
            // the main window's panels while the radio link window is open.
            SetWindowPlacementOwner(radio, main);
            main->FollowRadioLink(&radio->Link);
            QObject::connect(&radio->Link, &RadioLink::busyChanged, main, &TForm1::RadioLinkBusyChanged);
            QObject::connect(main, &TForm1::closing, radio, &TForm9::CloseSoftware);
            QObject::connect(main, &TForm1::expertModeSet, radio, &TForm9::ExpertModeSet);
            QObject::connect(main, &TForm1::programmerShown, radio, &TForm9::ShowReceiver);
            QObject::connect(main, &TForm1::sendRequested, radio, &TForm9::SendCurrentDataPackage);
            QObject::connect(main, &TForm1::radioLinkSettingsWanted, radio, [radio] {
                radio->show();
                radio->raise();
                radio->activateWindow();
            });
            QObject::connect(radio, &TForm9::closed, main, &TForm1::RadioLinkWindowClosed);
            QObject::connect(radio, &TForm9::startPressed, main, &TForm1::RadioLinkStartPressed);
            QObject::connect(radio, &QObject::destroyed, main, [main] { main->Link = nullptr; });
        }
        if (w.tagInfo) {
            QObject::connect(main, &TForm1::expertModeSet, w.tagInfo, &TFormTagInfo::SetExpertLayout);
            TFormTagInfo *tagInfo = w.tagInfo;
            QObject::connect(main, &TForm1::tagReadArrived, tagInfo, [tagInfo, main] { ExecOver(tagInfo, main); });
            QObject::connect(w.tagInfo, &TFormTagInfo::tagTakenOver, main, &TForm1::TagTakenOver);
        }
        if (w.driverSelect) {
            TForm10 *select = w.driverSelect;
            SetWindowOwner(select, main);
            QObject::connect(main, &TForm1::driverSelectionWanted, select, &QWidget::show);
            QObject::connect(main, &TForm1::recentCatalogueChosen, select,
                             &TForm10::LoadModelDataFromXMLRecentUsedFile);
            QObject::connect(select, &TForm10::recentCatalogueOpening, main, &TForm1::WaitForDriverSelection);
            QObject::connect(select, &TForm10::opened, main, &TForm1::DriverSelectionOpened);
            QObject::connect(select, &TForm10::closed, main, &TForm1::DriverSelectionClosed);
            QObject::connect(select, &TForm10::catalogueUsed, main, &TForm1::RegisterCreateWriteFunction);
            // The selectors first, then the radio link window with its connect prompt.
            QObject::connect(select, &TForm10::modelLoaded, main, &TForm1::ModelLoaded);
        }
    }
    if (w.help && w.licence)
        QObject::connect(w.help, &TForm7::licenceWanted, w.licence, &TInfoForm::ShowWindow);
    if (w.radio && w.driverSelect)
        QObject::connect(w.driverSelect, &TForm10::modelLoaded, w.radio, &TForm9::ShowAfterModelLoaded);
    // A modal window the radio link window opens belongs to it, so that the radio
    // link window stays visible under it and after it closes.
    if (TForm9 *radio = w.radio; radio && w.tagInfo) {
        TFormTagInfo *tagInfo = w.tagInfo;
        QObject::connect(radio, &TForm9::tagInfoWanted, tagInfo, [tagInfo, radio] { ExecOver(tagInfo, radio); });
    }
    if (TForm9 *radio = w.radio; radio && w.firmware) {
        TForm2 *firmware = w.firmware;
        QObject::connect(radio, &TForm9::firmwareUpdateWanted, firmware,
                         [firmware, radio] { SetWindowOwner(firmware, radio); firmware->ShowModal(); });
    }
}

DesktopApp::DesktopApp(const QStringList &arguments)
{
    try {
        create(arguments);
    } catch (...) {
        release();
        throw;
    }
    ConnectDesktopWindows(windows_);
}

void DesktopApp::create(const QStringList &arguments)
{
    // 1. The main window (loads the default profile into the three slots).
    windows_.main = new TForm1(arguments);
    windows_.main->EndProgramOnClose = true;
    // 2. The splash window, visible at creation; it brings up the main window.
    windows_.splash = new TSplashScreen();
    // 3.-7. The information windows (owned by the main window).
    windows_.language = new TForm3(windows_.main);
    windows_.company = new TForm4(windows_.main);
    windows_.nfc = new TForm5(windows_.main);
    windows_.licence = new TForm6(QString(), windows_.main);
    windows_.help = new TForm7(windows_.main);
    // 8. The radio link window.
    windows_.radio = new TForm9();
    // The records of what the programmer reports over the radio window's link; the
    // radio log names the repeats the main window's records writer finds.
    auto *records = new ProgrammerRecords(windows_.radio->Link, windows_.radio);
    QObject::connect(windows_.main, &TForm1::repeatRecorded, records, &ProgrammerRecords::logRepeat);
    // 9. The tag info window (owned by the main window).
    windows_.tagInfo = new TFormTagInfo(windows_.main);
    // 10. The driver selection window.
    windows_.driverSelect = new TForm10();
    // 11. The firmware updater window (owned by the main window).
    windows_.firmware = new TForm2(windows_.main);
}

DesktopApp::~DesktopApp() { release(); }

void DesktopApp::release()
{
    // The reverse order of creation; windows owned by the main window go with it.
    delete windows_.firmware;
    delete windows_.driverSelect;
    delete windows_.radio;
    delete windows_.splash;
    delete windows_.main;
    windows_ = DesktopWindows{};
}

void DesktopApp::start() { windows_.splash->show(); }
