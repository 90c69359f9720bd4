#include "cli/records_options.h"

#include "cli/cli_command.h"
#include "records/records_store.h"
#include "records/records_store_registry.h"

#include <QStringList>

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

namespace {

// `text` after `lead`, in lines of at most kWidth characters, the following
// lines indented as far as the lead.
QString wrapped(const QString &lead, const QString &text)
{
    constexpr int kWidth = 86;
    const QString indent(lead.size(), QLatin1Char(' '));
    QStringList lines;
    QString line = lead;
    bool empty = true;
    for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!empty && line.size() + 1 + word.size() > kWidth) {
            lines << line;
            line = indent + word;
        } else {
            line += (empty ? QString() : QStringLiteral(" ")) + word;
        }
        empty = false;
    }
    lines << line;
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace

QString recordsOptionsHelp()
{
    // The kinds of store tell what their locations are.
    return wrapped(QStringLiteral("--records URL  "),
                   QStringLiteral("the records store: %1 (default: $TAVEL_RECORDS_URL, else the program's own).")
                       .arg(RecordsLocationsHelp()))
           + QStringLiteral("--station NAME this PC's name in a shared store (default: the host name).");
}
