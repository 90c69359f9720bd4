#include "records/records_import.h"

#include "records/records_store_registry.h"

bool ImportStationRecords(const QString &folder, RecordsStore &target, ImportCounts *counts, QString *error,
                          const ExportProgress &progress)
{
    for (const RecordsStoreKind &kind : RecordsStoreKinds())
        if (kind.importFolder)
            return kind.importFolder(folder, target, counts, error, progress);
    if (error)
        *error = QStringLiteral("no kind of records store reads a station's own records");
    return false;
}
