#include "records/records_database.h"

#include "common/app_data.h"
#include "common/dialogs.h"
#include "profile/parameter_table.h"

#include <QDir>
#include <QMutex>

#include <atomic>

namespace {

// The folder and the busy budget are read by the records writer's thread too.
QMutex g_folderLock;
QString g_folder;
std::atomic<int> g_busyTimeoutMs{kRecordBusyBudgetMs};
PendingRecordsObserver g_observer;
QString g_lastFailure;

// The "database" folder among the program's application-data folders.
QString defaultFolder() { return ProgramDataSubfolder(QStringLiteral("database")); }


PendingJournal journal() { return PendingJournal(PendingRecordsJournalPath()); }

// Moves the journal's records in, oldest first, until one fails. Returns the
// number left; `error` receives the reason of the failure.
int flushJournal(const BusyBudget &budget, QString *error)
{
    PendingJournal j = journal();
    QList<PendingRecord> records;
    if (!j.read(&records, error))
        return j.count() > 0 ? j.count() : 1;
    if (records.isEmpty())
        return 0;
    qsizetype done = 0;
    for (; done < records.size(); ++done) {
        const StoreResult q = activeRecordsStore().insert(records[done], true, budget);
        if (!q.ok()) {
            if (error)
                *error = q.error;
            break;
        }
    }
    if (done == 0)
        return int(records.size());
    const QList<PendingRecord> left = records.mid(done);
    QSet<QString> taken;
    for (qsizetype i = 0; i < done; ++i)
        taken.insert(records[i].id);
    QString rewriteError;
    // Only the records taken in leave: one appended meanwhile by another thread stays.
    if (!j.remove(taken, &rewriteError)) {
        // The records taken in are recorded in their files: the next flush skips them.
        if (error)
            *error = QStringLiteral("pending-records journal could not be rewritten: ") + rewriteError;
    }
    return int(left.size());
}

void notify(int pending, bool firstFailure)
{
    if (g_observer)
        g_observer(pending, firstFailure ? g_lastFailure : QString());
}

// Writes one record: first the pending ones, oldest first; the record itself
// goes into the journal when it cannot be written or older records still wait.
// `repeat` gets the store's mark of a driver record written now.
RecordFate writeRecord(PendingRecord record, const BusyBudget &budget, bool *repeat = nullptr)
{
    if (repeat)
        *repeat = false;
    PendingJournal j = journal();
    const int pendingBefore = j.count();
    QString error;
    int left = pendingBefore > 0 ? flushJournal(budget, &error) : 0;
    if (left == 0) {
        const StoreResult q = activeRecordsStore().insert(record, false, budget);
        if (q.ok()) {
            if (pendingBefore > 0)
                notify(0, false);
            if (repeat)
                *repeat = q.repeat;
            return RecordFate::Written;
        }
        error = q.error;
    }
    QString journalError;
    if (!j.append(record, &journalError)) {
        g_lastFailure = QStringLiteral("A record was lost: it could not be written to the database (%1) "
                                       "nor kept in %2 (%3): %4")
                            .arg(error, j.path(), journalError, record.describe());
        dialogs().message(QStringLiteral("Error"), g_lastFailure, MsgButtons::OK, MsgIcon::Error);
        notify(left, false);
        return RecordFate::Lost;
    }
    g_lastFailure = error;
    notify(left + 1, pendingBefore == 0);
    return RecordFate::Pending;
}

} // namespace

void setDatabaseFolder(const QString &folder)
{
    const QMutexLocker locked(&g_folderLock);
    g_folder = folder;
}

QString DatabaseFolderName()
{
    QString folder;
    {
        const QMutexLocker locked(&g_folderLock);
        folder = g_folder;
    }
    return folder.isEmpty() ? defaultFolder() : folder;
}

QString DatabaseFolder()
{
    const QString folder = DatabaseFolderName();
    QDir().mkpath(folder);
    return folder;
}

QString SettingsDatabasePath() { return QDir(DatabaseFolder()).filePath(kSettingsDatabaseFileName); }
QString DriversDatabasePath() { return QDir(DatabaseFolder()).filePath(kDriversDatabaseFileName); }
QString VerificationsDatabasePath() { return QDir(DatabaseFolder()).filePath(kVerificationsDatabaseFileName); }

void setDatabaseBusyTimeout(int milliseconds) { g_busyTimeoutMs = milliseconds; }

int DatabaseBusyTimeout() { return g_busyTimeoutMs; }

PendingRecord SettingsRecordOf(const STRUCT_XML_FILE_VARIABLES &p)
{
    // The identity columns, then one column per parameter in the table's column order.
    const QStringList values = QStringList{p.enOcean_HandHeldID, p.programmer_Nfc_FW, p.familyName, p.type,
                                           p.ref_number, p.editGTIN, p.editFW, p.editHW, p.editSerial}
                               + RecordParameterValues(p);
    return PendingRecord::make(PendingRecord::Kind::Settings, values);
}

PendingRecord VerificationRecordOf(const VerificationRecord &v)
{
    return PendingRecord::make(PendingRecord::Kind::Verification,
                               {v.serial, v.programmerId, v.slot, v.result, v.differences});
}

RecordFate WriteSettingsRecord(const STRUCT_XML_FILE_VARIABLES &p)
{
    const BusyBudget budget(g_busyTimeoutMs);
    return writeRecord(SettingsRecordOf(p), budget);
}

RecordFate WriteSettingsToDatabaseInAppdata() { return WriteSettingsRecord(activeProfile()); }

RecordFate WriteDriversToDatabaseInAppdataWithSettings(const QString &programmerFw, const QString &ownId,
                                                       const QString &programmerId, const QString &serial,
                                                       bool *repeat, int reportRecord)
{
    const BusyBudget budget(g_busyTimeoutMs);
    QStringList settings;
    const StoreResult lookup = activeRecordsStore().lookUpSettings(programmerId, QString(), budget, &settings);
    PendingRecord record =
        PendingRecord::make(PendingRecord::Kind::Driver, QStringList{ownId, programmerFw, programmerId, serial} + settings);
    // A busy settings file (or a server away) is looked up again when the record is moved in.
    record.lookupDeferred = lookup.retryLater();
    record.reportRecord = reportRecord;
    return writeRecord(record, budget, repeat);
}

RecordFate WriteVerificationRecord(const VerificationRecord &v)
{
    const BusyBudget budget(g_busyTimeoutMs);
    return writeRecord(VerificationRecordOf(v), budget);
}

bool NewestVerification(const QString &serial, VerificationRecord *record, QString *time, QString *error)
{
    SQLiteAnswerClass answer;
    if (!activeRecordsStore().newestVerification(serial, answer, error) || answer.GetRowCount() == 0)
        return false;
    // id, datetime, station, serialNumber, programmerID, slot, result, differences
    if (time)
        *time = answer.Get(1, 0, QString());
    if (record)
        *record = VerificationRecord{answer.Get(3, 0, QString()), answer.Get(4, 0, QString()),
                                     answer.Get(5, 0, QString()), answer.Get(6, 0, QString()),
                                     answer.Get(7, 0, QString())};
    return true;
}

QString PendingRecordsJournalPath() { return QDir(DatabaseFolder()).filePath(kPendingRecordsFileName); }

int PendingRecordCount() { return journal().count(); }

bool ReadPendingRecords(QList<PendingRecord> *records, QString *error) { return journal().read(records, error); }

int FlushPendingRecords(QString *error)
{
    const int before = PendingRecordCount();
    const BusyBudget budget(g_busyTimeoutMs);
    const int left = flushJournal(budget, error);
    if (left != before)
        notify(left, false);
    return left;
}

QString LastRecordFailure() { return g_lastFailure; }

void setPendingRecordsObserver(PendingRecordsObserver observer) { g_observer = std::move(observer); }

void RefreshPendingRecordsObserver() { notify(PendingRecordCount(), false); }

bool PrepareRecordDatabases(QString *error) { return activeRecordsStore().prepare(error); }

bool ReadNewestRecords(RecordDatabase which, int limit, SQLiteAnswerClass &answer)
{
    QString error;
    const RecordQuery query = which == RecordDatabase::Settings  ? RecordQuery::SettingsNewest
                              : which == RecordDatabase::Drivers ? RecordQuery::DriversNewest
                                                                 : RecordQuery::VerificationsNewest;
    const bool ok = activeRecordsStore().query(query, limit, QString(), answer, &error);
    if (!ok)
        dialogs().message(QString(), error);
    return ok;
}

QStringList RecordReportLines(const SQLiteAnswerClass &answer, int limit)
{
    QStringList lines;
    const int n = std::min(answer.GetRowCount(), limit);
    for (int i = 0; i < n; ++i) {
        QString line = QString::number(i) + QStringLiteral("  ");
        for (int col = 0; col < answer.GetColoumCount(); ++col)
            line += answer.Get(col, i) + QStringLiteral(" - ");
        lines << line;
    }
    return lines;
}

QStringList ProgrammedDriversReportLines(int limit, QString *error, bool markRepeats)
{
    SQLiteAnswerClass answer;
    QString reason;
    if (!activeRecordsStore().query(RecordQuery::DriversReport, limit, QString(), answer, &reason)) {
        if (error)
            *error = reason;
        else
            dialogs().message(QString(), reason);
        return {};
    }
    QStringList lines = RecordReportLines(answer, limit);
    // The repeat mark is the last column.
    const int repeat = answer.GetColoumCount() - 1;
    for (int i = 0; markRepeats && i < lines.size(); ++i)
        if (answer.GetHeader(repeat) == QLatin1String("repeat") && answer.Get(repeat, i) == QLatin1String("1"))
            lines[i] += kRepeatLineMark;
    return lines;
}

bool ExportDriversCsv(const QString &path, QString *error,
                      const std::function<void(qint64 written, qint64 total)> &progress)
{
    return activeRecordsStore().exportDriversCsv(path, QString(), error, progress);
}
