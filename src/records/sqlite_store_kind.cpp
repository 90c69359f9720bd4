#include "records/records_store_registry.h"
#include "records/sqlite_store.h"

#include <QDir>

RecordsStoreKind SqliteStoreKind()
{
    RecordsStoreKind kind;
    // Any location that is not a URL is a folder (empty: the program's own).
    kind.recognises = [](const QString &location) { return !location.contains(QLatin1String("://")); };
    kind.check = [](const QString &, QString *) { return true; };
    kind.make = [](const QString &location) -> std::unique_ptr<RecordsStore> {
        // The SQLite files live in the one records folder the free functions use.
        setDatabaseFolder(location);
        return std::make_unique<SqliteStore>();
    };
    kind.describe = [](const QString &location) {
        return QStringLiteral("SQLite files in %1").arg(QDir::toNativeSeparators(location));
    };
    kind.shared = false;
    return kind;
}
