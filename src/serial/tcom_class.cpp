#include "serial/tcom_class.h"

#include <QElapsedTimer>
#include <cstring>

TComClass::TComClass(int port) { InitCom(port, kDefaultBaudRate); }

TComClass::TComClass(const QString &systemPortName) : namedPort_(systemPortName)
{
    InitCom(0, kDefaultBaudRate);
}

TComClass::~TComClass() { Close(); }

QString TComClass::comPortName(int n)
{
    return n < 10 ? QStringLiteral("COM%1").arg(n) : QStringLiteral("\\\\.\\COM%1").arg(n);
}

QString TComClass::systemPortName() const
{
    return namedPort_.isEmpty() ? comPortName(port_) : namedPort_;
}

bool TComClass::InitCom(int port, int baudRate)
{
    port_ = port;
    baud_ = baudRate;
    return open();
}

bool TComClass::open()
{
    if (!serial_)
        serial_ = createSerialPort();
    if (serial_->isOpen())
        serial_->close();
    if (!serial_->open(systemPortName(), baud_))
        return false;
    ClearCom();
    // The modem lines are driven by hand: RTS cleared, then DTR set.
    serial_->setRequestToSend(false);
    serial_->setDataTerminalReady(true);
    return true;
}

bool TComClass::RestartCom()
{
    Close();
    return open();
}

int TComClass::ReadCom(int /*timeoutMs*/, char *buffer, int maxCount, int &countRead)
{
    countRead = 0;
    if (!serial_ || !serial_->isOpen() || maxCount <= 0)
        return kError;
    QElapsedTimer clock;
    clock.start();
    const qint64 total = kReadTotalConstantMs + qint64(maxCount);
    bool ok = true;
    QByteArray got = serial_->read(maxCount, int(total), &ok);
    if (!ok)
        return kError;
    if (got.isEmpty())
        return kTimeout;
    // Further bytes belong to this read while they follow each other closely.
    while (got.size() < maxCount && clock.elapsed() < total) {
        const QByteArray more = serial_->read(maxCount - got.size(), kReadIntervalMs, &ok);
        if (!ok || more.isEmpty())
            break;
        got += more;
    }
    memcpy(buffer, got.constData(), size_t(got.size()));
    countRead = int(got.size());
    return kDone;
}

int TComClass::WriteCom(const char *buffer, int count)
{
    if (!serial_ || !serial_->isOpen() || count < 0)
        return kError;
    return serial_->write(QByteArray(buffer, count)) ? kDone : kError;
}

void TComClass::ClearCom()
{
    if (!serial_ || !serial_->isOpen())
        return;
    serial_->clear();
    // Discard until the line stays quiet; a device that never stops talking is
    // given up on after a second so that the caller is not held forever.
    QElapsedTimer clock;
    clock.start();
    bool ok = true;
    while (clock.elapsed() < 1000) {
        const QByteArray dropped = serial_->read(4096, kDrainTimeoutMs, &ok);
        if (!ok || dropped.isEmpty())
            break;
    }
}

int TComClass::GetComState() const
{
    if (!serial_ || !serial_->isOpen())
        return -1;
    return port_;
}

QString TComClass::GetComStateText() const
{
    if (GetComState() < 0)
        return QStringLiteral("Com zu");
    if (!namedPort_.isEmpty())
        return QStringLiteral("Ready on ") + namedPort_;
    return QStringLiteral("Ready on COM") + QString::number(port_);
}

void TComClass::Close()
{
    if (serial_ && serial_->isOpen())
        serial_->close();
}
