#include "app/recent_files.h"

#include "common/dialogs.h"

#include <QSettings>
#include <memory>

namespace {
QString g_override;

std::unique_ptr<QSettings> OpenStore()
{
    if (!g_override.isEmpty())
        return std::make_unique<QSettings>(g_override, QSettings::IniFormat);
    // Native format, user scope: on Windows HKCU\Software\<product key>\<sub-key>.
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       kRecentFilesProductKey, kRecentFilesSubKey);
}

bool StoreUsable(const QSettings &store)
{
    return store.status() == QSettings::NoError;
}

QString ValueName(int entry) { return QStringLiteral("File%1").arg(entry); }
} // namespace

void SetRecentFilesStorageOverride(const QString &iniFilePath) { g_override = iniFilePath; }

void PushRecentFile(const QString &path)
{
    auto store = OpenStore();
    if (!StoreUsable(*store)) {
        dialogs().message(QStringLiteral("Error"), kRecentFilesOpenError);
        return;
    }
    QStringList old;
    for (int i = 1; i < kRecentFilesCount; ++i)
        old << store->value(ValueName(i)).toString();
    store->setValue(ValueName(1), path);
    for (int i = 2; i <= kRecentFilesCount; ++i)
        store->setValue(ValueName(i), old.at(i - 2));
    store->sync();
    if (!StoreUsable(*store))
        dialogs().message(QStringLiteral("Error"), kRecentFilesWriteError);
}

QStringList ReadRecentFiles(bool *ok)
{
    if (ok)
        *ok = false;
    auto store = OpenStore();
    if (!StoreUsable(*store)) {
        dialogs().message(QStringLiteral("Error"), kRecentFilesOpenError);
        return {};
    }
    QStringList entries;
    for (int i = 1; i <= kRecentFilesCount; ++i) {
        const QVariant v = store->value(ValueName(i));
        if (v.isValid() && !v.canConvert<QString>()) {
            dialogs().message(QStringLiteral("Error"), kRecentFilesReadError);
            while (entries.size() < kRecentFilesCount)
                entries << QString();
            return entries;
        }
        entries << v.toString();
    }
    if (ok)
        *ok = true;
    return entries;
}
