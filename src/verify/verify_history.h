#pragma once
// What the verify panel keeps of one verify session: every driver verified, newest
// first, with the time of its result, and which result is shown large. A FAIL is
// held in the large field until the operator acknowledges it or, when a hold time
// is set, until that time has passed; results that arrive meanwhile go into the
// list, so a FAIL is never covered by the PASS of the next driver unseen. The
// clock is given, so that the hold can be followed without waiting.

#include "verify/tag_verification.h"

#include <QDateTime>
#include <QList>
#include <functional>

struct VerifiedDriver {
    TagVerification result;
    QDateTime time; // when the result arrived
};

class VerifyHistory {
public:
    using Clock = std::function<QDateTime()>;
    // `now` defaults to the system clock.
    explicit VerifyHistory(Clock now = {});
    void setClock(Clock now);

    // How long a FAIL stays in the large field without being acknowledged; 0 or
    // less: until it is acknowledged.
    void setFailHoldMs(qint64 ms) { holdMs_ = ms; }
    qint64 failHoldMs() const { return holdMs_; }

    // A new session: no entries, counts 0.
    void clear();
    void add(const TagVerification &result);

    // Newest first.
    const QList<VerifiedDriver> &entries() const { return entries_; }
    int passedCount() const { return passed_; }
    int failedCount() const { return failed_; }
    // The serials of the failed drivers, oldest first.
    QStringList failedSerials() const;

    // The entry for the large field: the held FAIL while there is one, else the
    // newest result that was not acknowledged; nullptr when none (the field waits
    // for the next driver).
    const VerifiedDriver *shown() const;
    // A FAIL is held (the panel offers the acknowledgement).
    bool failHeld() const { return heldIndex() >= 0; }
    // The operator saw the held FAIL(s): every FAIL so far is released.
    void acknowledge();
    // Milliseconds until the held FAIL is released by the hold time; -1 when no
    // FAIL is held or it is held until acknowledged.
    qint64 msUntilRelease() const;

private:
    int heldIndex() const; // index in entries_ of the FAIL shown, -1 none

    Clock now_;
    qint64 holdMs_ = 0;
    QList<VerifiedDriver> entries_;
    int acknowledgedUpTo_ = 0; // entries added before the last acknowledgement (counted from the oldest)
    int passed_ = 0;
    int failed_ = 0;
};

// The closing line of a verify run of `asked` drivers: "Verified 3 of 3 drivers:
// 2 passed, 1 failed: <serial>, ..." naming every failed serial, oldest first.
QString VerifySummaryLine(const VerifyHistory &history, int asked);
