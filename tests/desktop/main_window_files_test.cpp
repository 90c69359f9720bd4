// The main window's settings-file commands, the recently-used list and printing.
#include "default_profiles.h"
#include "file_bytes.h"
#include "main_window_fixture.h"

#include "profile/profile_defaults.h"
#include "profile/settings_file.h"
#include "desktop/desktop_app.h"
#include "desktop/driver_select_window.h"

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QRegularExpression>
#include <QSettings>

namespace {

const QString kOldVersion = QStringLiteral(
    "Settings file was created in old version of software.\nIs not compatible with actual version.");
const QString kFormat = QStringLiteral("wrong format of settings data, program load defauld number");

// Writes the three profiles to `path` with slot-specific family names.
void writeSettingsFile(const QString &path)
{
    ProfileSlots profiles = DefaultSlots();
    for (int i = 0; i < kSlotCount; ++i) {
        profiles[i].familyName = QStringLiteral("Family%1").arg(i + 1);
        profiles[i].programmer_Nfc_FW = QStringLiteral("1.2");
    }
    profiles[1].dcLevel.defaultValue = QStringLiteral("255");
    profiles[2].current.defaultValue = QStringLiteral("600");
    SettingsIniFile ini(path);
    ASSERT_TRUE(DownloadSettingsToIniFile(ini, profiles));
}

} // namespace

TEST_F(MainWindowTest, LoadingWithTheDialogReadsAllSlotsShowsSlotOneAndRemembersThePath)
{
    const QString path = Path("three.set");
    writeSettingsFile(path);
    dlg.filePaths << path;

    form->LoadFileButtonClick();

    ASSERT_EQ(dlg.fileDialogs.size(), 1);
    const RecordedFileDialog &d = dlg.fileDialogs[0];
    EXPECT_FALSE(d.save);
    EXPECT_EQ(d.request.title, "Open settings file");
    EXPECT_EQ(d.request.filter, "setting files (*.set)");
    EXPECT_EQ(d.request.defaultSuffix, "set");
    EXPECT_EQ(d.request.initialDir, Path("appdata") + "/NFC configuration Software Tavel/settings/");
    EXPECT_TRUE(QDir(d.request.initialDir).exists());

    EXPECT_TRUE(dlg.messages.isEmpty());
    EXPECT_EQ(form->SettingsFileOpen, 1);
    EXPECT_EQ(activeSlot(), 1);
    EXPECT_EQ(settingsVariablesField[0].familyName, "Family1");
    EXPECT_EQ(settingsVariablesField[1].dcLevel.defaultValue, "255");
    EXPECT_EQ(settingsVariablesField[2].current.defaultValue, "600");
    EXPECT_EQ(form->FamilyNameLabel->text(), "Family1");
    EXPECT_TRUE(form->ToolBar3->isVisibleTo(form.get()));
    EXPECT_FALSE(form->Panel5->isVisibleTo(form.get()));
    EXPECT_EQ(ReadRecentFiles().value(0), path);
}

TEST_F(MainWindowTest, AnOldVersionFileChangesNothingButStaysOpen)
{
    const QString path = Path("old.set");
    WriteFileBytes(path, "[settings1_variables]\nprogrammer_Nfc_FW=0\nfamilyName=Old\n");
    form->Setting2ToolButtonClick();
    dlg.filePaths << path;

    form->LoadFileToolButtonClick();

    ASSERT_EQ(dlg.messages.size(), 1);
    EXPECT_EQ(dlg.messages[0].caption, "Error");
    EXPECT_EQ(dlg.messages[0].text, kOldVersion);
    EXPECT_EQ(settingsVariablesField[0].familyName, defaultFamilyName);
    EXPECT_EQ(activeSlot(), 2);
    EXPECT_EQ(form->SettingsFileOpen, 1);

    // Save then writes the profiles into it.
    dlg.clear();
    form->SaveToolButtonClick();
    ASSERT_EQ(dlg.messages.size(), 1);
    EXPECT_EQ(dlg.messages[0].text, "Recent values saved to actual opened ini file");
    EXPECT_EQ(dlg.messages[0].icon, MsgIcon::Information);
    SettingsIniFile check(path);
    EXPECT_EQ(check.ReadString("settings1_variables", "familyName", "?"), defaultFamilyName);
}

TEST_F(MainWindowTest, AMalformedFileLoadsTheDefaultsAndShowsSlotOne)
{
    const QString path = Path("bad.set");
    writeSettingsFile(path);
    {
        SettingsIniFile ini(path);
        ini.WriteString("settings2_variables", "tag", "abc");
        ini.UpdateFile();
    }
    form->Setting3ToolButtonClick();
    dlg.filePaths << path;
    form->LoadFileToolButtonClick();

    ASSERT_EQ(dlg.messages.size(), 1);
    EXPECT_EQ(dlg.messages[0].caption, "Error");
    EXPECT_EQ(dlg.messages[0].text, kFormat);
    EXPECT_EQ(activeSlot(), 1);
    for (const auto &slot : settingsVariablesField)
        EXPECT_EQ(slot.familyName, defaultFamilyName);
    EXPECT_EQ(form->FamilyNameLabel->text(), defaultFamilyName);
}

TEST_F(MainWindowTest, CancellingTheOpenDialogLeavesNoFileOpenSoSaveAsksForAName)
{
    const QString path = Path("first.set");
    writeSettingsFile(path);
    dlg.filePaths << path;
    form->LoadFileToolButtonClick();
    ASSERT_EQ(form->SettingsFileOpen, 1);

    dlg.clear();
    form->LoadFileToolButtonClick(); // cancelled
    EXPECT_EQ(form->SettingsFileOpen, 0);
    form->SaveToolButtonClick(); // becomes Save As
    ASSERT_EQ(dlg.fileDialogs.size(), 2);
    EXPECT_TRUE(dlg.fileDialogs[1].save);
    EXPECT_EQ(dlg.fileDialogs[1].request.filter, "setting files (*.set)");
    EXPECT_EQ(dlg.fileDialogs[1].request.defaultSuffix, "set");
    EXPECT_TRUE(dlg.fileDialogs[1].request.title.isEmpty());
}

TEST_F(MainWindowTest, SaveAndSaveAsRefuseUnsavedWindowValues)
{
    const QString path = Path("keep.set");
    form->Setting1ToolButtonClick();
    form->NomCurrentEdit->setText("400");

    // No file open: Save is Save As, which refuses.
    form->SaveToolButtonClick();
    ASSERT_EQ(dlg.messages.size(), 1);
    EXPECT_EQ(dlg.messages[0].caption, "Info");
    EXPECT_EQ(dlg.messages[0].text, "Data were modified. Save the value in the field before you can save it to the file");
    EXPECT_TRUE(dlg.fileDialogs.isEmpty());

    // With a file open Save refuses with its own text and writes nothing.
    form->NomCurrentEdit->setText("350");
    dlg.filePaths << path;
    form->SaveAsToolButtonClick();
    ASSERT_TRUE(QFile::exists(path));
    const QByteArray before = ReadFileBytes(path);
    dlg.clear();
    form->NomCurrentEdit->setText("400");
    form->SaveToolButtonClick();
    ASSERT_EQ(dlg.messages.size(), 1);
    EXPECT_EQ(dlg.messages[0].caption, "Info");
    EXPECT_EQ(dlg.messages[0].text, "Data were modified. Save them before Save");
    EXPECT_EQ(ReadFileBytes(path), before);
}

TEST_F(MainWindowTest, SaveAsWritesTheSlotsWithoutConfirmationAndSaveConfirms)
{
    const QString path = Path("saved.set");
    form->Setting2ToolButtonClick();
    settingsVariablesField[2].familyName = "Three";
    dlg.filePaths << path;
    form->SaveAsToolButtonClick();
    EXPECT_TRUE(dlg.messages.isEmpty());
    EXPECT_EQ(form->SettingsFileOpen, 1);
    EXPECT_TRUE(ReadRecentFiles().value(0).isEmpty()); // Save As does not remember the path
    {
        SettingsIniFile check(path);
        EXPECT_EQ(check.ReadString("settings3_variables", "familyName", "?"), "Three");
        EXPECT_EQ(check.Keys("settings1_variables").size(), 181);
    }

    settingsVariablesField[2].familyName = "Changed";
    form->SaveToolButtonClick();
    ASSERT_EQ(dlg.messages.size(), 1);
    EXPECT_EQ(dlg.messages[0].caption, "Info");
    EXPECT_EQ(dlg.messages[0].text, "Recent values saved to actual opened ini file");
    EXPECT_EQ(activeSlot(), 2);
    SettingsIniFile check(path);
    EXPECT_EQ(check.ReadString("settings3_variables", "familyName", "?"), "Changed");
}

TEST_F(MainWindowTest, AFailedSaveIsNotConfirmedAsSaved)
{
    // A path below a plain file cannot be written.
    WriteFileBytes(Path("plain"), "x");
    const QString path = Path("plain/sub.set");
    form->Setting1ToolButtonClick();
    dlg.filePaths << path;
    form->SaveAsToolButtonClick();
    ASSERT_EQ(dlg.messages.size(), 1);
    EXPECT_EQ(dlg.messages[0].caption, "Error");
    EXPECT_EQ(dlg.messages[0].text, "Some problem during save of data");

    dlg.clear();
    form->SaveToolButtonClick();
    ASSERT_EQ(dlg.messages.size(), 1);
    EXPECT_EQ(dlg.messages[0].text, "Some problem during save of data");
}

TEST_F(MainWindowTest, RecentlyUsedListPushesNewestFirstOneEntryPerFileAndDropsTheOldest)
{
    // "a.set" used again moves to the top instead of taking a second entry; the
    // sixth different file pushes the oldest ("b.xml") off the end.
    const QStringList pushes = {"a.set", "b.xml", "c.set", "a.set", "d.set", "e.set", "f.set"};
    for (const QString &p : pushes)
        form->RegisterCreateWriteFunction(p);
    EXPECT_EQ(ReadRecentFiles(), (QStringList{"f.set", "e.set", "d.set", "a.set", "c.set"}));

    form->RecentlyUsedButtonClick();
    EXPECT_TRUE(form->File1->isVisible());
    EXPECT_TRUE(form->File1->text().isEmpty());
    QAction *items[] = {form->File2, form->File3, form->File4, form->File5, form->File6};
    const char *captions[] = {"f.set", "e.set", "d.set", "a.set", "c.set"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(items[i]->text(), QString::fromLatin1(captions[i]));
        EXPECT_TRUE(items[i]->isVisible());
    }
    form->PopupMenu1->close();
    EXPECT_TRUE(dlg.messages.isEmpty());
}

TEST_F(MainWindowTest, OpeningTheSameFileThreeTimesKeepsOneEntry)
{
    const QString path = Path("same.set");
    writeSettingsFile(path);
    for (int i = 0; i < 3; ++i) {
        dlg.filePaths << path;
        form->LoadFileToolButtonClick();
    }
    EXPECT_EQ(ReadRecentFiles(), (QStringList{path, QString(), QString(), QString(), QString()}));
    form->RecentlyUsedButtonClick();
    EXPECT_TRUE(form->File2->isVisible());
    EXPECT_FALSE(form->File3->isVisible());
    form->PopupMenu1->close();
}

// Two spellings of one file are one entry; a list written with repeats (by an
// earlier version) loses them at the next use.
TEST_F(MainWindowTest, TheSameFileSpelledDifferentlyIsOneEntry)
{
    QDir(tmp.path()).mkpath(QStringLiteral("sub"));
    const QString path = Path("one.set");
    const struct {
        QString spelling;
    } cases[] = {{Path("sub/../one.set")}, {Path("./one.set")}, {QDir(tmp.path()).filePath("sub/.././one.set")}};
    for (const auto &c : cases) {
        form->RegisterCreateWriteFunction(path);
        form->RegisterCreateWriteFunction(Path("other.set"));
        form->RegisterCreateWriteFunction(c.spelling);
        EXPECT_EQ(ReadRecentFiles(), (QStringList{c.spelling, Path("other.set"), QString(), QString(), QString()}))
            << c.spelling.toStdString();
    }
    QSettings store(Path("recent.ini"), QSettings::IniFormat);
    const QStringList repeats = {"x.set", "y.set", "x.set", "y.set", "x.set"};
    for (int i = 0; i < 5; ++i)
        store.setValue(QStringLiteral("File%1").arg(i + 1), repeats[i]);
    store.sync();
    form->RegisterCreateWriteFunction("z.set");
    EXPECT_EQ(ReadRecentFiles(), (QStringList{"z.set", "x.set", "y.set", QString(), QString()}));
}

// Only a file that loaded goes on the list; a recently used file that loads again
// moves to the top.
TEST_F(MainWindowTest, OnlyFilesThatLoadedAreRemembered)
{
    const QString good = Path("good.set");
    writeSettingsFile(good);
    const QString malformed = Path("malformed.set");
    writeSettingsFile(malformed);
    {
        SettingsIniFile ini(malformed);
        ini.WriteString("settings2_variables", "tag", "abc");
        ini.UpdateFile();
    }
    const QString notSettings = Path("text.set");
    {
        QFile f(notSettings);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("just some text\n");
    }
    const QString missing = Path("missing.set");
    for (const QString &bad : {malformed, notSettings, missing}) {
        dlg.clear();
        dlg.filePaths << bad;
        form->LoadFileToolButtonClick();
        EXPECT_TRUE(ReadRecentFiles().value(0).isEmpty()) << bad.toStdString() << " did not load";
    }
    dlg.filePaths << good;
    form->LoadFileToolButtonClick();
    form->RegisterCreateWriteFunction(Path("later.set"));
    EXPECT_EQ(ReadRecentFiles().mid(0, 2), (QStringList{Path("later.set"), good}));
    form->RecentlyUsedButtonClick();
    form->PopupMenu1->close();
    form->File3->trigger(); // entry 2: good.set loads and comes first again
    EXPECT_EQ(form->SettingsFileOpen, 1);
    EXPECT_EQ(ReadRecentFiles().mid(0, 2), (QStringList{good, Path("later.set")}));
}

TEST_F(MainWindowTest, AnEmptyListShowsTheBlankItemWhichLoadsNothing)
{
    form->RecentlyUsedButtonClick();
    EXPECT_TRUE(form->File1->isVisible());
    for (QAction *a : {form->File2, form->File3, form->File4, form->File5, form->File6})
        EXPECT_FALSE(a->isVisible());
    form->PopupMenu1->close();
    form->File1->trigger();
    EXPECT_TRUE(form->ToolBar3->isVisibleTo(form.get()));
    EXPECT_FALSE(form->Panel5->isVisibleTo(form.get()));
    EXPECT_EQ(form->SettingsFileOpen, 0);
    EXPECT_TRUE(dlg.messages.isEmpty());
}

TEST_F(MainWindowTest, RecentlyUsedEntriesLoadOnlyExistingLowerCaseSetFiles)
{
    const QString good = Path("good.set");
    writeSettingsFile(good);
    const QString upper = Path("UPPER.SET");
    writeSettingsFile(upper);
    const QString missing = Path("missing.set");
    form->RegisterCreateWriteFunction(missing);
    form->RegisterCreateWriteFunction(upper);
    form->RegisterCreateWriteFunction(good);
    form->RecentlyUsedButtonClick();
    form->PopupMenu1->close();

    // Entry 2: the upper-case extension loads nothing.
    form->File3->trigger();
    EXPECT_EQ(form->SettingsFileOpen, 0);
    EXPECT_EQ(settingsVariablesField[0].familyName, defaultFamilyName);
    EXPECT_TRUE(form->ToolBar3->isVisibleTo(form.get()));
    EXPECT_FALSE(form->Panel5->isVisibleTo(form.get()));

    // Entry 3: a missing file loads nothing and says nothing.
    form->File4->trigger();
    EXPECT_EQ(form->SettingsFileOpen, 0);
    EXPECT_TRUE(dlg.messages.isEmpty());

    // Entry 1 (File2) loads, shows slot 1 and stays the newest entry, once.
    form->File2->trigger();
    EXPECT_EQ(form->SettingsFileOpen, 1);
    EXPECT_EQ(settingsVariablesField[1].familyName, "Family2");
    EXPECT_EQ(activeSlot(), 1);
    EXPECT_EQ(ReadRecentFiles(), (QStringList{good, upper, missing, QString(), QString()}));
    EXPECT_TRUE(dlg.messages.isEmpty());
}

TEST_F(MainWindowTest, PrintSavesTheSummaryOfTheActiveSlotWithCrLf)
{
    form->Setting3ToolButtonClick();
    const QString path = Path("summary.txt");
    dlg.filePaths << path;
    form->PrintToolButtonClick();

    ASSERT_EQ(dlg.fileDialogs.size(), 1);
    const RecordedFileDialog &d = dlg.fileDialogs[0];
    EXPECT_TRUE(d.save);
    EXPECT_EQ(d.request.filter, "txt files (*.txt)");
    EXPECT_EQ(d.request.defaultSuffix, "txt");
    EXPECT_EQ(d.request.initialDir, Path("appdata") + "/NFC configuration Software Tavel/print/");
    EXPECT_TRUE(QDir(d.request.initialDir).exists());

    const QByteArray text = ReadFileBytes(path);
    EXPECT_TRUE(text.startsWith("NFC configuration software Tavel\r\nSummary information\r\nConfig no 3\r\n\r\nDate "))
        << text.constData();
    EXPECT_TRUE(text.contains("\r\nDCLevel 100\r\n"));
    EXPECT_FALSE(text.contains("\n\n"));
    EXPECT_TRUE(dlg.messages.isEmpty());

    // Cancelled: nothing is written.
    QFile::remove(path);
    form->PrintToolButtonClick();
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(MainWindowTest, PrintingToAnUnwritablePlaceIsReported)
{
    WriteFileBytes(Path("plain"), "x");
    dlg.filePaths << Path("plain/summary.txt");
    form->PrintToolButton->click();
    ASSERT_EQ(dlg.messages.size(), 1);
    EXPECT_EQ(dlg.messages[0].caption, "Error");
}

TEST_F(MainWindowTest, TheSecondMenuEntryAlsoOpensTheDriverSelection)
{
    TForm10 selection;
    ConnectDesktopWindows({.main = form.get(), .driverSelect = &selection});
    const QString first = Path("first.set");
    const QString second = Path("second.set");
    writeSettingsFile(first);
    writeSettingsFile(second);
    form->RegisterCreateWriteFunction(second);
    form->RegisterCreateWriteFunction(first);
    form->RecentlyUsedButtonClick();
    form->PopupMenu1->close();

    form->File2->trigger();
    EXPECT_EQ(form->SettingsFileOpen, 1);
    EXPECT_FALSE(selection.isVisible());

    form->File3->trigger();
    EXPECT_EQ(form->SettingsFileOpen, 1);
    EXPECT_EQ(form->SettingsFile->FileName(), second);
    EXPECT_TRUE(selection.isVisible());
    selection.hide();
}

TEST_F(MainWindowTest, ClosingTheWindowReleasesTheOpenSettingsFile)
{
    form->Setting1ToolButtonClick();
    dlg.filePaths << Path("open.set");
    form->SaveAsToolButtonClick();
    ASSERT_EQ(form->SettingsFileOpen, 1);
    form->show();
    form->close();
    EXPECT_EQ(form->SettingsFileOpen, 0);
    EXPECT_EQ(form->SettingsFile, nullptr);
}

// A file whose slot cannot be shown (current.min is no number) leaves the window
// showing the slots it showed before, consistently, and no file open to save them into.
TEST_F(MainWindowTest, AFileWhoseSlotCannotBeShownLeavesThePreviousSlotShown)
{
    const QString path = Path("badmin.set");
    ProfileSlots profiles = DefaultSlots();
    profiles[0].familyName = QStringLiteral("NewFamily");
    profiles[0].current.min = QString();
    profiles[0].current.max = QStringLiteral("900");
    SettingsIniFile ini(path);
    ASSERT_TRUE(DownloadSettingsToIniFile(ini, profiles));
    const QByteArray before = ReadFileBytes(path);
    const auto shownBefore = settingsVariablesField;
    dlg.filePaths << path;

    EXPECT_NO_THROW(form->LoadFileToolButtonClick());

    ASSERT_EQ(dlg.messages.size(), 1);
    EXPECT_EQ(dlg.messages[0].caption, "Error");
    EXPECT_EQ(dlg.messages[0].text, "'' is not a valid integer value");
    EXPECT_EQ(settingsVariablesField, shownBefore);
    EXPECT_EQ(form->FamilyNameLabel->text(), activeProfile().familyName);
    EXPECT_EQ(form->MaxCurrentLabel->text(), activeProfile().current.max);
    EXPECT_EQ(form->MinCurrentLabel->text(), activeProfile().current.min);
    EXPECT_EQ(form->SettingsFileOpen, 0);
    form->SaveToolButtonClick(); // asks for a name (cancelled), never writes the old slots into the file
    EXPECT_EQ(ReadFileBytes(path), before);
}

// The stored DC level is shown as stored, wherever the scroll bar stood before.
TEST_F(MainWindowTest, TheStoredDcLevelIsShownWhateverTheBarShowedBefore)
{
    const QString path = Path("dc.set");
    ProfileSlots profiles = DefaultSlots();
    profiles[0].dcLevel.defaultValue = QStringLiteral("0"); // below the bar's range 50 ... 100
    SettingsIniFile ini(path);
    ASSERT_TRUE(DownloadSettingsToIniFile(ini, profiles));
    for (int barBefore : {50, 75, 100}) {
        form->DC_ScrollBar->setValue(barBefore);
        dlg.clear();
        dlg.filePaths << path;
        // The bar moved in the shown slot is a value not taken into it: the load
        // asks first (unanswered: "Discard"), and says nothing else.
        form->LoadFileToolButtonClick();
        EXPECT_TRUE(dlg.texts().filter(QRegularExpression("^(?!Save changes\\?$)")).isEmpty())
            << dlg.texts().join(' ').toStdString();
        EXPECT_EQ(form->DC_level_Edit->text(), "0") << barBefore;
        EXPECT_EQ(form->CompareInterfaceDataWithSettingsData(), 0) << barBefore;
    }
}
