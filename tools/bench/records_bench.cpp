// Records benchmark: fills both record databases with COUNT records each (default
// 1,000,000) and prints the time the start takes to index them, the time of one
// driver record write (with its settings lookup) as the receive path makes it,
// unlocked and with the drivers file locked by another connection, the repeat
// check of a driver record (is its serial number recorded already?) without and
// with the serial-number index, a write of a driver recorded before and of a new
// one, the 500-line drivers report, and the time and peak memory of the CSV
// export of every driver.
//
// usage: records_bench [--count N] [--folder DIR] [--writes N] [--reports N] [--locked N]
// Without --folder the files go to a temporary folder that is removed afterwards;
// with --folder existing files are reused when they already hold COUNT records.

#include "common/hex_text.h"
#include "records/record_columns.h"
#include "records/records_database.h"
#include "records/sqlite/sqlite_tables.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QDateTime>
#include <QDir>
#include <QTimeZone>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

namespace {

constexpr int kProgrammers = 200;

QString programmerId(int i) { return HexId(uint32_t(0x01A20000 + i)); }

// 2020-01-01 00:00:00 plus `seconds`, as datetime('now') writes it.
QByteArray stamp(qint64 seconds)
{
    return QDateTime(QDate(2020, 1, 1), QTime(0, 0), QTimeZone::utc()).addSecs(seconds).toString("yyyy-MM-dd HH:mm:ss").toUtf8();
}

qint64 rowCount(const QString &path)
{
    sqlite3 *db = nullptr;
    qint64 n = -1;
    if (sqlite3_open(path.toUtf8().constData(), &db) == SQLITE_OK) {
        sqlite3_stmt *s = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM ProgrammedLines;", -1, &s, nullptr) == SQLITE_OK
            && sqlite3_step(s) == SQLITE_ROW)
            n = sqlite3_column_int64(s, 0);
        sqlite3_finalize(s);
    }
    sqlite3_close(db);
    return n;
}

// Fills one file in a single transaction, one record per second, the programmers
// in turn: the time, a programmer and a serial number into the three `identity`
// columns, "100" into every parameter column.
void fill(const QString &path, const char *createTable, const QStringList &identity, int count)
{
    const QStringList columns = identity + SettingTextColumns();
    QStringList parameters;
    for (qsizetype i = 1; i <= columns.size(); ++i)
        parameters << QStringLiteral("?%1").arg(i);
    const QByteArray insert = QStringLiteral("INSERT INTO ProgrammedLines (%1) VALUES (%2);")
                                  .arg(SqlColumnList(columns), parameters.join(QLatin1Char(',')))
                                  .toUtf8();
    QFile::remove(path);
    sqlite3 *db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_exec(db, createTable, nullptr, nullptr, nullptr);
    sqlite3_exec(db, "BEGIN;", nullptr, nullptr, nullptr);
    sqlite3_stmt *s = nullptr;
    sqlite3_prepare_v2(db, insert.constData(), -1, &s, nullptr);
    for (int i = 0; i < count; ++i) {
        const QByteArray when = stamp(i);
        const QByteArray id = programmerId(i % kProgrammers).toUtf8();
        const QByteArray serial = QByteArray::number(i).rightJustified(16, '0');
        sqlite3_bind_text(s, 1, when.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(s, 2, id.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(s, 3, serial.constData(), -1, SQLITE_TRANSIENT);
        for (int c = 4; c <= int(columns.size()); ++c)
            sqlite3_bind_text(s, c, "100", -1, SQLITE_STATIC);
        sqlite3_step(s);
        sqlite3_reset(s);
    }
    sqlite3_finalize(s);
    sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// The process's peak resident memory in MB (VmHWM), and a reset of that peak
// so that one phase can be measured on its own (Linux; -1 elsewhere).
double peakResidentMb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return -1;
}
bool resetPeakResident()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    return f.open(QIODevice::WriteOnly) && f.write("5") == 1;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double maximum(const std::vector<double> &v) { return v.empty() ? 0 : *std::max_element(v.begin(), v.end()); }

// The repeat check a driver record makes before its insert, alone, on the file
// as it is: `n` serial numbers, every other one recorded, every other one not.
std::vector<double> repeatChecks(int n, int count)
{
    std::vector<double> times;
    sqlite3 *db = nullptr;
    sqlite3_open(DriversDatabasePath().toUtf8().constData(), &db);
    sqlite3_stmt *s = nullptr;
    sqlite3_prepare_v2(db, "SELECT count(*) FROM (SELECT 1 FROM ProgrammedLines WHERE serialNumber = ?1 LIMIT 1);",
                       -1, &s, nullptr);
    for (int i = 0; i < n; ++i) {
        const QByteArray serial = QByteArray::number(i % 2 ? count + i : (i * 7919) % count).rightJustified(16, '0');
        QElapsedTimer one;
        one.start();
        sqlite3_bind_text(s, 1, serial.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_step(s);
        sqlite3_reset(s);
        times.push_back(one.nsecsElapsed() / 1e6);
    }
    sqlite3_finalize(s);
    sqlite3_close(db);
    return times;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int count = 1000000, writes = 200, reports = 20, locked = 10;
    QString folder;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == "--count")
            count = args[i + 1].toInt();
        else if (args[i] == "--folder")
            folder = args[i + 1];
        else if (args[i] == "--writes")
            writes = args[i + 1].toInt();
        else if (args[i] == "--reports")
            reports = args[i + 1].toInt();
        else if (args[i] == "--locked")
            locked = args[i + 1].toInt();
    }
    QTemporaryDir tmp;
    if (folder.isEmpty())
        folder = tmp.path();
    setDatabaseFolder(folder);

    QElapsedTimer t;
    t.start();
    if (rowCount(SettingsDatabasePath()) < count)
        fill(SettingsDatabasePath(), SettingsCreateTableSql(),
             {QStringLiteral("datetime"), QStringLiteral("enOcean_HandHeldID"), QStringLiteral("editSerial")}, count);
    if (rowCount(DriversDatabasePath()) < count)
        fill(DriversDatabasePath(), DriversCreateTableSql(),
             {QStringLiteral("datetime"), QStringLiteral("programmerID"), QStringLiteral("serialNumber")}, count);
    std::printf("filled %d settings and %d driver records in %.1f s\n", count, count, t.elapsed() / 1000.0);

    // A file of an earlier version has no serial-number index: the check reads every record.
    const std::vector<double> unindexed = repeatChecks(6, count);
    std::printf("repeat check without the serial-number index (%d records): median %.2f ms, max %.2f ms over %zu\n",
                count, median(unindexed), maximum(unindexed), unindexed.size());

    // The window's start prepares the files: the indexes (and the repeat column)
    // of files of an earlier version are made here once, never inside the receive tick.
    t.restart();
    QString error;
    if (!PrepareRecordDatabases(&error))
        std::printf("preparing the databases failed: %s\n", qPrintable(error));
    std::printf("start: preparing the files (index creation): %.1f ms\n", t.nsecsElapsed() / 1e6);

    const std::vector<double> indexed = repeatChecks(writes * 10, count);
    std::printf("repeat check with the serial-number index (%d records): median %.3f ms, max %.3f ms over %zu\n",
                count, median(indexed), maximum(indexed), indexed.size());

    // Serial numbers 0 .. writes-1 are in the file: each of these records is a repeat.
    std::vector<double> w;
    int repeats = 0;
    for (int i = 0; i < writes; ++i) {
        QElapsedTimer one;
        one.start();
        bool repeat = false;
        WriteDriversToDatabaseInAppdataWithSettings("2.10", "0x0180A2B3", programmerId(i % kProgrammers),
                                                    QByteArray::number(i).rightJustified(16, '0'), &repeat);
        w.push_back(one.nsecsElapsed() / 1e6);
        repeats += repeat;
    }
    std::printf("driver record write with settings lookup and repeat check, driver recorded before: median %.2f ms, "
                "max %.2f ms over %d, %d marked repeat (target 50 ms)\n",
                median(w), maximum(w), writes, repeats);
    std::vector<double> fresh;
    repeats = 0;
    for (int i = 0; i < writes; ++i) {
        QElapsedTimer one;
        one.start();
        bool repeat = false;
        WriteDriversToDatabaseInAppdataWithSettings("2.10", "0x0180A2B3", programmerId(i % kProgrammers),
                                                    QByteArray::number(count + i).rightJustified(16, '0'), &repeat);
        fresh.push_back(one.nsecsElapsed() / 1e6);
        repeats += repeat;
    }
    std::printf("driver record write with settings lookup and repeat check, new driver: median %.2f ms, "
                "max %.2f ms over %d, %d marked repeat (target 50 ms)\n",
                median(fresh), maximum(fresh), writes, repeats);

    // Another program holds the drivers file: each record waits its short busy
    // time and goes into the pending-records journal.
    {
        sqlite3 *holder = nullptr;
        sqlite3_open(DriversDatabasePath().toUtf8().constData(), &holder);
        sqlite3_exec(holder, "BEGIN EXCLUSIVE;", nullptr, nullptr, nullptr);
        std::vector<double> l;
        int pending = 0;
        for (int i = 0; i < locked; ++i) {
            QElapsedTimer one;
            one.start();
            pending += WriteDriversToDatabaseInAppdataWithSettings("2.10", "0x0180A2B3", programmerId(i % kProgrammers),
                                                                   QByteArray::number(i).rightJustified(16, '0'))
                       == RecordFate::Pending;
            l.push_back(one.nsecsElapsed() / 1e6);
        }
        sqlite3_exec(holder, "ROLLBACK;", nullptr, nullptr, nullptr);
        sqlite3_close(holder);
        std::printf("driver record write, drivers file locked: median %.2f ms, max %.2f ms over %d, %d kept pending "
                    "(target 250 ms)\n",
                    median(l), l.empty() ? 0.0 : *std::max_element(l.begin(), l.end()), locked, pending);
        QElapsedTimer one;
        one.start();
        WriteDriversToDatabaseInAppdataWithSettings("2.10", "0x0180A2B3", programmerId(1), "0000000000000001");
        std::printf("next write, moving %d pending records in first: %.2f ms (%d left pending)\n", pending,
                    one.nsecsElapsed() / 1e6, PendingRecordCount());
    }

    std::vector<double> r;
    int lines = 0;
    for (int i = 0; i < reports; ++i) {
        QElapsedTimer one;
        one.start();
        lines = int(ProgrammedDriversReportLines().size());
        r.push_back(one.nsecsElapsed() / 1e6);
    }
    std::printf("drivers report of %d lines: median %.2f ms over %d (target 100 ms)\n", lines, median(r), reports);

    // The export of every driver record, its memory measured on its own.
    const bool reset = resetPeakResident();
    const double before = peakResidentMb();
    const QString csv = QDir(folder).filePath(QStringLiteral("drivers_export.csv"));
    t.restart();
    const bool exported = ExportDriversCsv(csv, &error);
    const double seconds = t.elapsed() / 1000.0;
    std::printf("export of %lld driver records: %s in %.1f s, peak memory %.1f MB (%.1f MB before; %s) "
                "(targets 30 s, 100 MB), file %.1f MB\n",
                rowCount(DriversDatabasePath()), exported ? "done" : qPrintable(QStringLiteral("FAILED: ") + error),
                seconds, peakResidentMb(), before, reset ? "peak reset before the export" : "peak since start",
                QFileInfo(csv).size() / 1e6);
    QFile::remove(csv);
    return 0;
}
