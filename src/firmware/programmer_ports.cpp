#include "firmware/programmer_ports.h"

#include <QSerialPortInfo>

namespace {
SystemSerialPortLister &lister()
{
    static SystemSerialPortLister l;
    return l;
}

QStringList &extraPorts()
{
    static QStringList names;
    return names;
}
} // namespace

QList<SystemSerialPort> SystemSerialPorts()
{
    if (lister())
        return lister()();
    QList<SystemSerialPort> out;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        SystemSerialPort p;
        p.portName = info.portName();
        p.hasUsbIds = info.hasVendorIdentifier() && info.hasProductIdentifier();
        p.vendorId = info.vendorIdentifier();
        p.productId = info.productIdentifier();
        p.description = info.description();
        out.append(p);
    }
    return out;
}

void setSystemSerialPortLister(SystemSerialPortLister l) { lister() = std::move(l); }

void addFirmwarePortName(const QString &name)
{
    if (!extraPorts().contains(name))
        extraPorts().append(name);
}

void clearFirmwarePortNames() { extraPorts().clear(); }

bool IsComPortName(const QString &name)
{
    return name.size() >= 4 && name.startsWith(QLatin1String("COM"), Qt::CaseInsensitive)
           && name[3].isDigit() && name[3].unicode() < 128;
}

QStringList FirmwarePortList()
{
    QStringList out;
    for (const SystemSerialPort &p : SystemSerialPorts()) {
#ifdef Q_OS_WIN
        if (!IsComPortName(p.portName))
            continue;
#endif
        out << p.portName;
    }
    for (const QString &name : extraPorts())
        if (!out.contains(name))
            out << name;
    return out;
}

QStringList FindProgrammerPorts()
{
    QStringList found;
    for (const SystemSerialPort &p : SystemSerialPorts()) {
        if (p.hasUsbIds && p.vendorId == kProgrammerUsbVendorId && p.productId == kProgrammerUsbProductId
            && p.description.contains(QLatin1String(kProgrammerDeviceDescription)))
            found << p.portName;
    }
    return found;
}

QString FindProgrammerPort()
{
    const QStringList found = FindProgrammerPorts();
    return found.isEmpty() ? QString() : found.last();
}
