#pragma once
// Records with times of their own for the batch report's tests, written through
// the active records store as the program writes them (a driver record looks up
// the settings of its programmer at its time; repeats are marked by the store).

#include "records/records_database.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

namespace report_fixture {

inline const QString kA = QStringLiteral("0x0180A2B3");
inline const QString kB = QStringLiteral("0x11111111");

inline void put(PendingRecord::Kind kind, const QString &created, const QStringList &values)
{
    PendingRecord r = PendingRecord::make(kind, values);
    r.created = created;
    r.lookupDeferred = kind == PendingRecord::Kind::Driver;
    const StoreResult q = activeRecordsStore().insert(r, false, BusyBudget(2000));
    ASSERT_TRUE(q.ok()) << q.error.toStdString();
}

inline void transfer(const QString &created, const QString &programmer, const QString &current, const QString &family)
{
    QStringList v(22);
    v[0] = programmer;
    v[1] = QStringLiteral("2.10");
    v[2] = family;
    v[5] = QStringLiteral("001122334455");
    v[9] = current;
    v[16] = QStringLiteral("255");
    put(PendingRecord::Kind::Settings, created, v);
}

inline void driver(const QString &created, const QString &programmer, const QString &serial)
{
    put(PendingRecord::Kind::Driver, created,
        QStringList{QStringLiteral("0xFFAA0001"), QStringLiteral("2.10"), programmer, serial} + QStringList(13));
}

inline void verification(const QString &created, const QString &serial, const QString &result,
                         const QString &differences = QString())
{
    put(PendingRecord::Kind::Verification, created, {serial, kA, QStringLiteral("1"), result, differences});
}

// Two transfers with drivers (driver S1 programmed again under the second), a
// driver of a programmer without any transfer, a transfer without drivers, and
// the verifications of S1 (failed after its first record, passed after its
// second) and S3 (failed).
inline void WriteBatch()
{
    transfer("2026-01-05 08:00:00", kA, "400", "Family A");
    driver("2026-01-05 08:10:00", kA, "S1");
    driver("2026-01-05 08:20:00", kA, "S2");
    transfer("2026-01-06 09:00:00", kB, "700", "Family B");
    driver("2026-01-06 09:05:00", kB, "S3");
    driver("2026-01-06 09:10:00", kB, "S1");
    driver("2026-01-06 12:00:00", "0x22222222", "S9");
    transfer("2026-01-07 10:00:00", kA, "450", "Family A2");
    verification("2026-01-05 09:00:00", "S1", "FAIL", "L1: expected 80 %, found 70 %");
    verification("2026-01-06 09:30:00", "S1", "PASS");
    verification("2026-01-06 09:31:00", "S3", "FAIL", "L3: expected 80 %, found 70 %\nGTIN: not on the tag");
}

} // namespace report_fixture
