#include "records/records_outbox.h"

#include "common/dialogs.h"

OutboxNotifier &outboxNotifier()
{
    static OutboxNotifier notifier;
    return notifier;
}

RecordFate KeepInOutbox(const PendingRecord &record)
{
    PendingJournal outbox(PendingRecordsJournalPath());
    QString error;
    if (!outbox.append(record, &error)) {
        dialogs().message(QStringLiteral("Error"),
                          QStringLiteral("A record was lost: it could not be kept in %1 (%2): %3")
                              .arg(outbox.path(), error, record.describe()),
                          MsgButtons::OK, MsgIcon::Error);
        return RecordFate::Lost;
    }
    emit outboxNotifier().appended();
    return RecordFate::Pending;
}

RecordFate QueueSettingsRecord(const STRUCT_XML_FILE_VARIABLES &profile)
{
    return KeepInOutbox(SettingsRecordOf(profile));
}

RecordFate QueueDriverRecord(const QString &programmerFw, const QString &ownId, const QString &programmerId,
                             const QString &serial, int reportRecord)
{
    QStringList values{ownId, programmerFw, programmerId, serial};
    for (int i = 0; i < 13; ++i)
        values << QString();
    PendingRecord record = PendingRecord::make(PendingRecord::Kind::Driver, values);
    record.lookupDeferred = true;
    record.reportRecord = reportRecord;
    return KeepInOutbox(record);
}

RecordFate QueueVerificationRecord(const VerificationRecord &record)
{
    return KeepInOutbox(VerificationRecordOf(record));
}
