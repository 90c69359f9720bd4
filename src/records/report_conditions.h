#pragma once
// The WHERE clause of a batch report's selection, the same for every store;
// each store gives only how it binds a value and names its columns.

#include "records/records_store.h"

#include <QString>
#include <QStringList>
#include <functional>

// How a store's statements bind values: the parameter text of value number %1.
struct ReportConditionDialect {
    QString timeParameter; // a time bound ("?%1", "$%1::timestamptz")
    QString textParameter; // a text bound ("?%1", "$%1")
    // The bound text for a selection time ("yyyy-MM-dd HH:mm:ss" UTC); null: as given.
    std::function<QString(const QString &)> timeValue;
};

// The columns the conditions test, as the statement names them (with its alias).
struct ReportConditionColumns {
    QString time, programmer;
    QString station; // empty: the store keeps one station's records, the selection's station is no condition
};

// " WHERE ..." for the selection's bounds, programmer and station (empty when it
// selects everything), appending the bound values to `values` in their order.
QString ReportConditions(const ReportSelection &selection, const ReportConditionColumns &columns,
                         const ReportConditionDialect &dialect, QStringList *values);
