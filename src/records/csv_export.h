#pragma once
// What every store's CSV export of the driver records shares.

#include <QString>

class QSaveFile;

// One CSV field: quoted (with doubled quotes) when it holds a comma, a quote or a line break.
QString CsvField(const QString &text);
// Ends an export written through `file` to `path`: puts it in place when every
// line was written and every record read (`readError` empty); otherwise drops it,
// so the previous file stays, and names the reason in `error`.
bool FinishCsvExport(QSaveFile &file, const QString &path, bool written, const QString &readError,
                     QString *error);
