#include "common/program_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

// Set by the build from the install layout; the defaults are those of a package
// installed below /usr.
#ifndef TAVEL_DATA_DIR_FROM_BIN
#define TAVEL_DATA_DIR_FROM_BIN "../share/tavel-nfc"
#endif
#ifndef TAVEL_CONFIG_DIR
#define TAVEL_CONFIG_DIR "/etc/tavel-nfc"
#endif

namespace {
QString programFolderOr(const QString &programFolder)
{
    return programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder;
}
} // namespace

QStringList ProgramDataFolders(const QString &programFolder)
{
    const QString beside = programFolderOr(programFolder);
    return {beside, QDir::cleanPath(QDir(beside).filePath(QStringLiteral(TAVEL_DATA_DIR_FROM_BIN)))};
}

QStringList ProgramConfigFolders(const QString &programFolder)
{
    return {programFolderOr(programFolder), QStringLiteral(TAVEL_CONFIG_DIR)};
}

QString FindFileIn(const QStringList &folders, const QString &fileName)
{
    for (const QString &folder : folders) {
        const QString path = QDir(folder).filePath(fileName);
        if (QFileInfo(path).isFile())
            return path;
    }
    return folders.isEmpty() ? fileName : QDir(folders.first()).filePath(fileName);
}

QString FindProgramDataFile(const QString &fileName, const QString &programFolder)
{
    return FindFileIn(ProgramDataFolders(programFolder), fileName);
}
