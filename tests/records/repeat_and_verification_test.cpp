// A driver recorded a second time is marked repeat; the verification records
// are kept beside the driver records with the same care.
#include "file_bytes.h"
#include "outbox_drain.h"
#include "record_files.h"
#include "records_folder.h"

#include "records/sqlite/sqlite_exec.h"
#include "records/sqlite/sqlite_tables.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

class RepeatMarks : public RecordsFolderTest {
protected:
    // Writes a driver record of `serial` from programmer 0x0180A2B3; the repeat
    // mark the writer reported.
    static bool send(const QString &serial, RecordFate expected = RecordFate::Written)
    {
        bool repeat = false;
        EXPECT_EQ(WriteDriversToDatabaseInAppdataWithSettings("2.10", "0xFFAA0001", "0x0180A2B3", serial, &repeat),
                  expected);
        return repeat;
    }
};

TEST_F(RepeatMarks, ADriverRecordedBeforeIsWrittenAgainAndMarked)
{
    struct Case {
        const char *name;
        QStringList serials;
        QStringList marks; // the stored marks, oldest first
    };
    const Case cases[] = {
        {"one driver sent twice", {"1", "1"}, {"0", "1"}},
        {"three times", {"2", "2", "2"}, {"0", "1", "1"}},
        {"different drivers", {"3", "4", "5"}, {"0", "0", "0"}},
        {"back to an earlier one", {"6", "7", "6"}, {"0", "0", "1"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir folder;
        setDatabaseFolder(folder.path());
        QStringList reported;
        for (const QString &serial : c.serials)
            reported << (send(serial) ? QStringLiteral("1") : QStringLiteral("0"));
        EXPECT_EQ(reported, c.marks);
        const auto d = newest(RecordDatabase::Drivers);
        EXPECT_EQ(column(d, "serialNumber"), c.serials);
        EXPECT_EQ(column(d, "repeat"), c.marks);
    }
    EXPECT_TRUE(dlg.messages.isEmpty()) << dlg.texts().join('|').toStdString();
}

TEST_F(RepeatMarks, TheRecordsOfOneReportAreNoRepeatsOfOneAnother)
{
    // Two slots paired with the same programmer: one report, two records.
    for (int s : {0, 2})
        settingsVariablesField[s].enOcean_HandHeldID = "0x0180A2B3";
    EXPECT_EQ(RecordProgrammedDriver("0xFFAA0001", "0x0180A2B3", "0000000000000042", recordOptions()), 2);
    EXPECT_EQ(DrainOutbox().repeats, QStringList());
    // The same driver reported again: both records of the second report are repeats.
    EXPECT_EQ(RecordProgrammedDriver("0xFFAA0001", "0x0180A2B3", "0000000000000042", recordOptions()), 2);
    EXPECT_EQ(DrainOutbox().repeats, QStringList({"0000000000000042", "0000000000000042"}));
    EXPECT_EQ(column(newest(RecordDatabase::Drivers), "repeat"), QStringList({"0", "0", "1", "1"}));
}

TEST_F(RepeatMarks, APendingRecordIsDecidedWhenItIsMovedIn)
{
    {
        ExclusiveHolder holder(DriversDatabasePath());
        EXPECT_FALSE(send("0000000000000001", RecordFate::Pending));
        EXPECT_FALSE(send("0000000000000001", RecordFate::Pending)); // not known yet
    }
    // The program stops after the records went in but before the journal was
    // rewritten: moved in again, they are skipped and keep their marks.
    const QByteArray journal = ReadFileBytes(PendingRecordsJournalPath());
    QString error;
    ASSERT_EQ(FlushPendingRecords(&error), 0) << error.toStdString();
    WriteFileBytes(PendingRecordsJournalPath(), journal);
    ASSERT_EQ(FlushPendingRecords(&error), 0) << error.toStdString();
    EXPECT_TRUE(send("0000000000000001"));
    EXPECT_EQ(column(newest(RecordDatabase::Drivers), "repeat"), QStringList({"0", "1", "1"}));
}

TEST_F(RepeatMarks, AFileOfAnEarlierVersionGetsTheColumnAndItsRecordsCount)
{
    {
        // Written by an earlier version: no repeat column, no serial index.
        sqlite3 *db = nullptr;
        ASSERT_EQ(sqlite3_open(DriversDatabasePath().toUtf8().constData(), &db), SQLITE_OK);
        ASSERT_TRUE(ExecInt(DriversCreateTableSql(), nullptr, db));
        ASSERT_TRUE(ExecInt("INSERT INTO ProgrammedLines (datetime, programmerID, serialNumber) VALUES "
                            "('2020-01-01 10:00:00', '0x0180A2B3', '0000000000000007');",
                            nullptr, db));
        sqlite3_close(db);
    }
    QString error;
    ASSERT_TRUE(PrepareRecordDatabases(&error)) << error.toStdString();
    EXPECT_EQ(RecordIndexCount(DriversDatabasePath()), 2); // the time and the serial number
    EXPECT_TRUE(send("0000000000000007"));
    EXPECT_FALSE(send("0000000000000008"));
    EXPECT_EQ(column(newest(RecordDatabase::Drivers), "repeat"), QStringList({"0", "1", "0"}));

    // A file of an earlier version that was not prepared gets the column at its first record.
    QTemporaryDir other;
    setDatabaseFolder(other.path());
    QFile::copy(QDir(dir.path()).filePath(kSettingsDatabaseFileName), SettingsDatabasePath());
    {
        sqlite3 *db = nullptr;
        ASSERT_EQ(sqlite3_open(DriversDatabasePath().toUtf8().constData(), &db), SQLITE_OK);
        ASSERT_TRUE(ExecInt(DriversCreateTableSql(), nullptr, db));
        ASSERT_TRUE(ExecInt("INSERT INTO ProgrammedLines (datetime, serialNumber) VALUES ('2020-01-01 10:00:00', '9');",
                            nullptr, db));
        sqlite3_close(db);
    }
    EXPECT_TRUE(send("9"));
    EXPECT_EQ(column(newest(RecordDatabase::Drivers), "repeat"), QStringList({"0", "1"}));
    EXPECT_TRUE(dlg.messages.isEmpty()) << dlg.texts().join('|').toStdString();
}

TEST_F(RepeatMarks, TheListAndTheCsvCarryTheMarkAsTheirLastColumn)
{
    send("0000000000000001");
    send("0000000000000001");
    const QStringList lines = ProgrammedDriversReportLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].endsWith(" - 1 - ")) << lines[0].toStdString(); // newest first
    EXPECT_TRUE(lines[1].endsWith(" - 0 - ")) << lines[1].toStdString();

    const QString csv = QDir(dir.path()).filePath("out.csv");
    QString error;
    ASSERT_TRUE(ExportDriversCsv(csv, &error)) << error.toStdString();
    const QList<QByteArray> rows = ReadFileBytes(csv).trimmed().split('\n');
    ASSERT_EQ(rows.size(), 3);
    EXPECT_TRUE(rows[0].startsWith("id,datetime,enOcean_HandHeldID,"));
    EXPECT_TRUE(rows[0].endsWith(",editSerial,repeat")) << rows[0].toStdString();
    EXPECT_TRUE(rows[1].endsWith(",0"));
    EXPECT_TRUE(rows[2].endsWith(",1"));
}

// ---- Verification records ------------------------------------------------------------

class VerificationRecords : public RecordsFolderTest {
protected:
    static VerificationRecord verification(const QString &serial, const QString &result,
                                           const QString &differences = QString())
    {
        return VerificationRecord{serial, QStringLiteral("0x0180A2B3"), QStringLiteral("2"), result, differences};
    }
};

TEST_F(VerificationRecords, WrittenAndReadBackWithTheNewestOfEachSerial)
{
    setRecordsStation(QStringLiteral("line-7"));
    const QString twoLines = QStringLiteral("CLO L3: expected 80, found 70\nDC level: expected 30, found 255");
    ASSERT_EQ(WriteVerificationRecord(verification("0000000000000001", "FAIL", twoLines)), RecordFate::Written);
    ASSERT_EQ(WriteVerificationRecord(verification("0000000000000002", "PASS")), RecordFate::Written);
    ASSERT_EQ(WriteVerificationRecord(verification("0000000000000001", "PASS")), RecordFate::Written);
    setRecordsStation(QString());

    const auto v = newest(RecordDatabase::Verifications);
    ASSERT_EQ(v.GetRowCount(), 3);
    EXPECT_EQ(column(v, "serialNumber"), QStringList({"0000000000000001", "0000000000000002", "0000000000000001"}));
    EXPECT_EQ(column(v, "result"), QStringList({"FAIL", "PASS", "PASS"}));
    EXPECT_EQ(cell(v, "differences", 2), twoLines);
    EXPECT_EQ(cell(v, "slot", 2), "2");
    EXPECT_EQ(cell(v, "programmerID", 2), "0x0180A2B3");
    EXPECT_EQ(cell(v, "station", 2), "line-7");
    EXPECT_EQ(cell(v, "datetime", 2).size(), 19);

    VerificationRecord got;
    QString time, error;
    ASSERT_TRUE(NewestVerification("0000000000000001", &got, &time, &error)) << error.toStdString();
    EXPECT_EQ(got.result, "PASS"); // the later of the two
    EXPECT_TRUE(got.differences.isEmpty());
    EXPECT_EQ(time, cell(v, "datetime", 0));
    EXPECT_FALSE(NewestVerification("0000000000000099", &got, &time, &error));
    EXPECT_TRUE(error.isEmpty());
    EXPECT_TRUE(QFile::exists(QDir(dir.path()).filePath("programmedVerificationsData_ver_1.db")));
    EXPECT_TRUE(dlg.messages.isEmpty()) << dlg.texts().join('|').toStdString();
}

TEST_F(VerificationRecords, ALockedFileKeepsThemPendingAndTheyAreMovedInOnce)
{
    ASSERT_EQ(WriteVerificationRecord(verification("1", "PASS")), RecordFate::Written);
    {
        ExclusiveHolder holder(VerificationsDatabasePath());
        EXPECT_EQ(WriteVerificationRecord(verification("2", "FAIL", "lifetime: expected 50000, found 0")),
                  RecordFate::Pending);
        // A driver record meanwhile waits behind it, oldest first.
        EXPECT_EQ(WriteDriversToDatabaseInAppdataWithSettings("2.10", "0x01", "0x0180A2B3", "2"), RecordFate::Pending);
    }
    QList<PendingRecord> pending;
    ASSERT_TRUE(ReadPendingRecords(&pending, nullptr));
    ASSERT_EQ(pending.size(), 2);
    EXPECT_EQ(pending[0].kind, PendingRecord::Kind::Verification);
    EXPECT_TRUE(pending[0].describe().contains("verification record: serial 2 FAIL")) << pending[0].describe().toStdString();
    const QByteArray journal = ReadFileBytes(PendingRecordsJournalPath());
    QString error;
    ASSERT_EQ(FlushPendingRecords(&error), 0) << error.toStdString();
    // Moved in again after a stop before the journal was rewritten: skipped.
    WriteFileBytes(PendingRecordsJournalPath(), journal);
    ASSERT_EQ(FlushPendingRecords(&error), 0) << error.toStdString();
    const auto v = newest(RecordDatabase::Verifications);
    EXPECT_EQ(column(v, "serialNumber"), QStringList({"1", "2"}));
    EXPECT_EQ(cell(v, "differences", 0), "lifetime: expected 50000, found 0");
    EXPECT_EQ(newest(RecordDatabase::Drivers).GetRowCount(), 1);
}

TEST(PendingJournalVersions, LinesOfEarlierVersionsAndOfVerificationsAreRead)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("j");
    // A driver line as earlier versions wrote it, then a verification line.
    QStringList driver = {"R1", "id-1", "driver", "2026-01-02 03:04:05", "-"};
    for (int i = 0; i < 17; ++i)
        driver << QStringLiteral("v%1").arg(i);
    WriteFileBytes(path, driver.join('\t').toUtf8() + '\n');
    PendingJournal journal(path);
    VerificationRecord v{"0000000000000003", "0x0180A2B3", "1", "FAIL", "NTC T1: expected 70, found 65\nGTIN: not on the tag"};
    PendingRecord r = PendingRecord::make(PendingRecord::Kind::Verification,
                                          {v.serial, v.programmerId, v.slot, v.result, v.differences});
    ASSERT_TRUE(journal.append(r, nullptr));
    // The second record of one report, its settings not looked up yet.
    PendingRecord second = PendingRecord::make(PendingRecord::Kind::Driver, driver.mid(5));
    second.lookupDeferred = true;
    second.reportRecord = 1;
    ASSERT_TRUE(journal.append(second, nullptr));
    QList<PendingRecord> read;
    ASSERT_TRUE(journal.read(&read, nullptr));
    ASSERT_EQ(read.size(), 3);
    EXPECT_EQ(read[0].kind, PendingRecord::Kind::Driver);
    EXPECT_EQ(read[0].values.value(16), "v16");
    EXPECT_FALSE(read[0].lookupDeferred);
    EXPECT_EQ(read[0].reportRecord, 0);
    EXPECT_EQ(read[1].kind, PendingRecord::Kind::Verification);
    EXPECT_EQ(read[1].values, r.values);
    EXPECT_TRUE(read[2].lookupDeferred);
    EXPECT_EQ(read[2].reportRecord, 1);
    // A verification line with a value too few is no record.
    QStringList shortLine = r.toLine().split('\t');
    shortLine.removeLast();
    EXPECT_FALSE(PendingRecord::parse(shortLine.join('\t'), &r));
}

} // namespace
