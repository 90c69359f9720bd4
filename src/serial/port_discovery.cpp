#include "serial/port_discovery.h"

#include "common/convert.h"

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

void setExtraSerialPorts(const QStringList &ports) { extraPorts() = ports; }

void addExtraSerialPort(const QString &name)
{
    if (!extraPorts().contains(name))
        extraPorts().append(name);
}

const QStringList &extraSerialPorts() { return extraPorts(); }

QStringList TakePortArguments(QStringList &args)
{
    QStringList ports;
    for (int i = 0; i < args.size();) {
        const QString &a = args[i];
        if (a == QLatin1String("--port") && i + 1 < args.size()) {
            ports.append(args[i + 1]);
            args.remove(i, 2);
        } else if (a.startsWith(QLatin1String("--port="))) {
            ports.append(a.mid(7));
            args.removeAt(i);
        } else {
            ++i;
        }
    }
    return ports;
}

QStringList DiscoverStickPorts()
{
    QStringList found;
    for (const SystemSerialPort &p : SystemSerialPorts()) {
        if (p.hasUsbIds && p.vendorId == kStickVendorId && p.productId == kStickProductId)
            found.append(p.portName);
    }
    found.append(extraPorts());
    return found;
}

QString PortNameForNumber(int number)
{
    return number < 10 ? QStringLiteral("COM%1").arg(number) : QStringLiteral("\\\\.\\COM%1").arg(number);
}

QString PortNameForEntry(const QString &entry, int *number)
{
#ifdef Q_OS_WIN
    const int n = StrToInt(entry.mid(3));
    if (number)
        *number = n;
    return PortNameForNumber(n);
#else
    if (number)
        *number = -1;
    return entry;
#endif
}

bool IsComPortName(const QString &name)
{
    return name.size() >= 4 && name.startsWith(QLatin1String("COM"), Qt::CaseInsensitive) && name[3].isDigit()
           && name[3].unicode() < 128;
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
        if (p.hasUsbIds && p.vendorId == CurrentMakerConfig().programmerUsbVendorId && p.productId == kProgrammerUsbProductId
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
