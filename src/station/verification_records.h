#pragma once
// The records of verify mode: every driver the verify session compared becomes a
// verification record (serial, programmer ID, slot, PASS / FAIL and the
// differences one per line), appended to the outbox like the other records. The desktop program and the command line each connect
// one object to their verify session.

#include "records/records_database.h"

#include <QObject>

class VerifySession;
struct TagVerification;

class VerificationRecords : public QObject {
    Q_OBJECT
public:
    explicit VerificationRecords(VerifySession &session, QObject *parent = nullptr);

    // The record of one result.
    static RecordFate recordVerification(const TagVerification &result);
};
