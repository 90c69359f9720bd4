#include "common/user_manual.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

// Set by the build from the install layout; the default is that of a package
// installed below /usr.
#ifndef TAVEL_MANUAL_DIR_FROM_BIN
#define TAVEL_MANUAL_DIR_FROM_BIN "../share/doc/tavel-nfc/manual"
#endif

namespace {
const QString kFrontPage = QStringLiteral("index.html");
}

QStringList UserManualCandidates(const QString &programFolder)
{
    const QDir beside(programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder);
    return {QDir::cleanPath(beside.filePath(QStringLiteral("manual/") + kFrontPage)),
            QDir::cleanPath(beside.filePath(QStringLiteral(TAVEL_MANUAL_DIR_FROM_BIN "/") + kFrontPage))};
}

QString FindUserManual(const QString &programFolder)
{
    for (const QString &page : UserManualCandidates(programFolder))
        if (QFileInfo(page).isFile())
            return page;
    return {};
}

QString UserManualPlace(const QString &programFolder)
{
    const QString found = FindUserManual(programFolder);
    return found.isEmpty() ? UserManualCandidates(programFolder).constLast() : found;
}
