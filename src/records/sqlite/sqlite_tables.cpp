#include "records/sqlite/sqlite_tables.h"

#include "records/record_columns.h"

namespace {

// The id column as the first version declared it: two spaces in the record
// tables, one in the verification table that came later.
const char *const kRecordId = "[id] INTEGER  NOT NULL PRIMARY KEY AUTOINCREMENT";
const char *const kVerificationId = "[id] INTEGER NOT NULL PRIMARY KEY AUTOINCREMENT";

// How the driver writer spelled three columns of the settings table.
const QStringList &driverFormSpellings()
{
    static const QStringList spellings{QStringLiteral("ExtNTC_Level1"), QStringLiteral("ExtNTC_Level2"),
                                       QStringLiteral("ExtNTC_CutOffTemp")};
    return spellings;
}

QString spelledAsDriverForm(const QString &column)
{
    for (const QString &spelling : driverFormSpellings())
        if (spelling.compare(column, Qt::CaseInsensitive) == 0)
            return spelling;
    return column;
}

QByteArray createTable(const char *table, const char *id, const QStringList &columns)
{
    QStringList declared{QLatin1String(id)};
    for (const QString &c : columns)
        declared << QStringLiteral("[%1] text NULL").arg(c);
    return QStringLiteral("CREATE TABLE IF NOT EXISTS [%1] (%2 );")
        .arg(QLatin1String(table), declared.join(QStringLiteral(", ")))
        .toUtf8();
}

} // namespace

const char *SettingsCreateTableSql()
{
    static const QByteArray sql = createTable("ProgrammedLines", kRecordId, SettingsRecordColumns());
    return sql.constData();
}

const char *SettingsCreateTableSqlDriverForm()
{
    static const QByteArray sql = [] {
        QStringList columns;
        for (const QString &c : SettingsRecordColumns())
            columns << spelledAsDriverForm(c);
        return createTable("ProgrammedLines", kRecordId, columns);
    }();
    return sql.constData();
}

const char *DriversCreateTableSql()
{
    static const QByteArray sql = createTable("ProgrammedLines", kRecordId, DriverRecordColumns());
    return sql.constData();
}

const char *VerificationsCreateTableSql()
{
    static const QByteArray sql = createTable("Verifications", kVerificationId, VerificationsTableColumns());
    return sql.constData();
}

const QStringList &VerificationsTableColumns()
{
    static const QStringList columns = QStringList{VerificationRecordColumns().first(), QStringLiteral("station")}
                                       + VerificationRecordColumns().mid(1);
    return columns;
}

QString SqlColumnList(const QStringList &columns, const QString &prefix, const QString &separator)
{
    QStringList out;
    for (const QString &c : columns)
        out << prefix + c;
    return out.join(separator);
}
