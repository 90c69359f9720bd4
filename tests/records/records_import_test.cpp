// Copying a station's SQLite records into another store: every record once,
// and a progress report that counts the records of both files.

#include "records/records_database.h"
#include "records/sqlite/sqlite_import.h"
#include "records/records_store.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

class RecordsImport : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        source = dir.filePath(QStringLiteral("old-pc"));
        ASSERT_TRUE(QDir().mkpath(source));
        // One settings record and three driver records in the station's files.
        setDatabaseFolder(source);
        ASSERT_EQ(WriteSettingsToDatabaseInAppdata(), RecordFate::Written);
        for (const char *serial : {"0000000000000001", "0000000000000002", "0000000000000003"})
            ASSERT_EQ(WriteDriversToDatabaseInAppdataWithSettings(QStringLiteral("2.10"), QStringLiteral("0x01"),
                                                                   QStringLiteral("0x0180A2B3"),
                                                                   QString::fromLatin1(serial)),
                      RecordFate::Written);
        setDatabaseFolder(QString());
        QString error;
        target = MakeRecordsStore(dir.filePath(QStringLiteral("shared")), &error);
        ASSERT_TRUE(target) << error.toStdString();
        ASSERT_TRUE(QDir().mkpath(target->location()));
        ASSERT_TRUE(target->prepare(&error)) << error.toStdString();
    }
    void TearDown() override { setDatabaseFolder(QString()); }

    QTemporaryDir dir;
    QString source;
    std::unique_ptr<RecordsStore> target;
};

TEST_F(RecordsImport, ProgressCountsEveryRecordOfBothFilesAndASecondImportAddsNothing)
{
    for (const auto &[added, present] : {std::pair{4, 0}, std::pair{0, 4}}) {
        SCOPED_TRACE(added ? "first import" : "second import");
        std::vector<std::pair<qint64, qint64>> reports;
        ImportCounts counts;
        QString error;
        ASSERT_TRUE(ImportSqliteRecords(source, *target, &counts, &error,
                                        [&](qint64 done, qint64 total) { reports.emplace_back(done, total); }))
            << error.toStdString();
        EXPECT_EQ(counts.added, added);
        EXPECT_EQ(counts.present, present);
        const std::vector<std::pair<qint64, qint64>> expected = {{0, 4}, {1, 4}, {2, 4}, {3, 4}, {4, 4}};
        EXPECT_EQ(reports, expected);
    }
}

TEST_F(RecordsImport, TheCommandLinesImportReachesTheFilesThroughTheirKindOfStore)
{
    ImportCounts counts;
    QString error;
    ASSERT_TRUE(ImportStationRecords(source, *target, &counts, &error)) << error.toStdString();
    EXPECT_EQ(counts.added, 4);
    EXPECT_EQ(counts.present, 0);
}

TEST_F(RecordsImport, AnUnreadableFileFailsNamingItAfterTheRecordsBeforeIt)
{
    // A drivers file that is no database: the settings record is copied, then
    // the import stops naming the file.
    const QString drivers = QDir(source).filePath(kDriversDatabaseFileName);
    ASSERT_TRUE(QFile::remove(drivers));
    QFile damaged(drivers);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(4096, 'x'));
    damaged.close();

    ImportCounts counts;
    QString error;
    qint64 lastDone = -1;
    EXPECT_FALSE(ImportSqliteRecords(source, *target, &counts, &error,
                                     [&](qint64 done, qint64) { lastDone = done; }));
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(drivers))) << error.toStdString();
    EXPECT_EQ(counts.added, 1);
    EXPECT_EQ(lastDone, 1);
}

TEST_F(RecordsImport, VerificationRecordsComeAlongOnce)
{
    setDatabaseFolder(source);
    for (const char *result : {"FAIL", "PASS"})
        ASSERT_EQ(WriteVerificationRecord({"0000000000000002", "0x0180A2B3", "1", result,
                                           QString::fromLatin1(result) == "FAIL" ? "CLO L1: expected 80, found 70" : ""}),
                  RecordFate::Written);
    setDatabaseFolder(dir.filePath(QStringLiteral("shared"))); // the target's files
    QString error;
    for (const int added : {6, 0}) {
        ImportCounts counts;
        ASSERT_TRUE(ImportSqliteRecords(source, *target, &counts, &error)) << error.toStdString();
        EXPECT_EQ(counts.added, added);
        EXPECT_EQ(counts.present, 6 - added);
    }
    SQLiteAnswerClass v;
    ASSERT_TRUE(target->query(RecordQuery::VerificationsNewest, 10, QString(), v, &error)) << error.toStdString();
    ASSERT_EQ(v.GetRowCount(), 2);
    EXPECT_EQ(v.Get(6, 0), "PASS"); // result, newest first
    EXPECT_EQ(v.Get(7, 1), "CLO L1: expected 80, found 70");
    EXPECT_EQ(v.Get(3, 1), "0000000000000002");
}

} // namespace
