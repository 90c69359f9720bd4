#pragma once
// The firmware updater's session without widgets: the port object, the port button,
// the magic code and the script run, with every step written to a log. The updater
// window and the command line both drive it.

#include "firmware/firmware_script.h"
#include "firmware/script_player.h"

#include <QString>
#include <functional>
#include <memory>

class TComClass;

class FirmwareUpdater {
public:
    struct Hooks {
        std::function<void(const QString &)> log;
        std::function<void(int)> progress;
        // The port button caption, the status text or the send buttons changed.
        std::function<void()> stateChanged;
        // Lets the window handle pending events (no-op on the command line).
        std::function<void()> processEvents;
        // Asks whether the programmer is in its bootloader now (Send MC + FW).
        std::function<bool()> confirmBootloader;
        // Clock and sleep of the delay records (real ones when empty).
        std::function<double()> nowMs;
        std::function<void(int)> sleepMs;
        // The script to play; LoadFirmwareScript() when empty.
        std::function<FirmwareScriptLoad()> loadScript;
    };

    explicit FirmwareUpdater(Hooks hooks);
    ~FirmwareUpdater();

    // Closes and releases the port object (the window is shown again or destroyed).
    void Reset();
    // "Open port" / "Close port". `selectedEntry` is null when no entry is selected.
    void PortButton(const QString *selectedEntry);
    // "Send MagicCode": true when the four bytes were written.
    bool SendMagicCode();
    // "Send Firmware": true when the script ran to its end without an error. The
    // script is loaded and checked first; a missing or unusable one is refused
    // (log and message name the file looked for) and nothing is sent.
    bool SendFirmware();
    // "Send MC + FW": the script is loaded and checked first, so that the magic code
    // never leaves the programmer in its bootloader without a script to play; then
    // the magic code, the question, and the script on Yes.
    bool SendMagicCodeAndFirmware();

    // True while a button's operation runs; clicks meanwhile are ignored.
    bool busy() const { return busy_; }
    bool hasPort() const { return port_ != nullptr; }
    bool portOpen() const;
    TComClass *port() const { return port_.get(); }
    QString portButtonCaption() const { return caption_; }
    QString statusText() const { return status_; }
    bool sendButtonsEnabled() const { return sendEnabled_; }

    static constexpr const char *kCouldNotConnect = "ERROR: Could not connect. Maybe in use?";

private:
    class BusyScope;
    void log(const QString &line);
    void changed();
    void showState();
    bool reopenBeforeSending();
    void closeAfterSending(); // the send buttons stay enabled: the next send reopens the port
    bool sendMagicCode();
    bool sendFirmware(const FirmwareScriptLoad &script);
    // Loads and checks the script; false (refusal logged and shown) when unusable.
    bool loadUsableScript(FirmwareScriptLoad &script);

    Hooks hooks_;
    std::unique_ptr<TComClass> port_;
    QString caption_ = QStringLiteral("Open port");
    QString status_;
    bool sendEnabled_ = false;
    bool busy_ = false;
};

// The port object for a list entry: "COM" followed by a decimal number opens that
// COM port; on systems without COM numbers any other entry is opened by its name.
// Null when the entry names no port this system can open that way.
std::unique_ptr<TComClass> CreateFirmwarePort(const QString &entry);
