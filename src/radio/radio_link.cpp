#include "radio/radio_link.h"

#include "common/convert.h"
#include "common/device_access_hint.h"
#include "common/hex_text.h"
#include "common/programmer_id.h"
#include "radio/tavel_frames.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLocale>
#include <QTimer>
#include <utility>

namespace {
constexpr int kReceiveTickMs = 110;

qint64 monotonicMs()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return clock.elapsed();
}
} // namespace

// ---- Radio link ------------------------------------------------------------------

RadioLink::RadioLink(QObject *parent) : QObject(parent), receiver_(port_), timer_(new QTimer(this))
{
    timer_->setInterval(kReceiveTickMs);
    connect(timer_, &QTimer::timeout, this, &RadioLink::Timer1Timer);
    connect(&receiver_, &Esp3Receiver::logLine, this, &RadioLink::OutputLog);
    connect(&receiver_, &Esp3Receiver::responseReceived, this, &RadioLink::handleResponse);
    connect(&receiver_, &Esp3Receiver::radioTelegramReceived, this, &RadioLink::DecodeRadioTelegram);
    // The port says so from inside its own notification; the receiver reads right
    // after it, so that a handler that closes the port never runs inside it.
    port_.setReadyReadHandler([this] { QMetaObject::invokeMethod(this, &RadioLink::receiveNow, Qt::QueuedConnection); });
    setClock({}, {});
}

void RadioLink::setClock(std::function<qint64()> nowMs, std::function<void(int)> waitMs)
{
    nowMs_ = nowMs ? std::move(nowMs) : std::function<qint64()>(monotonicMs);
    waitMs_ = waitMs ? std::move(waitMs) : [this](int ms) { waitInEventLoop(ms); };
}

void RadioLink::waitInEventLoop(int ms)
{
    if (ms <= 0)
        return;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(this, &RadioLink::stickAcknowledgement, &loop, &QEventLoop::quit);
    connect(this, &RadioLink::portStateChanged, &loop, &QEventLoop::quit);
    timer.start(ms);
    loop.exec();
}

RadioLink::~RadioLink() { port_.close(); }

void RadioLink::startReceiveTick() { timer_->start(); }
void RadioLink::stopReceiveTick() { timer_->stop(); }

void RadioLink::setStatusPanel(int panel, const QString &text)
{
    if (panel < 0 || panel > 3)
        return;
    emit statusPanelChanged(panel, text);
}

void RadioLink::setReceiver(const QString &idText, const QString &fwText)
{
    receiverIdText_ = NormalizedEnOceanId(idText);
    emit receiverChanged(receiverIdText_, fwText);
}

QString RadioLink::nowText() const
{
    const QDateTime now = QDateTime::currentDateTime();
    return QLocale::system().toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ')
           + now.time().toString(QStringLiteral("HH:mm:ss"));
}

void RadioLink::OutputLog(const QString &line) { emit logLine(line); }

// ---- Port ------------------------------------------------------------------------

bool RadioLink::isPortOpen() const { return port_.isOpen(); }

bool RadioLink::InitCom(const QString &portName)
{
    if (!port_.open(portName))
        return false;
    emit portStateChanged(true);
    return true;
}

void RadioLink::CloseCom()
{
    setStatusPanel(0, QStringLiteral("Port closed"));
    setStatusPanel(1, QString());
    emit stickInfoChanged(QStringLiteral("Stick Info: None"));
    if (port_.isOpen()) {
        port_.close();
        emit portStateChanged(false);
    }
}

int RadioLink::ReadCom(int timeoutMs, uint8_t *buffer, int maxCount, int *count)
{
    return port_.read(timeoutMs, buffer, maxCount, count);
}

static QString errorTextFor(int code, const QString &systemText)
{
    return QStringLiteral("Fehlernachricht: ") + QStringLiteral("failed with error %1: %2\n").arg(code).arg(systemText);
}

int RadioLink::WriteCom(const uint8_t *buffer, int count)
{
    if (port_.write(buffer, count) != kComDone) {
        const int code = port_.errorCode();
        if (code != 0) {
            const QString text = errorTextFor(code, port_.errorText());
            if (transferRunning_) {
                // The transfer's end says what happened and how far it got, once.
                loseLink(port_.errorText());
            } else {
                // A port that went away is also waited for, to be opened again.
                if (port_.deviceLost())
                    loseLink(port_.errorText());
                else
                    CloseCom();
                tell(QStringLiteral("Fehler"), text, MsgIcon::Error);
            }
        }
        return kComError;
    }
    return kComDone;
}

void RadioLink::loseLink(const QString &reason)
{
    if (!isPortOpen())
        return;
    lostPortEntry_ = openedEntry_;
    lossReason_ = reason;
    OutputLog(QStringLiteral("Error: the stick's port ") + openedEntry_ + QStringLiteral(" is gone (") + reason
              + QStringLiteral("); port closed"));
    CloseCom();
    ownId = 0;
    emit ownIdChanged(ownId);
    emit linkLost(lostPortEntry_, reason);
}

bool RadioLink::ReopenLostPort()
{
    if (isPortOpen() || lostPortEntry_.isEmpty())
        return false;
    const QString entry = lostPortEntry_;
    int number = -1;
    const QString name = PortNameForEntry(entry, &number);
    openedEntry_ = entry;
    if (!InitCom(name))
        return false; // not back yet: asked again later, silently
    openPortEntry_ = number >= 0 ? QString::number(number) : entry;
    lostPortEntry_.clear();
    setStatusPanel(0, QStringLiteral("Port ") + openPortEntry_ + QStringLiteral(" opened"));
    OutputLog(QStringLiteral("The stick is back on ") + entry + QStringLiteral(": port opened again"));
    RequestStickVersion();
    return true;
}

bool RadioLink::CheckLinkLost()
{
    if (!port_.deviceLost())
        return false;
    loseLink(port_.errorText());
    return true;
}

void RadioLink::ClearCom() { port_.drain(); }

QString RadioLink::GetErrorText()
{
    const int code = port_.errorCode();
    if (code == 0)
        return QString();
    const QString text = errorTextFor(code, port_.errorText());
    CloseCom();
    return text;
}

QString RadioLink::TogglePort(const QString &selectedEntry)
{
    if (isPortOpen()) {
        CloseCom();
        ownId = 0;
        emit ownIdChanged(ownId);
        return QStringLiteral("Open port");
    }
    if (selectedEntry.isEmpty())
        return QStringLiteral("Open port");
    int number = -1;
    const QString name = PortNameForEntry(selectedEntry, &number);
    openPortEntry_ = number >= 0 ? QString::number(number) : selectedEntry;
    // Set first: whoever follows the port's opening asks which entry it was.
    const QString openedBefore = openedEntry_;
    openedEntry_ = selectedEntry;
    if (InitCom(name)) {
        lostPortEntry_.clear();
        setStatusPanel(0, QStringLiteral("Port ") + openPortEntry_ + QStringLiteral(" opened"));
        RequestStickVersion();
        return QStringLiteral("Close port");
    }
    openedEntry_ = openedBefore;
    tell(QString(), kCouldNotConnect + DeviceAccessHint(name)); // names the group to join
    return QStringLiteral("Open port");
}

QStringList RadioLink::SearchStickPorts(int *selectedIndex)
{
    const QStringList ports = DiscoverStickPorts();
    if (selectedIndex)
        *selectedIndex = int(ports.size()) - 1;
    if (ports.size() >= 2)
        tell(QStringLiteral("Info"), kMoreStickPorts);
    return ports;
}

// ---- ESP3 sending --------------------------------------------------------------------

void RadioLink::SendUsartDataFrame(uint8_t n, const uint8_t *frame, uint32_t destinationId)
{
    const QByteArray packet = esp3::BuildRadioTelegram(frame, n, ownId, destinationId);
    OutputLog(QStringLiteral("-> sending 0x") + HexBytesSpaced(packet));
    if (isPortOpen())
        WriteCom(reinterpret_cast<const uint8_t *>(packet.constData()), int(packet.size()));
    else
        tell(kComErrorCaption, kComPortNotOpened);
}

void RadioLink::SendUsartCCDataFrame(uint8_t n, const uint8_t *command)
{
    const QByteArray packet = esp3::BuildCommonCommand(command, n);
    OutputLog(QStringLiteral("-> send 0x") + HexBytesSpaced(packet));
    if (isPortOpen())
        WriteCom(reinterpret_cast<const uint8_t *>(packet.constData()), int(packet.size()));
    else
        tell(kComErrorCaption, kComPortNotOpened);
}

void RadioLink::RequestStickVersion()
{
    const uint8_t cmd = esp3::CO_RD_VERSION;
    SendUsartCCDataFrame(1, &cmd);
}

void RadioLink::RequestDutyCycleInfo()
{
    const uint8_t cmd = esp3::CO_GET_DUTYCYCLE_LIMIT;
    SendUsartCCDataFrame(1, &cmd);
}

// ---- Receiving -----------------------------------------------------------------------

void RadioLink::Timer1Timer()
{
    CheckLinkLost();
    if (pendingNotices.pending)
        showPendingNotices();
    receiveNow();
}

void RadioLink::receiveNow()
{
    receiver_.receive();
    // A nested read (from an event loop of the parse loop's handlers) leaves its
    // notices to the outer one, which hands them up after its loop.
    if (!receiver_.parsing())
        showDeferredNotices();
}

void RadioLink::ProcessUsartData()
{
    receiver_.ProcessUsartData();
    if (!receiver_.parsing())
        showDeferredNotices();
}

void RadioLink::showDeferredNotices()
{
    // Taken first: a window answering one notice may let the next tick in.
    const QList<UserNotice> due = std::exchange(deferredNotices_, {});
    for (const UserNotice &notice : due)
        emit userNotice(notice);
}

void RadioLink::showPendingNotices()
{
    pendingNotices.pending = false;
    if (pendingNotices.transferDone) {
        pendingNotices.transferDone = false;
        tell(QStringLiteral("Info"), QStringLiteral("Send information to Programmer"));
    }
    if (pendingNotices.updateOffer) {
        pendingNotices.updateOffer = false;
        const QString question = QStringLiteral("SW update for handheld device necessary.\nMin version is ")
                                 + QString::number(tavel::kMinFirmwareMajor) + QStringLiteral(".")
                                 + QString::number(tavel::kMinFirmwareMinor)
                                 + QStringLiteral(" Would you like to update it ?");
        emit firmwareUpdateOffered(UserNotice{QStringLiteral("Info"), question, MsgButtons::YesNo, MsgIcon::None});
        // Whatever the answer: the programmer has to be paired again.
        receiverId = 0;
        setReceiver(QString(), QString());
    }
}

void RadioLink::tell(const QString &caption, const QString &text, MsgIcon icon)
{
    emit userNotice(UserNotice{caption, text, MsgButtons::OK, icon});
}

void RadioLink::handleResponse(const ReceivedTelegram &p)
{
    const auto d = [&p](int i) { return unsigned(p.data(i)); };
    if (ownId == 0 && p.L == 33 && p.O == 0 && d(0) == 0) {
        if (useOwnId_) {
            ownId = (uint32_t(d(9)) << 24) | (uint32_t(d(10)) << 16) | (uint32_t(d(11)) << 8) | uint32_t(d(12));
            emit ownIdChanged(ownId);
        }
        setStatusPanel(3, QStringLiteral("Own ID : ") + HexId(ownId));
        const QString stickInfo = QStringLiteral("USB300 Stick info: APP Version: %1.%2.%3b%4 API Version: %5.%6.%7b%8")
                        .arg(d(1))
                        .arg(d(2))
                        .arg(d(3))
                        .arg(d(4))
                        .arg(d(5))
                        .arg(d(6))
                        .arg(d(7))
                        .arg(d(8));
        emit stickInfoChanged(stickInfo);
        OutputLog(QStringLiteral("<- ") + stickInfo);
        if (d(5) == 2 && d(6) >= 6)
            emit dutyCycleInfoAvailable();
        return;
    }
    if (p.L == 8 && p.O == 0 && d(0) == 0) {
        OutputLog(QStringLiteral("Duty Cycle Info: Available %: %1 % Slots: %2 Slot period: %3 s, Time left: %4 s, "
                                 "Avail after Slot: %5 %.")
                      .arg(d(1))
                      .arg(d(2))
                      .arg(256 * d(3) + d(4))
                      .arg(256 * d(5) + d(6))
                      .arg(d(7)));
        return;
    }
    if (p.L == 1 && p.O == 0) {
        OutputLog(QStringLiteral("<- ok"));
        setStatusPanel(2, QStringLiteral("ok"));
        stickAcknowledged = true;
        emit stickAcknowledgement();
    }
}

void RadioLink::DecodeRadioTelegram(const ReceivedTelegram &t)
{
    if (t.data(0) != esp3::kRorgTavel)
        return;
    // A telegram too short to hold a frame ID, the sender ID and the status, or
    // whose optional data cannot hold a destination ID, carries no frame.
    if (t.L < 7 || t.O < 6)
        return;
    const uint32_t destination = t.destinationId();
    if (destination != ownId) {
        OutputLog(QStringLiteral("<- Target ID does not match! TargetID: ") + HexId(destination)
                  + QStringLiteral(" OwnID: ") + HexId(ownId));
        return;
    }
    // The frame is read where it lies in the packet.
    constexpr int kFrameOffset = esp3::kHeaderSize + 1;
    const int length = std::min(t.frameLength(), int(t.packet.size()) - kFrameOffset);
    const TavelFrameIn frame{t.packet.data() + kFrameOffset, length, t.senderId(), destination};
    FrameDecodeContext context;
    context.out.log = [this](const QString &line) { OutputLog(line); };
    context.out.notify = [this](const UserNotice &notice) { deferNotice(notice); };
    context.transferChecksum = transferChecksum;
    context.transferAwaitingConfirmation = transferAwaitingConfirmation;
    context.firmwareMajor = programmerFwMajor;
    context.firmwareMinor = programmerFwMinor;
    reportProgrammerEvent(DecodeProgrammerFrame(frame, context));
    emit frameReceived(frame.bytes[0], QByteArray(reinterpret_cast<const char *>(frame.bytes), length), t.senderId());
}

void RadioLink::reportProgrammerEvent(const ProgrammerEvent &event)
{
    using Kind = ProgrammerEvent::Kind;
    switch (event.kind) {
    case Kind::None:
        return;
    case Kind::PairingAccepted: {
        programmerFwMajor = event.firmwareMajor;
        programmerFwMinor = event.firmwareMinor;
        if (FirmwareNeedsUpdate(programmerFwMajor, programmerFwMinor)) {
            pendingNotices.updateOffer = true;
            pendingNotices.pending = true;
        }
        const QString idText = HexId(event.programmerId);
        const QString version = FirmwareVersionText(programmerFwMajor, programmerFwMinor);
        setReceiver(idText, version);
        emit pairingAccepted(idText, version);
        break;
    }
    case Kind::TagRead:
        emit tagRead();
        break;
    case Kind::DriverProgrammed:
        emit driverProgrammed(event.driver.ownId, event.driver.programmerId, event.driver.serial);
        break;
    case Kind::TransferConfirmed:
        transferAwaitingConfirmation = false;
        emit transferConfirmed();
        pendingNotices.transferDone = true;
        pendingNotices.pending = true;
        break;
    }
    emit programmerEvent(event);
}

// ---- Tavel frames ----------------------------------------------------------------------

void RadioLink::PauseProcessingEvents(int ms)
{
    const qint64 start = nowMs_();
    for (qint64 left = ms; left > 0; left = ms - (nowMs_() - start))
        waitMs_(int(left));
}

void RadioLink::paceBeforeFrame()
{
    if (!sendDelay_ || lastFrameSentMs == 0)
        return;
    // The previous frame's acknowledgement, at most the limit after it was sent,
    // and never sooner than the gap. A closed port will not acknowledge anything.
    for (;;) {
        const qint64 since = nowMs_() - lastFrameAtMs_;
        if (!isPortOpen())
            return;
        const bool gapPassed = since >= kFrameGapMs;
        if (gapPassed && (stickAcknowledged || since >= sendDelayLimitMs))
            return;
        waitMs_(int(gapPassed ? sendDelayLimitMs - since : kFrameGapMs - since));
    }
}

void RadioLink::Send(const QString &text, bool broadcast)
{
    paceBeforeFrame();
    lastFrameAtMs_ = nowMs_();
    lastFrameSentMs = std::max<qint64>(1, lastFrameAtMs_); // never 0: 0 means "nothing sent yet"
    stickAcknowledged = false;

    const int c = int(text.size());
    OutputLog(QStringLiteral("-> Tavel payload to send: ") + text + QStringLiteral(" Length: ") + QString::number(c));
    QString refusal;
    if (c % 2 != 0)
        refusal = QStringLiteral(" Error: chars not even ");
    else if (c <= 1)
        refusal = QStringLiteral(" Error: nothing to send ");
    else if (c >= 19)
        refusal = QStringLiteral(" Error: too much to send ");
    if (!refusal.isEmpty()) {
        setStatusPanel(1, nowText() + refusal + QString::number(c));
        return;
    }

    uint32_t destination = esp3::kBroadcastId;
    if (!broadcast) {
        const QString &receiverIdText = receiverIdText_;
        if (receiverIdText.size() != 10) {
            setStatusPanel(1, nowText() + QStringLiteral(" Missing / Wrong Receiver ID"));
            return;
        }
        bool ok = false;
        uint32_t value = 0;
        if (receiverIdText.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
            value = receiverIdText.mid(2).toUInt(&ok, 16);
        destination = ok ? value : 0;
    }
    receiverId = destination;

    const QByteArray bytes = tavel::HexTextToBytes(text);
    SendUsartDataFrame(uint8_t(bytes.size()), reinterpret_cast<const uint8_t *>(bytes.constData()), destination);
    setStatusPanel(1, nowText() + QStringLiteral(" sent: ") + tavel::HexTextDisplay(text));
}

bool RadioLink::sendIdentity(const IdentityFields &identity, bool packageLogForm, bool stopWhenPortCloses)
{
    const QString ident = identity.gtin + identity.fw + identity.serial + identity.hw;
    emit identityTextSent(ident);
    transferChecksum = 0;
    if (ident.size() != 36)
        setStatusPanel(1, QStringLiteral("Error Lenght"));
    for (int p = 0; p < 3; ++p) {
        if (stopWhenPortCloses && (CheckLinkLost() || !isPortOpen()))
            return false;
        const QString chunk = ident.mid(12 * p, 12);
        if (packageLogForm)
            OutputLog(QStringLiteral("-> Ident Data to send '") + chunk + QStringLiteral("' in Frame ")
                      + QString::number(p + 1));
        else
            OutputLog(QStringLiteral("-> Ident Data to send '") + chunk + QStringLiteral("'"));
        Send(tavel::IdentityFrameText(p, chunk, &transferChecksum), false);
        frameWentOut();
    }
    return true;
}

bool RadioLink::sendProgramming(const QStringList &lines, bool stopWhenPortCloses)
{
    const int n = int(lines.size());
    for (int i = 0; i < n; ++i) {
        if (stopWhenPortCloses && (CheckLinkLost() || !isPortOpen()))
            return false;
        QString line = lines[i];
        line.remove(QLatin1Char(' '));
        Send(tavel::ProgrammingDataFrameText(n, i, line, &transferChecksum), false);
        frameWentOut();
    }
    return true;
}

void RadioLink::frameWentOut()
{
    // A frame whose write closed the port did not go out.
    if (!transferRunning_ || !isPortOpen())
        return;
    ++transferSent_;
    emit transferProgress(transferSent_, transferTotal_);
}

void RadioLink::SendIdentityData(const IdentityFields &identity, bool packageLogForm)
{
    sendIdentity(identity, packageLogForm, false);
}
void RadioLink::SendProgrammingData(const QStringList &lines) { sendProgramming(lines, false); }

// ---- One sequence at a time ----------------------------------------------------------------

RadioLink::BusyGuard::BusyGuard(RadioLink &link) : link_(link)
{
    if (link_.busy_)
        return;
    acquired_ = true;
    link_.busy_ = true;
    emit link_.busyChanged(true);
}

RadioLink::BusyGuard::~BusyGuard()
{
    if (!acquired_)
        return;
    link_.busy_ = false;
    emit link_.busyChanged(false);
}

QString RadioLink::busyRefusalText() { return QStringLiteral("Busy: a send or read is still running"); }

bool RadioLink::refusedWhileBusy()
{
    if (!busy_)
        return false;
    setStatusPanel(1, nowText() + QLatin1Char(' ') + busyRefusalText());
    OutputLog(QStringLiteral("-> Refused: ") + busyRefusalText());
    return true;
}

// Every sequence below takes the busy state for its sequence, or refuses
// before its first frame when another sequence holds it.
#define TAVEL_ONE_SEQUENCE_AT_A_TIME(...)                                                                     \
    BusyGuard busyGuard(*this);                                                                              \
    if (!busyGuard.acquired()) {                                                                             \
        refusedWhileBusy();                                                                                  \
        return __VA_ARGS__;                                                                                  \
    }

void RadioLink::SendIdentity(const IdentityFields &identity)
{
    TAVEL_ONE_SEQUENCE_AT_A_TIME()
    SendIdentityData(identity, false);
}

void RadioLink::SendProgrammingLines(const QStringList &lines)
{
    TAVEL_ONE_SEQUENCE_AT_A_TIME()
    SendProgrammingData(lines);
}

void RadioLink::SendIdentityAndData(const IdentityFields &identity, const QStringList &lines)
{
    TAVEL_ONE_SEQUENCE_AT_A_TIME()
    SendIdentityData(identity, false);
    PauseProcessingEvents(200);
    SendProgrammingData(lines);
}

bool RadioLink::SendCurrentDataPackage(const IdentityFields &identity, const QStringList &programmingData)
{
    TAVEL_ONE_SEQUENCE_AT_A_TIME(false)
    if (const QString refusal = TransferRefusal(identity); !refusal.isEmpty()) {
        tell(QStringLiteral("Error"), refusal);
        return false;
    }
    // When the port closes during the package, the remaining frames are not tried
    // one by one: the transfer ends at once with one message that says how far it got.
    const bool stop = isPortOpen();
    transferAwaitingConfirmation = false;
    transferRunning_ = stop;
    transferSent_ = 0;
    transferTotal_ = 3 + int(programmingData.size());
    lossReason_.clear();
    if (stop)
        emit transferProgress(0, transferTotal_);
    bool complete = sendIdentity(identity, true, stop);
    if (complete) {
        PauseProcessingEvents(200);
        complete = sendProgramming(programmingData, stop);
    }
    // A loss noticed while the last frame was on its way counts too.
    if (stop)
        CheckLinkLost();
    transferAwaitingConfirmation = complete && isPortOpen();
    transferRunning_ = false;
    if (stop)
        emit transferProgress(0, 0);
    if (stop && !isPortOpen()) {
        const QString reason = lossReason_.isEmpty() ? QString() : QStringLiteral("\n(") + lossReason_ + QLatin1Char(')');
        OutputLog(QStringLiteral("Error: transfer incomplete, %1 of %2 frames sent").arg(transferSent_).arg(transferTotal_));
        tell(kComErrorCaption, TransferLostText(transferSent_, transferTotal_) + reason, MsgIcon::Error);
    }
    return transferAwaitingConfirmation;
}

QString TransferLostText(int sent, int total)
{
    return QStringLiteral("%1 of %2 frames sent; the transfer is incomplete and was not recorded \u2014 plug the "
                          "stick in again and press send")
        .arg(sent)
        .arg(total);
}

void RadioLink::SendUserText(const QString &text)
{
    if (text.size() > 24)
        setStatusPanel(1, QStringLiteral("Error Lenght"));
    OutputLog(QStringLiteral("-> Text to send: '") + text + QStringLiteral("'"));
    const QString field = tavel::UserTextField(text);
    for (int p = 0; p < 4; ++p) {
        OutputLog(QStringLiteral("-> Part ") + HexDigits(quint64(p + 1), 1)
                  + QStringLiteral(" of UserText to send: '") + field.mid(6 * p, 6) + QStringLiteral("'"));
        Send(tavel::UserTextFrameText(p, field), false);
    }
}

void RadioLink::SendUserTextFrames(const QString &text)
{
    TAVEL_ONE_SEQUENCE_AT_A_TIME()
    SendUserText(text);
}

void RadioLink::SendPairingRequest()
{
    TAVEL_ONE_SEQUENCE_AT_A_TIME()
    if (!isPortOpen()) {
        tell(kComErrorCaption, kComPortNotOpened);
        return;
    }
    Send(QStringLiteral("10"), true);
}

void RadioLink::SendSensitivity(bool low)
{
    TAVEL_ONE_SEQUENCE_AT_A_TIME()
    Send(low ? QStringLiteral("1140") : QStringLiteral("1130"), false);
}

void RadioLink::StartCalibration()
{
    TAVEL_ONE_SEQUENCE_AT_A_TIME()
    Send(QStringLiteral("12"), false);
}

void RadioLink::SwitchToRead()
{
    Send(QStringLiteral("13"), false);
    if (resetReadState)
        resetReadState();
}

void RadioLink::RequestReadMode()
{
    TAVEL_ONE_SEQUENCE_AT_A_TIME()
    SwitchToRead();
}

void RadioLink::RequestProgMode()
{
    TAVEL_ONE_SEQUENCE_AT_A_TIME()
    Send(QStringLiteral("14"), false);
}

void RadioLink::SendFrame(const QString &text)
{
    TAVEL_ONE_SEQUENCE_AT_A_TIME()
    Send(text, false);
}

#undef TAVEL_ONE_SEQUENCE_AT_A_TIME
