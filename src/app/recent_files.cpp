#include "app/recent_files.h"

#include "common/dialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <algorithm>
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

// Two spellings of one file (a relative path, "..", the letter case on Windows) are
// one entry of the list.
QString SameFileKey(const QString &path)
{
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
#ifdef Q_OS_WIN
    return absolute.toCaseFolded();
#else
    return absolute;
#endif
}
} // namespace

bool IsSameRecentFile(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return a.isEmpty() && b.isEmpty();
    return SameFileKey(a) == SameFileKey(b);
}

void SetRecentFilesStorageOverride(const QString &iniFilePath) { g_override = iniFilePath; }

void PushRecentFile(const QString &path)
{
    auto store = OpenStore();
    if (!StoreUsable(*store)) {
        dialogs().message(QStringLiteral("Error"), kRecentFilesOpenError);
        return;
    }
    // The new path goes on top; an older entry of the same file (and any repeat a
    // list written before held) gives way, so the list names five different files.
    QStringList entries{path};
    for (int i = 1; i <= kRecentFilesCount; ++i) {
        const QString old = store->value(ValueName(i)).toString();
        if (old.isEmpty())
            continue;
        const bool known = std::any_of(entries.cbegin(), entries.cend(),
                                       [&](const QString &e) { return IsSameRecentFile(e, old); });
        if (!known)
            entries << old;
    }
    for (int i = 1; i <= kRecentFilesCount; ++i)
        store->setValue(ValueName(i), entries.value(i - 1));
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
