// Fuzz target: the records code on foreign files in its database folder. The
// first byte says which of the four files the rest of the bytes become (bit 0:
// the drivers database, bit 1: the settings database, bit 2: the pending-records
// journal, bit 3: the verifications database; a file not chosen is absent); then
// every reading operation runs, as the records window, the batch report and the
// command line do, and finally the preparation at start, which creates the
// tables a file lacks.
#include "fuzz_targets.h"

#include "records/records_database.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace {
void place(const QString &path, bool chosen, const QByteArray &bytes)
{
    QFile::remove(path);
    if (!chosen)
        return;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", path.toUtf8().constData());
        std::abort();
    }
}
} // namespace

int FuzzRecordsReader(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    static QTemporaryDir folder;
    if (!folder.isValid())
        std::abort();
    const uint8_t which = data[0];
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    setDatabaseFolder(folder.path());
    setDatabaseBusyTimeout(0);
    place(DriversDatabasePath(), which & 1, bytes);
    place(SettingsDatabasePath(), which & 2, bytes);
    place(PendingRecordsJournalPath(), which & 4, bytes);
    place(VerificationsDatabasePath(), which & 8, bytes);

    for (RecordDatabase db : {RecordDatabase::Settings, RecordDatabase::Drivers, RecordDatabase::Verifications}) {
        SQLiteAnswerClass answer;
        if (ReadNewestRecords(db, 5, answer))
            (void)RecordReportLines(answer, 5);
    }
    QString error;
    (void)ProgrammedDriversReportLines(kReportLineLimit, &error);
    const QString csv = folder.filePath(QStringLiteral("export.csv"));
    (void)ExportDriversCsv(csv, &error, [](qint64 written, qint64 total) {
        if (written < 0 || total < 0) {
            std::fprintf(stderr, "export progress %lld of %lld\n", static_cast<long long>(written),
                         static_cast<long long>(total));
            std::abort();
        }
    });
    QFile::remove(csv);
    VerificationRecord verification;
    QString time;
    (void)NewestVerification(QStringLiteral("0000000000000001"), &verification, &time, &error);
    QList<ReportTransfer> transfers;
    qint64 announced = -1, seen = 0;
    ReportSink sink;
    sink.total = [&](qint64 drivers) { announced = drivers; };
    sink.driver = [&](const ReportDriver &) { return ++seen < 1000; };
    if (activeRecordsStore().readReport(ReportSelection{}, &transfers, sink, &error) && announced >= 0
        && seen > announced) {
        std::fprintf(stderr, "report: %lld drivers announced, %lld read\n", static_cast<long long>(announced),
                     static_cast<long long>(seen));
        std::abort();
    }
    (void)PendingRecordCount();
    QList<PendingRecord> pending;
    (void)ReadPendingRecords(&pending, &error);
    (void)PrepareRecordDatabases(&error);
    setDatabaseFolder(QString());
    return 0;
}
