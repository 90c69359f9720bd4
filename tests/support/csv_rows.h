#pragma once
// The rows of a CSV text as the program writes it: fields separated by commas,
// a field holding a comma, a quote or a line break in double quotes with its
// quotes doubled.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

inline QList<QStringList> CsvRows(const QByteArray &bytes)
{
    const QString text = QString::fromUtf8(bytes);
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            row << field;
            field.clear();
        } else if (c == QLatin1Char('\n')) {
            rows << (row << field);
            row.clear();
            field.clear();
        } else {
            field += c;
        }
    }
    if (!field.isEmpty() || !row.isEmpty())
        rows << (row << field);
    return rows;
}

// Column `name` of every row after the header line.
inline QStringList CsvColumn(const QList<QStringList> &rows, const QString &name)
{
    QStringList out;
    const qsizetype at = rows.isEmpty() ? -1 : rows[0].indexOf(name);
    for (qsizetype r = 1; r < rows.size(); ++r)
        out << rows[r].value(at, QStringLiteral("<no column>"));
    return out;
}
