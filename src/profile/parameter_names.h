#pragma once
// The one naming of the profile's parameters in every text the program writes of
// its own (verify results, the batch report): the CLO levels are L1 ... L5 as the
// editor shows them, the current is the "Nominal current", and each value
// carries its unit. The settings file, the catalogue and the tag info window keep
// their own fixed keys and texts; this table only maps them to what a person reads.

#include <QList>
#include <QString>

struct ParameterName {
    QString group;        // descriptor group of the profile record ("Level2")
    QString recordColumn; // column of the settings and driver records ("CLO_L3")
    QString label;        // what a person reads ("L3")
    QString unit;         // "mA", "h", "%", "°C"
};

// Every named parameter, in the order the editor shows them.
const QList<ParameterName> &ParameterNames();

// The entry of a descriptor group ("current", "Level0") or of a record column
// ("nomCurrent", "CLO_L1"); nullptr for a name not in the table.
const ParameterName *ParameterByGroup(const QString &group);
const ParameterName *ParameterByRecordColumn(const QString &column);

// A value with its unit ("500 mA", "80 %", "40 °C"); the value alone when it is
// empty or not a number (an "OFF", a missing value).
QString ValueWithUnit(const QString &value, const QString &unit);
