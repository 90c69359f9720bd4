#pragma once
// The rows of a records read-back as comparable texts.

#include "records/sqlite_answer.h"

#include <QList>
#include <QStringList>

// Every row, oldest first (the stores answer newest first), as "column=value"
// cells without the time, which is made when the record is made; a NULL is
// "<null>", so that it differs from an empty text.
inline QList<QStringList> RowsOldestFirstWithoutTime(const SQLiteAnswerClass &a)
{
    QList<QStringList> out;
    for (int r = a.GetRowCount() - 1; r >= 0; --r) {
        QStringList cells;
        for (int c = 0; c < a.GetColoumCount(); ++c)
            if (a.GetHeader(c) != QLatin1String("datetime"))
                cells << a.GetHeader(c) + QLatin1Char('=') + (a.IsNull(c, r) ? QStringLiteral("<null>") : a.Get(c, r));
        out << cells;
    }
    return out;
}
