#pragma once
// The records location and station name the desktop program keeps in the user's
// settings store (on Windows the registry, on Linux a file below ~/.config). A
// location with a password is never stored: passwords come from ~/.pgpass or
// PGPASSWORD only.

#include <QString>

struct RecordsLocationSetting {
    QString location; // a records location (records_store_registry.h); empty: the program's own folder
    QString station;  // empty: the host name
};

RecordsLocationSetting LoadRecordsLocationSetting();

// Checks `setting`, makes it the active store and station, and keeps it. False
// with the reason (nothing kept, the store unchanged) for a location that cannot
// be used.
bool SaveRecordsLocationSetting(const RecordsLocationSetting &setting, QString *error);

// At start: the kept location, or TAVEL_RECORDS_URL when none is kept, made the
// active store. False with the reason when it cannot be used (the program's own
// folder is used then).
bool ApplyRecordsLocationSetting(QString *error);

// Tests keep the setting in an INI file of their own (empty: the user's store).
void SetRecordsSettingOverride(const QString &iniFilePath);
