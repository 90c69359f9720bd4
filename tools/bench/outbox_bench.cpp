// Outbox benchmark: the record work left on the radio path. Appends COUNT driver
// records (default 500) one at a time to an outbox, each written and synced to
// the disk as the radio path does, and prints the median and the longest append
// (target: median at most 2 ms, longest at most 20 ms). With --pending N the
// outbox already holds N records (a server away for a while).
//
// usage: outbox_bench [--count N] [--pending N] [--folder DIR]
// Without --folder the outbox goes to a temporary folder below the current one
// (on its disk, not in memory), removed afterwards.

#include "outbox_append_timing.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int count = 500, pending = 0;
    QString folder;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--count" && hasValue)
            count = std::max(1, args[++i].toInt());
        else if (args[i] == "--pending" && hasValue)
            pending = std::max(0, args[++i].toInt());
        else if (args[i] == "--folder" && hasValue)
            folder = args[++i];
        else {
            std::fprintf(stderr, "usage: outbox_bench [--count N] [--pending N] [--folder DIR]\n");
            return 2;
        }
    }
    QTemporaryDir temporary(QDir::current().filePath("outbox_bench-XXXXXX"));
    if (folder.isEmpty())
        folder = temporary.path();
    QDir().mkpath(folder);
    setDatabaseFolder(folder);
    QFile::remove(PendingRecordsJournalPath());
    for (int i = 0; i < pending; ++i)
        QueueDriverRecord("2.10", "0xFFAA0001", "0x0180A2B3", QStringLiteral("%1").arg(i, 16, 10, QLatin1Char('0')));

    const OutboxAppendTimes times = TimeOutboxAppends(count, pending);
    if (!times.ok) {
        std::fprintf(stderr, "outbox_bench: the append failed\n");
        return 1;
    }
    std::printf("outbox %s, %d records there before\n", qPrintable(QDir::toNativeSeparators(PendingRecordsJournalPath())),
                pending);
    PrintOutboxAppendTimes(times);
    return 0;
}
