#include "serial/stick_port.h"

#include <algorithm>

namespace {
constexpr int kDrainReadTimeoutMs = 10;
constexpr int kDrainMaxBytes = 65536;
} // namespace

bool StickPort::open(const QString &portName)
{
    close();
    auto port = createSerialPort();
    if (!port->open(portName, kBaudRate))
        return false;
    port_ = std::move(port);
    drain();
    port_->setRequestToSend(false);
    port_->setDataTerminalReady(true);
    port_->setReadyReadHandler([this] {
        if (readyRead_)
            readyRead_();
    });
    return true;
}

void StickPort::close()
{
    if (!port_)
        return;
    port_->setReadyReadHandler({});
    port_->close();
    port_.reset();
}

int StickPort::read(int timeoutMs, uint8_t *buffer, int maxCount, int *count)
{
    *count = 0;
    if (!isOpen())
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

int StickPort::write(const uint8_t *buffer, int count)
{
    if (!isOpen())
        return kComError;
    return port_->write(QByteArray(reinterpret_cast<const char *>(buffer), count)) ? kComDone : kComError;
}

void StickPort::drain()
{
    if (!isOpen())
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

void StickPort::setReadyReadHandler(std::function<void()> handler) { readyRead_ = std::move(handler); }
