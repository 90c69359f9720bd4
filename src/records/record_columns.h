#pragma once
// The columns of the three kinds of record, the same in every records store: the
// fixed identity columns of each record followed by the parameter columns of the
// parameter table. Each store makes its tables and statements from these lists.

#include <QStringList>

// The column names of the settings and the driver records after id, in insert order.
const QStringList &SettingsRecordColumns();
const QStringList &DriverRecordColumns();
// The columns of a verification record after id (datetime first), in insert
// order, without the station.
const QStringList &VerificationRecordColumns();
// The programmed product's columns of the settings record (familyName ... editSerial).
const QStringList &SettingsProductColumns();
// The setting texts a driver record copies from the settings record: the
// parameter columns that end both records.
const QStringList &SettingTextColumns();
// Their number (13).
int SettingTextCount();
