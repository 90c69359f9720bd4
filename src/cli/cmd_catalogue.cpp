// tavel-nfc catalogue [FILE.xml]: the models of a driver catalogue with their
// catalogue index, reference number, family and type.

#include "cli/cli_command.h"
#include "cli/cli_settings.h"
#include "profile/catalogue.h"

#include <QFileInfo>

namespace {
const QString kUsage = QStringLiteral("usage: tavel-nfc catalogue [FILE.xml]");

int run(const QStringList &args)
{
    if (cliWantsHelp(args)) {
        cliOut(kUsage);
        cliOut(QStringLiteral("Lists the models of the driver catalogue FILE.xml (default: nfc_model.xml beside\n"
                              "the program, else the installed one in /usr/share/tavel-nfc/), one per line:\n"
                              "catalogue index, reference number, family and type,\n"
                              "separated by tabs. The index is what 'tavel-nfc new --model' takes."));
        return kExitOk;
    }
    if (args.size() > 1 || (args.size() == 1 && args[0].startsWith(QLatin1Char('-'))))
        return cliUsageError(QStringLiteral("tavel-nfc catalogue: unexpected argument '%1'").arg(args.last()), kUsage);
    const QString path = args.isEmpty() ? DefaultCataloguePath() : args[0];
    if (!QFileInfo(path).isFile()) {
        cliError(QStringLiteral("tavel-nfc catalogue: '%1' does not exist").arg(path));
        return kExitFailure;
    }
    try {
        const auto root = LoadModelSelection(path);
        cliOut(QStringLiteral("index\tref_num\tfamily\ttype"));
        ListCatalogueModels(*root, kCatalogueAllFilter, [](const CatalogueRow &row) {
            cliOut(QStringLiteral("%1\t%2\t%3\t%4").arg(row.index).arg(row.ref_num, row.familyname, row.type));
        });
    } catch (const ECatalogueError &e) {
        cliError(QStringLiteral("tavel-nfc catalogue: %1: %2").arg(kCatalogueFormatMessage, e.message()));
        return kExitFailure;
    }
    return kExitOk;
}

CliCommandRegistrar reg({"catalogue", "list the models of a driver catalogue", &run});
} // namespace
