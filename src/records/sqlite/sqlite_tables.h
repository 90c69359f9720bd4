#pragma once
// The tables of the SQLite record files, made from the record columns. SQLite
// keeps each file's CREATE TABLE text in its schema, and every earlier version
// wrote these texts: the texts made here are the same byte for byte.

#include <QString>
#include <QStringList>

// The settings table as the settings writer creates it, and as the driver writer
// does (three NTC column names written with a capital E; SQLite treats both
// forms as the same table).
const char *SettingsCreateTableSql();
const char *SettingsCreateTableSqlDriverForm();
const char *DriversCreateTableSql();
// The verification records: one per driver read back and compared with a slot.
const char *VerificationsCreateTableSql();

// The Verifications table's columns after id: datetime, the station, then the
// rest of the verification record.
const QStringList &VerificationsTableColumns();

// "a,b,c" or, with a prefix, "d.a,d.b,d.c".
QString SqlColumnList(const QStringList &columns, const QString &prefix = QString(),
                      const QString &separator = QStringLiteral(","));
