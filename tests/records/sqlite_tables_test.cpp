// The SQLite record files keep each table's CREATE TABLE text in their schema.
// The store makes those texts from the record columns; they must be the texts
// every earlier version wrote, byte for byte, so that a file made now has the
// schema of a file made then, and a file made then is written and read as before.

#include "records_folder.h"

#include "records/sqlite/sqlite_tables.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

// The texts as the earlier versions wrote them into every file.
const char *const kSettingsText =
    "CREATE TABLE IF NOT EXISTS [ProgrammedLines] ([id] INTEGER  NOT NULL PRIMARY KEY AUTOINCREMENT, "
    "[datetime] text NULL, [enOcean_HandHeldID] text NULL, [programmer_NFC_FW] text NULL, "
    "[familyName] text NULL, [type] text NULL, [ref_number] text NULL, [editGTIN] text NULL, "
    "[editFW] text NULL, [editHW] text NULL, [editSerial] text NULL, [nomCurrent] text NULL, "
    "[lifeTime] text NULL, [CLO_L1] text NULL, [CLO_L2] text NULL, [CLO_L3] text NULL, "
    "[CLO_L4] text NULL, [CLO_L5] text NULL, [DC_level] text NULL, [extNTC_Temp1] text NULL, "
    "[extNTC_Level1] text NULL, [extNTC_Temp2] text NULL, [extNTC_Level2] text NULL, "
    "[extNTC_CutOffTemp] text NULL );";

const char *const kSettingsDriverFormText =
    "CREATE TABLE IF NOT EXISTS [ProgrammedLines] ([id] INTEGER  NOT NULL PRIMARY KEY AUTOINCREMENT, "
    "[datetime] text NULL, [enOcean_HandHeldID] text NULL, [programmer_NFC_FW] text NULL, "
    "[familyName] text NULL, [type] text NULL, [ref_number] text NULL, [editGTIN] text NULL, "
    "[editFW] text NULL, [editHW] text NULL, [editSerial] text NULL, [nomCurrent] text NULL, "
    "[lifeTime] text NULL, [CLO_L1] text NULL, [CLO_L2] text NULL, [CLO_L3] text NULL, "
    "[CLO_L4] text NULL, [CLO_L5] text NULL, [DC_level] text NULL, [extNTC_Temp1] text NULL, "
    "[ExtNTC_Level1] text NULL, [extNTC_Temp2] text NULL, [ExtNTC_Level2] text NULL, "
    "[ExtNTC_CutOffTemp] text NULL );";

const char *const kDriversText =
    "CREATE TABLE IF NOT EXISTS [ProgrammedLines] ([id] INTEGER  NOT NULL PRIMARY KEY AUTOINCREMENT, "
    "[datetime] text NULL, [enOcean_HandHeldID] text NULL, [programmer_NFC_FW] text NULL, "
    "[programmerID] text NULL, [serialNumber] text NULL, [nomCurrent] text NULL, [lifeTime] text NULL, "
    "[CLO_L1] text NULL, [CLO_L2] text NULL, [CLO_L3] text NULL, [CLO_L4] text NULL, "
    "[CLO_L5] text NULL, [DC_level] text NULL, [extNTC_Temp1] text NULL, [extNTC_Level1] text NULL, "
    "[extNTC_Temp2] text NULL, [extNTC_Level2] text NULL, [extNTC_CutOffTemp] text NULL );";

const char *const kVerificationsText =
    "CREATE TABLE IF NOT EXISTS [Verifications] ([id] INTEGER NOT NULL PRIMARY KEY AUTOINCREMENT, "
    "[datetime] text NULL, [station] text NULL, [serialNumber] text NULL, [programmerID] text NULL, "
    "[slot] text NULL, [result] text NULL, [differences] text NULL );";

TEST(SqliteTables, CreateTextsAreTheEarlierTextsByteForByte)
{
    const struct {
        const char *caption;
        const char *made;
        const char *earlier;
    } cases[] = {
        {"settings", SettingsCreateTableSql(), kSettingsText},
        {"settings, the driver writer's spelling", SettingsCreateTableSqlDriverForm(), kSettingsDriverFormText},
        {"drivers", DriversCreateTableSql(), kDriversText},
        {"verifications", VerificationsCreateTableSql(), kVerificationsText},
    };
    for (const auto &c : cases)
        EXPECT_STREQ(c.made, c.earlier) << c.caption;
}

// The table's text as a file's schema holds it; empty when there is none.
QString storedTable(const QString &path, const char *table)
{
    sqlite3 *db = nullptr;
    QString text;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt *s = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT sql FROM sqlite_master WHERE type = 'table' AND name = ?1;", -1, &s,
                               nullptr)
                == SQLITE_OK
            && sqlite3_bind_text(s, 1, table, -1, SQLITE_STATIC) == SQLITE_OK && sqlite3_step(s) == SQLITE_ROW)
            text = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, 0)));
        sqlite3_finalize(s);
    }
    sqlite3_close(db);
    return text;
}

// What SQLite keeps of a CREATE TABLE IF NOT EXISTS text.
QString schemaOf(const char *createTable)
{
    return QString::fromLatin1(createTable).remove(QStringLiteral("IF NOT EXISTS ")).chopped(1);
}

bool makeFile(const QString &path, const char *createTable)
{
    sqlite3 *db = nullptr;
    const bool made = sqlite3_open(QFile::encodeName(path).constData(), &db) == SQLITE_OK
                      && sqlite3_exec(db, createTable, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return made;
}

class EarlierFiles : public RecordsFolderTest {};

TEST_F(EarlierFiles, KeepTheirSchemaAndAreWrittenAndReadAsBefore)
{
    // Files an earlier version made, then records written and read by this one.
    const QDir folder(dir.path());
    const struct {
        QString file;
        const char *table;
        const char *earlier;
    } files[] = {
        {kSettingsDatabaseFileName, "ProgrammedLines", kSettingsDriverFormText},
        {kDriversDatabaseFileName, "ProgrammedLines", kDriversText},
        {kVerificationsDatabaseFileName, "Verifications", kVerificationsText},
    };
    for (const auto &f : files)
        ASSERT_TRUE(makeFile(folder.filePath(f.file), f.earlier)) << f.file.toStdString();

    STRUCT_XML_FILE_VARIABLES p = settingsVariablesField[0];
    p.enOcean_HandHeldID = "0x0180A2B3";
    p.current.defaultValue = "450";
    p.ExtNTCLevel1.defaultValue = "77";
    p.CutOffTemp.defaultValue = "88";
    ASSERT_EQ(WriteSettingsRecord(p), RecordFate::Written);
    ASSERT_EQ(WriteDriversToDatabaseInAppdataWithSettings("2.10", "0xFFAA0001", "0x0180A2B3", "0000000000012345"),
              RecordFate::Written);
    ASSERT_EQ(WriteVerificationRecord({"0000000000012345", "0x0180A2B3", "1", "PASS", ""}), RecordFate::Written);
    QString error;
    ASSERT_TRUE(PrepareRecordDatabases(&error)) << error.toStdString();

    const SQLiteAnswerClass d = newest(RecordDatabase::Drivers);
    ASSERT_EQ(d.GetRowCount(), 1);
    EXPECT_EQ(cell(d, "nomCurrent"), "450");
    EXPECT_EQ(cell(d, "extNTC_Level1"), "77");
    EXPECT_EQ(cell(d, "extNTC_CutOffTemp"), "88");
    EXPECT_EQ(cell(newest(RecordDatabase::Verifications), "result"), "PASS");
    EXPECT_TRUE(dlg.messages.isEmpty());

    // The files keep the earlier schema, and files this version makes get the
    // same (the settings file with the settings writer's spelling, which runs first).
    QDir fresh(dir.filePath(QStringLiteral("fresh")));
    ASSERT_TRUE(fresh.mkpath(QStringLiteral(".")));
    setDatabaseFolder(fresh.path());
    ASSERT_TRUE(PrepareRecordDatabases(&error)) << error.toStdString();
    for (const auto &f : files) {
        SCOPED_TRACE(f.file.toStdString());
        const QString kept = storedTable(folder.filePath(f.file), f.table);
        const QString made = storedTable(fresh.filePath(f.file), f.table);
        if (f.table == QLatin1String("Verifications") || f.earlier == kSettingsDriverFormText)
            EXPECT_EQ(kept.toStdString(), schemaOf(f.earlier).toStdString());
        if (f.earlier == kSettingsDriverFormText)
            EXPECT_EQ(made.toStdString(), schemaOf(kSettingsText).toStdString());
        else // the drivers table of either gets its repeat column added alike
            EXPECT_EQ(made.toStdString(), kept.toStdString());
    }
    EXPECT_TRUE(storedTable(fresh.filePath(kDriversDatabaseFileName), "ProgrammedLines")
                    .startsWith(schemaOf(kDriversText).chopped(2)));
}

} // namespace
