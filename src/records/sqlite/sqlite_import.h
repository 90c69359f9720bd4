#pragma once
// Moving a station's SQLite records into a shared store.

#include "records/records_import.h"

// Copies every record of the SQLite files in `folder` (settings, drivers,
// verifications) into `target`, oldest first. Each record gets an id made from
// its file's kind, its row id and its values, so importing the same files again
// adds nothing. The files are opened read-only. False with the reason when none
// of the files is there, a file cannot be read or a record cannot be written
// (the records written before stay; a second import completes the rest). `progress` (when given) hears the records handled
// so far of all the records in the files.
bool ImportSqliteRecords(const QString &folder, RecordsStore &target, ImportCounts *counts, QString *error,
                         const ExportProgress &progress = {});
