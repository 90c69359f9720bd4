#include "radio/radio_link.h"

#include "common/convert.h"
#include "common/dialogs.h"
#include "common/programmer_id.h"
#include "radio/notices.h"
#include "radio/tavel_frames.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QLocale>
#include <QSerialPortInfo>
#include <QThread>
#include <QTimer>

namespace {
constexpr qint32 kRadioLinkBaudRate = 57600;
constexpr int kReceiveTickMs = 110;
constexpr int kTickReadTimeoutMs = 20;
constexpr int kDrainReadTimeoutMs = 10;
// A device that never stops sending must not keep the drain going for ever.
constexpr int kDrainMaxBytes = 65536;

SerialPortEnumerator &enumerator()
{
    static SerialPortEnumerator e;
    return e;
}

QStringList &extraPorts()
{
    static QStringList p;
    return p;
}

qint64 monotonicMs()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return clock.elapsed();
}

void sleepMs(int ms) { QThread::msleep(ulong(std::max(0, ms))); }

uint32_t bigEndian32(const ReceivedTelegram &t, int offset)
{
    return (uint32_t(t.at(offset)) << 24) | (uint32_t(t.at(offset + 1)) << 16) | (uint32_t(t.at(offset + 2)) << 8)
           | uint32_t(t.at(offset + 3));
}
} // namespace

// ---- Discovery -------------------------------------------------------------------

QList<SerialPortDescription> EnumerateSerialPorts()
{
    if (enumerator())
        return enumerator()();
    QList<SerialPortDescription> out;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports) {
        SerialPortDescription d;
        d.portName = info.portName();
        d.hasVendorIdentifier = info.hasVendorIdentifier();
        d.vendorIdentifier = info.vendorIdentifier();
        d.hasProductIdentifier = info.hasProductIdentifier();
        d.productIdentifier = info.productIdentifier();
        out.append(d);
    }
    return out;
}

void setSerialPortEnumerator(SerialPortEnumerator e) { enumerator() = std::move(e); }
void setExtraStickPorts(const QStringList &ports) { extraPorts() = ports; }
const QStringList &extraStickPorts() { return extraPorts(); }

QStringList DiscoverStickPorts()
{
    QStringList found;
    for (const SerialPortDescription &d : EnumerateSerialPorts()) {
        if (d.hasVendorIdentifier && d.vendorIdentifier == kStickVendorId && d.hasProductIdentifier
            && d.productIdentifier == kStickProductId)
            found.append(d.portName);
    }
    found.append(extraPorts());
    return found;
}

QStringList TakePortArguments(QStringList &args)
{
    QStringList ports;
    for (int i = 0; i < args.size();) {
        const QString &a = args[i];
        if (a == QLatin1String("--port") && i + 1 < args.size()) {
            ports.append(args[i + 1]);
            args.remove(i, 2);
        } else if (a.startsWith(QLatin1String("--port="))) {
            ports.append(a.mid(7));
            args.removeAt(i);
        } else {
            ++i;
        }
    }
    return ports;
}

QString PortNameForNumber(int number)
{
    return number < 10 ? QStringLiteral("COM%1").arg(number) : QStringLiteral("\\\\.\\COM%1").arg(number);
}

QString PortNameForEntry(const QString &entry, int *number)
{
#ifdef Q_OS_WIN
    const int n = StrToInt(entry.mid(3));
    if (number)
        *number = n;
    return PortNameForNumber(n);
#else
    if (number)
        *number = -1;
    return entry;
#endif
}

// ---- Received telegram ---------------------------------------------------------------

uint32_t ReceivedTelegram::senderId() const { return bigEndian32(*this, esp3::kHeaderSize + L - 5); }
uint32_t ReceivedTelegram::destinationId() const { return bigEndian32(*this, esp3::kHeaderSize + L + O - 6); }

// ---- Radio link ------------------------------------------------------------------

RadioLink::RadioLink(QObject *parent) : QObject(parent), timer_(new QTimer(this))
{
    timer_->setInterval(kReceiveTickMs);
    connect(timer_, &QTimer::timeout, this, &RadioLink::Timer1Timer);
    setClock({}, {});
}

void RadioLink::setClock(std::function<qint64()> nowMs, std::function<void(int)> sleep)
{
    nowMs_ = nowMs ? std::move(nowMs) : std::function<qint64()>(monotonicMs);
    sleepMs_ = sleep ? std::move(sleep) : std::function<void(int)>(sleepMs);
}

RadioLink::~RadioLink()
{
    if (port_) {
        port_->close();
        port_.reset();
    }
}

void RadioLink::startReceiveTick() { timer_->start(); }
void RadioLink::stopReceiveTick() { timer_->stop(); }

void RadioLink::setStatusPanel(int panel, const QString &text)
{
    if (panel < 0 || panel >= int(statusPanels.size()))
        return;
    statusPanels[size_t(panel)] = text;
    emit statusPanelChanged(panel, text);
}

void RadioLink::setReceiver(const QString &idText, const QString &fwText)
{
    receiverIdText = NormalizedEnOceanId(idText);
    receiverFwText = fwText;
    emit receiverChanged();
}

QString RadioLink::nowText() const
{
    const QDateTime now = QDateTime::currentDateTime();
    return QLocale::system().toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ')
           + now.time().toString(QStringLiteral("HH:mm:ss"));
}

void RadioLink::OutputLog(const QString &line)
{
    emit logLine(line);
    QCoreApplication::processEvents();
}

// ---- Port ------------------------------------------------------------------------

bool RadioLink::isPortOpen() const { return port_ && port_->isOpen(); }

bool RadioLink::InitCom(const QString &portName)
{
    if (port_) {
        port_->close();
        port_.reset();
    }
    auto port = createSerialPort();
    if (!port->open(portName, kRadioLinkBaudRate))
        return false;
    port_ = std::move(port);
    ClearCom();
    port_->setRequestToSend(false);
    port_->setDataTerminalReady(true);
    emit portStateChanged(true);
    return true;
}

void RadioLink::CloseCom()
{
    setStatusPanel(0, QStringLiteral("Port closed"));
    setStatusPanel(1, QString());
    stickInfo = QStringLiteral("Stick Info: None");
    emit stickInfoChanged(stickInfo);
    if (port_) {
        port_->close();
        port_.reset();
        emit portStateChanged(false);
    }
}

int RadioLink::ReadCom(int timeoutMs, uint8_t *buffer, int maxCount, int *count)
{
    *count = 0;
    if (!isPortOpen())
        return kComError;
    bool ok = true;
    const QByteArray got = port_->read(maxCount, timeoutMs, &ok);
    if (!ok)
        return kComError;
    if (got.isEmpty())
        return kComTimeout;
    const int n = std::min<int>(int(got.size()), maxCount);
    std::copy_n(reinterpret_cast<const uint8_t *>(got.constData()), n, buffer);
    *count = n;
    return kComDone;
}

static QString errorTextFor(int code, const QString &systemText)
{
    return QStringLiteral("Fehlernachricht: ") + QStringLiteral("failed with error %1: %2\n").arg(code).arg(systemText);
}

int RadioLink::WriteCom(const uint8_t *buffer, int count)
{
    if (!isPortOpen())
        return kComError;
    if (!port_->write(QByteArray(reinterpret_cast<const char *>(buffer), count))) {
        const int code = port_->errorCode();
        if (code != 0) {
            const QString text = errorTextFor(code, port_->errorText());
            CloseCom();
            dialogs().message(QStringLiteral("Fehler"), text, MsgButtons::OK, MsgIcon::Error);
        }
        return kComError;
    }
    return kComDone;
}

void RadioLink::ClearCom()
{
    if (!isPortOpen())
        return;
    int drained = 0;
    while (drained < kDrainMaxBytes) {
        bool ok = true;
        const QByteArray got = port_->read(256, kDrainReadTimeoutMs, &ok);
        if (!ok || got.isEmpty())
            break;
        drained += int(got.size());
    }
}

QString RadioLink::GetErrorText()
{
    const int code = port_ ? port_->errorCode() : 0;
    if (code == 0)
        return QString();
    const QString text = errorTextFor(code, port_->errorText());
    CloseCom();
    return text;
}

QString RadioLink::OpenPortButtonClick(const QString &selectedEntry)
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
    if (InitCom(name)) {
        setStatusPanel(0, QStringLiteral("Port ") + openPortEntry_ + QStringLiteral(" opened"));
        GetStickVersionButtonClick();
        return QStringLiteral("Close port");
    }
    dialogs().message(QString(), kCouldNotConnect);
    return QStringLiteral("Open port");
}

QStringList RadioLink::ButtonSearchComPortsClick(int *selectedIndex)
{
    const QStringList ports = DiscoverStickPorts();
    if (selectedIndex)
        *selectedIndex = int(ports.size()) - 1;
    if (ports.size() >= 2)
        dialogs().message(QStringLiteral("Info"), kMoreStickPorts);
    return ports;
}

// ---- ESP3 sending --------------------------------------------------------------------

void RadioLink::SendUsartDataFrame(uint8_t n, const uint8_t *frame, uint32_t destinationId)
{
    const QByteArray packet = esp3::BuildRadioTelegram(frame, n, ownId, destinationId);
    OutputLog(QStringLiteral("-> sending 0x") + esp3::HexSpaced(packet));
    if (isPortOpen())
        WriteCom(reinterpret_cast<const uint8_t *>(packet.constData()), int(packet.size()));
    else
        dialogs().message(kComErrorCaption, kComPortNotOpened);
}

void RadioLink::SendUsartCCDataFrame(uint8_t n, const uint8_t *command)
{
    const QByteArray packet = esp3::BuildCommonCommand(command, n);
    OutputLog(QStringLiteral("-> send 0x") + esp3::HexSpaced(packet));
    if (isPortOpen())
        WriteCom(reinterpret_cast<const uint8_t *>(packet.constData()), int(packet.size()));
    else
        dialogs().message(kComErrorCaption, kComPortNotOpened);
}

void RadioLink::GetStickVersionButtonClick()
{
    const uint8_t cmd = esp3::CO_RD_VERSION;
    SendUsartCCDataFrame(1, &cmd);
}

void RadioLink::Button14Click()
{
    const uint8_t cmd = esp3::CO_GET_DUTYCYCLE_LIMIT;
    SendUsartCCDataFrame(1, &cmd);
}

// ---- Receiving -----------------------------------------------------------------------

void RadioLink::Timer1Timer()
{
    if (radioNotices.pending)
        SendToUserMessageInfo(*this);
    if (!isPortOpen())
        return;
    // Read only what fits into the ring, so that unread bytes are never
    // overwritten; what does not fit waits in the port for a later tick.
    const int room = ring_.BufferFree();
    bool arrived = false;
    if (room > 0) {
        uint8_t buffer[esp3::ReceiveRing::kSize];
        int count = 0;
        if (ReadCom(kTickReadTimeoutMs, buffer, room, &count) == kComDone) {
            for (int i = 0; i < count; ++i)
                ring_.BufferWrite(buffer[i]);
            arrived = count > 0;
        }
    }
    // Without new bytes the loop still runs when the last run stopped after
    // dropping a rejected candidate (a valid packet may follow it) or when the
    // ring is full.
    if (arrived || resumeParse_ || room == 0)
        ProcessUsartData();
}

void RadioLink::ProcessUsartData()
{
    if (parsing_)
        return; // a nested tick: the running loop handles the new bytes
    parsing_ = true;
    struct Done {
        bool &flag;
        ~Done() { flag = false; }
    } done{parsing_};
    resumeParse_ = false;
    // A rejected candidate loses its sync byte; this run stops there and the next
    // tick goes on with the bytes behind it.
    auto dropCandidate = [this] {
        ring_.BufferDel(1);
        resumeParse_ = ring_.BufferContent() > 0;
    };

    for (;;) {
        if (ring_.BufferContent() == 0)
            return;
        while (ring_.BufferContent() > 0 && ring_.BufferRead(0) != esp3::kSync)
            ring_.BufferDel(1);
        const int available = ring_.BufferContent();
        if (available < esp3::kHeaderSize)
            return;
        if (ring_.BufferRead(1) != 0) {
            dropCandidate();
            return;
        }
        const uint8_t L = ring_.BufferRead(2);
        const uint8_t O = ring_.BufferRead(3);
        const uint8_t type = ring_.BufferRead(4);
        uint8_t headerCrc = 0;
        for (int k = 1; k <= 4; ++k)
            headerCrc = esp3::Crc8Step(headerCrc, ring_.BufferRead(k));
        const uint8_t headerRead = ring_.BufferRead(5);
        if (headerCrc != headerRead) {
            OutputLog(QStringLiteral("Error: Header CRC wrong! calc: 0x") + tavel::Hex2(headerCrc)
                      + QStringLiteral(" read: 0x") + tavel::Hex2(headerRead));
            dropCandidate();
            return;
        }
        const int total = int(L) + int(O) + 7;
        if (total > esp3::kMaxReceivedPacket) {
            OutputLog(QStringLiteral("Error: Total length > 42 chars!"));
            dropCandidate();
            return;
        }
        if (ring_.BufferContent() < total) {
            OutputLog(QStringLiteral("Warning: Not enough chars in buffer for complete frame!"));
            return;
        }
        uint8_t dataCrc = 0;
        for (int k = 0; k < int(L) + int(O); ++k)
            dataCrc = esp3::Crc8Step(dataCrc, ring_.BufferRead(esp3::kHeaderSize + k));
        const uint8_t dataRead = ring_.BufferRead(esp3::kHeaderSize + L + O);
        if (dataCrc != dataRead) {
            OutputLog(QStringLiteral("Error: Data CRC8 wrong! calc: 0x") + tavel::Hex2(dataCrc)
                      + QStringLiteral(" read: 0x") + tavel::Hex2(dataRead));
            dropCandidate();
            return;
        }

        ReceivedTelegram packet;
        packet.L = L;
        packet.O = O;
        for (int k = 0; k < total; ++k)
            packet.packet[size_t(k)] = ring_.BufferRead(k);
        OutputLog(QStringLiteral("<- ")
                  + esp3::HexCompact(QByteArray(reinterpret_cast<const char *>(packet.packet.data()), total)));
        if (type == esp3::kTypeResponse)
            handleResponse(packet);
        else if (type == esp3::kTypeRadioErp1)
            DecodeRadioTelegram(packet);
        ring_.BufferDel(total);
    }
}

void RadioLink::handleResponse(const ReceivedTelegram &p)
{
    const auto d = [&p](int i) { return unsigned(p.data(i)); };
    if (ownId == 0 && p.L == 33 && p.O == 0 && d(0) == 0) {
        if (useOwnId) {
            ownId = (uint32_t(d(9)) << 24) | (uint32_t(d(10)) << 16) | (uint32_t(d(11)) << 8) | uint32_t(d(12));
            emit ownIdChanged(ownId);
        }
        setStatusPanel(3, QStringLiteral("Own ID : ") + esp3::IdText(ownId));
        stickInfo = QStringLiteral("USB300 Stick info: APP Version: %1.%2.%3b%4 API Version: %5.%6.%7b%8")
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
        if (d(5) == 2 && d(6) >= 6 && !dutyCycleButtonEnabled) {
            dutyCycleButtonEnabled = true;
            emit dutyCycleButtonEnabledChanged(true);
        }
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
    }
}

// ---- Tavel frames ----------------------------------------------------------------------

void RadioLink::PauseProcessingEvents(int ms)
{
    const qint64 start = nowMs_();
    for (qint64 left = ms; left > 0; left = ms - (nowMs_() - start)) {
        QCoreApplication::processEvents();
        sleepMs_(int(std::min<qint64>(10, left)));
    }
    QCoreApplication::processEvents();
}

void RadioLink::Send(const QString &text, bool broadcast)
{
    if (sendDelay) {
        // Wait for the stick's acknowledgement of the previous telegram, at most
        // the limit after it was sent. A closed port will not acknowledge anything.
        while (!stickAcknowledged && lastFrameSentMs != 0 && nowMs_() - lastFrameSentMs < sendDelayLimitMs
               && isPortOpen()) {
            sleepMs_(100);
            QCoreApplication::processEvents();
        }
    }
    lastFrameSentMs = std::max<qint64>(1, nowMs_()); // never 0: 0 means "nothing sent yet"
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

bool RadioLink::sendIdentity(bool packageLogForm, bool stopWhenPortCloses)
{
    const QString ident = editGTIN + editFW + editSerial + editHW;
    labelTotal = ident;
    emit labelTotalChanged(labelTotal);
    transferChecksum = 0;
    if (ident.size() != 36)
        setStatusPanel(1, QStringLiteral("Error Lenght"));
    for (int p = 0; p < 3; ++p) {
        if (stopWhenPortCloses && !isPortOpen())
            return false;
        const QString chunk = ident.mid(12 * p, 12);
        if (packageLogForm)
            OutputLog(QStringLiteral("-> Ident Data to send '") + chunk + QStringLiteral("' in Frame ")
                      + QString::number(p + 1));
        else
            OutputLog(QStringLiteral("-> Ident Data to send '") + chunk + QStringLiteral("'"));
        Send(tavel::IdentityFrameText(p, chunk, &transferChecksum), false);
    }
    return true;
}

bool RadioLink::sendProgramming(const QStringList &lines, bool stopWhenPortCloses)
{
    const int n = int(lines.size());
    for (int i = 0; i < n; ++i) {
        if (stopWhenPortCloses && !isPortOpen())
            return false;
        QString line = lines[i];
        line.remove(QLatin1Char(' '));
        Send(tavel::ProgrammingDataFrameText(n, i, line, &transferChecksum), false);
    }
    return true;
}

void RadioLink::SendIdentityData(bool packageLogForm) { sendIdentity(packageLogForm, false); }
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

// Every button handler below takes the busy state for its sequence, or refuses
// before its first frame when another sequence holds it.
#define TAVEL_ONE_SEQUENCE_AT_A_TIME(...)                                                                     \
    BusyGuard busyGuard(*this);                                                                              \
    if (!busyGuard.acquired()) {                                                                             \
        refusedWhileBusy();                                                                                  \
        return __VA_ARGS__;                                                                                  \
    }

void RadioLink::SendTagButtonClick()
{
    TAVEL_ONE_SEQUENCE_AT_A_TIME()
    SendIdentityData(false);
}

void RadioLink::SendProgrammingDataClick()
{
    TAVEL_ONE_SEQUENCE_AT_A_TIME()
    SendProgrammingData(memoData);
}

void RadioLink::SendTagDataButtonClick()
{
    TAVEL_ONE_SEQUENCE_AT_A_TIME()
    SendIdentityData(false);
    PauseProcessingEvents(200);
    SendProgrammingData(memoData);
}

bool RadioLink::SendCurrentDataPackage(const QStringList &programmingData)
{
    TAVEL_ONE_SEQUENCE_AT_A_TIME(false)
    if (const QString refusal = TransferRefusal(); !refusal.isEmpty()) {
        dialogs().message(QStringLiteral("Error"), refusal);
        return false;
    }
    // When the port closes during the package (a failed write was reported with
    // its error text), the remaining frames are not tried one by one.
    const bool stop = isPortOpen();
    transferAwaitingConfirmation = false;
    if (!sendIdentity(true, stop))
        return false;
    PauseProcessingEvents(200);
    transferAwaitingConfirmation = sendProgramming(programmingData, stop) && isPortOpen();
    return transferAwaitingConfirmation;
}

void RadioLink::SendUserText(const QString &text)
{
    if (text.size() > 24)
        setStatusPanel(1, QStringLiteral("Error Lenght"));
    OutputLog(QStringLiteral("-> Text to send: '") + text + QStringLiteral("'"));
    const QString field = tavel::UserTextField(text);
    for (int p = 0; p < 4; ++p) {
        OutputLog(QStringLiteral("-> Part ") + QString::number(p + 1, 16).toUpper()
                  + QStringLiteral(" of UserText to send: '") + field.mid(6 * p, 6) + QStringLiteral("'"));
        Send(tavel::UserTextFrameText(p, field), false);
    }
}

void RadioLink::Button7Click()
{
    TAVEL_ONE_SEQUENCE_AT_A_TIME()
    SendUserText(userText);
}

void RadioLink::SendPairingRequestButtonClick()
{
    TAVEL_ONE_SEQUENCE_AT_A_TIME()
    if (!isPortOpen()) {
        dialogs().message(kComErrorCaption, kComPortNotOpened);
        return;
    }
    Send(QStringLiteral("10"), true);
}

void RadioLink::SelectNFCsensitivityButtonClick()
{
    TAVEL_ONE_SEQUENCE_AT_A_TIME()
    Send(sensitivityLow ? QStringLiteral("1140") : QStringLiteral("1130"), false);
}

void RadioLink::CalibrationButtonClick()
{
    if (dialogs().message(QStringLiteral("Attention"), QStringLiteral("Do you really want to start new calibration?"),
                          MsgButtons::OKCancel)
        != MsgAnswer::OK)
        return;
    TAVEL_ONE_SEQUENCE_AT_A_TIME()
    Send(QStringLiteral("12"), false);
}

void RadioLink::SwitchToRead()
{
    Send(QStringLiteral("13"), false);
    if (resetReadState)
        resetReadState();
}

void RadioLink::SwichReadButtonClick()
{
    TAVEL_ONE_SEQUENCE_AT_A_TIME()
    SwitchToRead();
}

void RadioLink::SwitchProgButtonClick()
{
    TAVEL_ONE_SEQUENCE_AT_A_TIME()
    Send(QStringLiteral("14"), false);
}

void RadioLink::Button1Click()
{
    TAVEL_ONE_SEQUENCE_AT_A_TIME()
    Send(edit1Text, false);
}

#undef TAVEL_ONE_SEQUENCE_AT_A_TIME
