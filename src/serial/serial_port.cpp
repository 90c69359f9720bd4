#include "serial/serial_port.h"

#include <QSerialPort>

namespace {
class QtSerialPort : public ISerialPort {
public:
    QtSerialPort()
    {
        QObject::connect(&port_, &QSerialPort::readyRead, &port_, [this] {
            if (readyRead_)
                readyRead_();
        });
        // The port notices a removed device by itself (its read notification fails);
        // the error may be cleared by a later call, the loss is kept until the next open.
        QObject::connect(&port_, &QSerialPort::errorOccurred, &port_, [this](QSerialPort::SerialPortError e) {
            noteLoss(e);
        });
    }
    void setReadyReadHandler(std::function<void()> handler) override { readyRead_ = std::move(handler); }

    bool open(const QString &portName, qint32 baudRate) override
    {
        port_.close();
        error_.clear();
        code_ = 0;
        lost_ = false;
        port_.setPortName(portName);
        if (!port_.open(QIODevice::ReadWrite)) {
            remember();
            return false;
        }
        const bool ok = port_.setBaudRate(baudRate) && port_.setDataBits(QSerialPort::Data8)
                        && port_.setParity(QSerialPort::NoParity)
                        && port_.setStopBits(QSerialPort::OneStop)
                        && port_.setFlowControl(QSerialPort::NoFlowControl);
        if (!ok) {
            remember();
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
            remember();
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
            code_ = 0;
            return false;
        }
        port_.clearError();
        qint64 written = port_.write(data);
        if (written != data.size()) {
            remember();
            return false;
        }
        // Hand the bytes to the driver before returning, as a blocking write would.
        while (port_.bytesToWrite() > 0) {
            if (!port_.waitForBytesWritten(1000)) {
                remember();
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
    // Lines a device cannot set (a pseudo-terminal has none) leave no error behind
    // that a later read would report.
    bool setDataTerminalReady(bool on) override
    {
        const bool ok = port_.setDataTerminalReady(on);
        port_.clearError();
        return ok;
    }
    bool setRequestToSend(bool on) override
    {
        const bool ok = port_.setRequestToSend(on);
        port_.clearError();
        return ok;
    }
    QString errorText() const override { return error_.isEmpty() ? port_.errorString() : error_; }
    int errorCode() const override { return code_; }
    bool deviceLost() const override { return lost_; }

private:
    void noteLoss(QSerialPort::SerialPortError e)
    {
        if (e == QSerialPort::ResourceError && port_.isOpen() && !lost_) {
            lost_ = true;
            error_ = port_.errorString();
            code_ = int(e);
        }
    }
    void remember()
    {
        noteLoss(port_.error());
        error_ = port_.errorString();
        code_ = int(port_.error());
        if (code_ == 0 && !error_.isEmpty())
            code_ = int(QSerialPort::UnknownError);
    }

    QSerialPort port_;
    std::function<void()> readyRead_;
    QString error_;
    int code_ = 0;
    bool lost_ = false;
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
