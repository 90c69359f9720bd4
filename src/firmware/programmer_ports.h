#pragma once
// The serial ports the firmware updater offers, and the search for the handheld
// programmer's own USB serial port.

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// The programmer's USB identity. The vendor identifier is the maker's; set it here
// when it changes.
inline constexpr quint16 kProgrammerUsbVendorId = 0x1209;
inline constexpr quint16 kProgrammerUsbProductId = 0x0005;
inline constexpr const char *kProgrammerDeviceDescription = "NFC programming device";

// One serial port of the system, in the order the system lists them.
struct SystemSerialPort {
    QString portName;      // "COM4" on Windows, "ttyACM0" elsewhere
    bool hasUsbIds = false;
    quint16 vendorId = 0;
    quint16 productId = 0;
    QString description;   // the device description
};

using SystemSerialPortLister = std::function<QList<SystemSerialPort>()>;
// The system's serial ports (QSerialPortInfo unless a test installed a lister).
QList<SystemSerialPort> SystemSerialPorts();
// Installs a lister; an empty function restores QSerialPortInfo.
void setSystemSerialPortLister(SystemSerialPortLister lister);

// Ports added by hand (the simulator's pseudo-terminal, an adapter the system does
// not list); they are appended to the port list as given.
void addFirmwarePortName(const QString &name);
void clearFirmwarePortNames();

// A name of the form COM<digit>..., in any letter case.
bool IsComPortName(const QString &name);
// The entries of the updater's port list: on Windows the COM ports, elsewhere
// every serial port by its system name; then the ports added by hand.
QStringList FirmwarePortList();
// The ports of every device that is the programmer (vendor, product 0005 and the
// description), in the order the system lists them.
QStringList FindProgrammerPorts();
// The last of them, or an empty text when there is none.
QString FindProgrammerPort();
