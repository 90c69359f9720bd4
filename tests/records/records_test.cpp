#include "profile/profile_defaults.h"
#include "records/record_options.h"
#include "records/records_database.h"
#include "records/sqlite/sqlite_exec.h"
#include "records/sqlite/sqlite_tables.h"
#include "records/records_outbox.h"
#include "records/sqlite_answer.h"
#include "file_bytes.h"
#include "file_size_limit.h"
#include "record_files.h"
#include "outbox_drain.h"
#include "records_folder.h"
#include "scripted_dialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>

namespace {

// ---- The result table ---------------------------------------------------------

struct AnswerFixture {
    SQLiteAnswerClass answer;
    AnswerFixture()
    {
        const char *names[] = {"a", "b"};
        const char *row0[] = {"12", nullptr};
        const char *row1[] = {"1.5", "_Null"};
        const char *uneven[] = {"x", "y", "z"};
        const char *names3[] = {"a", "b", "c"};
        answer.Insert(2, row0, names);
        answer.Insert(3, uneven, names3); // another value count: ignored, not counted
        answer.Insert(2, row1, names);
    }
};

TEST(SQLiteAnswer, CellsNullMarkerAndUnevenRows)
{
    AnswerFixture f;
    EXPECT_EQ(f.answer.GetRowCount(), 2);
    EXPECT_EQ(f.answer.GetColoumCount(), 2);
    EXPECT_EQ(f.answer.GetHeader(1), "b");
    EXPECT_EQ(f.answer.Get(0, 0), "12");
    EXPECT_EQ(f.answer.Get(0, 1), "1.5");
    // A NULL cell and a cell holding the marker text read alike.
    for (int row : {0, 1}) {
        EXPECT_TRUE(f.answer.IsNull(1, row));
        EXPECT_EQ(f.answer.Get(1, row), "NULL");
        EXPECT_EQ(f.answer.Get(1, row, "fb"), "fb");
    }
    EXPECT_EQ(f.answer.GetInt(0, 0, -1), 12);
    EXPECT_EQ(f.answer.GetInt(0, 1, -1), -1); // "1.5" is no integer
    EXPECT_EQ(f.answer.GetInt(1, 0, 7), 7);   // NULL
    EXPECT_DOUBLE_EQ(f.answer.GetFloat(0, 1, -1), 1.5);
    EXPECT_DOUBLE_EQ(f.answer.GetFloat(1, 1, 2.5), 2.5);
}

TEST(SQLiteAnswer, FloatUsesPointAsDecimalSeparator)
{
    SQLiteAnswerClass a;
    const char *names[] = {"v"};
    const char *comma[] = {"1,5"};
    a.Insert(1, comma, names);
    EXPECT_DOUBLE_EQ(a.GetFloat(0, 0, -1), -1);
}

TEST(SQLiteAnswer, PositionsOutsideTheTable)
{
    AnswerFixture f;
    ScriptedDialogs dlg;
    struct Pos { int col, row; };
    for (Pos p : {Pos{-1, 0}, Pos{2, 0}, Pos{0, -1}, Pos{0, 2}}) {
        EXPECT_EQ(f.answer.Get(p.col, p.row), "ERROR");
        EXPECT_EQ(f.answer.Get(p.col, p.row, "fb"), "ERROR");
        EXPECT_TRUE(f.answer.IsNull(p.col, p.row));
        EXPECT_EQ(f.answer.GetInt(p.col, p.row, 42), 42);
        EXPECT_DOUBLE_EQ(f.answer.GetFloat(p.col, p.row, 4.5), 4.5);
    }
    EXPECT_EQ(f.answer.GetHeader(-1), "ERROR");
    EXPECT_EQ(f.answer.GetHeader(2), "ERROR");
    ASSERT_EQ(dlg.messages.size(), 8);
    for (const auto &m : dlg.messages)
        EXPECT_EQ(m.text, "SQL Spalten Zeilenazahl falsch");
    f.answer.Clear();
    EXPECT_EQ(f.answer.GetRowCount(), 0);
    EXPECT_EQ(f.answer.GetColoumCount(), 0);
    const char *names[] = {"only"};
    const char *row[] = {"v"};
    f.answer.Insert(1, row, names); // header pending again after Clear
    EXPECT_EQ(f.answer.GetHeader(0), "only");
    EXPECT_EQ(f.answer.GetRowCount(), 1);
}

// ---- The database files ---------------------------------------------------------

class RecordsDb : public RecordsFolderTest {};

TEST_F(RecordsDb, FirstReportCreatesAnEmptyDriversFile)
{
    EXPECT_TRUE(ProgrammedDriversReportLines().isEmpty());
    EXPECT_TRUE(QFile::exists(QDir(dir.path()).filePath("programmedDriversData_ver_1.db")));
    EXPECT_TRUE(dlg.messages.isEmpty());
}

TEST_F(RecordsDb, DriverRecordTakesNewestSettingsOfItsProgrammer)
{
    STRUCT_XML_FILE_VARIABLES p = settingsVariablesField[0];
    p.enOcean_HandHeldID = "0x0180A2B3";
    p.current.defaultValue = "400";
    WriteSettingsRecord(p);
    p.current.defaultValue = "500"; // same second: the later record wins
    p.dcLevel.defaultValue = "255";
    WriteSettingsRecord(p);
    STRUCT_XML_FILE_VARIABLES other = p;
    other.enOcean_HandHeldID = "0x11111111";
    other.current.defaultValue = "999";
    WriteSettingsRecord(other);

    WriteDriversToDatabaseInAppdataWithSettings("2.10", "0xFFAA0001", "0x0180A2B3", "0000000000012345");
    WriteDriversToDatabaseInAppdataWithSettings("1.0", "0xFFAA0001", "0x22222222", "0000000000000001");

    const auto d = newest(RecordDatabase::Drivers);
    ASSERT_EQ(d.GetRowCount(), 2);
    // Newest first: the programmer without settings records reads NULL.
    EXPECT_EQ(cell(d, "programmerID", 0), "0x22222222");
    for (const char *col : {"nomCurrent", "lifeTime", "CLO_L1", "CLO_L5", "DC_level", "extNTC_CutOffTemp"})
        EXPECT_EQ(cell(d, col, 0), "NULL") << col;
    EXPECT_EQ(cell(d, "enOcean_HandHeldID", 1), "0xFFAA0001");
    EXPECT_EQ(cell(d, "programmer_NFC_FW", 1), "2.10");
    EXPECT_EQ(cell(d, "serialNumber", 1), "0000000000012345");
    EXPECT_EQ(cell(d, "nomCurrent", 1), "500");
    EXPECT_EQ(cell(d, "DC_level", 1), "255");
    EXPECT_EQ(cell(d, "CLO_L1", 1), p.Level[0].defaultValue);
    EXPECT_EQ(cell(d, "extNTC_Temp2", 1), p.Temp2.defaultValue);
    EXPECT_TRUE(dlg.messages.isEmpty());
}

TEST_F(RecordsDb, UnreadableSettingsFileLeavesSettingTextsEmpty)
{
    // A folder where the settings file should be: it cannot be opened as a database.
    ASSERT_TRUE(QDir(dir.path()).mkdir("programmedSettingsData_ver_1.db"));
    WriteDriversToDatabaseInAppdataWithSettings("2.10", "0x01", "0x0180A2B3", "0000000000000007");
    dlg.clear();
    const auto d = newest(RecordDatabase::Drivers);
    ASSERT_EQ(d.GetRowCount(), 1);
    EXPECT_EQ(cell(d, "serialNumber"), "0000000000000007");
    EXPECT_EQ(cell(d, "nomCurrent"), "");
    EXPECT_EQ(cell(d, "extNTC_CutOffTemp"), "");
}

TEST_F(RecordsDb, QuotesAndOtherCharactersRoundTripThroughBothFiles)
{
    const QString tricky = QStringLiteral("a\"b'c\"\"; DROP TABLE ProgrammedLines; -- ä€");
    STRUCT_XML_FILE_VARIABLES p = settingsVariablesField[0];
    p.enOcean_HandHeldID = tricky;
    p.familyName = tricky;
    p.current.defaultValue = "\"350\"";
    WriteSettingsRecord(p);
    WriteDriversToDatabaseInAppdataWithSettings(tricky, "\"own\"", tricky, "'12345'");
    EXPECT_TRUE(dlg.messages.isEmpty()) << dlg.texts().join('|').toStdString();

    const auto s = newest(RecordDatabase::Settings);
    ASSERT_EQ(s.GetRowCount(), 1);
    EXPECT_EQ(cell(s, "familyName"), tricky);
    EXPECT_EQ(cell(s, "nomCurrent"), "\"350\"");
    const auto d = newest(RecordDatabase::Drivers);
    ASSERT_EQ(d.GetRowCount(), 1);
    EXPECT_EQ(cell(d, "programmer_NFC_FW"), tricky);
    EXPECT_EQ(cell(d, "enOcean_HandHeldID"), "\"own\"");
    EXPECT_EQ(cell(d, "serialNumber"), "'12345'");
    EXPECT_EQ(cell(d, "nomCurrent"), "\"350\""); // found through the quoted programmer ID
}

TEST_F(RecordsDb, FeedbackWritesOneRecordPerMatchingTickedSlot)
{
    struct Case {
        const char *name;
        QString ids[3];
        bool filters[3];
        bool writeDrivers;
        int expected;
    };
    const QString id = "0x0180A2B3";
    const Case cases[] = {
        {"slots 1 and 3 match, all ticked", {id, "0x99999999", id}, {true, true, true}, true, 2},
        {"slot 3 unticked", {id, "0x99999999", id}, {true, true, false}, true, 1},
        {"lower-case hexadecimal never matches", {"0x0180a2b3", id.toLower(), "0x0180A2b3"}, {true, true, true}, true, 0},
        {"drivers database unticked", {id, id, id}, {true, true, true}, false, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        for (int s = 0; s < 3; ++s) {
            settingsVariablesField[s].enOcean_HandHeldID = c.ids[s];
            settingsVariablesField[s].programmer_Nfc_FW = QStringLiteral("fw%1").arg(s + 1);
        }
        RecordOptions options;
        options.slotFilter = {c.filters[0], c.filters[1], c.filters[2]};
        if (!c.writeDrivers)
            options.setWriteDrivers(false);
        const int before = newest(RecordDatabase::Drivers, 1000).GetRowCount();
        EXPECT_EQ(RecordProgrammedDriver("0xFFAA0001", id, "0000000000000042", options), c.expected);
        EXPECT_EQ(DrainOutbox().written, c.expected);
        EXPECT_EQ(newest(RecordDatabase::Drivers, 1000).GetRowCount() - before, c.expected);
    }
    // The two records of the first case carry their own slot's firmware.
    const auto d = newest(RecordDatabase::Drivers, 1000);
    QStringList fws;
    for (int r = 0; r < d.GetRowCount(); ++r)
        fws << cell(d, "programmer_NFC_FW", r);
    fws.sort();
    EXPECT_EQ(fws, QStringList({"fw1", "fw1", "fw3"}));
}

TEST(RecordOptionsCoupling, DriversBoxCouplesTheThreeFilters)
{
    RecordOptions o;
    o.slotFilter = {false, true, false};
    o.setWriteDrivers(false);
    EXPECT_EQ(o.slotFilter, (std::array<bool, 3>{false, false, false}));
    o.setWriteDrivers(true);
    EXPECT_EQ(o.slotFilter, (std::array<bool, 3>{true, true, true}));
    EXPECT_TRUE(o.writeSettings); // acts alone
}

TEST_F(RecordsDb, SettingsRecordFollowsItsOption)
{
    settingsVariablesField[1].familyName = "Slot2Family";
    setActiveSlot(2);
    RecordOptions off;
    off.writeSettings = false;
    EXPECT_FALSE(RecordConfirmedTransfer(off));
    EXPECT_TRUE(RecordConfirmedTransfer(RecordOptions()));
    EXPECT_EQ(DrainOutbox().left, 0);
    const auto s = newest(RecordDatabase::Settings);
    ASSERT_EQ(s.GetRowCount(), 1);
    EXPECT_EQ(cell(s, "familyName"), "Slot2Family"); // the active slot
}

TEST_F(RecordsDb, ReportShowsTheNewest500NewestFirst)
{
    {
        // 501 records written in one go (all within the same second or two).
        sqlite3 *db = nullptr;
        ASSERT_EQ(sqlite3_open(DriversDatabasePath().toUtf8().constData(), &db), SQLITE_OK);
        ASSERT_TRUE(ExecInt(DriversCreateTableSql(), nullptr, db));
        ExecInt("BEGIN;", nullptr, db);
        for (int i = 0; i < 501; ++i)
            ExecBound("INSERT INTO ProgrammedLines (datetime, serialNumber, nomCurrent) "
                      "VALUES (datetime('now'), ?1, '350');",
                      {QString::number(i)}, nullptr, db);
        ExecInt("COMMIT;", nullptr, db);
        sqlite3_close(db);
    }
    const QStringList lines = ProgrammedDriversReportLines();
    ASSERT_EQ(lines.size(), 500);
    EXPECT_TRUE(lines[0].startsWith("0  ")) << lines[0].toStdString();
    EXPECT_TRUE(lines[499].startsWith("499  "));
    // Columns in report order, each followed by " - "; serial 500 is the newest.
    const QStringList cols = lines[0].mid(3).split(" - ");
    ASSERT_EQ(cols.size(), 20); // 18 columns, the repeat mark and the empty rest after the last " - "
    EXPECT_EQ(cols[4], "500");
    EXPECT_EQ(cols[5], "350");
    EXPECT_EQ(cols[1], "NULL");
    EXPECT_EQ(cols[18], "0");
    EXPECT_EQ(cols[19], "");
    EXPECT_EQ(lines[499].mid(5).split(" - ")[4], "1");
}

TEST_F(RecordsDb, FilesOfEarlierVersionsKeepWorking)
{
    {
        // An older file: the settings table created by the driver writer (capital E),
        // values written as double-quoted literals, no indexes.
        sqlite3 *db = nullptr;
        ASSERT_EQ(sqlite3_open(SettingsDatabasePath().toUtf8().constData(), &db), SQLITE_OK);
        ASSERT_TRUE(ExecInt(SettingsCreateTableSqlDriverForm(), nullptr, db));
        ASSERT_TRUE(ExecInt(
            "INSERT INTO ProgrammedLines (datetime,enOcean_HandHeldID,nomCurrent,extNTC_Level1,"
            "extNTC_CutOffTemp) VALUES ('2020-01-01 10:00:00', \"0x0180A2B3\", \"450\", \"77\", \"88\");",
            nullptr, db));
        sqlite3_close(db);
    }
    WriteDriversToDatabaseInAppdataWithSettings("2.10", "0x01", "0x0180A2B3", "0000000000000001");
    EXPECT_TRUE(dlg.messages.isEmpty()) << dlg.texts().join('|').toStdString();
    const auto d = newest(RecordDatabase::Drivers);
    ASSERT_EQ(d.GetRowCount(), 1);
    EXPECT_EQ(cell(d, "nomCurrent"), "450");
    EXPECT_EQ(cell(d, "extNTC_Level1"), "77");
    EXPECT_EQ(cell(d, "extNTC_CutOffTemp"), "88");
    // A record write leaves the old file's indexes alone (building them on a large
    // file took seconds inside the receive tick); the start prepares them.
    EXPECT_EQ(RecordIndexCount(SettingsDatabasePath()), 0);
    QString error;
    ASSERT_TRUE(PrepareRecordDatabases(&error)) << error.toStdString();
    EXPECT_EQ(RecordIndexCount(SettingsDatabasePath()), 2);
    EXPECT_EQ(RecordIndexCount(DriversDatabasePath()), 2);
}

TEST_F(RecordsDb, LockedDriversFileKeepsRecordsPendingUntilTheWriterMovesThemInOnce)
{
    // Both files exist and a settings record is there to be looked up.
    STRUCT_XML_FILE_VARIABLES p = settingsVariablesField[0];
    p.enOcean_HandHeldID = "0x0180A2B3";
    p.current.defaultValue = "450";
    ASSERT_EQ(QueueSettingsRecord(p), RecordFate::Pending);
    ASSERT_EQ(DrainOutbox().left, 0);
    for (auto &slot : settingsVariablesField)
        slot.enOcean_HandHeldID = "0x0180A2B3";
    {
        ExclusiveHolder holder(DriversDatabasePath());
        dlg.clear();
        // Three matching slots: three records kept, none written.
        EXPECT_EQ(RecordProgrammedDriver("0xFFAA0001", "0x0180A2B3", "0000000000000001"), 3);
        EXPECT_EQ(QueueDriverRecord("fw", "0xFFAA0001", "0x0180A2B3", "0000000000000002"), RecordFate::Pending);
        const OutboxDrain locked = DrainOutbox();
        EXPECT_EQ(locked.written, 0);
        EXPECT_EQ(locked.left, 4);
        EXPECT_EQ(locked.state.kind, RecordsStoreState::Kind::Locked);
        EXPECT_TRUE(locked.state.text().startsWith("record files locked since ")) << locked.state.text().toStdString();
        EXPECT_TRUE(dlg.messages.isEmpty()) << dlg.texts().join('|').toStdString(); // no box per statement
        QList<PendingRecord> pending;
        ASSERT_TRUE(ReadPendingRecords(&pending, nullptr));
        ASSERT_EQ(pending.size(), 4);
        EXPECT_EQ(pending[3].values.value(3), "0000000000000002");
    }
    // Once the file is free, the four go in, oldest first, each once.
    const OutboxDrain freed = DrainOutbox();
    EXPECT_EQ(freed.written, 4);
    EXPECT_EQ(freed.state.kind, RecordsStoreState::Kind::Reachable);
    EXPECT_EQ(PendingRecordCount(), 0);
    EXPECT_EQ(DrainOutbox().written, 0);
    const auto d = newest(RecordDatabase::Drivers);
    ASSERT_EQ(d.GetRowCount(), 4);
    QStringList serials;
    for (int r = d.GetRowCount() - 1; r >= 0; --r)
        serials << cell(d, "serialNumber", r);
    EXPECT_EQ(serials, QStringList({"0000000000000001", "0000000000000001", "0000000000000001",
                                    "0000000000000002"}));
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(cell(d, "nomCurrent", r), "450");
}

TEST_F(RecordsDb, AJournalRecordMovedInBeforeAStopIsNeverWrittenTwice)
{
    {
        ExclusiveHolder holder(SettingsDatabasePath());
        ASSERT_EQ(WriteSettingsRecord(settingsVariablesField[0]), RecordFate::Pending);
        ASSERT_EQ(WriteSettingsRecord(settingsVariablesField[1]), RecordFate::Pending);
    }
    // The program stops after the records went in but before the journal was
    // rewritten: the journal still holds them when it starts again.
    const QByteArray journalBefore = ReadFileBytes(PendingRecordsJournalPath());
    QString error;
    EXPECT_EQ(FlushPendingRecords(&error), 0) << error.toStdString();
    EXPECT_FALSE(QFile::exists(PendingRecordsJournalPath()));
    WriteFileBytes(PendingRecordsJournalPath(), journalBefore);
    EXPECT_EQ(PendingRecordCount(), 2);
    EXPECT_EQ(FlushPendingRecords(&error), 0) << error.toStdString();
    EXPECT_EQ(newest(RecordDatabase::Settings).GetRowCount(), 2);
}

TEST_F(RecordsDb, RecordsThatCannotBeWrittenAreKeptPendingWhateverTheCause)
{
    struct Case {
        const char *name;
        std::function<void(const QString &file)> damage;
    };
    const Case cases[] = {
        {"a file that is not a database", [](const QString &file) { WriteFileBytes(file, QByteArray(4096, 'x')); }},
        {"a folder in place of the file", [](const QString &file) { QDir().mkpath(file); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir folder;
        setDatabaseFolder(folder.path());
        c.damage(DriversDatabasePath());
        EXPECT_EQ(WriteDriversToDatabaseInAppdataWithSettings("fw", "0x01", "0x0180A2B3", "0000000000000009"),
                  RecordFate::Pending);
        EXPECT_EQ(PendingRecordCount(), 1);
        EXPECT_FALSE(LastRecordFailure().isEmpty());
        // Repaired: the next write moves it in.
        QDir(DriversDatabasePath()).removeRecursively();
        QFile::remove(DriversDatabasePath());
        EXPECT_EQ(WriteDriversToDatabaseInAppdataWithSettings("fw", "0x01", "0x0180A2B3", "0000000000000010"),
                  RecordFate::Written);
        EXPECT_EQ(PendingRecordCount(), 0);
        EXPECT_EQ(newest(RecordDatabase::Drivers).GetRowCount(), 2);
    }
}

TEST(PendingJournalFile, AnyTextRoundTripsAndACutOffLineIsSkipped)
{
    QTemporaryDir dir;
    PendingJournal journal(QDir(dir.path()).filePath("j"));
    QStringList values;
    for (int i = 0; i < 17; ++i)
        values << QString();
    values[0] = "tab\there\\";
    values[1] = "a\tb\nc\\d\r";
    values[2] = "\\t is no tab, \\\\n no line break";
    values[3] = QStringLiteral("\u00e4\u20ac");
    PendingRecord r = PendingRecord::make(PendingRecord::Kind::Driver, values);
    r.lookupDeferred = true;
    ASSERT_TRUE(journal.append(r, nullptr));
    // A stop in the middle of the next append leaves half a line.
    {
        QFile f(journal.path());
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write(r.toLine().left(20).toUtf8());
    }
    ASSERT_TRUE(journal.append(PendingRecord::make(PendingRecord::Kind::Settings, QStringList(QList<QString>(22, "v"))),
                               nullptr));
    QList<PendingRecord> read;
    ASSERT_TRUE(journal.read(&read, nullptr));
    ASSERT_EQ(read.size(), 2);
    EXPECT_EQ(read[0].id, r.id);
    EXPECT_EQ(read[0].values, values);
    EXPECT_TRUE(read[0].lookupDeferred);
    EXPECT_EQ(read[0].created, r.created);
    EXPECT_EQ(read[1].kind, PendingRecord::Kind::Settings);
    EXPECT_NE(read[1].id, r.id);
    ASSERT_TRUE(journal.rewrite(read.mid(1), nullptr));
    EXPECT_EQ(journal.count(), 1);
    ASSERT_TRUE(journal.rewrite({}, nullptr));
    EXPECT_FALSE(QFile::exists(journal.path()));
}

TEST_F(RecordsDb, AFailedExportLeavesThePreviousFileAsItWas)
{
    for (int i = 0; i < 200; ++i)
        WriteDriversToDatabaseInAppdataWithSettings("2.10", "0x01", "0x0180A2B3", QString::number(i).rightJustified(16, '0'));
    const QString csv = QDir(dir.path()).filePath("out.csv");
    const QByteArray previous = "the previous export\n";
    WriteFileBytes(csv, previous);
    QString error;
    {
        FileSizeLimit limit(4096); // the disk fills up part of the way through
        ASSERT_TRUE(limit.active());
        EXPECT_FALSE(ExportDriversCsv(csv, &error));
    }
    EXPECT_TRUE(error.startsWith("Cannot write")) << error.toStdString();
    EXPECT_EQ(ReadFileBytes(csv), previous);
    ASSERT_TRUE(ExportDriversCsv(csv, &error)) << error.toStdString();
    EXPECT_EQ(ReadFileBytes(csv).count('\n'), 201);
}

TEST_F(RecordsDb, CsvExportJoinsEachDriverWithItsSettings)
{
    STRUCT_XML_FILE_VARIABLES p = settingsVariablesField[0];
    p.enOcean_HandHeldID = "0x0180A2B3";
    p.familyName = "Family, \"A\"";
    WriteSettingsRecord(p);
    WriteDriversToDatabaseInAppdataWithSettings("2.10", "0x01", "0x0180A2B3", "0000000000000001");
    WriteDriversToDatabaseInAppdataWithSettings("2.10", "0x01", "0x77777777", "0000000000000002");
    const QString csv = QDir(dir.path()).filePath("out.csv");
    QString error;
    ASSERT_TRUE(ExportDriversCsv(csv, &error)) << error.toStdString();
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith("id,datetime,enOcean_HandHeldID,programmer_NFC_FW,programmerID,serialNumber"));
    EXPECT_TRUE(lines[0].contains("familyName"));
    EXPECT_TRUE(lines[1].contains("0000000000000001"));
    EXPECT_TRUE(lines[1].contains("\"Family, \"\"A\"\"\"")); // joined settings, CSV-quoted
    EXPECT_FALSE(lines[2].contains("Family"));            // no settings for that programmer
}

} // namespace

namespace {

TEST_F(RecordsDb, ARecordThatCanNeitherBeWrittenNorKeptIsReportedAsLost)
{
    // A folder below a plain file can never be created: neither the databases
    // nor the journal can be written there.
    QFile plain(QDir(dir.path()).filePath("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    setDatabaseFolder(QDir(dir.path()).filePath("plain/database"));
    EXPECT_EQ(WriteDriversToDatabaseInAppdataWithSettings("2.10", "0x01", "0x0180A2B3", "0000000000000001"),
              RecordFate::Lost);
    ASSERT_EQ(dlg.messages.size(), 1);
    EXPECT_TRUE(dlg.messages[0].text.startsWith("A record was lost")) << dlg.messages[0].text.toStdString();
    EXPECT_TRUE(dlg.messages[0].text.contains("0000000000000001"));
    EXPECT_EQ(WriteSettingsRecord(settingsVariablesField[0]), RecordFate::Lost);
    EXPECT_EQ(dlg.messages.size(), 2);
    QString error;
    EXPECT_TRUE(ProgrammedDriversReportLines(kReportLineLimit, &error).isEmpty());
    EXPECT_TRUE(error.startsWith("Drivers database could not be opened")) << error.toStdString();
}

} // namespace
