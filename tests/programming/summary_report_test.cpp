#include "default_profiles.h"
#include "file_bytes.h"
#include "file_size_limit.h"
#include "profile/file_error.h"
#include "profile/profile_defaults.h"
#include "programming/summary_report.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

namespace {

// A clock that returns the given readings one after the other.
SummaryOptions fixedClock(QList<QDateTime> readings)
{
    SummaryOptions o;
    auto queue = std::make_shared<QList<QDateTime>>(std::move(readings));
    o.clock = [queue] { return queue->size() > 1 ? queue->takeFirst() : queue->first(); };
    o.dateFormat = QStringLiteral("dd.MM.yyyy");
    o.timeFormat = QStringLiteral("HH:mm:ss");
    return o;
}

const QDateTime kNoon(QDate(2026, 3, 14), QTime(12, 5, 9));

} // namespace

TEST(Summary, DefaultProfileInSlotOne)
{
    const QStringList expected{
        "NFC configuration software Tavel", "Summary information", "Config no 1", "",
        "Date 14.03.2026", "Time 12:05:09", "Family Name DefaultFamily", "Type DefaultType",
        "Ref.number 123456", "GTIN 123456789012", "Serial 0000000000000000", "FW 0000", "HW 0000",
        "Nominal_current 350", "LifeTime 127500", "Level1 100", "Level2 100", "Level3 100", "Level4 100",
        "Level5 100", "LEDTime 4294967295", "DCLevel 100"};
    EXPECT_EQ(WriteSumarryInformation(1, DefaultProfile(), fixedClock({kNoon})), expected);
}

TEST(Summary, ActiveSlotFormUsesTheActiveSlot)
{
    LoadDefaultProfileIntoSlots();
    settingsVariablesField[1].familyName = QStringLiteral("Second");
    setActiveSlot(2);
    const QStringList lines = WriteSumarryInformation(fixedClock({kNoon}));
    setActiveSlot(1);
    EXPECT_EQ(lines[2], "Config no 2");
    EXPECT_EQ(lines[6], "Family Name Second");
    LoadDefaultProfileIntoSlots();
}

struct SummaryCase {
    const char *name;
    std::function<void(STRUCT_XML_FILE_VARIABLES &)> change;
    QStringList tail; // the lines after "HW ..."
};

class SummaryCases : public ::testing::TestWithParam<SummaryCase> {};

TEST_P(SummaryCases, ListTheEnabledValues)
{
    auto r = DefaultProfile();
    GetParam().change(r);
    const QStringList lines = WriteSumarryInformation(3, r, fixedClock({kNoon}));
    ASSERT_GE(lines.size(), 13);
    EXPECT_EQ(lines.mid(13), GetParam().tail);
}

const QStringList kCloLines{"LifeTime 127500", "Level1 100", "Level2 100", "Level3 100",
                            "Level4 100",      "Level5 100", "LEDTime 4294967295"};
const QStringList kNtcLines{"ExtNTCLevel1 100", "ExtNTCLevel2 20", "Temp1 50", "Temp2 80", "CutOffTemp 90"};

INSTANTIATE_TEST_SUITE_P(
    Edges, SummaryCases,
    ::testing::Values(
        SummaryCase{"DcOff", [](auto &r) { r.dcLevel.defaultValue = "255"; },
                    QStringList{"Nominal_current 350"} + kCloLines + QStringList{"DCLevel  OFF"}},
        SummaryCase{"DcValueAsStored", [](auto &r) { r.dcLevel.defaultValue = "080"; },
                    QStringList{"Nominal_current 350"} + kCloLines + QStringList{"DCLevel 080"}},
        SummaryCase{"CloDisabled", [](auto &r) { r.cloAdjustEnable = 0; },
                    QStringList{"Nominal_current 350", "DCLevel 100"}},
        SummaryCase{"NtcEnabled", [](auto &r) { r.ExtNTCAdjustEnable = 1; },
                    QStringList{"Nominal_current 350"} + kCloLines + QStringList{"DCLevel 100"} + kNtcLines},
        SummaryCase{"NtcEnabledDcDisabled",
                    [](auto &r) {
                        r.ExtNTCAdjustEnable = 1;
                        r.dclevelAdjustEnable = 0;
                    },
                    QStringList{"Nominal_current 350"} + kCloLines + kNtcLines},
        SummaryCase{"NothingEnabled",
                    [](auto &r) { r.currentAdjustEnable = r.cloAdjustEnable = r.dclevelAdjustEnable = 0; },
                    QStringList{}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Summary, EmptyTextsEndAfterTheirLabel)
{
    STRUCT_XML_FILE_VARIABLES r; // as at process start: all flags 0, all texts empty
    const QStringList lines = WriteSumarryInformation(1, r, fixedClock({kNoon}));
    EXPECT_EQ(lines.mid(6), (QStringList{"Family Name ", "Type ", "Ref.number ", "GTIN ", "Serial ", "FW ", "HW "}));
}

TEST(Summary, DateAndTimeAreTwoReadingsOfTheClock)
{
    // The clock passes midnight between the two readings.
    const QDateTime before(QDate(2026, 12, 31), QTime(23, 59, 59));
    const QDateTime after(QDate(2027, 1, 1), QTime(0, 0, 0));
    const QStringList lines = WriteSumarryInformation(1, DefaultProfile(), fixedClock({before, after}));
    EXPECT_EQ(lines[4], "Date 31.12.2026");
    EXPECT_EQ(lines[5], "Time 00:00:00");
}

TEST(Summary, DefaultFormatsFollowTheSystemLocale)
{
    SummaryOptions o;
    o.clock = [] { return kNoon; };
    const QStringList lines = WriteSumarryInformation(1, DefaultProfile(), o);
    const QLocale locale = QLocale::system();
    EXPECT_EQ(lines[4], "Date " + locale.toString(kNoon.date(), QLocale::ShortFormat));
    EXPECT_EQ(lines[5], "Time " + locale.toString(kNoon.time(), QLocale::LongFormat));
}

TEST(SummaryFile, WritesCrLfLinesAndReplacesAnExistingFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("summary.txt"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(4096, 'x'));
    }
    SaveSummaryTextFile(path, {QStringLiteral("first"), QString(), QStringLiteral("Family Name Müller")});
    EXPECT_EQ(ReadFileBytes(path), QByteArray("first\r\n\r\nFamily Name M\xc3\xbcller\r\n"));

    // Saving again replaces the file with the second summary.
    const QStringList second = WriteSumarryInformation(
        1, DefaultProfile(), fixedClock({QDateTime(QDate(2026, 3, 15), QTime(8, 0, 0))}));
    SaveSummaryTextFile(path, second);
    const QByteArray bytes = ReadFileBytes(path);
    EXPECT_TRUE(bytes.startsWith("NFC configuration software Tavel\r\nSummary information\r\n"));
    EXPECT_TRUE(bytes.contains("\r\nDate 15.03.2026\r\nTime 08:00:00\r\n"));
    EXPECT_TRUE(bytes.endsWith("DCLevel 100\r\n"));
    EXPECT_EQ(bytes.count('\n'), second.size());
    EXPECT_EQ(bytes.count('\r'), second.size());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"summary.txt"}) << "no temporary file left";
}

TEST(SummaryFile, UnwritablePathRaisesAFileError)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("taken")));
    const QString paths[] = {dir.filePath(QStringLiteral("taken")),
                             dir.filePath(QStringLiteral("missing/folder/summary.txt"))};
    for (const QString &path : paths) {
        try {
            SaveSummaryTextFile(path, {QStringLiteral("line")});
            ADD_FAILURE() << "no error for " << path.toStdString();
        } catch (const EFCreateError &e) {
            EXPECT_TRUE(e.message().contains(path)) << e.what();
        }
    }
    EXPECT_TRUE(QFileInfo(paths[0]).isDir());
}

TEST(SummaryFile, WriteFailingMidwayLeavesTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("summary.txt"));
    SaveSummaryTextFile(path, {QStringLiteral("old")});

    // Files may not grow beyond 64 bytes, so the write stops part of the way.
    FileSizeLimit limit(64);
    ASSERT_TRUE(limit.active());
    bool raised = false;
    try {
        SaveSummaryTextFile(path, WriteSumarryInformation(1, DefaultProfile(), fixedClock({kNoon})));
    } catch (const EFCreateError &) {
        raised = true;
    }
    limit.lift();

    EXPECT_TRUE(raised);
    EXPECT_EQ(ReadFileBytes(path), QByteArray("old\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"summary.txt"});
}
