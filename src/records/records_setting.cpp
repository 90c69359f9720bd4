#include "records/records_setting.h"

#include "common/app_data.h"
#include "records/records_store.h"

#include <QSettings>
#include <memory>

namespace {

QString g_override;

std::unique_ptr<QSettings> openSetting()
{
    if (!g_override.isEmpty())
        return std::make_unique<QSettings>(g_override, QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, kAppDataFolderName,
                                       QStringLiteral("Records"));
}

} // namespace

void SetRecordsSettingOverride(const QString &iniFilePath) { g_override = iniFilePath; }

RecordsLocationSetting LoadRecordsLocationSetting()
{
    auto store = openSetting();
    return {store->value(QStringLiteral("location")).toString(), store->value(QStringLiteral("station")).toString()};
}

bool SaveRecordsLocationSetting(const RecordsLocationSetting &setting, QString *error)
{
    if (!setRecordsLocation(setting.location.trimmed(), error))
        return false;
    setRecordsStation(setting.station);
    auto store = openSetting();
    store->setValue(QStringLiteral("location"), setting.location.trimmed());
    store->setValue(QStringLiteral("station"), setting.station.trimmed());
    store->sync();
    if (store->status() != QSettings::NoError) {
        if (error)
            *error = QStringLiteral("the records location is used now but could not be kept for the next start");
        return false;
    }
    return true;
}

bool ApplyRecordsLocationSetting(QString *error)
{
    RecordsLocationSetting setting = LoadRecordsLocationSetting();
    if (setting.location.isEmpty())
        setting.location = qEnvironmentVariable(kRecordsUrlVariable);
    setRecordsStation(setting.station);
    // Nothing chosen: the folder in use stays (the program's own, or a test's).
    return setting.location.isEmpty() || setRecordsLocation(setting.location, error);
}
