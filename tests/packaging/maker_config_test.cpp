// The maker's configuration file and the search for the files shipped with the
// program (beside it first, then the installed folders).

#include "common/maker_config.h"
#include "common/program_files.h"
#include "file_bytes.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
struct ConfigCase {
    const char *name;
    const char *text;
    // Expected values; nullptr / 0: the built-in one.
    const char *company;
    const char *manual;
    quint16 vendorId;
    // Each expected problem, by the text it contains (in order); empty: none.
    std::vector<const char *> problems;
};

class MakerConfigParseTest : public ::testing::TestWithParam<ConfigCase> {};

TEST_P(MakerConfigParseTest, TakesUsableValuesAndNamesEveryLineItDoesNotTake)
{
    const ConfigCase &c = GetParam();
    const MakerConfig defaults;
    const MakerConfig config = ParseMakerConfig(QByteArray(c.text), QStringLiteral("maker.conf"));
    EXPECT_EQ(config.companyWebPage, c.company ? QString::fromUtf8(c.company) : defaults.companyWebPage);
    EXPECT_EQ(config.programmerManualWebPage, c.manual ? QString::fromUtf8(c.manual) : defaults.programmerManualWebPage);
    EXPECT_EQ(config.productWebPage, defaults.productWebPage);
    EXPECT_EQ(config.programmerUsbVendorId, c.vendorId ? c.vendorId : defaults.programmerUsbVendorId);
    ASSERT_EQ(size_t(config.problems.size()), c.problems.size()) << config.problems.join(QLatin1Char('\n')).toStdString();
    for (size_t i = 0; i < c.problems.size(); ++i)
        EXPECT_TRUE(config.problems[qsizetype(i)].contains(QString::fromUtf8(c.problems[i])))
            << config.problems[qsizetype(i)].toStdString();
}

const ConfigCase kConfigCases[] = {
    {"Empty", "", nullptr, nullptr, 0, {}},
    {"CommentsAndSpaces",
     "# comment\n; also a comment\n\n  company_web_page =  https://maker.example/home  \r\n", "https://maker.example/home",
     nullptr, 0, {}},
    {"EveryKey",
     "company_web_page=https://a.example/\nprogrammer_manual_web_page=http://b.example/m.pdf\n"
     "programmer_usb_vendor_id=0x04D8\n",
     "https://a.example/", "http://b.example/m.pdf", 0x04D8, {}},
    {"VendorIdWithoutPrefix", "programmer_usb_vendor_id = 1d6b\n", nullptr, nullptr, 0x1D6B, {}},
    {"VendorIdOutOfRangeKeepsDefault", "programmer_usb_vendor_id = 0x12345\n", nullptr, nullptr, 0,
     {"maker.conf:1: '0x12345' is not a USB vendor ID (1 to 4 hexadecimal digits, not 0); 0x1209 is used"}},
    {"VendorIdZeroOrText", "programmer_usb_vendor_id = 0\nprogrammer_usb_vendor_id = zz\n", nullptr, nullptr, 0,
     {"maker.conf:1: '0'", "maker.conf:2: 'zz'"}},
    {"NotAWebAddressKeepsDefault",
     "company_web_page = javascript:alert(1)\nprogrammer_manual_web_page = www.example.com\n", nullptr, nullptr, 0,
     {"maker.conf:1: 'javascript:alert(1)' is not an http or https address; https://www.tavel.example/ is used",
      "maker.conf:2: 'www.example.com'"}},
    {"FirstOfTwiceGivenKeyCounts",
     "company_web_page = https://first.example/\ncompany_web_page = https://second.example/\n",
     "https://first.example/", nullptr, 0, {"maker.conf:2: 'company_web_page' is given again; the first one counts"}},
    {"UnknownKeyAndLineWithoutEquals", "colour = red\njust words\n", nullptr, nullptr, 0,
     {"maker.conf:1: unknown key 'colour'", "maker.conf:2: not \"key = value\""}},
};

INSTANTIATE_TEST_SUITE_P(Cases, MakerConfigParseTest, ::testing::ValuesIn(kConfigCases),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(MakerConfigFileTest, TheShippedFileHoldsTheBuiltInValues)
{
    const MakerConfig shipped = LoadMakerConfig(QStringLiteral(TAVEL_SOURCE_DIR "/resources/tavel-nfc.conf"));
    const MakerConfig defaults;
    EXPECT_EQ(shipped.problems, QStringList());
    EXPECT_EQ(shipped.companyWebPage, defaults.companyWebPage);
    EXPECT_EQ(shipped.productWebPage, defaults.productWebPage);
    EXPECT_EQ(shipped.programmerManualWebPage, defaults.programmerManualWebPage);
    EXPECT_EQ(shipped.programmerUsbVendorId, defaults.programmerUsbVendorId);
}

TEST(MakerConfigFileTest, AMissingFileGivesTheBuiltInValuesAndAnUnreadableOneSaysSo)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const MakerConfig missing = LoadMakerConfig(dir.filePath(QStringLiteral("none.conf")));
    EXPECT_EQ(missing.problems, QStringList());
    EXPECT_EQ(missing.programmerUsbVendorId, MakerConfig().programmerUsbVendorId);
    // A folder in the file's place cannot be read as a file.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.conf")));
    const MakerConfig unreadable = LoadMakerConfig(dir.filePath(QStringLiteral("folder.conf")));
    ASSERT_EQ(unreadable.problems.size(), 1);
    EXPECT_TRUE(unreadable.problems[0].contains(QStringLiteral("cannot be read"))) << unreadable.problems[0].toStdString();
    EXPECT_EQ(unreadable.companyWebPage, MakerConfig().companyWebPage);
}

TEST(MakerConfigFileTest, TheConfigurationOfTheRunIsReadBesideTheProgramOnce)
{
    // A test may set it; clearing the setting reads the file again.
    MakerConfig set;
    set.programmerUsbVendorId = 0x0ABC;
    SetMakerConfigForTesting(&set);
    EXPECT_EQ(CurrentMakerConfig().programmerUsbVendorId, 0x0ABC);
    SetMakerConfigForTesting(nullptr);
    // The test program's folder has no configuration file.
    EXPECT_EQ(CurrentMakerConfig().programmerUsbVendorId, MakerConfig().programmerUsbVendorId);
}

TEST(ProgramFilesTest, BesideTheProgramComesFirstThenTheInstalledDataFolder)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString bin = root.filePath(QStringLiteral("usr/bin"));
    const QString data = root.filePath(QStringLiteral("usr/share/tavel-nfc"));
    ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(data));
    const QStringList folders = ProgramDataFolders(bin);
    ASSERT_EQ(folders.size(), 2);
    EXPECT_EQ(folders[1], QDir::cleanPath(data));

    // Nowhere: the path beside the program, for the message that it is missing.
    EXPECT_EQ(FindProgramDataFile(QStringLiteral("nfc_model.xml"), bin), bin + QStringLiteral("/nfc_model.xml"));
    WriteFileBytes(data + QStringLiteral("/nfc_model.xml"), "installed");
    EXPECT_EQ(FindProgramDataFile(QStringLiteral("nfc_model.xml"), bin), QDir::cleanPath(data) + QStringLiteral("/nfc_model.xml"));
    WriteFileBytes(bin + QStringLiteral("/nfc_model.xml"), "beside");
    EXPECT_EQ(FindProgramDataFile(QStringLiteral("nfc_model.xml"), bin), bin + QStringLiteral("/nfc_model.xml"));
    // A folder of that name is not the file.
    ASSERT_TRUE(QDir().mkpath(bin + QStringLiteral("/license.rtf")));
    WriteFileBytes(data + QStringLiteral("/license.rtf"), "installed");
    EXPECT_EQ(FindProgramDataFile(QStringLiteral("license.rtf"), bin), QDir::cleanPath(data) + QStringLiteral("/license.rtf"));
}

} // namespace
