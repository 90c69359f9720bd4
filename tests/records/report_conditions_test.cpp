// The report's selection as a WHERE clause: the bound values numbered in the
// order they are appended, each store's placeholders and times, and the
// station a condition only for a store that keeps several stations' records.

#include "records/report_conditions.h"

#include <gtest/gtest.h>

namespace {

const ReportConditionDialect kNumbered{QStringLiteral("?%1"), QStringLiteral("?%1"), {}};
const ReportConditionDialect kServer{QStringLiteral("$%1::timestamptz"), QStringLiteral("$%1"),
                                     [](const QString &t) { return t + QStringLiteral("+00"); }};
const ReportConditionColumns kLocal{QStringLiteral("d.datetime"), QStringLiteral("d.programmerID"), QString()};
const ReportConditionColumns kShared{QStringLiteral("record_time"), QStringLiteral("\"programmerID\""),
                                     QStringLiteral("station")};

TEST(ReportConditions, BindsTheSelectionsValuesInTheOrderOfTheirPlaceholders)
{
    const struct {
        const char *caption;
        ReportSelection selection;
        const ReportConditionColumns &columns;
        const ReportConditionDialect &dialect;
        QString where;
        QStringList values;
    } cases[] = {
        {"everything", {}, kLocal, kNumbered, QString(), {}},
        {"station ignored by local files", {{}, {}, {}, QStringLiteral("line-2")}, kLocal, kNumbered, QString(), {}},
        {"local, every condition",
         {QStringLiteral("2026-01-01 00:00:00"), QStringLiteral("2026-01-31 23:59:59"), QStringLiteral("0x0180"),
          QStringLiteral("line-2")},
         kLocal,
         kNumbered,
         QStringLiteral(" WHERE d.datetime >= ?1 AND d.datetime <= ?2 AND d.programmerID = ?3"),
         {QStringLiteral("2026-01-01 00:00:00"), QStringLiteral("2026-01-31 23:59:59"), QStringLiteral("0x0180")}},
        {"server, upper bound and station",
         {{}, QStringLiteral("2026-01-31 23:59:59"), {}, QStringLiteral("line-2")},
         kShared,
         kServer,
         QStringLiteral(" WHERE record_time <= $1::timestamptz AND station = $2"),
         {QStringLiteral("2026-01-31 23:59:59+00"), QStringLiteral("line-2")}},
        {"server, programmer only",
         {{}, {}, QStringLiteral("0x0180"), {}},
         kShared,
         kServer,
         QStringLiteral(" WHERE \"programmerID\" = $1"),
         {QStringLiteral("0x0180")}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.caption);
        QStringList values;
        EXPECT_EQ(ReportConditions(c.selection, c.columns, c.dialect, &values), c.where);
        EXPECT_EQ(values, c.values);
    }
}

TEST(ReportConditions, TwoClausesOfOneStatementNumberTheirValuesOnFromTheFirst)
{
    const ReportSelection selection{QStringLiteral("2026-01-01 00:00:00"), {}, QStringLiteral("0x0180"),
                                    QStringLiteral("line-2")};
    QStringList values;
    EXPECT_EQ(ReportConditions(selection, kShared, kServer, &values),
              QStringLiteral(" WHERE record_time >= $1::timestamptz AND \"programmerID\" = $2 AND station = $3"));
    EXPECT_EQ(ReportConditions(selection, kShared, kServer, &values),
              QStringLiteral(" WHERE record_time >= $4::timestamptz AND \"programmerID\" = $5 AND station = $6"));
    EXPECT_EQ(values.size(), 6);
    EXPECT_EQ(values.mid(3), values.mid(0, 3));
}

} // namespace
