#pragma once
// The records in three SQLite files in one folder (the records folder of
// records_database.h): the settings file and the drivers file, each with its
// ProgrammedLines table, and the verifications file with its Verifications table. Each operation opens its file, runs its statements and
// closes it again; no connection stays open between operations.

#include "records/records_database.h"
#include "records/records_store.h"

class SqliteStore : public RecordsStore {
public:
    QString location() const override;
    bool prepare(QString *error) override;
    StoreResult lookUpSettings(const QString &programmerId, const QString &upTo, const BusyBudget &budget,
                               QStringList *settings) override;
    StoreResult insert(const PendingRecord &record, bool once, const BusyBudget &budget) override;
    bool query(RecordQuery which, int limit, const QString &station, SQLiteAnswerClass &answer,
               QString *error) override;
    bool newestVerification(const QString &serial, SQLiteAnswerClass &answer, QString *error) override;
    bool readReport(const ReportSelection &selection, QList<ReportTransfer> *transfers, const ReportSink &sink,
                    QString *error) override;
    bool exportDriversCsv(const QString &path, const QString &station, QString *error,
                          const ExportProgress &progress) override;
    // The copy for the records writer prepares the files within a record's busy
    // budget: nothing waits for the writer, and a file another program holds at
    // start gets its indexes with the first record instead.
    std::unique_ptr<RecordsStore> clone() const override;

private:
    int prepareBusyMs_ = kStartBusyTimeoutMs;
};
