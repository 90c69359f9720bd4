#include "records/records_store_registry.h"

#include <vector>

namespace {

// Asked in this order; the first kind that recognises a location makes its store.
const std::vector<RecordsStoreKind> &kinds()
{
    static const std::vector<RecordsStoreKind> list{
        PostgresStoreKind(),
        SqliteStoreKind(),
    };
    return list;
}

} // namespace

const RecordsStoreKind *RecordsStoreKindOf(const QString &location)
{
    for (const RecordsStoreKind &kind : kinds())
        if (kind.recognises(location))
            return &kind;
    return nullptr;
}

bool IsSharedRecordsLocation(const QString &location)
{
    const RecordsStoreKind *kind = RecordsStoreKindOf(location);
    return kind && kind->shared;
}
