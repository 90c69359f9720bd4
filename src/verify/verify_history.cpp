#include "verify/verify_history.h"

#include <algorithm>

VerifyHistory::VerifyHistory(Clock now) { setClock(std::move(now)); }

void VerifyHistory::setClock(Clock now)
{
    now_ = now ? std::move(now) : Clock([] { return QDateTime::currentDateTimeUtc(); });
}

void VerifyHistory::clear()
{
    entries_.clear();
    acknowledgedUpTo_ = passed_ = failed_ = 0;
}

void VerifyHistory::add(const TagVerification &result)
{
    entries_.prepend({result, now_()});
    ++(result.passed ? passed_ : failed_);
}

QStringList VerifyHistory::failedSerials() const
{
    QStringList serials;
    for (auto it = entries_.crbegin(); it != entries_.crend(); ++it)
        if (!it->result.passed)
            serials << it->result.serial;
    return serials;
}

int VerifyHistory::heldIndex() const
{
    // The newest FAIL not acknowledged and, with a hold time, not expired. An
    // older FAIL is covered only by a newer FAIL, which holds the field itself.
    const int unacknowledged = int(entries_.size()) - acknowledgedUpTo_;
    for (int i = 0; i < unacknowledged; ++i) {
        const VerifiedDriver &e = entries_[i];
        if (e.result.passed)
            continue;
        if (holdMs_ > 0 && e.time.msecsTo(now_()) >= holdMs_)
            return -1; // an older FAIL arrived earlier still: expired as well
        return i;
    }
    return -1;
}

const VerifiedDriver *VerifyHistory::shown() const
{
    const int held = heldIndex();
    if (held >= 0)
        return &entries_[held];
    const int unacknowledged = int(entries_.size()) - acknowledgedUpTo_;
    return unacknowledged > 0 ? &entries_.first() : nullptr;
}

void VerifyHistory::acknowledge() { acknowledgedUpTo_ = int(entries_.size()); }

qint64 VerifyHistory::msUntilRelease() const
{
    const int held = heldIndex();
    if (held < 0 || holdMs_ <= 0)
        return -1;
    return std::max<qint64>(0, holdMs_ - entries_[held].time.msecsTo(now_()));
}

QString VerifySummaryLine(const VerifyHistory &history, int asked)
{
    const int verified = history.passedCount() + history.failedCount();
    QString line = QStringLiteral("Verified %1 of %2 drivers: %3 passed, %4 failed")
                       .arg(verified)
                       .arg(asked)
                       .arg(history.passedCount())
                       .arg(history.failedCount());
    if (history.failedCount() > 0)
        line += QStringLiteral(": ") + history.failedSerials().join(QStringLiteral(", "));
    return line;
}
