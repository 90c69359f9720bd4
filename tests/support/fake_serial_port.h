#pragma once
// An in-memory serial line for every test that needs a stick or a programmer
// behind the serial layer (the radio link, the firmware updater, the windows):
// each queued chunk is what one read returns at most (so a packet can be split
// over reads), every open and write is recorded, and a write can be answered.

#include "serial/serial_port.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <functional>
#include <memory>

struct FakePortState {
    bool openFails = false;
    bool isOpen = false;
    QStringList opened;         // every name passed to open(), in order
    QList<QByteArray> incoming; // one chunk per read
    QList<QByteArray> writes;   // every write, in order
    bool writeFails = false;
    // The device went away (a pulled stick): reported by deviceLost() while open.
    bool lost = false;
    int writeErrorCode = 5;
    QString writeErrorText = QStringLiteral("Access is denied.");
    int reads = 0;
    QList<int> readTimeouts; // the time-out of every read call
    // The opposite of what the programs set, so that a test sees they set it.
    int dtr = 0;
    int rts = 1;
    // Called after every write (e.g. to queue the stick's answer).
    std::function<void(const QByteArray &)> onWrite;

    // Answers every write with what `reply` returns for it (nothing when empty).
    void answerWith(std::function<QByteArray(const QByteArray &)> reply)
    {
        onWrite = [this, reply = std::move(reply)](const QByteArray &data) {
            const QByteArray answer = reply(data);
            if (!answer.isEmpty())
                incoming.append(answer);
        };
    }
    QString lastOpened() const { return opened.isEmpty() ? QString() : opened.last(); }
    QByteArray written() const
    {
        QByteArray all;
        for (const auto &w : writes)
            all += w;
        return all;
    }
};

class FakeSerialPort : public ISerialPort {
public:
    explicit FakeSerialPort(std::shared_ptr<FakePortState> s) : s_(std::move(s)) {}
    ~FakeSerialPort() override { close(); }
    bool open(const QString &name, qint32) override
    {
        s_->opened << name;
        if (s_->openFails)
            return false;
        isOpen_ = s_->isOpen = true;
        return true;
    }
    // Another port object on the same line may be open; only this one closes.
    void close() override
    {
        if (isOpen_)
            s_->isOpen = false;
        isOpen_ = false;
    }
    bool isOpen() const override { return isOpen_; }
    QByteArray read(qint64 maxBytes, int timeoutMs, bool *ok) override
    {
        s_->readTimeouts << timeoutMs;
        ++s_->reads;
        if (ok)
            *ok = isOpen_;
        if (!isOpen_ || s_->incoming.isEmpty())
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
        if (!isOpen_)
            return false;
        if (s_->writeFails) {
            code_ = s_->writeErrorCode;
            return false;
        }
        s_->writes.append(data);
        if (s_->onWrite)
            s_->onWrite(data);
        return true;
    }
    void clear() override { s_->incoming.clear(); }
    bool setDataTerminalReady(bool on) override { s_->dtr = on; return true; }
    bool setRequestToSend(bool on) override { s_->rts = on; return true; }
    QString errorText() const override { return code_ ? s_->writeErrorText : QString(); }
    int errorCode() const override { return code_; }
    bool deviceLost() const override { return isOpen_ && s_->lost; }

private:
    std::shared_ptr<FakePortState> s_;
    bool isOpen_ = false;
    int code_ = 0;
};

// Installs the fake as the serial layer for the lifetime of the object.
struct FakePortInstaller {
    std::shared_ptr<FakePortState> state = std::make_shared<FakePortState>();
    FakePortInstaller()
    {
        auto s = state;
        setSerialPortFactory([s] { return std::make_unique<FakeSerialPort>(s); });
    }
    ~FakePortInstaller() { setSerialPortFactory({}); }
    FakePortInstaller(const FakePortInstaller &) = delete;
    FakePortInstaller &operator=(const FakePortInstaller &) = delete;
};
