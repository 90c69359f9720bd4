#include "profile/parameter_names.h"

#include <QRegularExpression>

const QList<ParameterName> &ParameterNames()
{
    static const QString percent = QStringLiteral("%");
    static const QString celsius = QStringLiteral("\u00B0C");
    static const QList<ParameterName> names = {
        {QStringLiteral("current"), QStringLiteral("nomCurrent"), QStringLiteral("Nominal current"), QStringLiteral("mA")},
        {QStringLiteral("lifeTime"), QStringLiteral("lifeTime"), QStringLiteral("Lifetime"), QStringLiteral("h")},
        {QStringLiteral("Level0"), QStringLiteral("CLO_L1"), QStringLiteral("L1"), percent},
        {QStringLiteral("Level1"), QStringLiteral("CLO_L2"), QStringLiteral("L2"), percent},
        {QStringLiteral("Level2"), QStringLiteral("CLO_L3"), QStringLiteral("L3"), percent},
        {QStringLiteral("Level3"), QStringLiteral("CLO_L4"), QStringLiteral("L4"), percent},
        {QStringLiteral("Level4"), QStringLiteral("CLO_L5"), QStringLiteral("L5"), percent},
        {QStringLiteral("dcLevel"), QStringLiteral("DC_level"), QStringLiteral("DC level"), percent},
        {QStringLiteral("Temp1"), QStringLiteral("extNTC_Temp1"), QStringLiteral("NTC start temperature"), celsius},
        {QStringLiteral("ExtNTCLevel1"), QStringLiteral("extNTC_Level1"), QStringLiteral("NTC start level"), percent},
        {QStringLiteral("Temp2"), QStringLiteral("extNTC_Temp2"), QStringLiteral("NTC stop temperature"), celsius},
        {QStringLiteral("ExtNTCLevel2"), QStringLiteral("extNTC_Level2"), QStringLiteral("NTC stop level"), percent},
        {QStringLiteral("CutOffTemp"), QStringLiteral("extNTC_CutOffTemp"), QStringLiteral("NTC cut-off temperature"),
         celsius},
    };
    return names;
}

const ParameterName *ParameterByGroup(const QString &group)
{
    for (const ParameterName &p : ParameterNames())
        if (p.group == group)
            return &p;
    return nullptr;
}

const ParameterName *ParameterByRecordColumn(const QString &column)
{
    for (const ParameterName &p : ParameterNames())
        if (p.recordColumn == column)
            return &p;
    return nullptr;
}

QString ValueWithUnit(const QString &value, const QString &unit)
{
    // A number in the program's own or the C notation ("82.5", "82,5", "-10").
    static const QRegularExpression number(QStringLiteral("^-?\\d+([.,]\\d+)?$"));
    if (unit.isEmpty() || !number.match(value).hasMatch())
        return value;
    return value + QLatin1Char(' ') + unit;
}
