#include "firmware/firmware_script.h"

#include "common/hex_text.h"
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

QString CheckFirmwareScript(const QByteArray &script)
{
    const qint64 size = script.size();
    const auto at = [](qint64 p) { return HexDigits(quint64(p), 4); };
    const auto cut = [&](char marker, qint64 p) {
        return QStringLiteral("the record '%1' at position 0x%2 is cut short").arg(QLatin1Char(marker)).arg(at(p));
    };
    qint64 p = 0;
    while (p < size) {
        const char marker = script[p];
        switch (marker) {
        case kMarkerVersion:
            if (p + 2 > size)
                return cut(marker, p);
            p += 2;
            break;
        case kMarkerClear:
            p += 1;
            break;
        case kMarkerSend: {
            if (p + 3 > size)
                return cut(marker, p);
            const qint64 n = (qint64(quint8(script[p + 1])) << 8) | quint8(script[p + 2]);
            if (n == 0)
                return QStringLiteral("the send record at position 0x%1 carries no data").arg(at(p));
            if (p + 3 + n > size)
                return cut(marker, p);
            p += 3 + n;
            break;
        }
        case kMarkerDelay:
            if (p + 3 > size)
                return cut(marker, p);
            p += 3;
            break;
        case kMarkerRead: {
            const qint64 terminator = p + 2 <= size ? script.indexOf('\0', p + 2) : -1;
            if (terminator < 0)
                return cut(marker, p);
            p = terminator + 1;
            break;
        }
        case kMarkerEnd:
            return {};
        default:
            return QStringLiteral("unknown record byte 0x%1 at position 0x%2")
                .arg(HexByte(quint8(marker)))
                .arg(at(p));
        }
    }
    return {};
}

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
