#pragma once
// The kinds of records store, each recognised by its location (a folder, a URL
// scheme). Everything that depends on the kind of store (making one, naming it,
// whether several stations share it) asks here, so a new kind of store is its
// own files plus one line in the list of kinds.

#include "records/records_store.h"

#include <QString>
#include <functional>
#include <memory>

struct RecordsStoreKind {
    // Whether `location` names a store of this kind.
    std::function<bool(const QString &location)> recognises;
    // False with the reason for a location of this kind that cannot be used.
    std::function<bool(const QString &location, QString *error)> check;
    // The store for a checked location.
    std::function<std::unique_ptr<RecordsStore>(const QString &location)> make;
    // The store as the user reads it, e.g. "SQLite files in <folder>".
    std::function<QString(const QString &location)> describe;
    // A server that several stations share: records carry their station, the
    // store is reached over the network (and may be away for a while), and the
    // records of a station's own files can be imported into it.
    bool shared = false;
};

// The kind of store `location` names; null when no kind recognises it.
const RecordsStoreKind *RecordsStoreKindOf(const QString &location);
// Whether `location` names a store that several stations share.
bool IsSharedRecordsLocation(const QString &location);

// The kinds, one function each, defined next to their store.
RecordsStoreKind SqliteStoreKind();
RecordsStoreKind PostgresStoreKind();
