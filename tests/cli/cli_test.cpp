// Runs the command-line companion on real files in a temporary folder.
#include "cli_runner.h"
#include "default_profiles.h"
#include "profile/profile_defaults.h"
#include "profile/settings_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

namespace {

const QString kDefaultText = QStringLiteral("00E65E;00E701;00E8FF;00E9C8;00EAC8;00EBC8;00ECC8;00EDC8;00EEFE");

class CliTest : public TavelNfcTest {
protected:
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    // A default settings file with some keys changed.
    QString makeFile(const char *name, const std::function<void(SettingsIniFile &)> &edit)
    {
        const QString p = path(name);
        EXPECT_TRUE(WriteDefaultSettingsFile(p, edit));
        return p;
    }
};

} // namespace

TEST_F(CliTest, DefaultsThenEncodePrintsTheDefaultProgrammingData)
{
    CliRun d = run({"defaults", "-o", "x.set"});
    EXPECT_EQ(d.exitCode, 0) << d.err.toStdString();
    EXPECT_TRUE(d.out.isEmpty());
    SettingsIniFile written(path("x.set"));
    for (int s = 0; s < 3; ++s)
        EXPECT_EQ(written.Keys(SettingsSectionName(s)), SettingsKeyOrder());

    for (const QStringList &args : {QStringList{"encode", "x.set"}, QStringList{"encode", "x.set", "--slot", "3"}}) {
        CliRun e = run(args);
        EXPECT_EQ(e.exitCode, 0) << e.err.toStdString();
        EXPECT_EQ(e.out, kDefaultText + "\n");
        EXPECT_TRUE(e.err.isEmpty());
    }
}

TEST_F(CliTest, DefaultsKeepForeignKeysOfAnExistingFile)
{
    const QString p = makeFile("keep.set", [](SettingsIniFile &i) {
        i.WriteString("tool", "owner", "line 3");
        i.WriteString("settings2_variables", "operatorNote", "keep me");
        i.WriteString("settings2_variables", "familyName", "Changed");
    });
    CliRun d = run({"defaults", "--output", p});
    EXPECT_EQ(d.exitCode, 0) << d.err.toStdString();
    SettingsIniFile ini(p);
    EXPECT_EQ(ini.ReadString("tool", "owner", ""), "line 3");
    EXPECT_EQ(ini.ReadString("settings2_variables", "operatorNote", ""), "keep me");
    EXPECT_EQ(ini.ReadString("settings2_variables", "familyName", ""), "DefaultFamily");
}

TEST_F(CliTest, EncodeTakesTheSlotAndItsDcState)
{
    const QString p = makeFile("slots.set", [](SettingsIniFile &i) {
        i.WriteString("settings2_variables", "dcLevel.defaultValue", "255");
        i.WriteString("settings2_variables", "cloAdjustEnable", "0");
        i.WriteString("settings3_variables", "current.defaultValue", "300");
        i.WriteString("settings3_variables", "Level0.defaultValue", "50,5");
    });
    CliRun two = run({"encode", p, "--slot", "2"});
    EXPECT_EQ(two.exitCode, 0) << two.err.toStdString();
    EXPECT_EQ(two.out, "00E65E;00E701;00EEFF\n");
    CliRun three = run({"encode", "--slot=3", p});
    EXPECT_EQ(three.out, "00E62C;00E701;00E8FF;00E965;00EAC8;00EBC8;00ECC8;00EDC8;00EEFE\n");
}

TEST_F(CliTest, SummaryPrintsTheSlotsLines)
{
    const QString p = makeFile("summary.set", [](SettingsIniFile &i) {
        i.WriteString("settings3_variables", "familyName", "Kompakt Müller");
        i.WriteString("settings3_variables", "dcLevel.defaultValue", "255");
    });
    CliRun r = run({"summary", p, "--slot", "3"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.out.split('\n');
    ASSERT_EQ(lines.size(), 23) << r.out.toStdString(); // 22 lines and the final line end
    EXPECT_EQ(lines.mid(0, 4), (QStringList{"NFC configuration software Tavel", "Summary information", "Config no 3", ""}));
    EXPECT_TRUE(lines[4].startsWith("Date "));
    EXPECT_TRUE(lines[5].startsWith("Time "));
    EXPECT_EQ(lines[6], "Family Name Kompakt Müller");
    EXPECT_EQ(lines[21], "DCLevel  OFF");
}

TEST_F(CliTest, FileErrorsPrintTheProgramsMessageAndExitOne)
{
    struct Case {
        const char *name;
        std::function<QString()> file;
        QStringList commands;
        QString message;
    };
    const QString oldVersion =
        "Settings file was created in old version of software.\nIs not compatible with actual version.\n";
    const QString format = "wrong format of settings data, program load defauld number\n";
    const Case cases[] = {
        {"old version",
         [&] { return makeFile("old.set", [](auto &i) { i.DeleteKey("settings1_variables", "programmer_Nfc_FW"); }); },
         {"encode", "summary"}, oldVersion},
        {"format error",
         [&] { return makeFile("tag.set", [](auto &i) { i.WriteString("settings2_variables", "tag", "abc"); }); },
         {"encode", "summary"}, format},
        {"dc min", [&] { return makeFile("dc.set", [](auto &i) { i.WriteString("settings3_variables", "dcLevel.min", "x"); }); },
         {"encode"}, format},
        {"conversion error",
         [&] { return makeFile("step.set", [](auto &i) { i.WriteString("settings1_variables", "lifeTime.step", ""); }); },
         {"encode"}, "'' is not a valid integer value\n"},
        {"division by zero",
         [&] { return makeFile("zero.set", [](auto &i) { i.WriteString("settings1_variables", "lifeTime.step", "0"); }); },
         {"encode"}, "Division by zero\n"},
        {"dc level beyond its byte",
         [&] { return makeFile("dc105.set", [](auto &i) { i.WriteString("settings1_variables", "dcLevel.defaultValue", "105"); }); },
         {"encode"}, "dcLevel.defaultValue = 105 is out of range: it must lie in 0 ... 100\n"},
        {"current beyond two bytes",
         [&] { return makeFile("big.set", [](auto &i) { i.WriteString("settings1_variables", "current.defaultValue", "65536"); }); },
         {"encode"}, "current.defaultValue = 65536 is out of range: it must lie in 0 ... 65535\n"},
        {"address below its range",
         [&] { return makeFile("addr.set", [](auto &i) { i.WriteString("settings1_variables", "current.address", "31"); }); },
         {"encode"}, "current.address = 31 is out of range: it must lie in 32 ... 65566\n"},
        {"missing file", [&] { return path("missing.set"); }, {"encode", "summary"}, ""},
    };
    for (const Case &c : cases) {
        const QString file = c.file();
        const QByteArray before = QFileInfo::exists(file) ? [&] { QFile f(file); f.open(QIODevice::ReadOnly); return f.readAll(); }() : QByteArray();
        for (const QString &command : c.commands) {
            CliRun r = run({command, file});
            EXPECT_EQ(r.exitCode, 1) << c.name << " " << command.toStdString();
            EXPECT_TRUE(r.out.isEmpty()) << c.name << ": no defaults printed instead: " << r.out.toStdString();
            if (!c.message.isEmpty())
                EXPECT_TRUE(r.err.startsWith(c.message)) << c.name << ": " << r.err.toStdString();
            else
                EXPECT_FALSE(r.err.isEmpty()) << c.name;
        }
        if (!before.isEmpty()) {
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            EXPECT_EQ(f.readAll(), before) << c.name << ": reading never writes the file";
        }
    }
}

TEST_F(CliTest, DefaultsOntoAFolderReportsTheSaveProblem)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.set"));
    CliRun r = run({"defaults", "-o", "taken.set"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "Some problem during save of data\n");
    EXPECT_TRUE(QFileInfo(path("taken.set")).isDir());
}

TEST_F(CliTest, UsageErrorsExitTwoWithAUsageLine)
{
    const QString p = makeFile("ok.set", [](SettingsIniFile &) {});
    const std::vector<std::pair<QStringList, QString>> cases = {
        {{}, "usage: tavel-nfc"},
        {{"frobnicate"}, "usage: tavel-nfc"},
        {{"defaults"}, "usage: tavel-nfc defaults -o FILE.set"},
        {{"defaults", "-o"}, "usage: tavel-nfc defaults -o FILE.set"},
        {{"defaults", "-o", "a.set", "b.set"}, "usage: tavel-nfc defaults -o FILE.set"},
        {{"encode"}, "usage: tavel-nfc encode FILE.set [--slot N]"},
        {{"encode", p, "--slot"}, "usage: tavel-nfc encode FILE.set [--slot N]"},
        {{"encode", p, "--slot", "4"}, "usage: tavel-nfc encode FILE.set [--slot N]"},
        {{"encode", p, "--slot", "0"}, "usage: tavel-nfc encode FILE.set [--slot N]"},
        {{"encode", p, "--slot", "1", "--slot", "2"}, "usage: tavel-nfc encode FILE.set [--slot N]"},
        {{"encode", p, p}, "usage: tavel-nfc encode FILE.set [--slot N]"},
        {{"encode", p, "--verbose"}, "usage: tavel-nfc encode FILE.set [--slot N]"},
        {{"summary", "--slot", "x", p}, "usage: tavel-nfc summary FILE.set [--slot N]"},
    };
    for (const auto &[args, usage] : cases) {
        CliRun r = run(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(usage)) << args.join(' ').toStdString() << ": " << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << args.join(' ').toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(path("a.set"))) << "a usage error writes nothing";
}

TEST_F(CliTest, EveryCommandHasHelp)
{
    for (const char *command : {"defaults", "encode", "summary"}) {
        CliRun r = run({command, "--help"});
        EXPECT_EQ(r.exitCode, 0) << command;
        EXPECT_TRUE(r.out.startsWith(QStringLiteral("usage: tavel-nfc ") + command)) << r.out.toStdString();
        EXPECT_TRUE(r.err.isEmpty());
    }
    CliRun overall = run({"--help"});
    EXPECT_EQ(overall.exitCode, 0);
    for (const char *command : {"defaults", "encode", "summary"})
        EXPECT_TRUE(overall.out.contains(QString::fromLatin1(command))) << command;
}

TEST_F(CliTest, BundledExampleFileReadsInEverySlot)
{
    const QString example = QStringLiteral(TAVEL_SOURCE_DIR "/resources/example.set");
    const QString expected[] = {"00E6F4;00E701;00E864;00E9A0;00EAA5;00EBAA;00ECB4;00EDC8;00EEEB\n",
                                "00E6BC;00E702;00EEFF\n", kDefaultText + "\n"};
    for (int slot = 1; slot <= 3; ++slot) {
        CliRun e = run({"encode", example, "--slot", QString::number(slot)});
        EXPECT_EQ(e.exitCode, 0) << e.err.toStdString();
        EXPECT_EQ(e.out, expected[slot - 1]) << slot;
        CliRun s = run({"summary", example, "--slot", QString::number(slot)});
        EXPECT_EQ(s.exitCode, 0) << s.err.toStdString();
    }
}

TEST_F(CliTest, FormatErrorSaysPlainlyThatNothingWasLoaded)
{
    const QString p = makeFile("tag.set", [](auto &i) { i.WriteString("settings2_variables", "tag", "abc"); });
    CliRun r = run({"encode", p});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "wrong format of settings data, program load defauld number\n"
                     "'abc' is not a valid integer value\n"
                     "tavel-nfc: nothing was loaded from '" + p + "'\n");
}

TEST_F(CliTest, FileWithANulByteIsRefusedAndDefaultsDoNotWriteOverIt)
{
    const QString p = makeFile("nul.set", [](auto &i) { i.WriteString("tool", "owner", "line 3"); });
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    QByteArray bytes = f.readAll();
    bytes.replace("type=", QByteArray("ty\0pe=", 6));
    f.seek(0);
    f.write(bytes);
    f.close();

    CliRun e = run({"encode", p});
    EXPECT_EQ(e.exitCode, 1);
    EXPECT_TRUE(e.out.isEmpty());
    EXPECT_TRUE(e.err.startsWith("The settings file cannot be read:\nthe file holds a NUL byte")) << e.err.toStdString();
    CliRun d = run({"defaults", "-o", p});
    EXPECT_EQ(d.exitCode, 1);
    EXPECT_EQ(d.err, "Some problem during save of data\n");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), bytes);
}
