#pragma once
// For window tests: while the object lives, the application-data folder, the
// record databases and the recently-used list are kept in `folder` (a test's
// temporary folder), and the three slots start empty.

#include "common/app_data.h"
#include "app/recent_files.h"
#include "profile/profile_record.h"
#include "records/records_database.h"
#include "records/records_setting.h"

#include <QString>

class WindowTestFolder {
public:
    explicit WindowTestFolder(const QString &folder)
    {
        SetUserAppDataFolderOverride(folder + QStringLiteral("/appdata"));
        SetRecentFilesStorageOverride(folder + QStringLiteral("/recent.ini"));
        SetRecordsSettingOverride(folder + QStringLiteral("/records.ini"));
        // The main window prepares the record databases at start.
        setDatabaseFolder(folder + QStringLiteral("/database"));
        for (auto &slot : settingsVariablesField)
            slot = STRUCT_XML_FILE_VARIABLES{};
    }
    ~WindowTestFolder()
    {
        SetUserAppDataFolderOverride(QString());
        SetRecentFilesStorageOverride(QString());
        SetRecordsSettingOverride(QString());
        setDatabaseFolder(QString());
    }
    WindowTestFolder(const WindowTestFolder &) = delete;
    WindowTestFolder &operator=(const WindowTestFolder &) = delete;
};
