#pragma once
// The outbox: every record (settings, driver, verification) is first appended to
// the station's pending-records journal beside the record files and synced to
// the disk; the records writer (records_writer.h) moves it into the store. The
// append is the only record work on the radio path.

#include "profile/profile_record.h"
#include "records/records_database.h"

#include <QObject>

// Tells the writer of this process that a record was appended.
class OutboxNotifier : public QObject {
    Q_OBJECT
signals:
    void appended();
};
OutboxNotifier &outboxNotifier();

// Appends `record` to the outbox: Pending once it is on the disk; Lost, with a
// message box naming the record and the reason, when it cannot be kept.
RecordFate KeepInOutbox(const PendingRecord &record);

// The three records, as the writer moves them in. A driver record's 13 setting
// texts are those of the newest settings record of its programmer: looked up
// when the writer moves it in. The writer moves the records in the order they
// were made, so the settings record of the transfer that came before the driver
// is in the store by then, wherever it was when the driver was reported.
RecordFate QueueSettingsRecord(const STRUCT_XML_FILE_VARIABLES &profile);
RecordFate QueueDriverRecord(const QString &programmerFw, const QString &ownId, const QString &programmerId,
                             const QString &serial, int reportRecord = 0);
RecordFate QueueVerificationRecord(const VerificationRecord &record);
