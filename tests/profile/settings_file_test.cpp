#include "common/convert.h"
#include "default_profiles.h"
#include "file_bytes.h"
#include "file_size_limit.h"
#include "profile/file_error.h"
#include "profile/parameter_table.h"
#include "profile/profile_defaults.h"
#include "profile/settings_file.h"
#include "scripted_dialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <QRandomGenerator>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Three profiles that differ from each other and from the defaults in every kind of field.
ProfileSlots distinctSlots()
{
    ProfileSlots p = DefaultSlots();
    p[0].tag = 17;
    p[0].current.unit = QStringLiteral("mA");
    p[0].current.factor = QStringLiteral("1");
    p[0].current.offset = QStringLiteral("0");
    p[0].familyName = QStringLiteral("Kompakt Müller µ");
    p[0].Level[1].defaultValue = QStringLiteral("82.5");
    p[1].tag = -3;
    p[1].cloAdjustEnable = p[1].cloAvailable = 0;
    p[1].dcLevel.defaultValue = QStringLiteral("255");
    p[1].NTCType.list = QStringLiteral("10k;47k");
    p[1].memoData = QString();
    p[2].ExtNTCAdjustEnable = p[2].ExtNTCAvailable = 1;
    p[2].enOcean_HandHeldID = QStringLiteral("0x0581A3C4");
    p[2].programmer_Nfc_FW = QStringLiteral("2.1");
    p[2].ExtNTCLevel2.convform = QStringLiteral("lin");
    return p;
}

// The "key=value" lines of each section of a file, in file order.
QMap<QString, QStringList> sectionLines(const QByteArray &bytes, QStringList *sectionOrder = nullptr)
{
    QMap<QString, QStringList> out;
    QString section;
    for (const QByteArray &raw : bytes.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            section = line.mid(1, line.size() - 2);
            if (sectionOrder)
                *sectionOrder << section;
            continue;
        }
        out[section] << line;
    }
    return out;
}

QStringList keysOf(const QStringList &lines)
{
    QStringList keys;
    for (const QString &l : lines)
        keys << l.section(QLatin1Char('='), 0, 0);
    return keys;
}

class SettingsFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    QString path(const char *name = "profile.set") const { return dir.filePath(QString::fromLatin1(name)); }

    // A file with the default profile, then changed through `edit`.
    QString makeFile(const std::function<void(SettingsIniFile &)> &edit = {}, const char *name = "profile.set")
    {
        const QString p = path(name);
        EXPECT_TRUE(WriteDefaultSettingsFile(p, edit));
        dialogs.clear();
        return p;
    }
};

} // namespace

TEST(SettingsKeys, OneHundredEightyOneKeysInWriteOrder)
{
    const QStringList &keys = SettingsKeyOrder();
    ASSERT_EQ(keys.size(), 181);
    EXPECT_EQ(keys.mid(0, 8), (QStringList{"tag", "currentAdjustEnable", "cloAdjustEnable", "dclevelAdjustEnable",
                                           "ExtNTCAdjustEnable", "programmer_Nfc_FW", "enOcean_HandHeldID",
                                           "familyName"}));
    EXPECT_EQ(keys[15], "memoData");
    EXPECT_EQ(keys.mid(16, 11),
              (QStringList{"current.list", "current.min", "current.max", "current.defaultValue", "current.unit",
                           "current.address", "current.size", "current.step", "current.offset", "current.factor",
                           "current.convform"}));
    // Only the current group swaps factor and offset.
    EXPECT_LT(keys.indexOf("lifeTime.factor"), keys.indexOf("lifeTime.offset"));
    EXPECT_EQ(keys[16 + 8 * 11 + 3], "dcLevel.defaultValue");
    EXPECT_EQ(keys.last(), "NTCType.convform");
    EXPECT_EQ(std::set<QString>(keys.begin(), keys.end()).size(), 181u);
    EXPECT_FALSE(keys.contains("currentAvailable"));
}

TEST_F(SettingsFileTest, RoundTripOfAllThreeSlotsInWriteOrder)
{
    const ProfileSlots written = distinctSlots();
    SettingsIniFile out(path());
    ASSERT_TRUE(DownloadSettingsToIniFile(out, written));
    EXPECT_TRUE(dialogs.messages.isEmpty());

    QStringList order;
    const auto sections = sectionLines(ReadFileBytes(path()), &order);
    EXPECT_EQ(order, (QStringList{"settings1_variables", "settings2_variables", "settings3_variables"}));
    for (int s = 0; s < 3; ++s) {
        const QStringList lines = sections.value(SettingsSectionName(s));
        EXPECT_EQ(keysOf(lines), SettingsKeyOrder()) << s;
    }
    const QStringList first = sections.value("settings1_variables");
    EXPECT_EQ(first[0], "tag=17");
    EXPECT_TRUE(first.contains("familyName=Kompakt Müller µ"));
    EXPECT_TRUE(first.contains("current.list=")) << "empty text: key and equals sign only";
    EXPECT_EQ(sections.value("settings2_variables")[0], "tag=-3");

    ProfileSlots read{};
    SettingsIniFile in(path());
    int adjustCalls = 0;
    SettingsLoadOptions options;
    options.dcLevelAdjust = [&](int slotIndex) { EXPECT_EQ(slotIndex, adjustCalls++); };
    ASSERT_EQ(UploadSettingsFromIniFile(in, read, options), SettingsLoadResult::Loaded);
    EXPECT_EQ(adjustCalls, 3);
    for (int s = 0; s < 3; ++s)
        EXPECT_EQ(read[s], written[s]) << "slot " << s + 1;
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(SettingsFileTest, AvailabilityIsReadFromTheEnableFlags)
{
    ProfileSlots written = DefaultSlots();
    written[0].dclevelAdjustEnable = 0; // disabled but available when saved
    written[1].ExtNTCAvailable = 1;     // available but not enabled
    SettingsIniFile out(path());
    ASSERT_TRUE(DownloadSettingsToIniFile(out, written));
    ProfileSlots read{};
    ASSERT_EQ(UploadSettingsFromIniFile(out, read), SettingsLoadResult::Loaded);
    EXPECT_EQ(read[0].dclevelAvailable, 0);
    EXPECT_EQ(read[0].currentAvailable, 1);
    EXPECT_EQ(read[1].ExtNTCAvailable, 0);
}

TEST_F(SettingsFileTest, ProcessWideSlotsFormWritesAndReadsTheSlots)
{
    LoadDefaultProfileIntoSlots();
    settingsVariablesField[2].type = QStringLiteral("third");
    SettingsIniFile ini(path());
    ASSERT_TRUE(DownloadSettingsToIniFile(ini));
    settingsVariablesField[2].type = QStringLiteral("changed");
    ASSERT_EQ(UploadSettingsFromIniFile(ini), SettingsLoadResult::Loaded);
    EXPECT_EQ(settingsVariablesField[2].type, "third");
    LoadDefaultProfileIntoSlots();
}

TEST_F(SettingsFileTest, SavingKeepsForeignSectionsAndKeysAndReplacesValuesInPlace)
{
    WriteFileBytes(path(), "; written by hand\n"
                     "[tool]\n"
                     "owner=line 3\n"
                     "\n"
                     "[settings1_variables]\n"
                     "familyName=Old\n"
                     "operatorNote=keep me\n"
                     "tag=5\n");
    const QByteArray before = ReadFileBytes(path());
    SettingsIniFile ini(path());
    ASSERT_TRUE(DownloadSettingsToIniFile(ini, distinctSlots()));

    const QByteArray after = ReadFileBytes(path());
    EXPECT_TRUE(after.startsWith("; written by hand\n")) << after.left(80).toStdString();
    QStringList order;
    const auto sections = sectionLines(after, &order);
    EXPECT_EQ(order, (QStringList{"tool", "settings1_variables", "settings2_variables", "settings3_variables"}));
    EXPECT_EQ(sections.value("tool"), QStringList{"owner=line 3"});
    const QStringList first = sections.value("settings1_variables");
    ASSERT_EQ(first.size(), 182);
    // The keys already there keep their place with new values; the others follow in write order.
    EXPECT_EQ(first.mid(0, 3), (QStringList{"familyName=Kompakt Müller µ", "operatorNote=keep me", "tag=17"}));
    QStringList rest = SettingsKeyOrder();
    rest.removeAll("familyName");
    rest.removeAll("tag");
    EXPECT_EQ(keysOf(first.mid(3)), rest);
    EXPECT_EQ(keysOf(sections.value("settings2_variables")), SettingsKeyOrder());

    // Saving twice changes nothing more.
    SettingsIniFile again(path());
    ASSERT_TRUE(DownloadSettingsToIniFile(again, distinctSlots()));
    EXPECT_EQ(ReadFileBytes(path()), after);
    EXPECT_NE(after, before);
}

TEST_F(SettingsFileTest, SavingRereadsKeysWrittenByOthersSinceTheFileWasOpened)
{
    const QString p = makeFile();
    SettingsIniFile open(p); // the main window's open settings file
    {
        SettingsIniFile other(p);
        other.WriteString("tool", "added", "later");
        other.UpdateFile();
    }
    ASSERT_TRUE(DownloadSettingsToIniFile(open, DefaultSlots()));
    EXPECT_EQ(SettingsIniFile(p).ReadString("tool", "added", "absent"), "later");
}

// ---- Failing saves leave the previous file as it was --------------------------

TEST_F(SettingsFileTest, FailedSaveOntoADirectoryReportsAndChangesNothing)
{
    const QString p = path("folder.set");
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.set"));
    WriteFileBytes(p + "/inside.txt", "content");
    SettingsIniFile ini(p);
    EXPECT_FALSE(DownloadSettingsToIniFile(ini, DefaultSlots()));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].caption, "Error");
    EXPECT_EQ(dialogs.messages[0].text, "Some problem during save of data");
    EXPECT_TRUE(QFileInfo(p).isDir());
    EXPECT_EQ(ReadFileBytes(p + "/inside.txt"), "content");
}

TEST_F(SettingsFileTest, WriteFailingMidwayLeavesTheOldFileByteForByte)
{
    const QString p = makeFile([](SettingsIniFile &ini) { ini.WriteString("tool", "owner", "line 3"); });
    const QByteArray before = ReadFileBytes(p);
    ASSERT_GT(before.size(), 4096);

    // Let the write fail part of the way through: files may not grow beyond 1 KiB.
    FileSizeLimit limit(1024);
    ASSERT_TRUE(limit.active());
    ProfileSlots changed = distinctSlots();
    SettingsIniFile ini(p);
    const bool saved_ok = DownloadSettingsToIniFile(ini, changed);
    limit.lift();

    EXPECT_FALSE(saved_ok);
    EXPECT_EQ(dialogs.texts(), QStringList{"Some problem during save of data"});
    EXPECT_EQ(ReadFileBytes(p), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"profile.set"}) << "no temporary file left";
}

TEST_F(SettingsFileTest, UnwritableFolderOrUnreadableFileIsNotReplaced)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    const QString p = makeFile();
    const QByteArray before = ReadFileBytes(p);

    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    SettingsIniFile ini(p);
    EXPECT_FALSE(DownloadSettingsToIniFile(ini, distinctSlots()));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(ReadFileBytes(p), before);

    // A file that exists but cannot be read is not overwritten with the program's keys alone.
    QFile::setPermissions(p, QFile::WriteOwner);
    SettingsIniFile unreadable(p);
    EXPECT_FALSE(DownloadSettingsToIniFile(unreadable, distinctSlots()));
    QFile::setPermissions(p, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(ReadFileBytes(p), before);
    EXPECT_EQ(dialogs.messages.size(), 2);
}

TEST_F(SettingsFileTest, UpdateFileRaisesAFileErrorNamingThePath)
{
    const QString p = path("missing-folder/profile.set");
    SettingsIniFile ini(p);
    ini.WriteString("a", "b", "c");
    try {
        ini.UpdateFile();
        FAIL() << "no error";
    } catch (const EFCreateError &e) {
        EXPECT_TRUE(e.message().contains(p)) << e.what();
    }
}

// ---- Reading ------------------------------------------------------------------

TEST_F(SettingsFileTest, VersionRuleRejectsOldFilesAndChangesNothing)
{
    const QString oldVersion =
        "Settings file was created in old version of software.\nIs not compatible with actual version.";
    const std::vector<std::pair<const char *, std::function<QString()>>> files = {
        {"marker 0", [&] { return makeFile([](SettingsIniFile &i) { i.WriteString("settings1_variables", "programmer_Nfc_FW", "0"); }); }},
        {"marker absent", [&] { return makeFile([](SettingsIniFile &i) { i.DeleteKey("settings1_variables", "programmer_Nfc_FW"); }); }},
        {"missing file", [&] { return path("nothing-here.set"); }},
        {"empty file", [&] { WriteFileBytes(path("empty.set"), ""); return path("empty.set"); }},
    };
    for (const auto &[name, make] : files) {
        const QString p = make();
        ProfileSlots profiles = distinctSlots();
        SettingsIniFile ini(p);
        EXPECT_EQ(UploadSettingsFromIniFile(ini, profiles), SettingsLoadResult::OldVersion) << name;
        ASSERT_EQ(dialogs.messages.size(), 1) << name;
        EXPECT_EQ(dialogs.messages[0].caption, "Error");
        EXPECT_EQ(dialogs.messages[0].text, oldVersion);
        EXPECT_EQ(dialogs.messages[0].buttons, MsgButtons::OK);
        for (int s = 0; s < 3; ++s)
            EXPECT_EQ(profiles[s], distinctSlots()[s]) << name;
        dialogs.clear();
    }
}

TEST_F(SettingsFileTest, MissingSectionReadsAsZeroWithoutError)
{
    const QString p = makeFile([](SettingsIniFile &i) { i.EraseSection("settings3_variables"); });
    ProfileSlots profiles = distinctSlots();
    SettingsIniFile ini(p);
    ASSERT_EQ(UploadSettingsFromIniFile(ini, profiles), SettingsLoadResult::Loaded);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    const auto &r = profiles[2];
    EXPECT_EQ(r.tag + r.currentAdjustEnable + r.cloAdjustEnable + r.dclevelAdjustEnable + r.ExtNTCAdjustEnable, 0);
    EXPECT_EQ(r.currentAvailable + r.cloAvailable + r.dclevelAvailable + r.ExtNTCAvailable, 0);
    for (const auto &f : kIdentityFields)
        EXPECT_EQ(r.*(f.field), "0") << f.name;
    for (const auto &g : kParameterGroups)
        for (const auto &m : kDescriptorMembers)
            EXPECT_EQ(g.field.of(r).*(m.field), "0") << g.name << "." << m.name;
    EXPECT_EQ(profiles[0], DefaultSlots()[0]);
}

struct FormatErrorCase {
    const char *name;
    const char *section;
    const char *key;
    const char *value;
};

class SettingsFormatErrors : public SettingsFileTest, public ::testing::WithParamInterface<FormatErrorCase> {};

TEST_P(SettingsFormatErrors, LoadTheDefaultsOverWhatWasRead)
{
    const FormatErrorCase c = GetParam();
    const QString p = makeFile([&](SettingsIniFile &i) {
        i.WriteString("settings1_variables", "current.unit", "mA");
        i.WriteString("settings1_variables", "tag", "9");
        i.WriteString("settings1_variables", "familyName", "FromFile");
        i.WriteString(c.section, c.key, c.value);
    });
    ProfileSlots profiles{};
    SettingsIniFile ini(p);
    QString detail;
    SettingsLoadOptions options;
    options.errorDetail = &detail;
    EXPECT_EQ(UploadSettingsFromIniFile(ini, profiles, options), SettingsLoadResult::FormatErrorDefaultsLoaded);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].caption, "Error");
    EXPECT_EQ(dialogs.messages[0].text, "wrong format of settings data, program load defauld number");
    EXPECT_TRUE(detail.contains(QString::fromUtf8(c.value))) << detail.toStdString();
    for (int s = 0; s < 3; ++s) {
        EXPECT_EQ(profiles[s].familyName, "DefaultFamily") << s;
        EXPECT_EQ(profiles[s].dcLevel.defaultValue, "100") << s;
        EXPECT_EQ(profiles[s].ExtNTCAvailable, 0) << s;
    }
    // Fields the default profile does not set keep what was read before the error.
    EXPECT_EQ(profiles[0].current.unit, "mA");
    EXPECT_EQ(profiles[0].tag, 9);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsFormatErrors,
    ::testing::Values(FormatErrorCase{"TagInSection2", "settings2_variables", "tag", "abc"},
                      FormatErrorCase{"EnableFlag", "settings3_variables", "cloAdjustEnable", "1.0"},
                      FormatErrorCase{"EmptyEnableFlag", "settings2_variables", "ExtNTCAdjustEnable", ""},
                      FormatErrorCase{"DcMin", "settings2_variables", "dcLevel.min", "x"},
                      FormatErrorCase{"DcMax", "settings3_variables", "dcLevel.max", "100%"},
                      FormatErrorCase{"DcValue", "settings2_variables", "dcLevel.defaultValue", "abc"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(SettingsFileTest, DcValuesThatAreNotConverted)
{
    const QString p = makeFile([](SettingsIniFile &i) {
        i.WriteString("settings1_variables", "dcLevel.defaultValue", "255");
        i.WriteString("settings2_variables", "dcLevel.defaultValue", "080");
        // Members that are only texts never raise the format error.
        i.WriteString("settings2_variables", "current.defaultValue", "not a number");
        i.WriteString("settings3_variables", "Temp1.min", "x");
    });
    ProfileSlots profiles{};
    SettingsIniFile ini(p);
    ASSERT_EQ(UploadSettingsFromIniFile(ini, profiles), SettingsLoadResult::Loaded);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(profiles[0].dcLevel.defaultValue, "255");
    EXPECT_EQ(profiles[1].dcLevel.defaultValue, "080");
    EXPECT_EQ(profiles[1].current.defaultValue, "not a number");
}

TEST_F(SettingsFileTest, DcAdjustRunsRightAfterTheDcValueIsRead)
{
    const QString p = makeFile([](SettingsIniFile &i) {
        i.WriteString("settings2_variables", "dcLevel.defaultValue", "70");
        i.WriteString("settings2_variables", "Temp1.defaultValue", "55");
    });
    ProfileSlots profiles{};
    SettingsIniFile ini(p);
    QStringList seen;
    SettingsLoadOptions options;
    options.dcLevelAdjust = [&](int s) {
        seen << QStringLiteral("%1:%2:%3").arg(s).arg(profiles[s].dcLevel.defaultValue, profiles[s].Temp1.defaultValue);
    };
    ASSERT_EQ(UploadSettingsFromIniFile(ini, profiles, options), SettingsLoadResult::Loaded);
    // The groups after dcLevel (Temp1 ...) are not read yet when the controls move.
    EXPECT_EQ(seen, (QStringList{"0:100:", "1:70:", "2:100:"}));
}

TEST_F(SettingsFileTest, FailingDcAdjustCountsAsFormatError)
{
    const QString p = makeFile();
    ProfileSlots profiles{};
    SettingsIniFile ini(p);
    SettingsLoadOptions options;
    options.dcLevelAdjust = [](int s) {
        if (s == 1)
            throw EConvertError(QStringLiteral("scroll bar"));
    };
    EXPECT_EQ(UploadSettingsFromIniFile(ini, profiles, options), SettingsLoadResult::FormatErrorDefaultsLoaded);
    EXPECT_EQ(dialogs.texts(), QStringList{"wrong format of settings data, program load defauld number"});
}

TEST_F(SettingsFileTest, WithoutFallbackTheSlotsKeepWhatWasRead)
{
    const QString p = makeFile([](SettingsIniFile &i) {
        i.WriteString("settings1_variables", "familyName", "FromFile");
        i.WriteString("settings2_variables", "tag", "abc");
    });
    ProfileSlots profiles{};
    SettingsIniFile ini(p);
    SettingsLoadOptions options;
    options.fallbackToDefaults = false;
    EXPECT_EQ(UploadSettingsFromIniFile(ini, profiles, options), SettingsLoadResult::FormatError);
    EXPECT_EQ(dialogs.texts(), QStringList{"wrong format of settings data, program load defauld number"});
    EXPECT_EQ(profiles[0].familyName, "FromFile");
    EXPECT_TRUE(profiles[2].familyName.isEmpty());
}

TEST_F(SettingsFileTest, ReadsWindowsLineEndsAndOlderCodePageTexts)
{
    QByteArray text = "\xEF\xBB\xBF[settings1_variables]\r\nprogrammer_Nfc_FW=1.0\r\nfamilyName=M\xFCller\r\n"
                      "type=M\xC3\xBCller\r\ncurrentAdjustEnable=1\r\n";
    WriteFileBytes(path(), text);
    ProfileSlots profiles{};
    SettingsIniFile ini(path());
    ASSERT_EQ(UploadSettingsFromIniFile(ini, profiles), SettingsLoadResult::Loaded);
    EXPECT_EQ(profiles[0].programmer_Nfc_FW, "1.0");
    EXPECT_EQ(profiles[0].familyName, QString::fromUtf8("Müller")) << "Latin-1 text of an older file";
    EXPECT_EQ(profiles[0].type, QString::fromUtf8("Müller"));
    EXPECT_EQ(profiles[0].currentAdjustEnable, 1);
    EXPECT_EQ(profiles[0].currentAvailable, 1);
}

TEST_F(SettingsFileTest, IniObjectReadsDefaultsForAbsentKeysOnly)
{
    WriteFileBytes(path(), "[s]\nempty=\nnumber=42\n");
    SettingsIniFile ini(path());
    EXPECT_EQ(ini.ReadString("s", "empty", "dflt"), "");
    EXPECT_EQ(ini.ReadString("s", "absent", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadString("other", "number", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadInteger("s", "number", 0), 42);
    EXPECT_THROW(ini.ReadInteger("s", "empty", 0), EConvertError);
    ini.WriteInteger("s", "number", 7);
    EXPECT_EQ(ini.ReadString("s", "number", ""), "7");
    ini.Reload();
    EXPECT_EQ(ini.ReadString("s", "number", ""), "42") << "unsaved writes are dropped";
    EXPECT_EQ(ini.Sections(), QStringList{"s"});
    EXPECT_EQ(ini.Keys("s"), (QStringList{"empty", "number"}));
}

// ---- Hostile texts and files ------------------------------------------------------

TEST_F(SettingsFileTest, TextWithALineBreakIsRefusedAndNothingIsWritten)
{
    const QString p = makeFile();
    const QByteArray before = ReadFileBytes(p);
    ProfileSlots profiles = DefaultSlots();
    profiles[0].familyName = "Evil\ncurrent.defaultValue=9999\n[settings2_variables]\ntag=abc";
    SettingsIniFile ini(p);
    EXPECT_FALSE(DownloadSettingsToIniFile(ini, profiles));
    EXPECT_EQ(dialogs.texts(), QStringList{"Some problem during save of data\nThe text of familyName in slot 1 "
                                           "cannot be stored: it holds a line break or another control character."});
    EXPECT_EQ(ReadFileBytes(p), before);
}

// Random texts made of the characters that mean something in the file either come
// back unchanged or are refused with a message; never a file that reads back different.
TEST_F(SettingsFileTest, RandomTextsRoundTripOrAreRefused)
{
    const QStringList pieces = {"=",  ";",  "[",  "]",  "\"", "'", " ",  "ü", "µ", "漢", "a", "Z", "0",
                                "#",  "\\", "\t", "\n", "\r", "\x01", "=x", "[s]", "..."};
    QRandomGenerator random(1313);
    auto randomText = [&] {
        QString t;
        for (int n = int(random.bounded(6)); n > 0; --n)
            t += pieces[int(random.bounded(int(pieces.size())))];
        return t;
    };
    int saved = 0, refused = 0;
    for (int round = 0; round < 120; ++round) {
        ProfileSlots written = DefaultSlots();
        const int slot = int(random.bounded(3));
        // One text field and one descriptor member of one slot get random texts.
        const auto &text = kIdentityFields[size_t(random.bounded(int(kIdentityFields.size())))];
        const auto &group = kParameterGroups[size_t(random.bounded(int(kParameterGroups.size())))];
        const auto &member = kDescriptorMembers[size_t(random.bounded(int(kDescriptorMembers.size())))];
        written[slot].*(text.field) = randomText();
        group.field.of(written[slot]).*(member.field) = randomText();
        if (group.field == &STRUCT_XML_FILE_VARIABLES::dcLevel)
            continue; // the DC numbers are converted on reading
        if (text.field == &STRUCT_XML_FILE_VARIABLES::programmer_Nfc_FW)
            written[0].programmer_Nfc_FW = "1.0"; // the version marker of slot 1 decides whether a file is read

        const QString p = path("random.set");
        QFile::remove(p);
        SettingsIniFile out(p);
        dialogs.clear();
        if (!DownloadSettingsToIniFile(out, written)) {
            ++refused;
            ASSERT_EQ(dialogs.messages.size(), 1) << round;
            EXPECT_TRUE(dialogs.messages[0].text.contains("cannot be stored")) << round;
            EXPECT_FALSE(QFileInfo::exists(p)) << round;
            continue;
        }
        ++saved;
        ProfileSlots read{};
        SettingsIniFile in(p);
        ASSERT_EQ(UploadSettingsFromIniFile(in, read), SettingsLoadResult::Loaded) << round;
        for (int s = 0; s < 3; ++s)
            ASSERT_EQ(read[s], written[s]) << "round " << round << " slot " << s + 1 << ": "
                                           << (written[slot].*(text.field)).toStdString() << " / "
                                           << (group.field.of(written[slot]).*(member.field)).toStdString();
    }
    EXPECT_GT(saved, 10);
    EXPECT_GT(refused, 10);
}

TEST_F(SettingsFileTest, ControlCharacterInAValueIsAFormatErrorNamingTheKey)
{
    const QString p = makeFile();
    QByteArray bytes = ReadFileBytes(p);
    bytes.replace("familyName=DefaultFamily\n", "familyName=Default\rFamily\n");
    WriteFileBytes(p, bytes);
    ProfileSlots profiles{};
    SettingsIniFile ini(p);
    QString detail;
    SettingsLoadOptions options;
    options.errorDetail = &detail;
    options.fallbackToDefaults = false;
    EXPECT_EQ(UploadSettingsFromIniFile(ini, profiles, options), SettingsLoadResult::FormatError);
    EXPECT_TRUE(detail.contains("familyName of settings1_variables")) << detail.toStdString();
}

TEST_F(SettingsFileTest, FileWithANulByteIsRefusedAndNeverWrittenOver)
{
    const QString p = makeFile([](SettingsIniFile &i) { i.WriteString("tool", "owner", "line 3"); });
    QByteArray bytes = ReadFileBytes(p);
    bytes.replace("type=", QByteArray("ty\0pe=", 6));
    WriteFileBytes(p, bytes);

    ProfileSlots profiles = distinctSlots();
    SettingsIniFile ini(p);
    EXPECT_EQ(UploadSettingsFromIniFile(ini, profiles), SettingsLoadResult::Unreadable);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith("The settings file cannot be read:\nthe file holds a NUL byte"))
        << dialogs.messages[0].text.toStdString();
    for (int s = 0; s < 3; ++s)
        EXPECT_EQ(profiles[s], distinctSlots()[s]);

    dialogs.clear();
    EXPECT_FALSE(DownloadSettingsToIniFile(ini, DefaultSlots()));
    EXPECT_EQ(dialogs.texts(), QStringList{"Some problem during save of data"});
    EXPECT_EQ(ReadFileBytes(p), bytes);
}

TEST_F(SettingsFileTest, CommentsAndLinesWithoutEqualsSignStayWhereTheyWere)
{
    WriteFileBytes(path(), "; head\n"
                           "[settings1_variables]\n"
                           "tag=5\n"
                           "a line without equals sign\n"
                           "; between\n"
                           "familyName=Old\n"
                           "\n"
                           "# the end\n");
    SettingsIniFile ini(path());
    ASSERT_TRUE(DownloadSettingsToIniFile(ini, distinctSlots()));
    const QList<QByteArray> lines = ReadFileBytes(path()).split('\n');
    ASSERT_GT(lines.size(), 8);
    EXPECT_EQ(lines.mid(0, 6), (QList<QByteArray>{"; head", "[settings1_variables]", "tag=17",
                                                  "a line without equals sign", "; between",
                                                  "familyName=Kompakt Müller µ"}));
    // The keys the file lacked follow its last key; the blank line and the closing
    // comment stay after them, ahead of the new sections.
    const qsizetype end = lines.indexOf("# the end");
    ASSERT_GT(end, 6);
    EXPECT_EQ(lines[end - 1], "");
    EXPECT_EQ(lines[end - 2], "NTCType.convform=");
    EXPECT_EQ(lines[end + 2], "[settings2_variables]");
}

TEST_F(SettingsFileTest, OfDuplicateKeysTheFirstIsReadAndWritten)
{
    WriteFileBytes(path(), "[settings1_variables]\nprogrammer_Nfc_FW=1.0\nfamilyName=First\n"
                           "familyName=Second\n[Settings1_Variables]\ntype=other section\n");
    SettingsIniFile ini(path());
    EXPECT_EQ(ini.ReadString("settings1_variables", "familyName", ""), "First");
    EXPECT_EQ(ini.ReadString("SETTINGS1_VARIABLES", "FAMILYNAME", ""), "First") << "names ignore case";
    EXPECT_EQ(ini.ReadString("settings1_variables", "type", "absent"), "absent") << "the first section counts";
    ini.WriteString("settings1_variables", "familyName", "New");
    EXPECT_EQ(ini.ToBytes(), "[settings1_variables]\nprogrammer_Nfc_FW=1.0\nfamilyName=New\n"
                             "familyName=Second\n[Settings1_Variables]\ntype=other section\n");
}

// As the superuser, permissions do not bind: the save then runs in a child process
// under the unprivileged user "nobody".
TEST_F(SettingsFileTest, WritableFileInAReadOnlyFolderIsSavedInPlace)
{
    const QString p = makeFile([](SettingsIniFile &i) { i.WriteString("tool", "owner", "line 3"); });
    QFile::setPermissions(p, QFileDevice::Permissions(0x6666));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    auto save = [&] {
        SettingsIniFile ini(p);
        return DownloadSettingsToIniFile(ini, distinctSlots());
    };
    bool saved = false;
    if (geteuid() == 0) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const bool ok = setgid(65534) == 0 && setuid(65534) == 0 && save();
            _exit(ok ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        saved = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    } else {
        saved = save();
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(saved);
    ProfileSlots read{};
    SettingsIniFile in(p);
    ASSERT_EQ(UploadSettingsFromIniFile(in, read), SettingsLoadResult::Loaded);
    EXPECT_EQ(read[0], distinctSlots()[0]);
    EXPECT_EQ(in.ReadString("tool", "owner", ""), "line 3");
}
