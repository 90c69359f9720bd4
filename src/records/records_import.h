#pragma once
// Moving the records a station keeps in its own folder into a shared store.

#include "records/records_store.h"

struct ImportCounts {
    int added = 0;   // records new to the store
    int present = 0; // records the store already held (an earlier import)
};

// Copies every record a station keeps in `folder` into `target`, through the
// kind of store that reads such folders (records_store_registry.h). Importing
// the same folder again adds nothing. False with the reason when the folder's
// records cannot be read or a record cannot be written.
bool ImportStationRecords(const QString &folder, RecordsStore &target, ImportCounts *counts, QString *error,
                          const ExportProgress &progress = {});
