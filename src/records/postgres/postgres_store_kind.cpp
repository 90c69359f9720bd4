#include "records/postgres/postgres_store.h"
#include "records/records_store_registry.h"

RecordsStoreKind PostgresStoreKind()
{
    RecordsStoreKind kind;
    kind.name = QStringLiteral("PostgreSQL");
    kind.locationForm = QStringLiteral("a postgresql:// URI");
    kind.locationHelp = QStringLiteral(
        "a postgresql:// URI (a server several stations share; passwords from ~/.pgpass or PGPASSWORD only)");
    kind.recognises = IsPostgresLocation;
    kind.check = CheckPostgresLocation;
    kind.make = [](const QString &location) -> std::unique_ptr<RecordsStore> {
        return std::make_unique<PostgresStore>(location);
    };
    kind.describe = [](const QString &location) {
        return QStringLiteral("PostgreSQL %1 (station %2)").arg(location, RecordsStation());
    };
    kind.shared = true;
    return kind;
}
