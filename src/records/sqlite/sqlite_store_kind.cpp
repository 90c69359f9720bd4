#include "records/records_store_registry.h"
#include "records/sqlite/sqlite_import.h"
#include "records/sqlite/sqlite_store.h"

#include <QDir>

RecordsStoreKind SqliteStoreKind()
{
    RecordsStoreKind kind;
    kind.name = QStringLiteral("SQLite");
    kind.locationForm = QStringLiteral("a folder");
    kind.locationHelp = QStringLiteral("a folder for the SQLite files");
    // Any location that is not a URL is a folder (empty: the program's own).
    kind.recognises = [](const QString &location) { return !location.contains(QLatin1String("://")); };
    kind.check = [](const QString &, QString *) { return true; };
    kind.make = [](const QString &location) -> std::unique_ptr<RecordsStore> {
        // The SQLite files live in the one records folder the free functions use.
        setDatabaseFolder(location);
        return std::make_unique<SqliteStore>();
    };
    // The files in whatever records folder is set (a test's, the program's own).
    kind.makeDefault = []() -> std::unique_ptr<RecordsStore> { return std::make_unique<SqliteStore>(); };
    kind.describe = [](const QString &location) {
        return QStringLiteral("SQLite files in %1").arg(QDir::toNativeSeparators(location));
    };
    kind.shared = false;
    kind.importFolder = ImportSqliteRecords;
    return kind;
}
