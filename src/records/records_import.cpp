#include "records/records_import.h"

#include "records/records_database.h"
#include "records/sqlite_store.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <sqlite3.h>

namespace {

// How far the import has come over both files.
struct ImportProgress {
    const ExportProgress &report;
    qint64 total = 0;
    qint64 done = 0;
    void step()
    {
        ++done;
        if (report)
            report(done, total);
    }
};

// The rows of one file's table; 0 when the file or its table cannot be read
// (the import itself then says why).
qint64 countRecords(const QString &path)
{
    sqlite3 *db = nullptr;
    qint64 rows = 0;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT count(*) FROM ProgrammedLines;", -1, &stmt, nullptr) == SQLITE_OK
            && sqlite3_step(stmt) == SQLITE_ROW)
            rows = sqlite3_column_int64(stmt, 0);
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return rows;
}

bool importFile(const QString &path, PendingRecord::Kind kind, RecordsStore &target, ImportCounts *counts,
                QString *error, ImportProgress &progress)
{
    const bool settings = kind == PendingRecord::Kind::Settings;
    const QStringList &columns = settings ? SettingsRecordColumns() : DriverRecordColumns();
    sqlite3 *db = nullptr;
    auto fail = [&](const QString &text) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), text);
        sqlite3_close(db);
        return false;
    };
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        return fail(db ? DatabaseText(sqlite3_errmsg(db)) : QStringLiteral("out of memory"));
    const QByteArray sql = QStringLiteral("SELECT id,%1 FROM ProgrammedLines ORDER BY id;")
                               .arg(columns.join(QLatin1Char(',')))
                               .toUtf8();
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK)
        return fail(DatabaseText(sqlite3_errmsg(db)));
    const BusyBudget budget(kStartBusyTimeoutMs);
    int rc = SQLITE_OK;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        QStringList values;
        for (int c = 1; c <= int(columns.size()); ++c) {
            const char *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, c));
            values << (text ? DatabaseText(text) : QString());
        }
        PendingRecord record;
        record.kind = kind;
        record.created = values.takeFirst();
        const QByteArray identity = (QStringList{settings ? QStringLiteral("settings") : QStringLiteral("driver"),
                                                 QString::number(sqlite3_column_int64(stmt, 0)), record.created}
                                     + values)
                                        .join(QChar(0x1f))
                                        .toUtf8();
        record.id = QStringLiteral("import-")
                    + QString::fromLatin1(QCryptographicHash::hash(identity, QCryptographicHash::Sha256).toHex());
        record.values = values;
        const StoreResult r = target.insert(record, true, budget);
        if (!r.ok()) {
            sqlite3_finalize(stmt);
            return fail(QStringLiteral("record %1 could not be written: %2")
                            .arg(sqlite3_column_int64(stmt, 0))
                            .arg(r.error));
        }
        ++(r.inserted ? counts->added : counts->present);
        progress.step();
    }
    const QString readError = DatabaseText(sqlite3_errmsg(db));
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE)
        return fail(readError);
    sqlite3_close(db);
    return true;
}

} // namespace

bool ImportSqliteRecords(const QString &folder, RecordsStore &target, ImportCounts *counts, QString *error,
                         const ExportProgress &report)
{
    const QDir dir(folder);
    const QString settings = dir.filePath(kSettingsDatabaseFileName);
    const QString drivers = dir.filePath(kDriversDatabaseFileName);
    if (!QFile::exists(settings) && !QFile::exists(drivers)) {
        if (error)
            *error = QStringLiteral("%1 holds neither %2 nor %3")
                         .arg(QDir::toNativeSeparators(folder), kSettingsDatabaseFileName, kDriversDatabaseFileName);
        return false;
    }
    ImportProgress progress{report};
    for (const QString &path : {settings, drivers})
        if (QFile::exists(path))
            progress.total += countRecords(path);
    if (report)
        report(0, progress.total);
    // Settings first: a driver record's settings were recorded before it.
    if (QFile::exists(settings)
        && !importFile(settings, PendingRecord::Kind::Settings, target, counts, error, progress))
        return false;
    return !QFile::exists(drivers)
           || importFile(drivers, PendingRecord::Kind::Driver, target, counts, error, progress);
}
