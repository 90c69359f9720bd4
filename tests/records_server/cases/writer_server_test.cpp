// The records writer against a real PostgreSQL server: the same rows as the
// direct writes; tables another session holds locked, a server stopped and one
// that accepts and never answers keep the records pending, named, and they go
// in once when the server takes them again; the command line ends its work
// whatever the server does.
#include "answer_rows.h"
#include "cli_runner.h"
#include "default_profiles.h"
#include "devsim_process.h"
#include "outbox_drain.h"
#include "pg_table_lock.h"
#include "pg_test_server.h"
#include "server_fixture.h"
#include "profile/profile_defaults.h"
#include "profile/settings_file.h"
#include "records/postgres/postgres_store.h"
#include "records/records_database.h"
#include "records/records_outbox.h"
#include "records/records_writer.h"
#include "scripted_dialogs.h"
#include "silent_listener.h"
#include "wait_for.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <libpq-fe.h>

#include <memory>

namespace {

class WriterServer : public PgServerTest {
protected:
    static QList<QStringList> rows(RecordQuery which)
    {
        SQLiteAnswerClass a;
        QString error;
        EXPECT_TRUE(activeRecordsStore().query(which, 1000, QString(), a, &error)) << error.toStdString();
        return RowsOldestFirstWithoutTime(a);
    }
    static void queueTransferAndDrivers(int drivers)
    {
        ASSERT_EQ(QueueSettingsRecord(ProgrammerSettings("0x0180A2B3", "500")), RecordFate::Pending);
        for (int i = 1; i <= drivers; ++i)
            ASSERT_EQ(QueueDriverRecord("2.10", "0xFFAA0001", "0x0180A2B3", QStringLiteral("%1").arg(i, 16, 10, QLatin1Char('0'))),
                      RecordFate::Pending);
    }
};

// ---- The same rows -------------------------------------------------------------------

TEST_F(WriterServer, TheWriterGivesTheServerTheRowsTheDirectWritesGive)
{
    struct Step {
        int kind; // 0 settings, 1 driver, 2 verification
        const char *programmer;
        const char *value;
        const char *text = "LED driver";
    };
    const Step steps[] = {
        {0, "0x0180A2B3", "400"},
        {0, "0x0180A2B3", "500", "Fam 'x' \"quoted\", \xC3\xBC\ttab"},
        {0, "0x11111111", "999"},
        {1, "0x0180A2B3", "0000000000000001"},
        {1, "0x22222222", "0000000000000002"},
        {2, "0x0180A2B3", "0000000000000001", "CLO L2: expected 90, found 85"},
        {0, "0x0180A2B3", "600"},
        {1, "0x0180A2B3", "0000000000000004"},
        {1, "0x0180A2B3", "0000000000000001"}, // a repeat
    };
    auto verification = [](const Step &s) { return VerificationRecord{s.value, s.programmer, "1", "FAIL", s.text}; };
    use(server->freshDatabase());
    for (const Step &s : steps) {
        const RecordFate fate = s.kind == 0 ? WriteSettingsRecord(ProgrammerSettings(s.programmer, s.value, s.text))
                                : s.kind == 1 ? WriteDriversToDatabaseInAppdataWithSettings("2.10", "0xFFAA0001", s.programmer, s.value)
                                              : WriteVerificationRecord(verification(s));
        ASSERT_EQ(fate, RecordFate::Written) << s.value;
    }
    const auto settingsRows = rows(RecordQuery::SettingsNewest), driverRows = rows(RecordQuery::DriversNewest),
               verificationRows = rows(RecordQuery::VerificationsNewest);

    use(server->freshDatabase());
    for (const Step &s : steps) {
        const RecordFate fate = s.kind == 0 ? QueueSettingsRecord(ProgrammerSettings(s.programmer, s.value, s.text))
                                : s.kind == 1 ? QueueDriverRecord("2.10", "0xFFAA0001", s.programmer, s.value)
                                              : QueueVerificationRecord(verification(s));
        ASSERT_EQ(fate, RecordFate::Pending) << s.value;
    }
    const OutboxDrain d = DrainOutbox();
    EXPECT_EQ(d.left, 0) << d.state.reason.toStdString();
    EXPECT_EQ(d.repeats, QStringList({"0000000000000001"}));
    EXPECT_EQ(rows(RecordQuery::SettingsNewest), settingsRows);
    EXPECT_EQ(rows(RecordQuery::DriversNewest), driverRows);
    EXPECT_EQ(rows(RecordQuery::VerificationsNewest), verificationRows);
    EXPECT_EQ(driverRows.size(), 4);
}

// ---- Locked, stopped, silent -----------------------------------------------------------

TEST_F(WriterServer, LockedTablesKeepTheRecordsPendingAndTheyGoInOnceWhenTheLockEnds)
{
    // The URI's own lock time-out wins over the program's.
    const QString url = server->freshDatabase() + QStringLiteral("&options=-c%20lock_timeout%3D300");
    use(url);
    PgTableLock lock(url);
    ASSERT_TRUE(lock.ok()) << lock.error().toStdString();
    queueTransferAndDrivers(3);
    const OutboxDrain locked = DrainOutbox();
    EXPECT_EQ(locked.written, 0);
    EXPECT_EQ(locked.left, 4);
    EXPECT_EQ(locked.state.kind, RecordsStoreState::Kind::Locked);
    EXPECT_TRUE(locked.state.text().startsWith("tables locked since ")) << locked.state.text().toStdString();
    EXPECT_TRUE(locked.state.reason.contains("lock timeout")) << locked.state.reason.toStdString();

    lock.release();
    const OutboxDrain freed = DrainOutbox();
    EXPECT_EQ(freed.left, 0) << freed.state.reason.toStdString();
    EXPECT_EQ(server->exec(url, "SELECT count(*) FROM driver_records"), 3);
    EXPECT_EQ(server->exec(url, "SELECT count(*) FROM settings_records"), 1);
    EXPECT_EQ(server->exec(url, "SELECT count(*) FROM driver_records WHERE \"nomCurrent\" = '500'"), 3);
    EXPECT_EQ(DrainOutbox().written, 0);
    EXPECT_EQ(server->exec(url, "SELECT count(*) FROM driver_records"), 3);
}

TEST_F(WriterServer, AStoppedServerIsUnreachableAndTheRecordsGoInOnceWhenItIsBack)
{
    PgTestServer own(true); // stopped and started by this test alone
    ASSERT_TRUE(own.ok()) << own.error().toStdString();
    const QString url = own.freshDatabase();
    ASSERT_FALSE(url.isEmpty()) << own.error().toStdString();
    use(url);
    queueTransferAndDrivers(1);
    ASSERT_EQ(DrainOutbox().left, 0);

    ASSERT_TRUE(own.pause()) << own.error().toStdString();
    queueTransferAndDrivers(2);
    const OutboxDrain away = DrainOutbox();
    EXPECT_EQ(away.left, 3);
    EXPECT_EQ(away.state.kind, RecordsStoreState::Kind::Unreachable);
    EXPECT_TRUE(away.state.text().startsWith("server unreachable since ")) << away.state.text().toStdString();
    EXPECT_TRUE(away.state.reason.contains("cannot be reached")) << away.state.reason.toStdString();

    ASSERT_TRUE(own.resume()) << own.error().toStdString();
    EXPECT_EQ(DrainOutbox().left, 0);
    EXPECT_EQ(own.exec(url, "SELECT count(*) FROM driver_records"), 3);
    EXPECT_EQ(own.exec(url, "SELECT count(*) FROM settings_records"), 2);
}

// The silent listener is a POSIX socket of the test.
#ifndef _WIN32
TEST_F(WriterServer, AServerThatNeverAnswersIsUnreachableAfterTheConnectTimeOutAndStoppingDoesNotWaitForIt)
{
    SilentListener silent;
    ASSERT_TRUE(silent.ok());
    const QString url = QStringLiteral("postgresql://127.0.0.1:%1/records?user=tavel&connect_timeout=1").arg(silent.port());
    use(url, false);
    queueTransferAndDrivers(1);
    const OutboxDrain d = DrainOutbox();
    EXPECT_EQ(d.left, 2);
    EXPECT_EQ(d.state.kind, RecordsStoreState::Kind::Unreachable);
    EXPECT_TRUE(d.state.reason.contains("no answer within 1 s")) << d.state.reason.toStdString();

    // A writer in the middle of a connection (here one that would wait a minute)
    // stops when asked; the records stay in the outbox.
    const QString patient = QString(url).replace("connect_timeout=1", "connect_timeout=60");
    use(patient, false);
    RecordsWriterThread writer(activeRecordsStore().clone(), PendingRecordsJournalPath());
    writer.start();
    ASSERT_TRUE(silent.waitForClient(kWaitLimitMs));
    writer.stop();
    EXPECT_EQ(PendingRecordCount(), 2);
}

#endif

// ---- The command line ----------------------------------------------------------------------

#ifndef _WIN32
TEST_F(WriterServer, SendReportsEveryDriverWhateverTheServerDoesAndOneFlushWritesThemOnce)
{
    ASSERT_TRUE(TavelNfcIsBuilt());
    if (!kHaveDevsim)
        GTEST_SKIP() << "the simulator runs on POSIX systems only";
    const QString settingsPath = dir.filePath("drivers.set");
    ASSERT_TRUE(WritePairedSettingsFile(settingsPath));
    SilentListener silent;
    ASSERT_TRUE(silent.ok());
    const QString url = server->freshDatabase() + QStringLiteral("&options=-c%20lock_timeout%3D300");
    use(url);
    // The writer is given time for one attempt: the reason is then known.
    struct Case {
        const char *name;
        QString store;
        const char *kept; // the reason standard error names
    };
    const Case cases[] = {
        {"a server that never answers",
         QStringLiteral("postgresql://127.0.0.1:%1/records?user=tavel").arg(silent.port()),
         "records are kept pending: server unreachable since "},
        {"locked tables", url, "records are kept pending: tables locked since "},
    };
    PgTableLock lock(url);
    ASSERT_TRUE(lock.ok()) << lock.error().toStdString();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString home = dir.filePath(QString::fromLatin1(c.name).replace(' ', '-'));
        DevsimProcess sim({"--drivers", "6"});
        ASSERT_TRUE(sim.ready()) << sim.error().toStdString();
        CliRunOptions options;
        options.environment = DataHomeEnvironment(home) + QStringList{QStringLiteral("ASAN_OPTIONS=detect_leaks=0")};
        options.timeoutMs = 120000;
        const CliRun r = RunTavelNfc({"send", settingsPath, "--port", sim.pty(), "--timeout", "15000", "--ack-timeout",
                                      "500", "--drivers", "6", "--records", c.store, "--records-wait", "10"},
                                     options);
        EXPECT_EQ(r.exitCode, 3) << r.err.toStdString();
        EXPECT_EQ(r.out.count("Driver programmed: serial "), 6) << r.out.toStdString();
        EXPECT_TRUE(r.err.contains(c.kept)) << r.err.toStdString();
        if (QString(c.name) == "locked tables") {
            // A flush while the lock holds ends naming it; after it, one flush writes all.
            CliRun flush = RunTavelNfc({"records", "flush", "--records", url}, options);
            EXPECT_EQ(flush.exitCode, 1);
            EXPECT_TRUE(flush.err.contains("7 records are kept pending: tables locked since ")) << flush.err.toStdString();
            lock.release();
            flush = RunTavelNfc({"records", "flush", "--records", url}, options);
            EXPECT_EQ(flush.exitCode, 0) << flush.err.toStdString();
            EXPECT_TRUE(flush.out.contains("7 record(s) written")) << flush.out.toStdString();
            flush = RunTavelNfc({"records", "flush", "--records", url}, options);
            EXPECT_TRUE(flush.out.contains("0 record(s) written")) << flush.out.toStdString();
            EXPECT_EQ(server->exec(url, "SELECT count(*) FROM driver_records"), 6);
            EXPECT_EQ(server->exec(url, "SELECT count(*) FROM settings_records"), 1);
        }
    }
}

TEST_F(WriterServer, EveryDriverPrintedBeforeTheProgramIsKilledIsInTheStoreOnceAfterAFlush)
{
    ASSERT_TRUE(TavelNfcIsBuilt());
    if (!kHaveDevsim)
        GTEST_SKIP() << "the simulator runs on POSIX systems only";
    const QString settingsPath = dir.filePath("drivers.set");
    ASSERT_TRUE(WritePairedSettingsFile(settingsPath));
    // The records cannot go anywhere while the program runs: they are all in the outbox when it dies.
    SilentListener silent;
    ASSERT_TRUE(silent.ok());
    DevsimProcess sim({"--drivers", "6"});
    ASSERT_TRUE(sim.ready()) << sim.error().toStdString();
    QProcess send;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &entry : DataHomeEnvironment(dir.filePath("station")) + QStringList{"ASAN_OPTIONS=detect_leaks=0"})
        environment.insert(entry.section('=', 0, 0), entry.section('=', 1));
    send.setProcessEnvironment(environment);
    QString out;
    QObject::connect(&send, &QProcess::readyReadStandardOutput, [&] { out += QString::fromUtf8(send.readAllStandardOutput()); });
    send.start(TavelNfcProgram(), {"send", settingsPath, "--port", sim.pty(), "--timeout", "15000", "--ack-timeout", "500",
                                   "--drivers", "6", "--records",
                                   QStringLiteral("postgresql://127.0.0.1:%1/records?user=tavel").arg(silent.port())});
    ASSERT_TRUE(waitFor([&] { return out.count("Driver programmed: serial ") >= 3; }, kWaitLimitMs)) << out.toStdString();
    send.kill(); // SIGKILL: no chance to finish anything
    send.waitForFinished();
    QStringList printed;
    for (const QString &line : out.split('\n'))
        if (line.startsWith("Driver programmed: serial "))
            printed << line.mid(26).trimmed();
    ASSERT_GE(printed.size(), 3);

    const QString url = server->freshDatabase();
    CliRunOptions options;
    options.environment = DataHomeEnvironment(dir.filePath("station")) + QStringList{"ASAN_OPTIONS=detect_leaks=0"};
    const CliRun flush = RunTavelNfc({"records", "flush", "--records", url}, options);
    EXPECT_EQ(flush.exitCode, 0) << flush.err.toStdString();
    for (const QString &serial : printed)
        EXPECT_EQ(server->exec(url, QStringLiteral("SELECT count(*) FROM driver_records WHERE \"serialNumber\" = '%1'")
                                        .arg(serial)),
                  1)
            << serial.toStdString();
    EXPECT_EQ(server->exec(url, "SELECT count(*) FROM settings_records"), 1);
    EXPECT_EQ(RunTavelNfc({"records", "flush", "--records", url}, options).exitCode, 0);
    EXPECT_EQ(server->exec(url, "SELECT count(*) - count(DISTINCT record_id) FROM driver_records"), 0);
}

#endif

} // namespace
