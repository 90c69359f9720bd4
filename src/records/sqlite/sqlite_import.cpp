#include "records/sqlite/sqlite_import.h"

#include "records/record_columns.h"
#include "records/records_database.h"

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
qint64 countRecords(const QString &path, const char *countSql)
{
    sqlite3 *db = nullptr;
    qint64 rows = 0;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(db, countSql, -1, &stmt, nullptr) == SQLITE_OK
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
    const bool verifications = kind == PendingRecord::Kind::Verification;
    const QStringList &columns = kind == PendingRecord::Kind::Settings ? SettingsRecordColumns()
                                 : verifications                      ? VerificationRecordColumns()
                                                                      : DriverRecordColumns();
    const QString kindName = kind == PendingRecord::Kind::Settings ? QStringLiteral("settings")
                             : verifications                      ? QStringLiteral("verification")
                                                                  : QStringLiteral("driver");
    sqlite3 *db = nullptr;
    auto fail = [&](const QString &text) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), text);
        sqlite3_close(db);
        return false;
    };
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        return fail(db ? DatabaseText(sqlite3_errmsg(db)) : QStringLiteral("out of memory"));
    const QByteArray sql = QStringLiteral("SELECT id,%1 FROM %2 ORDER BY id;")
                               .arg(columns.join(QLatin1Char(',')),
                                    verifications ? QStringLiteral("Verifications") : QStringLiteral("ProgrammedLines"))
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
        const QByteArray identity = (QStringList{kindName, QString::number(sqlite3_column_int64(stmt, 0)),
                                                 record.created}
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
    struct File {
        QString path;
        PendingRecord::Kind kind;
        const char *countSql;
    };
    // Settings first: a driver record's settings were recorded before it.
    const File files[] = {
        {dir.filePath(kSettingsDatabaseFileName), PendingRecord::Kind::Settings, "SELECT count(*) FROM ProgrammedLines;"},
        {dir.filePath(kDriversDatabaseFileName), PendingRecord::Kind::Driver, "SELECT count(*) FROM ProgrammedLines;"},
        {dir.filePath(kVerificationsDatabaseFileName), PendingRecord::Kind::Verification,
         "SELECT count(*) FROM Verifications;"},
    };
    ImportProgress progress{report};
    bool any = false;
    for (const File &f : files)
        if (QFile::exists(f.path)) {
            any = true;
            progress.total += countRecords(f.path, f.countSql);
        }
    if (!any) {
        if (error)
            *error = QStringLiteral("%1 holds none of %2, %3, %4")
                         .arg(QDir::toNativeSeparators(folder), kSettingsDatabaseFileName, kDriversDatabaseFileName,
                              kVerificationsDatabaseFileName);
        return false;
    }
    if (report)
        report(0, progress.total);
    for (const File &f : files)
        if (QFile::exists(f.path) && !importFile(f.path, f.kind, target, counts, error, progress))
            return false;
    return true;
}
