#pragma once
// A small in-memory result table that collects the rows of one query.

#include <QList>
#include <QString>
#include <QStringList>

// The text that stands for an SQL NULL in a result table. A cell whose real text
// is this marker reads as NULL as well.
inline const QString kSQLNullMarker = QStringLiteral("_Null");

// Shown when GetInt/GetFloat are asked for a position outside the table.
inline const QString kSQLPositionErrorMessage = QStringLiteral("SQL Spalten Zeilenazahl falsch");

class SQLiteAnswerClass {
public:
    SQLiteAnswerClass() = default;

    // Row count 0, column count 0, header pending, header and rows emptied.
    void Clear();

    // Takes one result row of n values; null pointers are SQL NULLs. The first row
    // fixes the column count and the header; a later row with another value count
    // is ignored and not counted. Texts are UTF-8; text that is not valid UTF-8
    // (written by an older program in the Windows code page) reads as Latin-1.
    void Insert(int n, const char *const *values, const char *const *names);

    // Column name; "ERROR" outside 0 .. column count - 1.
    QString GetHeader(int column) const;
    // Cell text; "NULL" for a NULL cell; "ERROR" outside the table.
    QString Get(int column, int row) const;
    // Cell text; `fallback` for a NULL cell; "ERROR" outside the table.
    QString Get(int column, int row, const QString &fallback) const;
    // The cell as an integer; the fallback when it does not convert or is NULL.
    // Outside the table the message "SQL Spalten Zeilenazahl falsch" and the fallback.
    int GetInt(int column, int row, int fallback) const;
    // As GetInt, as a floating-point number written with "." as decimal separator.
    double GetFloat(int column, int row, double fallback) const;
    // True for a NULL cell and for a position outside the table.
    bool IsNull(int column, int row) const;

    int GetRowCount() const { return rowCount; }
    int GetColoumCount() const { return columnCount; }
    const QStringList &Header() const { return header; }

private:
    bool inside(int column, int row) const;
    void addRow(QStringList cells, const QStringList &names);

    int rowCount = 0;
    int columnCount = 0;
    bool headerPending = true;
    QStringList header;
    QList<QStringList> rows;
};

// Decodes a text read from a database: UTF-8, or Latin-1 when it is not valid UTF-8.
QString DatabaseText(const char *text);
