#pragma once
// An in-memory serial port for radio link tests: each queued chunk is what one
// read returns (so a packet can be split over reads), writes are recorded.

#include "serial/serial_port.h"

#include <QByteArray>
#include <QList>
#include <memory>

struct FakePortState {
    bool openFails = false;
    bool isOpen = false;
    QString openedName;
    QList<QByteArray> incoming; // one chunk per read
    QList<QByteArray> writes;
    bool writeFails = false;
    // The device went away (a pulled stick): reported by deviceLost() while open.
    bool lost = false;
    int writeErrorCode = 5;
    QString writeErrorText = QStringLiteral("Access is denied.");
    int reads = 0;
    bool dtr = false;
    bool rts = true;
    // Called after every write (e.g. to queue the stick's answer).
    std::function<void(const QByteArray &)> onWrite;
};

class FakeSerialPort : public ISerialPort {
public:
    explicit FakeSerialPort(std::shared_ptr<FakePortState> s) : s_(std::move(s)) {}
    bool open(const QString &name, qint32) override
    {
        if (s_->openFails)
            return false;
        s_->isOpen = true;
        s_->openedName = name;
        return true;
    }
    void close() override { s_->isOpen = false; }
    bool isOpen() const override { return s_->isOpen; }
    QByteArray read(qint64 maxBytes, int, bool *ok) override
    {
        if (ok)
            *ok = s_->isOpen;
        ++s_->reads;
        if (!s_->isOpen || s_->incoming.isEmpty())
            return {};
        QByteArray &front = s_->incoming.first();
        QByteArray out = front.left(maxBytes);
        front.remove(0, out.size());
        if (front.isEmpty())
            s_->incoming.removeFirst();
        return out;
    }
    bool write(const QByteArray &data) override
    {
        if (s_->writeFails) {
            code_ = s_->writeErrorCode;
            return false;
        }
        s_->writes.append(data);
        if (s_->onWrite)
            s_->onWrite(data);
        return true;
    }
    void clear() override {}
    bool setDataTerminalReady(bool on) override { s_->dtr = on; return true; }
    bool setRequestToSend(bool on) override { s_->rts = on; return true; }
    QString errorText() const override { return code_ ? s_->writeErrorText : QString(); }
    int errorCode() const override { return code_; }
    bool deviceLost() const override { return s_->isOpen && s_->lost; }

private:
    std::shared_ptr<FakePortState> s_;
    int code_ = 0;
};

// Installs the fake for the lifetime of the object.
struct FakePortInstaller {
    std::shared_ptr<FakePortState> state = std::make_shared<FakePortState>();
    FakePortInstaller()
    {
        auto s = state;
        setSerialPortFactory([s] { return std::make_unique<FakeSerialPort>(s); });
    }
    ~FakePortInstaller() { setSerialPortFactory({}); }
};
