#include "station/verification_records.h"

#include "records/records_outbox.h"
#include "verify/verify_session.h"

VerificationRecords::VerificationRecords(VerifySession &session, QObject *parent) : QObject(parent)
{
    connect(&session, &VerifySession::driverVerified, this,
            [](const TagVerification &result) { recordVerification(result); });
}

RecordFate VerificationRecords::recordVerification(const TagVerification &result)
{
    VerificationRecord record;
    record.serial = result.serial;
    record.programmerId = result.programmerId;
    record.slot = QString::number(result.slot);
    record.result = result.resultText();
    record.differences = result.differences.join(QLatin1Char('\n'));
    return QueueVerificationRecord(record);
}
