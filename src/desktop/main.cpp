// The desktop program: creates its windows in a fixed order, shows the splash and
// runs until the main window closes.

#include "desktop/main_window.h"
#include "desktop/info_windows.h"
#include "desktop/qt_dialogs.h"
#include "desktop/splash_screen.h"
#include "common/dialogs.h"
#include "common/program_version.h"
#include "desktop/firmware_window.h"
#include "desktop/driver_select_window.h"
#include "radio/radio_link.h"
#include "station/programmer_records.h"
#include "desktop/radio_link_window.h"
#include "desktop/tag_info_window.h"
#include "desktop/programmed_drivers_window.h"

#include <QApplication>
#include <exception>

namespace {
// Errors that escape an event handler are shown by the general error report.
class TApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject *receiver, QEvent *event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception &e) {
            ShowGeneralError(e);
        } catch (...) {
            ShowGeneralError(QStringLiteral("Unknown error"));
        }
        return false;
    }
};
} // namespace

int main(int argc, char **argv)
{
    if (PrintVersionIfAsked(argc, argv, "tavel-nfc-config"))
        return 0;
    TApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("NFC configuration software Tavel"));
    QApplication::setQuitOnLastWindowClosed(false);
    QtDialogs qtDialogs;
    setDialogs(&qtDialogs);

    try {
        // 1. The main window (loads the default profile into the three slots).
        // "--port PATH" (repeatable) adds a port to the radio link window's list as
        // if discovery had found it (a simulator, an adapter discovery cannot
        // recognise); the remaining arguments go to the main window as before.
        QStringList arguments = QApplication::arguments();
        setExtraSerialPorts(TakePortArguments(arguments));
        Form1 = new TForm1(arguments);
        Form1->EndProgramOnClose = true;
        // 2. The splash window, visible at creation; it shows the main window.
        SplashScreen = new TSplashScreen();
        // 3.-7. The information windows.
        Form3 = new TForm3(Form1);
        Form4 = new TForm4(Form1);
        Form5 = new TForm5(Form1);
        Form6 = new TForm6(QString(), Form1);
        Form7 = new TForm7(Form1);
        // 8. The radio link window.
        Form9 = new TForm9();
        // The records of what the programmer reports over the radio window's link.
        new ProgrammerRecords(Form9->Link, Form9);
        // 9. The tag info window.
        FormTagInfo = new TFormTagInfo(Form1);
        // 10. The driver selection window.
        Form10 = new TForm10();
        // 11. The programmed drivers window.
        ProgrammedDrivers = new TProgrammedDrivers(Form1);
        // 12. The firmware updater window.
        Form2 = new TForm2(Form1);

        SplashScreen->show();
        app.exec();
    } catch (const std::exception &e) {
        ShowGeneralError(e);
    }
    // The windows go in the reverse order of their creation; each process-wide
    // pointer is cleared first so that nothing reaches a window being destroyed.
    const auto release = [](auto *&window) {
        auto *w = window;
        window = nullptr;
        delete w;
    };
    release(Form2);
    ProgrammedDrivers = nullptr; // owned by the main window
    release(Form10);
    FormTagInfo = nullptr; // owned by the main window
    release(Form9);
    Form3 = nullptr; // the information windows are owned by the main window
    Form4 = nullptr;
    Form5 = nullptr;
    Form6 = nullptr;
    Form7 = nullptr;
    release(SplashScreen);
    release(Form1);
    setDialogs(nullptr);
    return 0;
}
