#pragma once
// A settings file whose slot 1 is the paired driver's profile (current 500 mA,
// lifetime 50000 h, levels 80 / 82.5 / 100 / 100 / 100 %, DC 51 %), and
// tavel-nfc run with its records in the test's own data folder.
#include "cli_runner.h"
#include "default_profiles.h"
#include "profile/settings_file.h"
#include "records/records_database.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

class PairedSendFixture : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    QString settingsPath;

    void SetUp() override
    {
        ProfileSlots profiles = DefaultSlots();
        STRUCT_XML_FILE_VARIABLES &p = profiles[0];
        p = PairedDriverProfile();
        p.lifeTime.defaultValue = "50000";
        p.Level[0].defaultValue = "80";
        p.Level[1].defaultValue = "82.5";
        p.dcLevel.defaultValue = "51";
        p.dclevelAdjustEnable = 1;
        settingsPath = tmp.filePath("drivers.set");
        SettingsIniFile ini(settingsPath);
        ASSERT_TRUE(DownloadSettingsToIniFile(ini, profiles));
    }

    CliRun cli(const QStringList &args)
    {
        CliRunOptions options;
        options.environment = DataHomeEnvironment(tmp.filePath("data")); // the records go here
        options.timeoutMs = 60000;
        return RunTavelNfc(args, options);
    }
    // Runs `read` with the records folder of the command-line runs.
    template <typename Read>
    auto withRecordsFolder(Read read)
    {
        setDatabaseFolder(tmp.filePath("data/NFC configuration Software Tavel/database"));
        auto result = read();
        setDatabaseFolder(QString());
        return result;
    }
    SQLiteAnswerClass drivers()
    {
        return withRecordsFolder([] {
            SQLiteAnswerClass a;
            ReadNewestRecords(RecordDatabase::Drivers, 100, a);
            return a;
        });
    }
};
