#include "common/app_data.h"

#include <QDir>
#include <QStandardPaths>
#include <cstdio>
#include <cstdlib>

namespace {
QString g_override;
}

void SetUserAppDataFolderOverride(const QString &folder) { g_override = folder; }

QString UserAppDataFolder()
{
    if (!g_override.isEmpty())
        return QDir::cleanPath(g_override);
#ifdef Q_OS_WIN
    // The roaming folder itself, without the organisation and application names
    // that AppDataLocation would add.
    const QString roaming = qEnvironmentVariable("APPDATA");
    if (!roaming.isEmpty())
        return QDir::cleanPath(QDir::fromNativeSeparators(roaming));
#endif
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString ProgramDataSubfolder(const QString &subfolder)
{
    return QDir(UserAppDataFolder()).filePath(kAppDataFolderName + QLatin1Char('/') + subfolder);
}

QString Create_dir_in_Appdata(const QString &folder, const QString &subfolder)
{
    const QString base = UserAppDataFolder();
    if (base.isEmpty()) {
        std::fputs("ERROR: Could not open server log - no data folder \n", stdout);
        std::fflush(stdout);
        std::exit(1);
    }
    const QString path = base + QLatin1Char('/') + folder + QLatin1Char('/') + subfolder + QLatin1Char('/');
    QDir().mkpath(path); // an existing folder is not an error
    return path;
}
