#include "records/records_database.h"
#include "records/records_store.h"
#include "records/records_store_registry.h"

#include <QMutex>
#include <QSysInfo>

namespace {

std::unique_ptr<RecordsStore> &active()
{
    static std::unique_ptr<RecordsStore> store = MakeDefaultRecordsStore();
    return store;
}

QMutex g_stationLock; // the records writer's thread reads the name too
QString g_station;
bool g_default = true;

} // namespace

std::unique_ptr<RecordsStore> MakeRecordsStore(const QString &location, QString *error)
{
    const RecordsStoreKind *kind = RecordsStoreKindOf(location);
    if (!kind) {
        if (error)
        {
            QStringList forms;
            for (const RecordsStoreKind &known : RecordsStoreKinds())
                forms << known.locationForm;
            *error = QStringLiteral("records store '%1' is neither %2").arg(location, forms.join(QStringLiteral(" nor ")));
        }
        return nullptr;
    }
    QString reason;
    if (!kind->check(location, &reason)) {
        if (error)
            *error = reason;
        return nullptr;
    }
    return kind->make(location);
}

bool setRecordsLocation(const QString &location, QString *error)
{
    std::unique_ptr<RecordsStore> store = MakeRecordsStore(location, error);
    if (!store)
        return false;
    active() = std::move(store);
    g_default = location.isEmpty();
    return true;
}

RecordsStore &activeRecordsStore() { return *active(); }

bool RecordsStoreIsDefault() { return g_default; }

QString RecordsStoreDescription()
{
    const QString where = active()->location();
    const RecordsStoreKind *kind = RecordsStoreKindOf(where);
    return kind ? kind->describe(where) : where;
}

void setRecordsStation(const QString &name)
{
    const QMutexLocker locked(&g_stationLock);
    g_station = name.trimmed();
}

QString RecordsStation()
{
    {
        const QMutexLocker locked(&g_stationLock);
        if (!g_station.isEmpty())
            return g_station;
    }
    const QString host = QSysInfo::machineHostName();
    return host.isEmpty() ? QStringLiteral("station") : host;
}
