// What the verify panel keeps of a session: every driver, newest first; a FAIL
// held in the large field against the next drivers' results until acknowledged
// or its hold time is up (on a clock the test moves); the closing summary line.
#include "verify/verify_history.h"

#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

TagVerification result(const QString &serial, bool passed)
{
    TagVerification r;
    r.serial = serial;
    r.passed = passed;
    if (!passed)
        r.differences << QStringLiteral("L3: expected 88 %, found 50 %");
    return r;
}

class VerifyHistoryTest : public ::testing::Test {
protected:
    QDateTime now = QDateTime(QDate(2026, 12, 10), QTime(8, 0), Qt::UTC);
    VerifyHistory history{[this] { return now; }};

    void add(const char *serial, bool passed) { history.add(result(QString::fromLatin1(serial), passed)); }
    QString shownSerial() const { return history.shown() ? history.shown()->result.serial : QStringLiteral("-"); }
    QStringList listed() const
    {
        QStringList serials;
        for (const VerifiedDriver &e : history.entries())
            serials << e.result.serial + (e.result.passed ? "+" : "!");
        return serials;
    }
};

TEST_F(VerifyHistoryTest, AFailIsNotCoveredByTheNextDriversUntilAcknowledged)
{
    EXPECT_EQ(history.shown(), nullptr);
    add("A", true);
    EXPECT_EQ(shownSerial(), "A");
    EXPECT_FALSE(history.failHeld());
    add("B", false);
    now = now.addSecs(3600); // no hold time: only the operator releases it
    add("C", true);
    add("D", true);
    EXPECT_EQ(shownSerial(), "B");
    EXPECT_TRUE(history.failHeld());
    EXPECT_EQ(history.msUntilRelease(), -1);
    EXPECT_EQ(listed(), QStringList({"D+", "C+", "B!", "A+"}));
    EXPECT_EQ(history.entries().first().time, now);
    EXPECT_EQ(history.entries().last().time, now.addSecs(-3600));

    history.acknowledge();
    EXPECT_FALSE(history.failHeld());
    EXPECT_EQ(history.shown(), nullptr); // ready for the next driver
    add("E", true);
    EXPECT_EQ(shownSerial(), "E");
    // The list and the counts keep everything.
    EXPECT_EQ(listed(), QStringList({"E+", "D+", "C+", "B!", "A+"}));
    EXPECT_EQ(history.passedCount(), 4);
    EXPECT_EQ(history.failedCount(), 1);
}

TEST_F(VerifyHistoryTest, ANewerFailTakesTheFieldAndOneAcknowledgementReleasesBoth)
{
    add("A", false);
    add("B", true);
    add("C", false);
    add("D", true);
    EXPECT_EQ(shownSerial(), "C");
    history.acknowledge();
    EXPECT_FALSE(history.failHeld());
    EXPECT_EQ(history.failedSerials(), QStringList({"A", "C"}));
    // Acknowledging with nothing held changes nothing.
    add("E", true);
    history.acknowledge();
    EXPECT_EQ(history.shown(), nullptr);
}

TEST_F(VerifyHistoryTest, WithAHoldTimeTheFailIsReleasedWhenItIsUp)
{
    history.setFailHoldMs(5000);
    add("A", false);
    now = now.addMSecs(2000);
    add("B", true);
    EXPECT_EQ(shownSerial(), "A");
    EXPECT_EQ(history.msUntilRelease(), 3000);
    now = now.addMSecs(2999);
    EXPECT_EQ(shownSerial(), "A");
    EXPECT_EQ(history.msUntilRelease(), 1);
    now = now.addMSecs(1);
    EXPECT_FALSE(history.failHeld());
    EXPECT_EQ(history.msUntilRelease(), -1);
    EXPECT_EQ(shownSerial(), "B"); // the newest result
    // A FAIL with no later driver stays shown when its time is up, without holding.
    add("C", false);
    now = now.addSecs(10);
    EXPECT_FALSE(history.failHeld());
    EXPECT_EQ(shownSerial(), "C");
}

TEST_F(VerifyHistoryTest, ClearStartsANewSession)
{
    add("A", false);
    add("X", true);
    history.acknowledge();
    history.clear();
    EXPECT_TRUE(history.entries().isEmpty());
    EXPECT_EQ(history.shown(), nullptr);
    EXPECT_EQ(history.passedCount() + history.failedCount(), 0);
    add("B", false); // an acknowledgement of the old session does not reach the new one
    EXPECT_TRUE(history.failHeld());
}

TEST_F(VerifyHistoryTest, TheSummaryLineNamesEveryFailedSerial)
{
    struct Case {
        QList<bool> passes;
        int asked;
        const char *line;
    };
    const Case cases[] = {
        {{}, 2, "Verified 0 of 2 drivers: 0 passed, 0 failed"},
        {{true, true}, 2, "Verified 2 of 2 drivers: 2 passed, 0 failed"},
        {{true, false, true, false}, 5, "Verified 4 of 5 drivers: 2 passed, 2 failed: S1, S3"},
    };
    for (const Case &c : cases) {
        history.clear();
        for (int i = 0; i < c.passes.size(); ++i)
            history.add(result(QStringLiteral("S%1").arg(i), c.passes[i]));
        EXPECT_EQ(VerifySummaryLine(history, c.asked), c.line);
    }
}

} // namespace
