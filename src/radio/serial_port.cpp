#include "radio/serial_port.h"

#include <QSerialPort>

namespace {
class QtSerialPort : public ISerialPort {
public:
    bool open(const QString &portName, qint32 baudRate) override
    {
        port_.close();
        port_.setPortName(portName);
        if (!port_.open(QIODevice::ReadWrite)) {
            error_ = port_.errorString();
            return false;
        }
        const bool ok = port_.setBaudRate(baudRate) && port_.setDataBits(QSerialPort::Data8)
                        && port_.setParity(QSerialPort::NoParity)
                        && port_.setStopBits(QSerialPort::OneStop)
                        && port_.setFlowControl(QSerialPort::NoFlowControl);
        if (!ok) {
            error_ = port_.errorString();
            port_.close();
            return false;
        }
        return true;
    }
    void close() override { port_.close(); }
    bool isOpen() const override { return port_.isOpen(); }

    QByteArray read(qint64 maxBytes, int timeoutMs, bool *ok) override
    {
        if (ok)
            *ok = true;
        if (!port_.isOpen()) {
            if (ok)
                *ok = false;
            return {};
        }
        if (port_.bytesAvailable() == 0 && timeoutMs > 0)
            port_.waitForReadyRead(timeoutMs);
        if (port_.error() != QSerialPort::NoError && port_.error() != QSerialPort::TimeoutError) {
            error_ = port_.errorString();
            port_.clearError();
            if (ok)
                *ok = false;
            return {};
        }
        port_.clearError();
        return port_.read(maxBytes);
    }

    bool write(const QByteArray &data) override
    {
        if (!port_.isOpen()) {
            error_ = QStringLiteral("The port is not open.");
            return false;
        }
        qint64 written = port_.write(data);
        if (written != data.size()) {
            error_ = port_.errorString();
            return false;
        }
        // Hand the bytes to the driver before returning, as a blocking write would.
        while (port_.bytesToWrite() > 0) {
            if (!port_.waitForBytesWritten(1000)) {
                error_ = port_.errorString();
                return false;
            }
        }
        return true;
    }

    void clear() override
    {
        if (port_.isOpen())
            port_.clear(QSerialPort::AllDirections);
    }
    bool setDataTerminalReady(bool on) override { return port_.setDataTerminalReady(on); }
    bool setRequestToSend(bool on) override { return port_.setRequestToSend(on); }
    QString errorText() const override { return error_.isEmpty() ? port_.errorString() : error_; }

private:
    QSerialPort port_;
    QString error_;
};

SerialPortFactory &factory()
{
    static SerialPortFactory f;
    return f;
}
} // namespace

std::unique_ptr<ISerialPort> createSerialPort()
{
    if (factory())
        return factory()();
    return std::make_unique<QtSerialPort>();
}

void setSerialPortFactory(SerialPortFactory f) { factory() = std::move(f); }
