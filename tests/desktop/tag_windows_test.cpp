// The tag info window, the record options panel and the drivers report window.
#include "common/app_data.h"
#include "app/recent_files.h"
#include "desktop/desktop_app.h"
#include "desktop/main_window.h"
#include "profile/profile_defaults.h"
#include "radio/tag_buffers.h"
#include "radio/tag_image.h"
#include "radio/tag_info.h"
#include "desktop/tag_info_window.h"
#include "records/record_options.h"
#include "records/records_database.h"
#include "desktop/programmed_drivers_window.h"
#include "desktop/record_options_panel.h"
#include "main_window_fixture.h"
#include "scripted_dialogs.h"
#include "default_profiles.h"
#include "driver_tags.h"
#include "wait_for.h"
#include "window_test_folder.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

class TagWindows : public MainWindowTest {
protected:
    std::unique_ptr<TFormTagInfo> info;

    void SetUp() override
    {
        setDatabaseFolder(tmp.filePath("db"));
        MainWindowTest::SetUp();
        form->Setting1ToolButtonClick();
        ApplyPairedDriverIdentity(settingsVariablesField[0]);
        info = std::make_unique<TFormTagInfo>();
        ConnectDesktopWindows({.main = form.get(), .tagInfo = info.get()});
        recordOptions() = RecordOptions();
        loadTag();
        dlg.clear();
    }
    void TearDown() override
    {
        info.reset();
        MainWindowTest::TearDown();
        setDatabaseFolder(QString());
        recordOptions() = RecordOptions();
    }

    // The profile's driver's tag (PairedDriverTag), with another GTIN if asked.
    static void loadTag(const QByteArray &gtin = QByteArray::fromHex("001122334455"))
    {
        TagImage t = PairedDriverTag();
        t.gtin = gtin;
        LoadTagIntoBuffers(t);
    }
    QStringList memoLines() const { return info->UserFriendlyDataMemo->toPlainText().split('\n', Qt::SkipEmptyParts); }
};

TEST_F(TagWindows, ShowDataFillsIdentityRawListsAndDecodedLines)
{
    info->ShowData();
    EXPECT_EQ(info->txtGTIN->text(), "001122334455");
    EXPECT_EQ(info->txtSerial->text(), "0000000000012345");
    EXPECT_EQ(info->txtFW->text(), "0102");
    EXPECT_EQ(info->txtHW->text(), "0A0B");
    EXPECT_EQ(info->lstTagIdent->count(), 8);
    EXPECT_EQ(info->txtRWsize->text(), "0x000D");
    ASSERT_EQ(info->lstTagRW->count(), 15);
    EXPECT_TRUE(info->lstTagRW->item(0)->text().startsWith("0x0100  "));
    EXPECT_EQ(info->lstTagRW->item(8)->text(), "0x0108  64"); // lifetime byte 100 at 264
    EXPECT_EQ(info->txtRsize->text(), "0x0000");
    EXPECT_EQ(info->lstTagR->count(), 2);
    EXPECT_TRUE(dlg.messages.isEmpty());
    const QString half = QStringLiteral("99") + QLocale().decimalPoint() + "5";
    EXPECT_EQ(memoLines(), QStringList({"Current = 350", "LifeTime = 50000", "Level0 = 100", "Level1 = " + half,
                                        "Level2 = 90", "Level3 = 80", "Level4 = 50", "DCLevel = OFF"}));
}

TEST_F(TagWindows, MismatchShowsTheBoxAndNoLines)
{
    settingsVariablesField[0].editGTIN = "1122334455"; // without the leading zeros
    info->ShowData();
    ASSERT_EQ(dlg.messages.size(), 1);
    EXPECT_EQ(dlg.messages[0].caption, "Info");
    EXPECT_EQ(dlg.messages[0].text, kTagMismatchShowMessage);
    EXPECT_EQ(dlg.messages[0].icon, MsgIcon::Information);
    EXPECT_TRUE(memoLines().isEmpty());
}

TEST_F(TagWindows, CopyTakesTheValuesIntoTheActiveSlotAndShowsThem)
{
    settingsVariablesField[0].dcLevel.defaultValue = "80";
    info->CopyReadDataToProfile();
    ASSERT_EQ(dlg.messages.size(), 1);
    EXPECT_EQ(dlg.messages[0].text, "Downloaded values were copied to actual profile");
    EXPECT_EQ(dlg.messages[0].icon, MsgIcon::Information);
    const auto &p = settingsVariablesField[0];
    EXPECT_EQ(p.current.defaultValue, "350");
    EXPECT_EQ(p.lifeTime.defaultValue, "50000");
    EXPECT_EQ(p.Level[4].defaultValue, "50");
    EXPECT_EQ(p.dcLevel.defaultValue, "255");
    EXPECT_FALSE(form->DC_level_active->isChecked());
    EXPECT_EQ(form->NomCurrentEdit->text(), "350"); // the main window shows the slot again
}

TEST_F(TagWindows, CopyAfterMismatchAsksFirst)
{
    loadTag(QByteArray::fromHex("999999999999"));
    const QString before = settingsVariablesField[0].current.defaultValue;
    dlg.answers = {MsgAnswer::No};
    info->CopyReadDataToProfile();
    ASSERT_EQ(dlg.messages.size(), 1);
    EXPECT_EQ(dlg.messages[0].text, kTagMismatchCopyQuestion);
    EXPECT_EQ(dlg.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(settingsVariablesField[0].current.defaultValue, before);

    dlg.clear();
    dlg.answers = {MsgAnswer::Yes};
    info->CopyReadDataToProfile();
    ASSERT_EQ(dlg.messages.size(), 2);
    EXPECT_EQ(dlg.messages[1].text, "Dowloaded values where copied to actual profile");
    EXPECT_EQ(settingsVariablesField[0].current.defaultValue, "350");
    EXPECT_EQ(settingsVariablesField[0].editGTIN, "001122334455"); // identity stays
}

TEST_F(TagWindows, AParameterOutsideTheReadAreaIsShownAsNotOnTheTagAndNotCopied)
{
    settingsVariablesField[0].dcLevel.address = "4000";
    info->ShowData();
    EXPECT_TRUE(dlg.messages.isEmpty()) << dlg.texts().join('|').toStdString();
    ASSERT_EQ(memoLines().size(), 8);
    EXPECT_EQ(memoLines().last(), "DCLevel = not on the tag");
    dlg.clear();
    const QString dcBefore = settingsVariablesField[0].dcLevel.defaultValue;
    info->CopyReadDataToProfile();
    ASSERT_EQ(dlg.messages.size(), 2);
    EXPECT_EQ(dlg.messages[1].text, "Not on the tag, not copied: DCLevel");
    EXPECT_EQ(settingsVariablesField[0].dcLevel.defaultValue, dcBefore);
}

TEST_F(TagWindows, CleanMarksNotReadAndExpertLayoutSetsTheWidth)
{
    info->CleanTagInfoPanel();
    EXPECT_FALSE(TagIdentReceived());
    EXPECT_EQ(tagBuffers.ident[2], 0x00); // nothing else changes
    EXPECT_EQ(tagBuffers.ident[3], 0x01);
    info->SetExpertLayout(false);
    EXPECT_EQ(info->width(), 526);
    EXPECT_FALSE(info->ReadDriverHexDataPanel->isVisibleTo(info.get()));
    info->SetExpertLayout(true);
    EXPECT_EQ(info->width(), 760);
    EXPECT_TRUE(info->ReadDriverHexDataPanel->isVisibleTo(info.get()));
}

TEST_F(TagWindows, RecordOptionsPanelCouplesTheFiltersAndShowsDrivers)
{
    form->ReportButtonClick();
    TProgrammedDriverReportPanel *panel = form->ProgrammedDriverReportPanel;
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisibleTo(form.get()));
    EXPECT_EQ(panel->size(), QSize(442, 267));
    for (QCheckBox *b : {panel->ReportDatabaseCheckBox, panel->Setting1CheckBox, panel->Setting2CheckBox,
                         panel->Setting3CheckBox, panel->SettingsDatabaseCheckBox})
        EXPECT_TRUE(b->isChecked()) << b->text().toStdString();

    panel->Setting2CheckBox->click();
    EXPECT_FALSE(recordOptions().slotFilter[1]);
    panel->ReportDatabaseCheckBox->click(); // unticked: all three off and disabled
    EXPECT_FALSE(recordOptions().writeDrivers);
    for (QCheckBox *b : {panel->Setting1CheckBox, panel->Setting2CheckBox, panel->Setting3CheckBox}) {
        EXPECT_FALSE(b->isChecked());
        EXPECT_FALSE(b->isEnabled());
    }
    EXPECT_EQ(recordOptions().slotFilter, (std::array<bool, 3>{false, false, false}));
    panel->ReportDatabaseCheckBox->click(); // ticked again: all three on, whatever they were
    EXPECT_EQ(recordOptions().slotFilter, (std::array<bool, 3>{true, true, true}));
    panel->SettingsDatabaseCheckBox->click();
    EXPECT_FALSE(recordOptions().writeSettings);
    EXPECT_TRUE(recordOptions().writeDrivers);

    // "Show Drivers" on a fresh system: an empty window, an empty file left behind.
    panel->ReportPanelShowDriversButton->click();
    ASSERT_NE(panel->ProgrammedDrivers, nullptr);
    ASSERT_TRUE(waitFor([&] { return !panel->ProgrammedDrivers->Reading(); }, kWaitLimitMs));
    EXPECT_TRUE(panel->ProgrammedDrivers->isVisible());
    EXPECT_EQ(panel->ProgrammedDrivers->windowTitle(), "Programmed Drivers");
    EXPECT_TRUE(panel->ProgrammedDrivers->ProgrammedDriversMemo->toPlainText().isEmpty());
    EXPECT_TRUE(QFile::exists(DriversDatabasePath()));

    WriteDriversToDatabaseInAppdataWithSettings("2.10", "0x01", "0x0180A2B3", "0000000000000001");
    WriteDriversToDatabaseInAppdataWithSettings("2.10", "0x01", "0x0180A2B3", "0000000000000002");
    panel->ReportPanelShowDriversButton->click();
    ASSERT_TRUE(waitFor([&] { return !panel->ProgrammedDrivers->Reading(); }, kWaitLimitMs));
    const QStringList lines = panel->ProgrammedDrivers->ProgrammedDriversMemo->toPlainText().split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("0  "));
    EXPECT_TRUE(lines[0].contains(" - 0000000000000002 - NULL - "));
    EXPECT_TRUE(lines[1].endsWith(" - 0 - "));

    // The first driver again: its new line is marked and shaded, the others are not.
    WriteDriversToDatabaseInAppdataWithSettings("2.10", "0x01", "0x0180A2B3", "0000000000000001");
    panel->ReportPanelShowDriversButton->click();
    ASSERT_TRUE(waitFor([&] { return !panel->ProgrammedDrivers->Reading(); }, kWaitLimitMs));
    QPlainTextEdit *memo = panel->ProgrammedDrivers->ProgrammedDriversMemo;
    const QStringList marked = memo->toPlainText().split('\n');
    ASSERT_EQ(marked.size(), 3);
    EXPECT_TRUE(marked[0].endsWith(" - 0000000000000001 - NULL - NULL - NULL - NULL - NULL - NULL - NULL - NULL - "
                                   "NULL - NULL - NULL - NULL - NULL - 1 - REPEAT: programmed before"))
        << marked[0].toStdString();
    EXPECT_FALSE(marked[1].contains("REPEAT"));
    EXPECT_FALSE(marked[2].contains("REPEAT"));
    ASSERT_EQ(memo->extraSelections().size(), 1);
    EXPECT_EQ(memo->extraSelections()[0].cursor.blockNumber(), 0);

    panel->ReportPanelCloseButton->click();
    EXPECT_FALSE(panel->isVisibleTo(form.get()));
}

} // namespace

#include "fake_serial_port.h"
#include "radio_test_util.h"
#include "radio/tag_read_session.h"
#include "desktop/radio_link_window.h"

#include <QTimer>

namespace {

TEST_F(TagWindows, MainWindowReadShowsTheTagInfoOnceTheIdentityArrived)
{
    form->ReadButtonClick(); // no radio link window
    ASSERT_EQ(dlg.messages.size(), 1);
    EXPECT_EQ(dlg.messages[0].text, "COM port not opened.");
    EXPECT_EQ(dlg.messages[0].caption, "COM Error");

    FakePortInstaller fake;
    auto radio = std::make_unique<TForm9>();
    ConnectDesktopWindows({.main = form.get(), .radio = radio.get(), .tagInfo = info.get()});
    radio->Link.TogglePort("stick");
    radio->Link.ownId = 0x0180A2B3;
    radio->EditReceiverId->setText("0x01A2B3C4");
    radio->CheckBox1->setChecked(false);
    ASSERT_TRUE(radio->Link.isPortOpen());
    dlg.clear();
    dlg.answers = {MsgAnswer::OK, MsgAnswer::OK, MsgAnswer::Cancel}; // never waits for ever
    dlg.whileMessageOpen = [&](const RecordedMessage &m) {
        if (m.text != kTagReadWaitMessage)
            return;
        for (const QByteArray &f : TagIdentFrames(TagIdentBytes(TagImage{})))
            fake.state->incoming.append(telegramFrom(f, 0x01A2B3C4, 0x0180A2B3));
        radio->Link.Timer1Timer();
    };
    // The log lines of the read process events, so the closer waits for the window.
    bool shown = false;
    QTimer closer;
    closer.setInterval(10);
    QObject::connect(&closer, &QTimer::timeout, info.get(), [&] {
        if (info->isVisible()) {
            shown = true;
            info->accept();
        }
    });
    closer.start();
    form->ReadButtonClick();
    EXPECT_TRUE(shown);
    EXPECT_EQ(dlg.messages.first().text, kTagReadWaitMessage);
    // The window was filled when it showed, after block 0: a new tag starts from
    // empty buffers, so nothing of the tag read before shows through.
    EXPECT_EQ(info->txtGTIN->text(), "000000000000");
    EXPECT_EQ(info->txtRWsize->text(), "0x0000");
}

} // namespace
