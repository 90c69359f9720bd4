// The desktop program: its owner creates the windows in a fixed order and shows
// the splash; the program runs until the main window closes.

#include "common/dialogs.h"
#include "common/program_version.h"
#include "desktop/desktop_app.h"
#include "desktop/desktop_usage.h"
#include "desktop/qt_dialogs.h"
#include "serial/port_discovery.h"

#include <QApplication>
#include <cstdio>
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
    if (DesktopHelpWanted(argc, argv)) {
        // No window, so no display: a core application knows the program's folder.
        QCoreApplication core(argc, argv);
        std::fputs(DesktopUsageText().toUtf8().constData(), stdout);
        return 0;
    }
    TApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("NFC configuration software Tavel"));
    QApplication::setQuitOnLastWindowClosed(false);
    QtDialogs qtDialogs;
    setDialogs(&qtDialogs);

    try {
        // "--port PATH" (repeatable) adds a port to the radio link window's list as
        // if discovery had found it (a simulator, an adapter discovery cannot
        // recognise); the remaining arguments go to the main window as before.
        QStringList arguments = QApplication::arguments();
        setExtraSerialPorts(TakePortArguments(arguments));
        DesktopApp desktop(arguments);
        desktop.start();
        app.exec();
    } catch (const std::exception &e) {
        ShowGeneralError(e);
    }
    setDialogs(nullptr);
    return 0;
}
