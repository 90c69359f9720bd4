#include "common/program_version.h"

#include "tavel_build_info.h"

#include <cstdio>
#include <cstring>

QString ProgramVersion() { return QStringLiteral(TAVEL_PROGRAM_VERSION); }

QString BuildRevision() { return QStringLiteral(TAVEL_GIT_REVISION); }

QString ProgramVersionLine(const QString &programName)
{
    return QStringLiteral("%1 %2 (revision %3)").arg(programName, ProgramVersion(), BuildRevision());
}

bool PrintVersionIfAsked(int argc, const char *const *argv, const char *programName)
{
    if (argc < 2 || std::strcmp(argv[1], "--version") != 0)
        return false;
    std::printf("%s\n", ProgramVersionLine(QString::fromUtf8(programName)).toUtf8().constData());
    std::fflush(stdout);
    return true;
}
