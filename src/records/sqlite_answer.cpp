#include "records/sqlite_answer.h"

#include "common/convert.h"
#include "common/dialogs.h"

#include <QLocale>
#include <QStringDecoder>

QString DatabaseText(const char *text)
{
    if (!text)
        return QString();
    const QByteArray bytes(text);
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString result = decoder(bytes);
    if (decoder.hasError())
        return QString::fromLatin1(bytes);
    return result;
}

void SQLiteAnswerClass::Clear()
{
    rowCount = 0;
    columnCount = 0;
    headerPending = true;
    header.clear();
    rows.clear();
}

void SQLiteAnswerClass::addRow(QStringList cells, const QStringList &names)
{
    if (headerPending) {
        headerPending = false;
        columnCount = static_cast<int>(names.size());
        header = names;
    }
    if (cells.size() != columnCount)
        return;
    rows.append(std::move(cells));
    ++rowCount;
}

void SQLiteAnswerClass::Insert(int n, const char *const *values, const char *const *names)
{
    if (n < 0)
        n = 0;
    QStringList cells;
    QStringList columnNames;
    cells.reserve(n);
    for (int i = 0; i < n; ++i) {
        cells << (values && values[i] ? DatabaseText(values[i]) : kSQLNullMarker);
        columnNames << (names && names[i] ? DatabaseText(names[i]) : QString());
    }
    addRow(std::move(cells), columnNames);
}

bool SQLiteAnswerClass::inside(int column, int row) const
{
    return column >= 0 && column < columnCount && row >= 0 && row < rowCount;
}

QString SQLiteAnswerClass::GetHeader(int column) const
{
    if (column < 0 || column >= columnCount || column >= header.size())
        return QStringLiteral("ERROR");
    return header[column];
}

QString SQLiteAnswerClass::Get(int column, int row) const
{
    return Get(column, row, QStringLiteral("NULL"));
}

QString SQLiteAnswerClass::Get(int column, int row, const QString &fallback) const
{
    if (!inside(column, row))
        return QStringLiteral("ERROR");
    const QString &cell = rows[row][column];
    return cell == kSQLNullMarker ? fallback : cell;
}

int SQLiteAnswerClass::GetInt(int column, int row, int fallback) const
{
    if (!inside(column, row)) {
        dialogs().message(QString(), kSQLPositionErrorMessage);
        return fallback;
    }
    const QString &cell = rows[row][column];
    int value = 0;
    if (cell == kSQLNullMarker || !TryStrToInt(cell.trimmed(), value))
        return fallback;
    return value;
}

double SQLiteAnswerClass::GetFloat(int column, int row, double fallback) const
{
    if (!inside(column, row)) {
        dialogs().message(QString(), kSQLPositionErrorMessage);
        return fallback;
    }
    const QString &cell = rows[row][column];
    if (cell == kSQLNullMarker)
        return fallback;
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = c.toDouble(cell.trimmed(), &ok);
    return ok ? value : fallback;
}

bool SQLiteAnswerClass::IsNull(int column, int row) const
{
    if (!inside(column, row))
        return true;
    return rows[row][column] == kSQLNullMarker;
}
