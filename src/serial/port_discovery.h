#pragma once
// The serial ports of the system and the ports added by hand, for both devices
// this program talks to over a serial line: the radio stick (an FTDI USB serial
// converter) and the handheld programmer's own USB port (its bootloader, for
// firmware updates). There is one list of ports added by hand (--port PATH on the
// command line: the simulator's pseudo-terminal, an adapter the system does not
// list); both the stick's port search and the firmware updater's list offer it.

#include "common/maker_config.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// One serial port of the system, in the order the system lists them.
struct SystemSerialPort {
    QString portName; // "COM4" on Windows, "ttyUSB0" elsewhere
    bool hasUsbIds = false;
    quint16 vendorId = 0;
    quint16 productId = 0;
    QString description; // the device description
};

using SystemSerialPortLister = std::function<QList<SystemSerialPort>()>;
// The system's serial ports (QSerialPortInfo unless a test installed a lister).
QList<SystemSerialPort> SystemSerialPorts();
// Installs a lister; an empty function restores QSerialPortInfo.
void setSystemSerialPortLister(SystemSerialPortLister lister);

// ---- Ports added by hand -----------------------------------------------------------
// Replaces the list (e.g. by the --port arguments).
void setExtraSerialPorts(const QStringList &ports);
// Appends one port unless it is listed already.
void addExtraSerialPort(const QString &name);
const QStringList &extraSerialPorts();
// Takes the "--port PATH" / "--port=PATH" pairs out of `args` (the rest stays).
QStringList TakePortArguments(QStringList &args);

// ---- The radio stick -------------------------------------------------------------------
// The stick's USB serial converter is an FTDI chip with vendor 0x0403 and product 0x6001.
constexpr quint16 kStickVendorId = 0x0403;
constexpr quint16 kStickProductId = 0x6001;
// Every port of the stick in the order the system lists them, then the ports
// added by hand.
QStringList DiscoverStickPorts();

// The name a port list entry is opened under. On Windows the entry reads "COM"
// and the number, taken from the fourth character on: "COM%d" below 10, the device
// namespace "\\.\COM%d" from 10 on. Elsewhere the entry is the port's name or path.
// `number` receives the port number on Windows, -1 elsewhere (and for an entry
// that does not convert).
QString PortNameForEntry(const QString &entry, int *number = nullptr);
QString PortNameForNumber(int number); // "COM9", "\\.\COM10"

// ---- The handheld programmer's own USB port ------------------------------------------------
// The programmer's USB identity. The vendor identifier is the maker's: the search
// uses the one of tavel-nfc.conf (CurrentMakerConfig()); this is its built-in value.
inline constexpr quint16 kProgrammerUsbVendorId = kDefaultProgrammerUsbVendorId;
inline constexpr quint16 kProgrammerUsbProductId = 0x0005;
inline constexpr const char *kProgrammerDeviceDescription = "NFC programming device";

// A name of the form COM<digit>..., in any letter case.
bool IsComPortName(const QString &name);
// The entries of the firmware updater's port list: on Windows the COM ports,
// elsewhere every serial port by its system name; then the ports added by hand
// that are not listed already.
QStringList FirmwarePortList();
// The ports of every device that is the programmer (vendor, product 0005 and the
// description), in the order the system lists them.
QStringList FindProgrammerPorts();
// The last of them, or an empty text when there is none.
QString FindProgrammerPort();
