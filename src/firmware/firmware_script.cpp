#include "firmware/firmware_script.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef TAVEL_FIRMWARE_EMBEDDED
// Outside any namespace, as the resource initialiser requires.
static void initEmbeddedScript() { Q_INIT_RESOURCE(firmware_script); }
#endif

namespace {
QString &folderOverride()
{
    static QString folder;
    return folder;
}

const char *kEmbeddedPath = ":/firmware/nfc_programmer_firmware.bin";

FirmwareScriptLoad loadFrom(const QString &path)
{
    FirmwareScriptLoad out;
    out.origin = path;
    QFile file(path);
    if (!file.exists()) {
        out.error = QStringLiteral("Cannot find resource");
        return out;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        out.error = QStringLiteral("Cannot load resource");
        return out;
    }
    const qint64 size = file.size();
    // An empty script has no usable size: playing it would report success
    // without having sent anything.
    if (size <= 0) {
        out.error = QStringLiteral("Cannot get size of resource");
        return out;
    }
    out.data = file.readAll();
    if (out.data.size() != size) {
        out.data.clear();
        out.error = QStringLiteral("Cannot lock resource");
    }
    return out;
}
} // namespace

void setFirmwareScriptFolder(const QString &folder) { folderOverride() = folder; }

QString firmwareScriptFolder()
{
    if (!folderOverride().isEmpty())
        return folderOverride();
    return QCoreApplication::applicationDirPath();
}

bool hasEmbeddedFirmwareScript()
{
#ifdef TAVEL_FIRMWARE_EMBEDDED
    initEmbeddedScript();
    return QFile::exists(QString::fromLatin1(kEmbeddedPath));
#else
    return false;
#endif
}

FirmwareScriptLoad LoadFirmwareScriptFile(const QString &path) { return loadFrom(path); }

FirmwareScriptLoad LoadFirmwareScript()
{
    const QString beside = QDir(firmwareScriptFolder()).filePath(QString::fromLatin1(kFirmwareScriptFileName));
    if (QFileInfo::exists(beside))
        return loadFrom(beside);
    if (hasEmbeddedFirmwareScript())
        return loadFrom(QString::fromLatin1(kEmbeddedPath));
    FirmwareScriptLoad out;
    out.origin = beside;
    out.error = QStringLiteral("Cannot find resource");
    return out;
}
