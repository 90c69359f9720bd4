#pragma once
// An in-memory serial line for the firmware updater's tests: records what the
// program opens and writes, and answers writes as a test tells it to. (The radio
// link's tests use fake_serial_port.h, whose reads return queued chunks.)

#include "fake_clock.h"
#include "print_qt.h"
#include "serial/serial_port.h"

#include <QByteArray>
#include <QStringList>
#include <functional>
#include <memory>

struct FakeLine {
    QStringList opened;          // every name passed to open(), in order
    QList<QByteArray> writes;    // every write, in order
    QByteArray input;            // bytes waiting to be read
    QList<int> readTimeouts;     // the time-out of every read call
    bool failOpen = false;
    bool failWrite = false;
    bool open = false;
    int dtr = -1;
    int rts = -1;
    int clears = 0;
    // Called for every write; what it returns arrives in the input.
    std::function<QByteArray(const QByteArray &)> answer;

    QByteArray written() const
    {
        QByteArray all;
        for (const auto &w : writes)
            all += w;
        return all;
    }
};

class FakeLinePort : public ISerialPort {
public:
    explicit FakeLinePort(std::shared_ptr<FakeLine> line) : line_(std::move(line)) {}
    ~FakeLinePort() override { close(); }
    bool open(const QString &name, qint32) override
    {
        line_->opened << name;
        if (line_->failOpen)
            return false;
        isOpen_ = line_->open = true;
        return true;
    }
    void close() override
    {
        if (isOpen_)
            line_->open = false;
        isOpen_ = false;
    }
    bool isOpen() const override { return isOpen_; }
    QByteArray read(qint64 maxBytes, int timeoutMs, bool *ok) override
    {
        line_->readTimeouts << timeoutMs;
        if (ok)
            *ok = isOpen_;
        if (!isOpen_)
            return {};
        QByteArray out = line_->input.left(maxBytes);
        line_->input.remove(0, out.size());
        return out;
    }
    bool write(const QByteArray &data) override
    {
        if (!isOpen_ || line_->failWrite)
            return false;
        line_->writes << data;
        if (line_->answer)
            line_->input += line_->answer(data);
        return true;
    }
    void clear() override
    {
        ++line_->clears;
        line_->input.clear();
    }
    bool setDataTerminalReady(bool on) override { line_->dtr = on; return true; }
    bool setRequestToSend(bool on) override { line_->rts = on; return true; }
    QString errorText() const override { return {}; }

private:
    std::shared_ptr<FakeLine> line_;
    bool isOpen_ = false;
};

// Installs the fake line as the serial layer for the lifetime of the object.
struct FakeSerialScope {
    std::shared_ptr<FakeLine> line = std::make_shared<FakeLine>();
    FakeSerialScope()
    {
        auto l = line;
        setSerialPortFactory([l] { return std::make_unique<FakeLinePort>(l); });
    }
    ~FakeSerialScope() { setSerialPortFactory({}); }
};

