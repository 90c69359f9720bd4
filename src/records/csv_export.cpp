#include "records/csv_export.h"

#include <QSaveFile>

QString CsvField(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"'))
        && !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

bool FinishCsvExport(QSaveFile &file, const QString &path, bool written, const QString &readError,
                     QString *error)
{
    QString reason;
    if (!written || !readError.isEmpty()) {
        reason = written ? QStringLiteral("Driver records could not be read: ") + readError
                         : QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        file.cancelWriting();
    } else if (!file.commit()) {
        reason = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
    } else {
        return true;
    }
    if (error)
        *error = reason;
    return false;
}
