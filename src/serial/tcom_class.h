#pragma once
// A self-contained serial port object for the handheld programmer's own USB serial
// port (its bootloader). It opens at 19200 baud, 8 data bits, no parity, one stop
// bit, with the modem lines under program control (RTS cleared, DTR set), and never
// reports errors itself: its owner asks GetComState.

#include "serial/com_result.h"
#include "serial/serial_port.h"

#include <QString>
#include <memory>

class TComClass {
public:
    static constexpr int kDefaultBaudRate = 19200;
    // A read of k bytes waits at most kReadTotalConstantMs + k ms for the first
    // byte and ends early when kReadIntervalMs pass between two bytes.
    static constexpr int kReadTotalConstantMs = 100;
    static constexpr int kReadIntervalMs = 2;
    // Draining stops once no byte arrives within this time.
    static constexpr int kDrainTimeoutMs = 10;

    // Result codes of ReadCom and WriteCom, the same as the stick's port.
    static constexpr int kDone = kComDone;
    static constexpr int kError = kComError;
    static constexpr int kTimeout = kComTimeout;

    // Opens COM port `port` at 19200 baud; the object exists even when that failed.
    explicit TComClass(int port);
    // Opens a port given by its system name (a device path on systems without COM
    // numbers, e.g. /dev/ttyACM0). GetComState then gives 0 while open.
    explicit TComClass(const QString &systemPortName);
    ~TComClass();
    TComClass(const TComClass &) = delete;
    TComClass &operator=(const TComClass &) = delete;

    // Stores port number and baud rate, opens and configures. True when open.
    bool InitCom(int port, int baudRate);
    // Closes if open, then opens again with the stored port and baud rate.
    bool RestartCom();
    // One read of at most maxCount bytes with the port's own time-outs (timeoutMs
    // is accepted for symmetry with the radio link port and not used).
    int ReadCom(int timeoutMs, char *buffer, int maxCount, int &countRead);
    int WriteCom(const char *buffer, int count);
    // Discards whatever is waiting in the input.
    void ClearCom();
    // -1 when closed, otherwise the port number.
    int GetComState() const;
    // "Com zu" when closed, otherwise "Ready on COM" followed by the port number.
    QString GetComStateText() const;
    void Close();

    int portNumber() const { return port_; }
    int baudRate() const { return baud_; }
    // The name handed to the serial layer, e.g. "COM9", "\\.\COM10" or a path.
    QString systemPortName() const;

    // The system name of COM port n: "COM%d" below 10, "\\.\COM%d" from 10 on.
    static QString comPortName(int n);

private:
    bool open();

    std::unique_ptr<ISerialPort> serial_;
    int port_ = 0;
    int baud_ = kDefaultBaudRate;
    QString namedPort_; // set when constructed with a system name
};
