// tavel-nfc send, read and records against the device simulator: programmer IDs
// of any case join their records, records that cannot be written are kept
// pending with exit status 3, and the records commands fail when they must.
#include "cli_runner.h"
#include "default_profiles.h"
#include "devsim_process.h"
#include "file_bytes.h"
#include "profile/settings_file.h"
#include "records/records_database.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <functional>

#ifndef Q_OS_WIN
namespace {

class RecordsCli : public ::testing::Test {
protected:
    QTemporaryDir tmp;

    void SetUp() override { ASSERT_TRUE(TavelNfcIsBuilt()); }

    QString folder() const { return tmp.filePath("data/NFC configuration Software Tavel/database"); }
    QString settingsFile(const QString &programmerId,
                         const std::function<void(STRUCT_XML_FILE_VARIABLES &)> &change = {})
    {
        ProfileSlots profiles = DefaultSlots();
        profiles[0].enOcean_HandHeldID = programmerId;
        profiles[0].programmer_Nfc_FW = "2.10";
        if (change)
            change(profiles[0]);
        const QString path = tmp.filePath("slots.set");
        SettingsIniFile ini(path);
        EXPECT_TRUE(DownloadSettingsToIniFile(ini, profiles));
        return path;
    }
    CliRun cli(const QStringList &args)
    {
        CliRunOptions options;
        options.environment = DataHomeEnvironment(tmp.filePath("data"));
        options.timeoutMs = 60000;
        return RunTavelNfc(args, options);
    }
    QStringList lines(const QString &text) { return text.split('\n', Qt::SkipEmptyParts); }
};

TEST_F(RecordsCli, ProgrammerIdsOfAnyCaseJoinTheirRecords)
{
    struct Case {
        const char *name;
        QString stored;    // in the settings file
        QString receiver;  // --receiver, or none
    };
    const Case cases[] = {
        {"lower case in the settings file", "0x01a2b3c4", ""},
        {"lower case on the command line", "0x01A2B3C4", "0x01a2b3c4"},
        {"upper-case 0X prefix in the settings file", "0X01a2B3c4", ""},
    };
    int expectedDrivers = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        DevsimProcess sim;
        ASSERT_TRUE(sim.ready()) << sim.error().toStdString();
        QStringList args = {"send", settingsFile(c.stored), "--port", sim.pty(), "--timeout", "8000",
                            "--ack-timeout", "500", "--drivers", "1"};
        if (!c.receiver.isEmpty())
            args << "--receiver" << c.receiver;
        const CliRun r = cli(args);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(" frames to 0x01A2B3C4"))
            << r.out.toStdString();
        ++expectedDrivers;
        const CliRun drivers = cli({"records", "drivers"});
        ASSERT_EQ(lines(drivers.out).size(), expectedDrivers) << drivers.out.toStdString();
        EXPECT_TRUE(lines(drivers.out).first().contains(" - 0x01A2B3C4 - 0000000000012345 - "))
            << drivers.out.toStdString();
        const CliRun settings = cli({"records", "settings", "--limit", "1"});
        EXPECT_TRUE(settings.out.contains(" - 0x01A2B3C4 - ")) << settings.out.toStdString();
    }
}

TEST_F(RecordsCli, ALockedDriversFileKeepsTheRecordsPendingAndSendExitsThree)
{
    const QString settings = settingsFile("0x01A2B3C4");
    ASSERT_TRUE(QDir().mkpath(folder()));
    ASSERT_EQ(cli({"records", "drivers"}).exitCode, 0); // makes both files
    DevsimProcess sim({"--drivers", "2"});
    ASSERT_TRUE(sim.ready()) << sim.error().toStdString();
    sqlite3 *holder = nullptr;
    ASSERT_EQ(sqlite3_open(QDir(folder()).filePath(kDriversDatabaseFileName).toUtf8().constData(), &holder), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(holder, "BEGIN EXCLUSIVE;", nullptr, nullptr, nullptr), SQLITE_OK);
    const CliRun r = cli({"send", settings, "--port", sim.pty(), "--timeout", "8000", "--ack-timeout", "500",
                          "--drivers", "2"});
    EXPECT_EQ(r.exitCode, 3) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Driver programmed: serial 0000000000012346")) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains("2 records are kept pending: record files locked since ")) << r.err.toStdString();
    const CliRun pending = cli({"records", "pending"});
    EXPECT_EQ(pending.exitCode, 0);
    EXPECT_TRUE(pending.out.contains("serial 0000000000012345 from programmer 0x01A2B3C4")) << pending.out.toStdString();
    EXPECT_TRUE(pending.out.contains("2 record(s) pending"));
    // Still locked: flush fails and keeps them.
    CliRun flush = cli({"records", "flush"});
    EXPECT_EQ(flush.exitCode, 1);
    EXPECT_TRUE(flush.err.contains("2 records are kept pending: record files locked since ")) << flush.err.toStdString();
    sqlite3_exec(holder, "ROLLBACK;", nullptr, nullptr, nullptr);
    sqlite3_close(holder);
    flush = cli({"records", "flush"});
    EXPECT_EQ(flush.exitCode, 0) << flush.err.toStdString();
    EXPECT_TRUE(flush.out.contains("2 record(s) written"));
    const CliRun drivers = cli({"records", "drivers"});
    ASSERT_EQ(lines(drivers.out).size(), 2) << drivers.out.toStdString();
    EXPECT_TRUE(lines(drivers.out)[1].contains("0000000000012345"));
    EXPECT_TRUE(lines(cli({"records", "pending"}).out).contains("0 record(s) pending"));
}

// The slot of the simulated driver before anything was programmed into it: its tag
// identity, so that a read can assign the values to the slot's parameters.
void simulatedDriver(STRUCT_XML_FILE_VARIABLES &p)
{
    p.editGTIN = "000000000000";
    p.editFW = "0000";
    p.editHW = "0000";
}

TEST_F(RecordsCli, ReadNamesTheParametersNotOnTheTagAndAnUnaskedTransferCompleteWritesNoRecord)
{
    const QString settings = settingsFile("0x01A2B3C4", simulatedDriver);
    {
        // A read-write area of 4 bytes: the parameters behind it were never sent.
        DevsimProcess sim({"--tag-rw-size", "4"});
        ASSERT_TRUE(sim.ready()) << sim.error().toStdString();
        const CliRun r = cli({"read", "--port", sim.pty(), "--settings", settings, "--timeout", "8000"});
        EXPECT_EQ(r.exitCode, 1) << r.out.toStdString();
        EXPECT_TRUE(r.err.contains("tavel-nfc read: not on the tag (outside its read-write area): ")) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("DCLevel")) << r.err.toStdString();
        EXPECT_TRUE(r.out.contains("DCLevel = not on the tag")) << r.out.toStdString();
    }
    {
        // The simulator sends a transfer-complete frame nobody sent a transfer for.
        DevsimProcess sim({"--complete-on-read"});
        ASSERT_TRUE(sim.ready()) << sim.error().toStdString();
        const CliRun r = cli({"read", "--port", sim.pty(), "--settings", settings, "--timeout", "8000", "-v"});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("<- Transfer-complete frame without a transfer sent, ignored")) << r.err.toStdString();
        const CliRun records = cli({"records", "settings"});
        EXPECT_EQ(records.exitCode, 0) << records.err.toStdString();
        EXPECT_TRUE(lines(records.out).isEmpty()) << records.out.toStdString();
    }
}

TEST_F(RecordsCli, SendWithAMalformedReceiverOrIdentityFieldFailsBeforeItsFirstFrame)
{
    struct Case {
        const char *name;
        QString programmerId;
        QString gtin;
        const char *field; // named in the message
    };
    const Case cases[] = {
        {"receiver ID of four digits", "0x1234", "001122334455", "receiver ID '0x1234'"},
        {"GTIN of 11 digits", "0x01A2B3C4", "00112233445", "GTIN"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        DevsimProcess sim;
        ASSERT_TRUE(sim.ready()) << sim.error().toStdString();
        const QString settings = settingsFile(c.programmerId, [&c](STRUCT_XML_FILE_VARIABLES &p) { p.editGTIN = c.gtin; });
        const CliRun r = cli({"send", settings, "--port", sim.pty(), "--timeout", "3000", "--ack-timeout", "500", "-v"});
        EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.field)) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains("-> sending 0x")) << r.err.toStdString(); // no radio telegram
        EXPECT_FALSE(r.out.contains("frames to")) << r.out.toStdString();
    }
}

TEST_F(RecordsCli, TheRecordsWaitMustBeANumberOfSeconds)
{
    const QString settings = settingsFile("0x01A2B3C4");
    for (const char *command : {"send", "read", "verify"})
        for (const char *wait : {"abc", "-1", "3601"}) {
            SCOPED_TRACE(std::string(command) + " " + wait);
            const CliRun r = cli({command, settings, "--port", "/dev/null", "--records-wait", wait});
            EXPECT_EQ(r.exitCode, 2);
            EXPECT_TRUE(r.err.contains("--records-wait needs a number of seconds (0 to 3600)")) << r.err.toStdString();
        }
}

TEST_F(RecordsCli, RecordsDriversFailsWhenTheFolderOrTheFileCannotBeRead)
{
    WriteFileBytes(tmp.filePath("plain"), "x");
    QDir().mkpath(tmp.filePath("notadb"));
    WriteFileBytes(tmp.filePath("notadb/") + kDriversDatabaseFileName, QByteArray(4096, 'x'));
    struct Case {
        const char *name;
        QStringList args;
        QString folder;
        QString error; // the start of standard error
    } const cases[] = {
        {"a folder that cannot be made", {"drivers"}, tmp.filePath("plain/database"),
         "tavel-nfc records: the records folder " + tmp.filePath("plain/database") + " does not exist"},
        {"a mistyped folder", {"drivers"}, tmp.filePath("databse"),
         "tavel-nfc records: the records folder " + tmp.filePath("databse") + " does not exist"},
        {"settings of a mistyped folder", {"settings"}, tmp.filePath("databse"), "tavel-nfc records: the records folder"},
        {"an export from a mistyped folder", {"export", "--csv", tmp.filePath("out.csv")}, tmp.filePath("databse"),
         "tavel-nfc records: the records folder"},
        {"a report of a mistyped folder", {"report", "--csv", tmp.filePath("out.csv")}, tmp.filePath("databse"),
         "tavel-nfc records: the records folder"},
        {"a file that is not a database", {"drivers"}, tmp.filePath("notadb"),
         "tavel-nfc records: Drivers database could not be"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun r = cli(QStringList{"records"} + c.args + QStringList{"--folder", c.folder});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.startsWith(c.error)) << r.err.toStdString();
        EXPECT_EQ(lines(r.err).size(), 1) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(tmp.filePath("out.csv")));
    }
    EXPECT_FALSE(QFileInfo::exists(tmp.filePath("databse"))); // nothing was made
}

} // namespace
#endif
