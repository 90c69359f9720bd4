#pragma once
// The record work left on the radio path, timed: driver records appended one at a
// time to the outbox of the records folder, each written and synced to the disk
// as the radio path does. Shared by the benchmarks that print its figures.

#include "records/records_database.h"
#include "records/records_outbox.h"

#include <QElapsedTimer>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <vector>

struct OutboxAppendTimes {
    bool ok = true; // false: an append failed
    int count = 0;
    double medianMs = 0, longestMs = 0;
    bool met() const { return medianMs <= 2.0 && longestMs <= 20.0; }
};

// Appends `count` driver records with the serial numbers firstSerial, firstSerial+1, ...
inline OutboxAppendTimes TimeOutboxAppends(int count, int firstSerial)
{
    OutboxAppendTimes times;
    std::vector<double> ms;
    ms.reserve(size_t(count));
    QElapsedTimer t;
    for (int i = 0; i < count; ++i) {
        t.start();
        const RecordFate fate = QueueDriverRecord(QStringLiteral("2.10"), QStringLiteral("0xFFAA0001"),
                                                  QStringLiteral("0x0180A2B3"),
                                                  QStringLiteral("%1").arg(firstSerial + i, 16, 10, QLatin1Char('0')));
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
        if (fate != RecordFate::Pending) {
            times.ok = false;
            return times;
        }
    }
    std::sort(ms.begin(), ms.end());
    times.count = count;
    times.medianMs = ms[ms.size() / 2];
    times.longestMs = ms.back();
    return times;
}

// "500 appends (written and synced): median 0.350 ms (target at most 2 ms): met, longest ..."
inline void PrintOutboxAppendTimes(const OutboxAppendTimes &t)
{
    std::printf("%d outbox appends (written and synced): median %.3f ms (target at most 2 ms): %s, longest %.3f ms "
                "(target at most 20 ms): %s\n",
                t.count, t.medianMs, t.medianMs <= 2.0 ? "met" : "NOT met", t.longestMs,
                t.longestMs <= 20.0 ? "met" : "NOT met");
}
