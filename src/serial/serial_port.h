#pragma once
// The serial port as the stick's radio link and the firmware updater see it. The
// real port is QSerialPort; tests put a pseudo-terminal or an in-memory fake behind it.

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

class ISerialPort {
public:
    virtual ~ISerialPort() = default;
    // Opens `portName` (a system port name or path) at `baudRate`, 8 data bits,
    // no parity, one stop bit, no flow control. False on failure (see errorText).
    virtual bool open(const QString &portName, qint32 baudRate) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // The bytes already waiting (at most maxBytes); if none, the first bytes that
    // arrive within timeoutMs; otherwise an empty array. A failure closes nothing
    // and returns empty with `ok` false.
    virtual QByteArray read(qint64 maxBytes, int timeoutMs, bool *ok = nullptr) = 0;
    // Writes all of `data`; false on failure.
    virtual bool write(const QByteArray &data) = 0;
    // Drops what is waiting in both directions.
    virtual void clear() = 0;
    virtual bool setDataTerminalReady(bool on) = 0;
    virtual bool setRequestToSend(bool on) = 0;
    // The system's text for the last failure.
    virtual QString errorText() const = 0;
    // The system's code for the last failure; 0 when the last operation did not fail
    // with a reported error. Implementations without codes report 1 for any error text.
    virtual int errorCode() const { return errorText().isEmpty() ? 0 : 1; }
    // True once the device behind the open port went away (unplugged, the other
    // side of a pseudo-terminal closed): nothing will pass through it again until
    // it is opened anew. Ports that cannot tell report false.
    virtual bool deviceLost() const { return false; }
    // Called (on the thread that owns the port, from its event loop) whenever new
    // bytes are waiting. Ports that cannot tell keep the handler and never call it;
    // their owner then relies on its periodic read.
    virtual void setReadyReadHandler(std::function<void()> handler) { (void)handler; }
};

using SerialPortFactory = std::function<std::unique_ptr<ISerialPort>()>;

// A new port object: the QSerialPort one, unless a test installed another factory.
std::unique_ptr<ISerialPort> createSerialPort();
// Installs a factory for new port objects; an empty function restores QSerialPort.
void setSerialPortFactory(SerialPortFactory factory);
