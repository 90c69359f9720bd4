#include "profile/parameter_table.h"

#include <QRegularExpression>
#include <stdexcept>

namespace {

using R = STRUCT_XML_FILE_VARIABLES;
using B = ParameterBlock;
using C = TagCoding;

// The CLO levels are the table's CloLevel rows, in table order.
constexpr std::array<int, kCloLevelCount> cloLevelRows()
{
    std::array<int, kCloLevelCount> rows{};
    int n = 0;
    for (int i = 0; i < kParameterGroupCount; ++i)
        if (kParameterGroups[size_t(i)].coding == C::CloLevel)
            rows[size_t(n++)] = i;
    return rows;
}
constexpr std::array<int, kCloLevelCount> kCloLevelRows = cloLevelRows();

QString text(const char *utf8) { return utf8 ? QString::fromUtf8(utf8) : QString(); }

} // namespace

const std::array<ParameterGroup, kParameterGroupCount> &ParameterGroups() { return kParameterGroups; }

const ParameterGroup *ParameterGroupNamed(const QString &name)
{
    for (const ParameterGroup &g : kParameterGroups)
        if (name == QLatin1String(g.name))
            return &g;
    return nullptr;
}

const ParameterGroup &CloLevelGroup(int level) { return kParameterGroups.at(size_t(kCloLevelRows.at(size_t(level)))); }

int32_t STRUCT_XML_FILE_VARIABLES::*AdjustEnableFlag(ParameterBlock block)
{
    switch (block) {
    case B::Current:
        return &R::currentAdjustEnable;
    case B::Clo:
        return &R::cloAdjustEnable;
    case B::DcLevel:
        return &R::dclevelAdjustEnable;
    case B::Ntc:
        break;
    }
    return &R::ExtNTCAdjustEnable;
}

const ParameterDescriptor &CloLevel(const STRUCT_XML_FILE_VARIABLES &record, int level)
{
    return CloLevelGroup(level).field.of(record);
}

ParameterDescriptor &CloLevel(STRUCT_XML_FILE_VARIABLES &record, int level)
{
    return CloLevelGroup(level).field.of(record);
}

QList<const ParameterGroup *> RecordParameterGroups()
{
    QList<const ParameterGroup *> groups;
    for (const ParameterGroup &g : kParameterGroups)
        if (g.recordColumn)
            groups << &g;
    return groups;
}

QStringList RecordParameterColumns()
{
    QStringList columns;
    for (const ParameterGroup *g : RecordParameterGroups())
        columns << QString::fromLatin1(g->recordColumn);
    return columns;
}

QStringList RecordParameterValues(const STRUCT_XML_FILE_VARIABLES &record)
{
    QStringList values;
    for (const ParameterGroup *g : RecordParameterGroups())
        values << g->field.of(record).defaultValue;
    return values;
}

const QList<ParameterName> &ParameterNames()
{
    static const QList<ParameterName> names = [] {
        QList<ParameterName> list;
        for (const ParameterGroup *g : RecordParameterGroups())
            list << ParameterName{text(g->name), text(g->recordColumn), text(g->label), text(g->unit)};
        return list;
    }();
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
