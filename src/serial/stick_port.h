#pragma once
// The radio stick's serial port: 57600 baud, 8 data bits, no parity, one stop bit,
// drained on opening, RTS cleared and DTR set. Reads never wait longer than asked
// (the receiver asks for what is already waiting); the port tells its owner when
// new bytes wait, where the system can tell.

#include "serial/com_result.h"
#include "serial/serial_port.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

class StickPort {
public:
    static constexpr qint32 kBaudRate = 57600;

    ~StickPort() { close(); }
    // Opens `portName` (closing the port opened before), drains it, clears RTS and
    // sets DTR. False when it cannot be opened (the port stays closed).
    bool open(const QString &portName);
    void close();
    bool isOpen() const { return port_ && port_->isOpen(); }
    // kComDone with `count` bytes, kComTimeout when none arrived within timeoutMs,
    // kComError when the port is closed or the read failed.
    int read(int timeoutMs, uint8_t *buffer, int maxCount, int *count);
    // kComDone, or kComError (errorCode() and errorText() then tell why; code 0:
    // the system reported no error).
    int write(const uint8_t *buffer, int count);
    // Discards waiting input (at most 64 KiB, so a device that never stops sending
    // cannot keep it going).
    void drain();
    int errorCode() const { return port_ ? port_->errorCode() : 0; }
    QString errorText() const { return port_ ? port_->errorText() : QString(); }
    // The device behind the open port went away (see ISerialPort::deviceLost).
    bool deviceLost() const { return port_ && port_->isOpen() && port_->deviceLost(); }
    // Called whenever new bytes wait (kept across openings).
    void setReadyReadHandler(std::function<void()> handler);

private:
    std::unique_ptr<ISerialPort> port_;
    std::function<void()> readyRead_;
};
