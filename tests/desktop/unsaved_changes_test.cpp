// Nothing the operator changed is dropped without a question: closing the main
// window, loading a settings file and starting new settings ask "Save changes?"
// when a slot changed since it was loaded or saved, or the window holds a value
// not yet taken into the shown slot.
#include "default_profiles.h"
#include "file_bytes.h"
#include "main_window_fixture.h"

#include "profile/settings_file.h"

#include <QMenu>
#include <functional>

namespace {

void writeSettings(const QString &path, const QString &slot2Current)
{
    ProfileSlots profiles = DefaultSlots();
    profiles[1].current.defaultValue = slot2Current;
    SettingsIniFile ini(path);
    ASSERT_TRUE(DownloadSettingsToIniFile(ini, profiles));
}

QString storedSlot2Current(const QString &path)
{
    return SettingsIniFile(path).ReadString("settings2_variables", "current.defaultValue", "?");
}

class UnsavedChangesTest : public MainWindowTest {
protected:
    QString fileA;
    QString fileB;
    int selectionsWanted = 0;

    void SetUp() override
    {
        MainWindowTest::SetUp();
        fileA = Path("a.set");
        fileB = Path("b.set");
        writeSettings(fileA, "400");
        writeSettings(fileB, "450");
        QObject::connect(form.get(), &TForm1::driverSelectionWanted, form.get(), [this] { ++selectionsWanted; });
        dlg.answers.clear();
        dlg.filePaths = {fileA};
        form->LoadFileToolButtonClick();
        ASSERT_EQ(form->SettingsFileOpen, 1);
        form->show();
        dlg.clear();
    }

    QList<RecordedMessage> questions() const
    {
        QList<RecordedMessage> out;
        for (const auto &m : dlg.messages)
            if (m.text == kSaveChangesQuestion)
                out << m;
        return out;
    }
};

struct Trigger {
    const char *name;
    std::function<void()> run;
    // Whether the step went on (the window closed, the other file loaded, the
    // driver selection was asked for).
    std::function<bool()> wentOn;
};

} // namespace

TEST_F(UnsavedChangesTest, NothingChangedNothingAsked)
{
    form->Setting2ToolButtonClick(); // showing another slot changes nothing
    dlg.filePaths << fileB;
    form->LoadFileToolButtonClick();
    EXPECT_EQ(settingsVariablesField[1].current.defaultValue, "450");
    form->NewFileToolButtonClick();
    EXPECT_EQ(selectionsWanted, 1);
    // A model fresh from the catalogue counts as loaded (the driver selection then
    // shows its slot).
    settingsVariablesField[0].familyName = QStringLiteral("Chosen model");
    form->ModelLoaded(0);
    form->Setting1ToolButtonClick();
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(questions().isEmpty()) << dlg.texts().join(" | ").toStdString();
}

TEST_F(UnsavedChangesTest, EveryStepThatDropsAChangedSlotAsksFirst)
{
    const Trigger triggers[] = {
        {"closing the window", [this] { form->close(); }, [this] { return !form->isVisible(); }},
        {"loading a settings file",
         [this] {
             dlg.filePaths << fileB;
             form->LoadFileToolButtonClick();
         },
         [] { return settingsVariablesField[1].current.defaultValue == "450"; }},
        {"new settings", [this] { form->NewFileToolButtonClick(); }, [this] { return selectionsWanted == 1; }},
        {"new settings on the welcome panel", [this] { form->NewSettingsButtonClick(); },
         [this] { return selectionsWanted == 1; }},
        {"load settings from file on the welcome panel",
         [this] {
             dlg.filePaths << fileB;
             form->LoadFileButtonClick();
         },
         [] { return settingsVariablesField[1].current.defaultValue == "450"; }},
        {"a recently used file",
         [this] {
             form->RegisterCreateWriteFunction(fileB);
             form->RecentlyUsedButtonClick();
             form->PopupMenu1->close();
             form->File2->trigger();
         },
         [] { return settingsVariablesField[1].current.defaultValue == "450"; }},
    };
    const struct {
        MsgAnswer answer;
        bool goesOn;
        const char *storedInA; // slot 2's current in file A afterwards
    } answers[] = {
        {MsgAnswer::Cancel, false, "400"},
        {MsgAnswer::Discard, true, "400"},
        {MsgAnswer::Save, true, "500"},
    };
    for (const Trigger &trigger : triggers) {
        for (const auto &a : answers) {
            SCOPED_TRACE(std::string(trigger.name) + " answered " + std::to_string(int(a.answer)));
            TearDown();
            SetUp();
            selectionsWanted = 0;
            // The editor's "Save" took a new value into slot 2.
            settingsVariablesField[1].current.defaultValue = QStringLiteral("500");
            dlg.answers << a.answer;
            trigger.run();

            const auto asked = questions();
            ASSERT_EQ(asked.size(), 1) << dlg.texts().join(" | ").toStdString();
            EXPECT_EQ(asked[0].caption, "Please confirm");
            EXPECT_EQ(asked[0].buttons, MsgButtons::SaveDiscardCancel);
            EXPECT_EQ(trigger.wentOn(), a.goesOn);
            EXPECT_EQ(storedSlot2Current(fileA), a.storedInA);
            if (!a.goesOn) {
                // Cancel keeps everything as it was: the changed slot, the open file.
                EXPECT_EQ(settingsVariablesField[1].current.defaultValue, "500");
                EXPECT_EQ(form->SettingsFileOpen, 1);
                EXPECT_EQ(form->SettingsFile->FileName(), fileA);
            }
        }
    }
}

// "Save" in the question saves as the toolbar's Save does: a value still in an
// editor field is refused with Save's own message, a new profile asks for a file
// name; whenever nothing was saved, the step does not go on.
TEST_F(UnsavedChangesTest, SaveThatSavesNothingKeepsTheWindowOpen)
{
    form->Setting1ToolButtonClick();
    form->NomCurrentEdit->setText(QStringLiteral("555")); // typed, not taken into the slot
    const QByteArray before = ReadFileBytes(fileA);
    dlg.answers << MsgAnswer::Save;
    form->close();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(dlg.texts(), (QStringList{kSaveChangesQuestion, "Data were modified. Save them before Save"}));
    EXPECT_EQ(ReadFileBytes(fileA), before);

    // Without an open file Save asks for a name: cancelled, the window stays;
    // given, the slots are written there and the window closes.
    form->NomCurrentEdit->setText(settingsVariablesField[0].current.defaultValue);
    settingsVariablesField[2].current.defaultValue = QStringLiteral("600");
    form->DropSettingsFile();
    dlg.clear();
    dlg.answers << MsgAnswer::Save;
    form->close();
    EXPECT_TRUE(form->isVisible());
    ASSERT_EQ(dlg.fileDialogs.size(), 1);
    EXPECT_TRUE(dlg.fileDialogs[0].save);

    const QString named = Path("named.set");
    dlg.clear();
    dlg.answers << MsgAnswer::Save;
    dlg.filePaths << named;
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(SettingsIniFile(named).ReadString("settings3_variables", "current.defaultValue", "?"), "600");
}
