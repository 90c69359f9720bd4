// Catalogue load benchmark: prints how long loading (or refusing) each hostile
// catalogue takes, and the bundled catalogue for comparison. Every file up to the
// size cap should be answered well within a second.
//
// usage: catalogue_bench [--repeat N]

#include "hostile_catalogues.h"
#include "profile/catalogue_binding.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int repeat = 3;
    const QStringList args = app.arguments();
    if (const qsizetype i = args.indexOf("--repeat"); i > 0 && i + 1 < args.size())
        repeat = std::max(1, args[i + 1].toInt());

    std::vector<HostileCatalogue> catalogues = HostileCatalogues();
    QFile bundled(QStringLiteral(TAVEL_SOURCE_DIR "/resources/nfc_model.xml"));
    if (bundled.open(QIODevice::ReadOnly))
        catalogues.push_back({"bundled nfc_model.xml", bundled.readAll()});

    std::printf("%-42s %10s %10s  %s\n", "catalogue", "bytes", "best ms", "result");
    for (const auto &c : catalogues) {
        double best = 1e18;
        QString result;
        for (int r = 0; r < repeat; ++r) {
            QElapsedTimer timer;
            timer.start();
            try {
                const auto root = GetModelSelection(ParseCatalogueDocument(c.text));
                result = QStringLiteral("loaded, %1 models").arg(root->Get_Count());
            } catch (const ECatalogueError &e) {
                result = QStringLiteral("refused: ") + e.message();
            }
            best = std::min(best, timer.nsecsElapsed() / 1e6);
        }
        std::printf("%-42s %10lld %10.1f  %s\n", c.name, static_cast<long long>(c.text.size()), best,
                    result.toUtf8().constData());
    }
    return 0;
}
