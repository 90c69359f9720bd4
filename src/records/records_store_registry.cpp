#include "records/records_store_registry.h"

#include <QStringList>
#include <vector>

// The kinds, one line each, asked in this order: the first kind that recognises
// a location makes its store, so the kind that takes any folder comes last.
#define TAVEL_RECORDS_STORE_KINDS(KIND) \
    KIND(PostgresStoreKind)             \
    KIND(SqliteStoreKind)

// Each kind's function is defined in its own folder.
#define TAVEL_DECLARE_KIND(function) RecordsStoreKind function();
TAVEL_RECORDS_STORE_KINDS(TAVEL_DECLARE_KIND)
#undef TAVEL_DECLARE_KIND

const std::vector<RecordsStoreKind> &RecordsStoreKinds()
{
#define TAVEL_LIST_KIND(function) function(),
    static const std::vector<RecordsStoreKind> list{TAVEL_RECORDS_STORE_KINDS(TAVEL_LIST_KIND)};
#undef TAVEL_LIST_KIND
    return list;
}

const RecordsStoreKind *RecordsStoreKindOf(const QString &location)
{
    for (const RecordsStoreKind &kind : RecordsStoreKinds())
        if (kind.recognises(location))
            return &kind;
    return nullptr;
}

bool IsSharedRecordsLocation(const QString &location)
{
    const RecordsStoreKind *kind = RecordsStoreKindOf(location);
    return kind && kind->shared;
}

std::unique_ptr<RecordsStore> MakeDefaultRecordsStore()
{
    for (const RecordsStoreKind &kind : RecordsStoreKinds())
        if (kind.makeDefault)
            return kind.makeDefault();
    return nullptr;
}

namespace {

QString alternatives(bool shared, QString RecordsStoreKind::*text)
{
    QStringList texts;
    for (const RecordsStoreKind &kind : RecordsStoreKinds())
        if (kind.shared == shared)
            texts << kind.*text;
    return texts.join(QStringLiteral(" or "));
}

} // namespace

QString RecordsStoreKindNames(bool shared) { return alternatives(shared, &RecordsStoreKind::name); }

QString RecordsLocationForms(bool shared) { return alternatives(shared, &RecordsStoreKind::locationForm); }

QString AllRecordsLocationForms()
{
    QStringList texts;
    for (const RecordsStoreKind &kind : RecordsStoreKinds())
        texts << kind.locationForm;
    return texts.join(QStringLiteral(" or "));
}

QString RecordsLocationsHelp()
{
    QStringList texts;
    for (const RecordsStoreKind &kind : RecordsStoreKinds())
        texts << kind.locationHelp;
    return texts.join(QStringLiteral(" or "));
}
