#pragma once
// The owner of the desktop program's windows: creates them in the order the
// program needs, connects them with signals and slots, and destroys them in the
// reverse order. No window reaches another window's widgets; each reports what
// happened and the owner passes it on.

#include <QStringList>
#include <memory>

class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;
class TForm9;
class TForm10;
class TFormTagInfo;
class TSplashScreen;

// The windows to connect; any of them may be missing (a test creates only the
// windows it needs), and what would go to a missing window goes nowhere.
struct DesktopWindows {
    TForm1 *main = nullptr;          // the main window
    TSplashScreen *splash = nullptr; // the splash window
    TForm3 *language = nullptr;      // "Language"
    TForm4 *company = nullptr;       // about the company
    TForm5 *nfc = nullptr;           // about the NFC system
    TForm6 *licence = nullptr;       // the licence
    TForm7 *help = nullptr;          // "Help"
    TForm9 *radio = nullptr;         // the radio link window "settings (constant data)"
    TFormTagInfo *tagInfo = nullptr; // the tag info window
    TForm10 *driverSelect = nullptr; // the driver selection window
    TForm2 *firmware = nullptr;      // the firmware updater window
};

// Connects every pair of the given windows that talk to each other.
void ConnectDesktopWindows(const DesktopWindows &windows);

class DesktopApp {
public:
    // `arguments`: the command line with the program path first, "--port" entries
    // already taken out.
    explicit DesktopApp(const QStringList &arguments);
    ~DesktopApp();
    DesktopApp(const DesktopApp &) = delete;
    DesktopApp &operator=(const DesktopApp &) = delete;

    // Shows the splash window; it brings up the main window.
    void start();
    const DesktopWindows &windows() const { return windows_; }

private:
    void create(const QStringList &arguments);
    void release();
    DesktopWindows windows_;
};
