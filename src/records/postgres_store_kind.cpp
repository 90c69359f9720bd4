#include "records/postgres_store.h"
#include "records/records_store_registry.h"

RecordsStoreKind PostgresStoreKind()
{
    RecordsStoreKind kind;
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
