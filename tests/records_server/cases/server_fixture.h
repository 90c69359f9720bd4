#pragma once
// The fixture of the tests against the throw-away PostgreSQL server: one server
// for the test program, a fresh folder for each test (the outbox and any SQLite
// files), the default profiles in the slots, and the process-wide records
// settings put back after each test.

#include "default_profiles.h"
#include "pg_test_server.h"
#include "profile/profile_defaults.h"
#include "records/records_database.h"
#include "scripted_dialogs.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

class PgServerTest : public ::testing::Test {
protected:
    static inline std::unique_ptr<PgTestServer> server;
    QTemporaryDir dir;
    ScriptedDialogs dlg;

    static void SetUpTestSuite() { server = std::make_unique<PgTestServer>(); }
    static void TearDownTestSuite() { server.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(server->ok()) << server->error().toStdString();
        ASSERT_TRUE(dir.isValid());
        LoadDefaultProfileIntoSlots();
        setActiveSlot(1);
        setDatabaseFolder(dir.path()); // the outbox stays in the test's folder
    }
    void TearDown() override
    {
        ASSERT_TRUE(setRecordsLocation(QString(), nullptr));
        setDatabaseFolder(QString());
        setRecordsStation(QString());
    }
    // Makes `location` the records store (and prepares it unless told not to).
    void use(const QString &location, bool prepare = true)
    {
        QString error;
        ASSERT_TRUE(setRecordsLocation(location, &error)) << error.toStdString();
        if (prepare) {
            ASSERT_TRUE(PrepareRecordDatabases(&error)) << error.toStdString();
        }
    }
};
