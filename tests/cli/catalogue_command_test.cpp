// tavel-nfc catalogue and tavel-nfc new, run as programs on files in a temporary folder.
// They need build/bin/tavel-nfc (built with every target).
#include "catalogue_fixture.h"
#include "cli_runner.h"
#include "default_profiles.h"

#include "profile/catalogue.h"
#include "profile/profile_defaults.h"
#include "profile/settings_file.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace catalogue_test;

namespace {

class CatalogueCli : public TavelNfcTest {
protected:
    QString path(const QString &name) const { return dir.filePath(name); }

    ProfileSlots readSettings(const QString &file)
    {
        SettingsIniFile ini(file);
        ProfileSlots profiles{};
        SettingsLoadOptions options;
        options.fallbackToDefaults = false;
        EXPECT_EQ(UploadSettingsFromIniFile(ini, profiles, options), SettingsLoadResult::Loaded);
        return profiles;
    }

    // What the window makes of `before` when model `index` is loaded into slot `slotIndex`.
    STRUCT_XML_FILE_VARIABLES windowLoad(const STRUCT_XML_FILE_VARIABLES &before, const IXMLModelSelectionType &root,
                                         int index, int slotIndex)
    {
        settingsVariablesField[slotIndex] = before;
        DeleteProfile(slotIndex, QString());
        CopyModelToProfile(root, index, settingsVariablesField[slotIndex]);
        return settingsVariablesField[slotIndex];
    }
};

} // namespace

TEST_F(CatalogueCli, ListsTheBundledCatalogueBesideTheProgram)
{
    ASSERT_TRUE(QFileInfo::exists(TAVEL_BIN_DIR "/nfc_model.xml"));
    const CliRun r = run({"catalogue"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    const auto root = LoadModelSelection(TAVEL_BIN_DIR "/nfc_model.xml");
    ASSERT_EQ(lines.size(), root->Get_Count() + 1);
    EXPECT_EQ(lines[0], "index\tref_num\tfamily\ttype");
    const auto m = root->Get_Model(2);
    EXPECT_EQ(lines[3], QStringLiteral("2\t%1\t%2\t%3").arg(m->Get_ref_num(), m->Get_familyname(), m->Get_type()));
}

TEST_F(CatalogueCli, ListsAGivenCatalogueAndRefusesBadOnes)
{
    const QString good = writeFile(dir, "c.xml", makeCatalogue({"A", "A", "B"})->XML());
    CliRun r = run({"catalogue", good});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "index\tref_num\tfamily\ttype\n0\tA\tm0.familyname\tm0.type\n1\tA\tm1.familyname\tm1.type\n"
                     "2\tB\tm2.familyname\tm2.type\n");

    r = run({"catalogue", writeFile(dir, "bad.xml", "<ModelSelection><Model>")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("wrong format of data in XML file")) << r.err.toStdString();

    r = run({"catalogue", path("absent.xml")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("does not exist"));

    EXPECT_EQ(run({"catalogue", good, good}).exitCode, 2);
}

TEST_F(CatalogueCli, NewWritesTheModelIntoTheSlotAsTheWindowLoadsIt)
{
    const auto root = makeNumericCatalogue({"A", "B", "C"});
    const QString catalogue = writeFile(dir, "c.xml", root->XML());
    const QString out = path("new.set");

    CliRun r = run({"new", "--model", "1", "--catalogue", catalogue, "-o", out, "--slot", "2"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("slot 2: B m1.familyname")) << r.out.toStdString();
    ProfileSlots profiles = readSettings(out);
    EXPECT_EQ(profiles[0], DefaultProfile());
    EXPECT_EQ(profiles[2], DefaultProfile());
    EXPECT_EQ(profiles[1], windowLoad(DefaultProfile(), *root, 1, 1));
    EXPECT_EQ(profiles[1].ExtNTCAdjustEnable, 1);
    EXPECT_EQ(profiles[1].enOcean_HandHeldID, "");

    // A second model into slot 3 of the same file keeps profiles 1 and 2; the default slot is 1.
    r = run({"new", "--catalogue", catalogue, "--model", "2", "-o", out, "--slot", "3"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = run({"new", "--catalogue", catalogue, "--model", "0", "-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const ProfileSlots after = readSettings(out);
    EXPECT_EQ(after[1], profiles[1]);
    EXPECT_EQ(after[2].ref_number, "C");
    EXPECT_EQ(after[0], windowLoad(DefaultProfile(), *root, 0, 0));
}

TEST_F(CatalogueCli, NewUsesTheBundledCatalogueByDefault)
{
    const QString out = path("bundled.set");
    const CliRun r = run({"new", "--model", "0", "-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const auto root = LoadModelSelection(TAVEL_BIN_DIR "/nfc_model.xml");
    EXPECT_EQ(readSettings(out)[0], windowLoad(DefaultProfile(), *root, 0, 0));
}

TEST_F(CatalogueCli, NewRefusesWithoutTouchingTheFile)
{
    auto root = makeNumericCatalogue({"A"});
    const QString catalogue = writeFile(dir, "c.xml", root->XML());
    root->Get_Model(0)->Get_Function()->Get_Level2()->DOMElement().removeAttribute("max");
    const QString holed = writeFile(dir, "holed.xml", root->XML());
    // A line break in an attribute (&#10;) would write keys of its own into the file.
    auto evil = makeNumericCatalogue({"A"});
    evil->Get_Model(0)->Set_familyname("Evil\ncurrent.defaultValue=9999\n[settings2_variables]\ntag=abc");
    const QString injecting = writeFile(dir, "evil.xml", evil->XML());
    ASSERT_TRUE(evil->XML().contains("&#xa;") || evil->XML().contains("&#10;"));
    auto blank = makeNumericCatalogue({"A"});
    blank->Get_Model(0)->Get_Function()->Get_Level2()->DOMElement().setAttribute("unit", "% ");
    const QString out = path("keep.set");
    ASSERT_EQ(run({"new", "--model", "0", "--catalogue", catalogue, "-o", out}).exitCode, 0);
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();

    struct Case {
        QStringList args;
        int exit;
        const char *err;
    };
    const QString notSettings = writeFile(dir, "not.set", "[other]\nx=1\n");
    const Case cases[] = {
        {{"new", "--model", "1", "--catalogue", catalogue, "-o", out}, 1, "out of range"},
        {{"new", "--model", "0", "--catalogue", holed, "-o", out}, 1, "problem during load Model Data from XML File"},
        {{"new", "--model", "0", "--catalogue", injecting, "-o", out},
         1,
         "model 0, attribute familyname: it holds a line break or another control character"},
        {{"new", "--model", "0", "--catalogue", writeFile(dir, "blank.xml", blank->XML()), "-o", out},
         1,
         "model 0, element Level2, unit: it begins or ends with a blank"},
        {{"new", "--model", "0", "--catalogue", path("absent.xml"), "-o", out}, 1, "does not exist"},
        {{"new", "--model", "0", "--catalogue", writeFile(dir, "bad.xml", ""), "-o", out}, 1, "wrong format"},
        {{"new", "--model", "0", "--catalogue", catalogue, "-o", notSettings}, 1, "left unchanged"},
        {{"new", "--catalogue", catalogue, "-o", out}, 2, "no model index"},
        {{"new", "--model", "0", "--catalogue", catalogue}, 2, "no output file"},
        {{"new", "--model", "-1", "--catalogue", catalogue, "-o", out}, 2, "model index"},
        {{"new", "--model", "x", "--catalogue", catalogue, "-o", out}, 2, "model index"},
        {{"new", "--model", "0", "--catalogue", catalogue, "-o", out, "--slot", "4"}, 2, "slot"},
        {{"new", "--model", "0", "--catalogue", catalogue, "-o", out, "--bogus"}, 2, "unexpected"},
    };
    for (const auto &c : cases) {
        const CliRun r = run(c.args);
        EXPECT_EQ(r.exitCode, c.exit) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QLatin1String(c.err))) << c.args.join(' ').toStdString() << ": "
                                                          << r.err.toStdString();
    }
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    QFile n(notSettings);
    ASSERT_TRUE(n.open(QIODevice::ReadOnly));
    EXPECT_EQ(n.readAll(), QByteArray("[other]\nx=1\n"));
}
