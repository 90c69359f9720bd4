// The PostgreSQL records store against a throw-away local server (started and
// removed by the benchmark, with the tests' script: fsync off, Unix socket):
// one driver record write with its settings lookup (median), the 500-line
// report at 1,000,000 driver records, and 4 stations writing at once.
#include "pg_test_server.h"
#include "records/postgres/postgres_store.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

QStringList settingsValues(const QString &programmer)
{
    QStringList values(22);
    values[0] = programmer;
    values[9] = QStringLiteral("500");
    return values;
}

// One driver record as the records code writes it: the settings lookup, then the insert.
bool writeDriver(PostgresStore &store, const QString &programmer, const QString &serial)
{
    const BusyBudget budget(1000);
    QStringList texts;
    if (!store.lookUpSettings(programmer, QString(), budget, &texts).ok())
        return false;
    const QStringList values = QStringList{"0xFFAA0001", "2.10", programmer, serial} + texts;
    return store.insert(PendingRecord::make(PendingRecord::Kind::Driver, values), false, budget).inserted;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    PgTestServer server(true);
    if (!server.ok()) {
        std::fprintf(stderr, "no test server: %s\n", qPrintable(server.error()));
        return 1;
    }
    const QString url = server.freshDatabase();
    const QString programmer = QStringLiteral("0x0180A2B3");
    PostgresStore store(url);
    store.setStation(QStringLiteral("bench"));
    QString error;
    if (!store.prepare(&error)
        || !store.insert(PendingRecord::make(PendingRecord::Kind::Settings, settingsValues(programmer)), false,
                         BusyBudget(1000))
                .ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }

    std::vector<double> ms;
    for (int i = 0; i < 2000; ++i) {
        QElapsedTimer t;
        t.start();
        if (!writeDriver(store, programmer, QStringLiteral("w%1").arg(i)))
            return 1;
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("driver record write with settings lookup: median %.3f ms, 90th %.3f ms (2000 writes)\n", median(ms),
                [&] { auto v = ms; std::sort(v.begin(), v.end()); return v[v.size() * 9 / 10]; }());

    // 1,000,000 driver records made on the server, four stations.
    QElapsedTimer fill;
    fill.start();
    const qint64 filled = server.exec(
        url, "INSERT INTO driver_records (record_id, station, record_time, \"datetime\", \"enOcean_HandHeldID\", "
             "\"programmer_NFC_FW\", \"programmerID\", \"serialNumber\", \"nomCurrent\") "
             "SELECT 'fill-' || g, 'S' || (g % 4), now() - g * interval '1 second', "
             "to_char(now() - g * interval '1 second', 'YYYY-MM-DD HH24:MI:SS'), '0x01', '2.10', '0x0180A2B3', "
             "lpad(g::text, 16, '0'), '500' FROM generate_series(1, 1000000) AS g; ANALYZE driver_records;");
    if (filled < 0) {
        std::fprintf(stderr, "fill: %s\n", qPrintable(server.error()));
        return 1;
    }
    std::printf("filled 1,000,000 driver records in %.1f s\n", fill.elapsed() / 1000.0);
    for (const QString &station : {QString(), QStringLiteral("S2")}) {
        ms.clear();
        int lines = 0;
        for (int i = 0; i < 30; ++i) {
            SQLiteAnswerClass answer;
            QElapsedTimer t;
            t.start();
            if (!store.query(RecordQuery::DriversReport, 500, station, answer, &error))
                return 1;
            ms.push_back(t.nsecsElapsed() / 1e6);
            lines = answer.GetRowCount();
        }
        std::printf("500-line report at 1,000,000 rows%s: median %.2f ms (%d lines)\n",
                    station.isEmpty() ? "" : " (one station)", median(ms), lines);
    }

    // Four stations writing together, each with its own connection.
    constexpr int kStations = 4, kEach = 2500;
    const qint64 before = server.exec(url, "SELECT count(*) FROM driver_records");
    std::atomic<int> failed{0};
    QElapsedTimer all;
    all.start();
    std::vector<std::thread> threads;
    for (int s = 0; s < kStations; ++s)
        threads.emplace_back([&, s] {
            PostgresStore own(url);
            own.setStation(QStringLiteral("station-%1").arg(s));
            for (int i = 0; i < kEach; ++i)
                if (!writeDriver(own, programmer, QStringLiteral("s%1-%2").arg(s).arg(i)))
                    ++failed;
        });
    for (auto &t : threads)
        t.join();
    const double seconds = all.nsecsElapsed() / 1e9;
    const qint64 added = server.exec(url, "SELECT count(*) FROM driver_records") - before;
    std::printf("%d stations writing at once: %.0f records/s, %lld of %d records in the table, %d failed\n",
                kStations, kStations * kEach / seconds, static_cast<long long>(added), kStations * kEach,
                failed.load());
    return added == kStations * kEach && failed == 0 ? 0 : 1;
}
