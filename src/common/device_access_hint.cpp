#include "common/device_access_hint.h"

#include <QFileInfo>
#include <cerrno>

QString DeviceFilePath(const QString &portName)
{
    if (portName.startsWith(QLatin1Char('/')))
        return portName;
    return QStringLiteral("/dev/") + portName;
}

QString WithDeviceGroupHint(const QString &systemMessage, const QString &devicePath)
{
    const QString group = QFileInfo(devicePath).group();
    if (group.isEmpty() || group == QLatin1String("root"))
        return QStringLiteral("%1: %2 is not open to your user; ask the administrator for access")
            .arg(systemMessage, devicePath);
    return QStringLiteral("%1: add your user to the group '%2' (then log in again)").arg(systemMessage, group);
}

QString SerialOpenFailureText(const QString &systemMessage, const QString &portName, bool permissionDenied)
{
#ifdef Q_OS_LINUX
    if (permissionDenied)
        return WithDeviceGroupHint(systemMessage, DeviceFilePath(portName));
#else
    Q_UNUSED(portName);
    Q_UNUSED(permissionDenied);
#endif
    return systemMessage;
}

QString DeviceAccessHint(const QString &portName)
{
#ifdef Q_OS_LINUX
    const QString path = DeviceFilePath(portName);
    const QFileInfo device(path);
    if (device.exists() && !(device.isReadable() && device.isWritable()))
        return QLatin1Char(' ') + WithDeviceGroupHint(qt_error_string(EACCES), path);
#else
    Q_UNUSED(portName);
#endif
    return QString();
}
