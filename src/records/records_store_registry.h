#pragma once
// The kinds of records store, each recognised by its location (a folder, a URL
// scheme). Everything that depends on the kind of store (making one, naming it,
// whether several stations share it, importing a station's own records) asks
// here. Each kind lives in its own folder under records/ (its store, its kind
// function) and is listed once in records_store_registry.cpp.

#include "records/records_store.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

struct ImportCounts;

struct RecordsStoreKind {
    // What the kind is called in texts for people ("PostgreSQL", "SQLite").
    QString name;
    // The form of its locations ("a postgresql:// URI", "a folder"), and the same
    // with what a usage text tells of it ("a folder for the SQLite files").
    QString locationForm;
    QString locationHelp;
    // Whether `location` names a store of this kind.
    std::function<bool(const QString &location)> recognises;
    // False with the reason for a location of this kind that cannot be used.
    std::function<bool(const QString &location, QString *error)> check;
    // The store for a checked location.
    std::function<std::unique_ptr<RecordsStore>(const QString &location)> make;
    // The store the program writes to before any location is chosen; only the
    // default kind has one. Unlike make(""), it leaves every setting as it is.
    std::function<std::unique_ptr<RecordsStore>()> makeDefault;
    // The store as the user reads it, e.g. "SQLite files in <folder>".
    std::function<QString(const QString &location)> describe;
    // A server that several stations share: records carry their station, the
    // store is reached over the network (and may be away for a while), and the
    // records of a station's own files can be imported into it.
    bool shared = false;
    // Copies the records a station keeps in a folder of this kind into a shared
    // store; only the kind of a station's own files has it.
    std::function<bool(const QString &folder, RecordsStore &target, ImportCounts *counts, QString *error,
                       const ExportProgress &progress)>
        importFolder;
};

// Every kind, in the order they are asked.
const std::vector<RecordsStoreKind> &RecordsStoreKinds();
// The kind of store `location` names; null when no kind recognises it.
const RecordsStoreKind *RecordsStoreKindOf(const QString &location);
// Whether `location` names a store that several stations share.
bool IsSharedRecordsLocation(const QString &location);
// The store the program starts with.
std::unique_ptr<RecordsStore> MakeDefaultRecordsStore();
// The names ("PostgreSQL") or location forms ("a postgresql:// URI") of the kinds
// that are, or are not, `shared`, joined with " or " as a text for people lists them.
QString RecordsStoreKindNames(bool shared);
QString RecordsLocationForms(bool shared);
// Every kind's location form, joined with " or " ("a postgresql:// URI or a folder").
QString AllRecordsLocationForms();
// Every kind's location help, joined with " or ", for a usage text.
QString RecordsLocationsHelp();
