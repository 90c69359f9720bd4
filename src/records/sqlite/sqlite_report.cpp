// The SQLite store's export of every driver record and the batch report's records.
#include "records/csv_export.h"
#include "records/record_columns.h"
#include "records/report_conditions.h"
#include "records/sqlite/sqlite_files.h"
#include "records/sqlite/sqlite_store.h"
#include "records/sqlite/sqlite_tables.h"

#include <QSaveFile>

using namespace sqlite_files;

namespace {

// Every driver record joined with the settings record that was the newest of
// its programmer when the driver was recorded.
const char *exportSql()
{
    static const QByteArray sql =
        QStringLiteral("SELECT d.id, %1, s.id AS settings_id, s.datetime AS settings_datetime, "
                       "s.programmer_NFC_FW AS settings_programmer_NFC_FW, %2, d.repeat "
                       "FROM main.ProgrammedLines AS d LEFT JOIN settingsdb.ProgrammedLines AS s ON s.id = "
                       "(SELECT x.id FROM settingsdb.ProgrammedLines AS x WHERE x.enOcean_HandHeldID = d.programmerID "
                       "AND x.datetime <= d.datetime ORDER BY x.datetime DESC, x.id DESC LIMIT 1) "
                       "ORDER BY d.datetime, d.id;")
            .arg(SqlColumnList(DriverRecordColumns(), QStringLiteral("d."), QStringLiteral(", ")),
                 SqlColumnList(SettingsProductColumns(), QStringLiteral("s."), QStringLiteral(", ")))
            .toUtf8();
    return sql.constData();
}

} // namespace

bool SqliteStore::exportDriversCsv(const QString &path, const QString &station, QString *error,
                                   const ExportProgress &progress)
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    if (!station.isEmpty())
        return fail(kNoStationText);
    {
        // Both files with their tables, so that the join below always has its tables.
        Connection s;
        if (!openSettings(s, SettingsCreateTableSql()))
            return fail(QStringLiteral("Settings database could not be opened: ") + s.lastError);
    }
    Connection c;
    if (!openDrivers(c))
        return fail(QStringLiteral("Drivers database could not be opened: ") + c.lastError);
    if (!runQuiet(c.get(), "ATTACH DATABASE ?1 AS settingsdb;", {SettingsDatabasePath()}, nullptr).ok())
        return fail(QStringLiteral("Settings database could not be attached"));

    // The rows go to the file one at a time; the old file is replaced only when
    // the new one is complete.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return fail(QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()));
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(c.get(), exportSql(), -1, &stmt, nullptr) != SQLITE_OK) {
        const QString text = DatabaseText(sqlite3_errmsg(c.get()));
        sqlite3_finalize(stmt);
        return fail(QStringLiteral("Driver records could not be read: ") + text);
    }
    const int columns = sqlite3_column_count(stmt);
    qint64 total = 0;
    qint64 rows = 0;
    if (progress) {
        // The count only sizes the progress line; when it cannot be read the
        // line shows the records written without a total.
        sqlite3_stmt *count = nullptr;
        if (sqlite3_prepare_v2(c.get(), "SELECT COUNT(*) FROM main.ProgrammedLines;", -1, &count, nullptr) == SQLITE_OK
            && sqlite3_step(count) == SQLITE_ROW)
            total = sqlite3_column_int64(count, 0);
        sqlite3_finalize(count);
        progress(0, total);
    }
    QByteArray line;
    auto field = [&line](int column, const QString &text) {
        if (column > 0)
            line += ',';
        line += CsvField(text).toUtf8();
    };
    for (int i = 0; i < columns; ++i)
        field(i, QString::fromUtf8(sqlite3_column_name(stmt, i)));
    bool written = file.write(line + '\n') >= 0;
    int rc = SQLITE_OK;
    while (written && (rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        line.clear();
        for (int i = 0; i < columns; ++i) {
            const char *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, i));
            field(i, text ? DatabaseText(text) : QString());
        }
        written = file.write(line + '\n') >= 0;
        if (progress && written)
            progress(++rows, total);
    }
    QString readError;
    if (rc != SQLITE_DONE) {
        readError = DatabaseText(sqlite3_errmsg(c.get()));
        if (readError.isEmpty())
            readError = QStringLiteral("SQLite error %1").arg(rc);
    }
    sqlite3_finalize(stmt);
    return FinishCsvExport(file, path, written, readError, error);
}

namespace {

// The conditions of a report selection on the records `alias` (time and
// programmer columns named), with their values bound in order.
QString reportConditions(const ReportSelection &selection, const QString &time, const QString &programmer,
                         QStringList *values)
{
    // The files hold one station's records: the selection's station is no condition.
    static const ReportConditionDialect dialect{QStringLiteral("?%1"), QStringLiteral("?%1"), {}};
    return ReportConditions(selection, {time, programmer, QString()}, dialect, values);
}

} // namespace

bool SqliteStore::readReport(const ReportSelection &selection, QList<ReportTransfer> *transfers,
                             const ReportSink &sink, QString *error)
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    if (!selection.station.isEmpty())
        return fail(kNoStationText);
    // The three files with their tables, so that the joins below always have them.
    for (const RecordFile *file : {&kSettingsFile, &kVerificationsFile}) {
        Connection f;
        const Quiet q = openForRecord(f, *file, BusyBudget(DatabaseBusyTimeout()));
        if (!q.ok())
            return fail(databaseName(*file) + QStringLiteral(" could not be opened: ") + q.error);
    }
    Connection c;
    Quiet q = openForRecord(c, kDriversFile, BusyBudget(DatabaseBusyTimeout()));
    if (!q.ok())
        return fail(QStringLiteral("Drivers database could not be opened: ") + q.error);
    q = runQuiet(c.get(), "ATTACH DATABASE ?1 AS settingsdb;", {SettingsDatabasePath()}, nullptr);
    if (q.ok())
        q = runQuiet(c.get(), "ATTACH DATABASE ?1 AS verifydb;", {VerificationsDatabasePath()}, nullptr);
    if (!q.ok())
        return fail(QStringLiteral("Records could not be read together: ") + q.error);

    const QStringList settingValues = SettingsRecordColumns().mid(1);
    QStringList values;
    const QString transferSql = QStringLiteral("SELECT id,datetime,%1 FROM settingsdb.ProgrammedLines%2 "
                                               "ORDER BY datetime, id;")
                                    .arg(settingValues.join(QLatin1Char(',')),
                                         reportConditions(selection, QStringLiteral("datetime"),
                                                          QStringLiteral("enOcean_HandHeldID"), &values));
    SQLiteAnswerClass settings;
    q = runQuiet(c.get(), transferSql.toUtf8().constData(), values, &settings);
    if (!q.ok())
        return fail(QStringLiteral("Settings records could not be read: ") + q.error);
    for (int r = 0; r < settings.GetRowCount(); ++r) {
        ReportTransfer t{settings.Get(0, r), settings.Get(1, r), {}};
        for (int col = 2; col < settings.GetColoumCount(); ++col)
            t.values << settings.Get(col, r, QString());
        transfers->append(t);
    }

    values.clear();
    const QString where =
        reportConditions(selection, QStringLiteral("d.datetime"), QStringLiteral("d.programmerID"), &values);
    if (sink.total) {
        SQLiteAnswerClass count;
        q = runQuiet(c.get(), (QStringLiteral("SELECT count(*) FROM main.ProgrammedLines AS d") + where).toUtf8().constData(),
                     values, &count);
        if (!q.ok())
            return fail(QStringLiteral("Driver records could not be read: ") + q.error);
        sink.total(count.GetInt(0, 0, 0));
    }
    const QByteArray driverSql =
        QStringLiteral(
            "SELECT d.datetime,d.serialNumber,d.programmerID,d.programmer_NFC_FW,d.repeat,v.datetime,v.result,"
            "v.differences,s.id,s.datetime,%1 FROM main.ProgrammedLines AS d "
            "LEFT JOIN settingsdb.ProgrammedLines AS s ON s.id = (SELECT x.id FROM settingsdb.ProgrammedLines AS x "
            "WHERE x.enOcean_HandHeldID = d.programmerID AND x.datetime <= d.datetime "
            "ORDER BY x.datetime DESC, x.id DESC LIMIT 1) "
            // A verification belongs to the driver record it follows: the newest record
            // of its serial at or before its time. A driver programmed again later is
            // another record, and what was verified after it does not speak for this one.
            "LEFT JOIN verifydb.Verifications AS v ON v.id = (SELECT y.id FROM verifydb.Verifications AS y "
            "WHERE y.serialNumber = d.serialNumber AND y.datetime >= d.datetime AND NOT EXISTS "
            "(SELECT 1 FROM main.ProgrammedLines AS n WHERE n.serialNumber = d.serialNumber "
            "AND (n.datetime > d.datetime OR (n.datetime = d.datetime AND n.id > d.id)) AND n.datetime <= y.datetime) "
            "ORDER BY y.datetime DESC, y.id DESC LIMIT 1)%2 "
            "ORDER BY s.datetime, s.id, d.datetime, d.id;")
            .arg(SqlColumnList(settingValues, QStringLiteral("s.")), where)
            .toUtf8();
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(c.get(), driverSql.constData(), -1, &stmt, nullptr) != SQLITE_OK) {
        const QString text = DatabaseText(sqlite3_errmsg(c.get()));
        sqlite3_finalize(stmt);
        return fail(QStringLiteral("Driver records could not be read: ") + text);
    }
    for (int i = 0; i < values.size(); ++i) {
        const QByteArray utf8 = values[i].toUtf8();
        sqlite3_bind_text(stmt, i + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    auto text = [stmt](int col) {
        const char *t = reinterpret_cast<const char *>(sqlite3_column_text(stmt, col));
        return t ? DatabaseText(t) : QString();
    };
    int rc = SQLITE_OK;
    bool going = true;
    while (going && (rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        ReportDriver d;
        d.datetime = text(0);
        d.serial = text(1);
        d.programmerId = text(2);
        d.programmerFw = text(3);
        d.repeat = sqlite3_column_int(stmt, 4) != 0;
        d.verifyTime = text(5);
        d.verifyResult = text(6);
        d.verifyDifferences = text(7);
        d.transfer.id = text(8);
        d.transfer.datetime = text(9);
        for (int col = 10; col < sqlite3_column_count(stmt); ++col)
            d.transfer.values << text(col);
        going = sink.driver(d);
    }
    const QString readError = DatabaseText(sqlite3_errmsg(c.get()));
    sqlite3_finalize(stmt);
    if (going && rc != SQLITE_DONE)
        return fail(QStringLiteral("Driver records could not be read: ") + readError);
    return true;
}
