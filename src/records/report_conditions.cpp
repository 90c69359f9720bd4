#include "records/report_conditions.h"

QString ReportConditions(const ReportSelection &selection, const ReportConditionColumns &columns,
                         const ReportConditionDialect &dialect, QStringList *values)
{
    QStringList conditions;
    auto add = [&](const QString &column, const char *comparison, const QString &parameter, const QString &value) {
        *values << value;
        conditions << column + QLatin1String(comparison) + parameter.arg(values->size());
    };
    auto time = [&](const QString &t) { return dialect.timeValue ? dialect.timeValue(t) : t; };
    if (!selection.from.isEmpty())
        add(columns.time, " >= ", dialect.timeParameter, time(selection.from));
    if (!selection.to.isEmpty())
        add(columns.time, " <= ", dialect.timeParameter, time(selection.to));
    if (!selection.programmerId.isEmpty())
        add(columns.programmer, " = ", dialect.textParameter, selection.programmerId);
    if (!columns.station.isEmpty() && !selection.station.isEmpty())
        add(columns.station, " = ", dialect.textParameter, selection.station);
    return conditions.isEmpty() ? QString() : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
}
