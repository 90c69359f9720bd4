#include "firmware/firmware_updater.h"

#include "common/device_access_hint.h"
#include "common/dialogs.h"
#include "serial/tcom_class.h"

#include <QDir>

class FirmwareUpdater::BusyScope {
public:
    explicit BusyScope(bool &flag) : flag_(flag) { flag_ = true; }
    ~BusyScope() { flag_ = false; }

private:
    bool &flag_;
};

std::unique_ptr<TComClass> CreateFirmwarePort(const QString &entry)
{
    if (entry.startsWith(QLatin1String("COM"))) {
        bool ok = false;
        const int n = entry.mid(3).toInt(&ok, 10);
        if (ok)
            return std::make_unique<TComClass>(n);
#ifdef Q_OS_WIN
        return nullptr;
#endif
    }
#ifdef Q_OS_WIN
    return nullptr;
#else
    if (entry.isEmpty())
        return nullptr;
    return std::make_unique<TComClass>(entry);
#endif
}

FirmwareUpdater::FirmwareUpdater(Hooks hooks) : hooks_(std::move(hooks)) {}

FirmwareUpdater::~FirmwareUpdater() = default;

void FirmwareUpdater::log(const QString &line)
{
    if (hooks_.log)
        hooks_.log(line);
}

void FirmwareUpdater::changed()
{
    if (hooks_.stateChanged)
        hooks_.stateChanged();
}

bool FirmwareUpdater::portOpen() const { return port_ && port_->GetComState() >= 0; }

void FirmwareUpdater::showState() { status_ = port_ ? port_->GetComStateText() : QString(); }

void FirmwareUpdater::Reset()
{
    if (busy_)
        return;
    port_.reset(); // closes the port
    caption_ = QStringLiteral("Open port");
    sendEnabled_ = false;
    status_.clear();
    changed();
}

void FirmwareUpdater::PortButton(const QString *selectedEntry)
{
    if (busy_)
        return; // never close the port under a running transfer
    BusyScope scope(busy_);
    if (!port_) {
        if (!selectedEntry)
            return;
        port_ = CreateFirmwarePort(*selectedEntry);
        if (port_ && portOpen()) {
            log(QStringLiteral("COM port opened"));
            sendEnabled_ = true;
            caption_ = QStringLiteral("Close port");
            showState();
            changed();
            return;
        }
        port_.reset(); // the next click starts again from the selected entry
        changed();
        dialogs().message(QStringLiteral("Error"), QString::fromLatin1(kCouldNotConnect) + DeviceAccessHint(*selectedEntry));
        return;
    }
    if (portOpen()) {
        port_->Close();
        caption_ = QStringLiteral("Open port");
        log(QStringLiteral("COM port closed"));
        showState();
        sendEnabled_ = false;
        changed();
        return;
    }
    if (port_->RestartCom()) {
        log(QStringLiteral("COM port reopened"));
        caption_ = QStringLiteral("Close port");
        showState();
        sendEnabled_ = true;
    } else {
        port_->Close();
        caption_ = QStringLiteral("Open port");
        log(QStringLiteral("COM port closed"));
        showState();
        sendEnabled_ = false;
    }
    changed();
}

bool FirmwareUpdater::reopenBeforeSending()
{
    if (portOpen())
        return true;
    if (port_->RestartCom()) {
        log(QStringLiteral("COM port reopened"));
        caption_ = QStringLiteral("Close port");
        showState();
        changed();
        return true;
    }
    return false;
}

void FirmwareUpdater::closeAfterSending()
{
    port_->Close();
    log(QStringLiteral("COM port closed"));
    caption_ = QStringLiteral("Open port");
    showState();
    changed();
}

bool FirmwareUpdater::sendMagicCode()
{
    if (!port_)
        return false;
    reopenBeforeSending();
    if (hooks_.processEvents)
        hooks_.processEvents();
    const bool written = port_->WriteCom(kMagicCode.data(), int(kMagicCode.size())) == TComClass::kDone;
    if (written) {
        log(QStringLiteral("Sending Magic Code! Programmer should switch in Bootloader Mode"));
    } else {
        log(QStringLiteral("ERROR: Could not write Magic Code  to COM!"));
        dialogs().message(QStringLiteral("Error"), QStringLiteral("ERROR: Could not write to COM. Maybe in use?"));
    }
    // The programmer restarts into its bootloader now; the port is reopened for the script.
    closeAfterSending();
    return written;
}

bool FirmwareUpdater::loadUsableScript(FirmwareScriptLoad &script)
{
    script = hooks_.loadScript ? hooks_.loadScript() : LoadFirmwareScript();
    QString problem = script.error;
    const QString flaw = problem.isEmpty() ? CheckFirmwareScript(script.data) : QString();
    if (!flaw.isEmpty())
        problem = QStringLiteral("The firmware script cannot be used: ") + flaw;
    if (problem.isEmpty())
        return true;
    const QString file = script.origin.isEmpty() ? QStringLiteral("(no file)") : QDir::toNativeSeparators(script.origin);
    log(QStringLiteral("Update refused: ") + problem + QStringLiteral(" - ") + file);
    log(QStringLiteral("Nothing was sent; the programmer keeps its firmware"));
    dialogs().message(QStringLiteral("Error"),
                      problem + QStringLiteral("\nFirmware script looked for: ") + file
                          + QStringLiteral("\nThe update was not started; nothing was sent to the programmer."),
                      MsgButtons::OK, MsgIcon::Error);
    return false;
}

bool FirmwareUpdater::sendFirmware(const FirmwareScriptLoad &script)
{
    if (!port_)
        return false;
    if (!reopenBeforeSending())
        return false;
    if (hooks_.progress)
        hooks_.progress(0);
    FirmwareScriptPlayer player({hooks_.log, hooks_.progress, hooks_.nowMs, hooks_.sleepMs});
    const bool ok = player.play(script.data, *port_) == FirmwareScriptPlayer::Outcome::Finished;
    if (ok)
        log(QStringLiteral("finished successfully"));
    closeAfterSending();
    return ok;
}

bool FirmwareUpdater::SendMagicCode()
{
    if (busy_)
        return false;
    BusyScope scope(busy_);
    return sendMagicCode();
}

bool FirmwareUpdater::SendFirmware()
{
    if (busy_)
        return false;
    BusyScope scope(busy_);
    if (!port_)
        return false;
    FirmwareScriptLoad script;
    if (!loadUsableScript(script))
        return false;
    return sendFirmware(script);
}

bool FirmwareUpdater::SendMagicCodeAndFirmware()
{
    if (busy_)
        return false;
    BusyScope scope(busy_);
    if (!port_)
        return false;
    FirmwareScriptLoad script;
    if (!loadUsableScript(script))
        return false;
    sendMagicCode();
    const bool yes = hooks_.confirmBootloader
                         ? hooks_.confirmBootloader()
                         : dialogs().message(QStringLiteral("Please confirm"),
                                             QStringLiteral("Is NFC programming device in Bootloader Mode?"),
                                             MsgButtons::YesNo, MsgIcon::Question)
                               == MsgAnswer::Yes;
    return yes && sendFirmware(script);
}
