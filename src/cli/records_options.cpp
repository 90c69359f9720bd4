#include "cli/records_options.h"

#include "cli/cli_command.h"
#include "records/records_store.h"

int applyRecordsOptions(QStringList &args, const QString &command)
{
    QString location = qEnvironmentVariable(kRecordsUrlVariable);
    for (const char *option : {"--records", "--station"}) {
        const qsizetype at = args.indexOf(QLatin1String(option));
        if (at < 0)
            continue;
        if (at + 1 >= args.size()) {
            cliError(QStringLiteral("%1: %2 needs a value").arg(command, QLatin1String(option)));
            return kExitUsage;
        }
        if (qstrcmp(option, "--records") == 0)
            location = args[at + 1];
        else
            setRecordsStation(args[at + 1]);
        args.remove(at, 2);
    }
    if (location.isEmpty())
        return kExitOk;
    QString error;
    if (!setRecordsLocation(location, &error)) {
        cliError(QStringLiteral("%1: %2").arg(command, error));
        return kExitFailure;
    }
    return kExitOk;
}

QString recordsOptionsHelp()
{
    return QStringLiteral(
        "--records URL  the records store: a postgresql:// URI (a server several stations\n"
        "               share; passwords from ~/.pgpass or PGPASSWORD only) or a folder for\n"
        "               the SQLite files (default: $TAVEL_RECORDS_URL, else the program's own).\n"
        "--station NAME this PC's name in a shared store (default: the host name).");
}
