// The main window: start-up, expert mode, slot selection, the transfer between a slot
// and the window, the modified test, the availability gate and the minimum size.
#include "control_texts.h"
#include "default_profiles.h"
#include "main_window_fixture.h"

#include "profile/profile_defaults.h"
#include "desktop/desktop_app.h"
#include "desktop/radio_link_window.h"
#include "desktop/tag_info_window.h"

#include <QScreen>
#include <QTest>

namespace {

bool shownIn(QWidget *w, QWidget *window) { return w->isVisibleTo(window); }

} // namespace

TEST_F(MainWindowTest, StartsOnTheWelcomePanelWithDefaultsInEverySlot)
{
    EXPECT_TRUE(dlg.messages.isEmpty());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("   NFC configuration software Tavel soft.ver. 1.4"));
    EXPECT_TRUE(shownIn(form->Panel5, form.get()));
    EXPECT_FALSE(shownIn(form->Panel9, form.get()));
    EXPECT_FALSE(shownIn(form->ToolBar3, form.get()));
    EXPECT_TRUE(shownIn(form->ToolBar2, form.get()));
    EXPECT_EQ(activeSlot(), 1);
    EXPECT_EQ(form->SettingsFileOpen, 0);
    EXPECT_EQ(form->SettingsFile, nullptr);

    EXPECT_EQ(form->Setting1ToolButton->ImageIndex, 11);
    EXPECT_EQ(form->Setting2ToolButton->ImageIndex, 9);
    EXPECT_EQ(form->Setting3ToolButton->ImageIndex, 10);
    EXPECT_EQ(form->Setting1ToolButton->Tag, 1);
    EXPECT_EQ(form->Setting2ToolButton->Tag, 0);
    EXPECT_EQ(form->Setting3ToolButton->Tag, 0);
    EXPECT_GE(form->ImageList1.size(), 14);

    const STRUCT_XML_FILE_VARIABLES expected = DefaultProfile();
    for (const auto &slot : settingsVariablesField)
        EXPECT_EQ(slot, expected);
    // The controls the defaults touch.
    EXPECT_EQ(form->clo_LifeTimeEdit->text(), QStringLiteral("127500"));
    EXPECT_TRUE(form->CLO_EnableCheckBox->isChecked());
    EXPECT_EQ(form->clo_L4_hour_Label->text(), QStringLiteral("95625"));
    EXPECT_TRUE(form->DC_level_active->isChecked());
    EXPECT_EQ(form->DC_ScrollBar->value(), form->DC_ScrollBar->minimum());
    EXPECT_FALSE(form->NTCEdit->isEnabled());
}

TEST_F(MainWindowTest, ControlsCarryTheirCaptionsAndHints)
{
    const std::pair<QAbstractButton *, const char *> hints[] = {
        {form->LanguageToolButton, "Language"}, {form->SaveAsToolButton, "Save as"},
        {form->SaveToolButton, "Save"},         {form->NewFileToolButton, "New file"},
        {form->LoadFileToolButton, "Load a file"}, {form->PrintToolButton, "Print file"},
        {form->SettingsToolButton, "Settings"}, {form->HelpToolButton, "Help"},
        {form->Setting1ToolButton, "config 1"}, {form->Setting2ToolButton, "config 2"},
        {form->Setting3ToolButton, "config 3"},
    };
    for (const auto &[button, hint] : hints)
        EXPECT_EQ(button->toolTip(), QString::fromLatin1(hint)) << button->objectName().toStdString();

    ExpectControlTexts({
        {form->AboutProductButton, "about product"}, {form->AboutCompanyButton, "about company"},
        {form->LicenceButton, "license"},            {form->CheckUpdatesButton, "check updates"},
        {form->NewSettingsButton, "new settings"},   {form->LoadFileButton, "load settings from file"},
        {form->RecentlyUsedButton, "recently used"}, {form->SendButton, "send"},
        {form->ReportButton, "report"},              {form->ReadButton, "read"},
        {form->OK, "Save"},                          {form->CloseInterfaceButton, "Close config-panel"},
        {form->CLO_EnableCheckBox, "CLO Enable"},    {form->DC_level_active, "DC emergency operation enable"},
        {form->Label54, "Print information"},
    });
    EXPECT_EQ(form->OK->toolTip(), QStringLiteral("Save values to the config-panel"));
    EXPECT_EQ(form->DataPackageMemo->toPlainText(), QStringLiteral("00E62C\n00E701"));
    EXPECT_FALSE(shownIn(form->DataPackageMemo, form.get()));
    // Every named control can be found by its name.
    for (const char *name : {"NomCurrentEdit", "MinCurrentLabel", "MaxCurrentLabel", "clo_L3_Edit", "clo_L5_hour_Label",
                             "DC_ScrollBar", "Label37", "Label38", "NTC_cut_degree_edit", "GraphPanel", "NTCPanel",
                             "CLO_adjust_panel_2", "NTC_adjust_Panel", "SummaryMemo", "ProgrammedDataMemo", "Label53"})
        EXPECT_NE(form->findChild<QWidget *>(QLatin1String(name)), nullptr) << name;
}

struct ExpertCase {
    QStringList arguments;
    bool expert;
};

class ExpertModeTest : public MainWindowTest, public ::testing::WithParamInterface<ExpertCase> {};

TEST_P(ExpertModeTest, OnlyTheExactKeywordAsFirstArgumentSwitchesExpertModeOn)
{
    dlg.clear();
    Create(GetParam().arguments);
    if (GetParam().expert) {
        ASSERT_EQ(dlg.messages.size(), 1);
        EXPECT_EQ(dlg.messages[0].caption, QStringLiteral("Info"));
        EXPECT_EQ(dlg.messages[0].text, QStringLiteral("Develop mode enable"));
        EXPECT_EQ(dlg.messages[0].buttons, MsgButtons::OK);
    } else {
        EXPECT_TRUE(dlg.messages.isEmpty());
    }
    EXPECT_EQ(DevelopModeFlag, GetParam().expert ? 1 : 0);
    form->show();
    form->Setting1ToolButtonClick();
    EXPECT_EQ(!form->ProgrammedDataMemo->isHidden(), GetParam().expert);
    form->close();
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ExpertModeTest,
    ::testing::Values(ExpertCase{{"prog", "qavrelo"}, true}, ExpertCase{{"prog", "qavrelo", "more"}, true},
                      ExpertCase{{"prog", "QAVRELO"}, false}, ExpertCase{{"prog", "Qavrelo"}, false},
                      ExpertCase{{"prog", "other", "qavrelo"}, false}, ExpertCase{{"prog"}, false},
                      ExpertCase{{"prog", "qavrelo "}, false}));

TEST_F(MainWindowTest, SelectingASlotSwapsButtonPicturesAndShowsTheWorkPanel)
{
    struct Case {
        void (TForm1::*handler)();
        int slot;
        int images[3];
        int tags[3];
    };
    const Case cases[] = {
        {&TForm1::Setting2ToolButtonClick, 2, {8, 12, 10}, {0, 1, 0}},
        {&TForm1::Setting3ToolButtonClick, 3, {8, 9, 13}, {0, 0, 1}},
        {&TForm1::Setting1ToolButtonClick, 1, {11, 9, 10}, {1, 0, 0}},
    };
    for (const Case &c : cases) {
        (form.get()->*c.handler)();
        EXPECT_EQ(activeSlot(), c.slot);
        TToolButton *buttons[] = {form->Setting1ToolButton, form->Setting2ToolButton, form->Setting3ToolButton};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(buttons[i]->ImageIndex, c.images[i]) << "slot " << c.slot << " button " << i + 1;
            EXPECT_EQ(buttons[i]->Tag, c.tags[i]) << "slot " << c.slot << " button " << i + 1;
        }
        EXPECT_EQ(form->Label4->text(), QStringLiteral("config.%1").arg(c.slot));
        EXPECT_FALSE(shownIn(form->Panel5, form.get()));
        EXPECT_TRUE(shownIn(form->Panel9, form.get()));
    }
    EXPECT_TRUE(dlg.messages.isEmpty());
}

TEST_F(MainWindowTest, ShowingASlotFillsEveryControlFromTheActiveSlot)
{
    auto &s = settingsVariablesField[1];
    s.familyName = "Fam";
    s.type = "Typ";
    s.ref_number = "R-7";
    s.programmer_Nfc_FW = "2.3";
    s.enOcean_HandHeldID = "0x0A0B0C0D";
    s.current.min = "100";
    s.current.max = "900";
    s.current.defaultValue = "450";
    s.lifeTime.defaultValue = "1";
    s.Level[0].defaultValue = "61";
    s.Level[1].defaultValue = "62";
    s.Level[2].defaultValue = "63.5";
    s.Level[3].defaultValue = "64";
    s.Level[4].defaultValue = "65";
    s.dcLevel.min = "40";
    s.dcLevel.max = "90";
    s.dcLevel.defaultValue = "080";
    s.ExtNTCLevel1.defaultValue = "99";
    s.ExtNTCLevel2.defaultValue = "21";
    s.Temp1.defaultValue = "51";
    s.Temp2.defaultValue = "81";
    s.CutOffTemp.defaultValue = "91";
    s.currentAdjustEnable = 0;
    s.cloAdjustEnable = 1;

    form->Setting2ToolButtonClick();

    EXPECT_EQ(form->FamilyNameLabel->text(), "Fam");
    EXPECT_EQ(form->TypeLabel->text(), "Typ");
    EXPECT_EQ(form->RefNumLabel->text(), "R-7");
    EXPECT_EQ(form->NfcFwVersion->text(), "2.3");
    EXPECT_EQ(form->EnOceanIDLabel->text(), "0x0A0B0C0D");
    EXPECT_FALSE(form->CurrentCheckBox->isChecked());
    EXPECT_FALSE(form->CurrentEdit->isEnabled());
    EXPECT_TRUE(form->CLOCheckBox->isChecked());
    EXPECT_EQ(form->CurrentEdit->Tag, 0);
    EXPECT_EQ(form->CLOEdit->Tag, 1); // the first enabled parameter's panel opens
    EXPECT_EQ(form->MinCurrentLabel->text(), "100");
    EXPECT_EQ(form->MaxCurrentLabel->text(), "900");
    EXPECT_EQ(form->NomCurrentEdit->text(), "450");
    EXPECT_EQ(form->clo_LifeTimeEdit->text(), "1");
    EXPECT_TRUE(form->CLO_EnableCheckBox->isChecked());
    const QLabel *hours[] = {form->clo_L1_hour_Label, form->clo_L2_hour_Label, form->clo_L3_hour_Label,
                             form->clo_L4_hour_Label, form->clo_L5_hour_Label};
    const char *expectedHours[] = {"0", "0", "0", "0", "1"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(hours[i]->text(), QString::fromLatin1(expectedHours[i]));
    EXPECT_EQ(form->clo_L3_Edit->text(), "63.5");
    EXPECT_EQ(form->clo_StartLevelLabel->text(), "61");
    EXPECT_EQ(form->clo_StopLevelLabel->text(), "65");
    EXPECT_EQ(form->DC_ScrollBar->minimum(), 40);
    EXPECT_EQ(form->DC_ScrollBar->maximum(), 90);
    EXPECT_EQ(form->Label37->text(), "40");
    EXPECT_EQ(form->Label38->text(), "90");
    EXPECT_TRUE(form->DC_level_active->isChecked());
    EXPECT_EQ(form->DC_level_Edit->text(), "80"); // a stored 080 shows as 80
    EXPECT_EQ(form->DC_ScrollBar->value(), 40 + 90 - 80);
    EXPECT_EQ(form->NTC_start_edit->text(), "99");
    EXPECT_EQ(form->NTC_stop_edit->text(), "21");
    EXPECT_EQ(form->NTC_start_degree_edit->text(), "51");
    EXPECT_EQ(form->NTC_stop_degree_edit->text(), "81");
    EXPECT_EQ(form->NTC_cut_degree_edit->text(), "91");
    EXPECT_TRUE(form->SummaryMemo->toPlainText().contains("Config no 2"));
    EXPECT_EQ(form->CloseInterfaceButton->Tag, 0);
    EXPECT_EQ(form->CloseInterfaceButton->text(), "Close config-panel");

    // 127500 h splits into quarters.
    s.lifeTime.defaultValue = "127500";
    form->Setting2ToolButtonClick();
    const char *quarters[] = {"0", "31875", "63750", "95625", "127500"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(hours[i]->text(), QString::fromLatin1(quarters[i]));
}

TEST_F(MainWindowTest, LifetimeZeroAloneUnticksCloEnable)
{
    const std::pair<const char *, bool> cases[] = {{"0", false}, {"00", true}, {"500", true}};
    for (const auto &[lifetime, ticked] : cases) {
        settingsVariablesField[0].lifeTime.defaultValue = QString::fromLatin1(lifetime);
        form->Setting1ToolButtonClick();
        EXPECT_EQ(form->CLO_EnableCheckBox->isChecked(), ticked) << lifetime;
        EXPECT_EQ(form->clo_L2_Edit->isEnabled(), ticked) << lifetime;
    }
}

TEST_F(MainWindowTest, DcOffShowsAnEmptyDisabledLevel)
{
    settingsVariablesField[0].dcLevel.defaultValue = "255";
    form->Setting1ToolButtonClick();
    EXPECT_FALSE(form->DC_level_active->isChecked());
    EXPECT_FALSE(form->DC_level_Edit->isEnabled());
    EXPECT_FALSE(form->DC_ScrollBar->isEnabled());
    EXPECT_TRUE(form->DC_level_Edit->text().isEmpty());
    EXPECT_EQ(form->CompareInterfaceDataWithSettingsData(), 0);
}

TEST_F(MainWindowTest, ASlotWithNothingEnabledHidesEveryPanel)
{
    for (auto &s : settingsVariablesField)
        s.currentAdjustEnable = s.cloAdjustEnable = s.dclevelAdjustEnable = s.ExtNTCAdjustEnable = 0;
    form->Setting2ToolButtonClick();
    for (QWidget *w : {static_cast<QWidget *>(form->GraphPanel), static_cast<QWidget *>(form->CLO_Adjust_Panel),
                       static_cast<QWidget *>(form->DC_levelPanel), static_cast<QWidget *>(form->NTCPanel),
                       static_cast<QWidget *>(form->CurrentTablePanel)})
        EXPECT_FALSE(shownIn(w, form.get())) << w->objectName().toStdString();
    for (QCheckBox *b : {form->CurrentCheckBox, form->CLOCheckBox, form->DCLevelCheckBox, form->NTCCheckBox})
        EXPECT_FALSE(b->isChecked());
    EXPECT_EQ(form->CurrentEdit->Tag + form->CLOEdit->Tag + form->DClevelEdit->Tag + form->NTCEdit->Tag, 0);
    EXPECT_TRUE(shownIn(form->SummaryPanel, form.get()));

    // Slot 1 opens the current panel all the same.
    form->Setting1ToolButtonClick();
    EXPECT_TRUE(shownIn(form->GraphPanel, form.get()));
    EXPECT_EQ(form->CurrentEdit->Tag, 1);
}

TEST_F(MainWindowTest, LoadSettingsDataToInterfaceShowsTheActiveSlotWhateverTheArgument)
{
    settingsVariablesField[2].familyName = "Third";
    form->Setting1ToolButtonClick();
    form->LoadSettingsDataToInterface(2);
    EXPECT_EQ(form->FamilyNameLabel->text(), defaultFamilyName);
}

// Each case changes one thing in the window showing slot 1 and says whether the
// window then counts as modified.
struct ModifiedCase {
    const char *name;
    std::function<void(TForm1 &)> change;
    int expected;
};

class ModifiedTest : public MainWindowTest, public ::testing::WithParamInterface<ModifiedCase> {};

TEST_P(ModifiedTest, ComparesTheShownTextsWithTheActiveSlot)
{
    form->Setting1ToolButtonClick();
    ASSERT_EQ(form->CompareInterfaceDataWithSettingsData(), 0);
    GetParam().change(*form);
    EXPECT_EQ(form->CompareInterfaceDataWithSettingsData(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ModifiedTest,
    ::testing::Values(
        ModifiedCase{"FamilyName", [](TForm1 &f) { f.FamilyNameLabel->setText("X"); }, 1},
        ModifiedCase{"EnOceanId", [](TForm1 &f) { f.EnOceanIDLabel->setText("0x00000001"); }, 1},
        ModifiedCase{"MaxCurrent", [](TForm1 &f) { f.MaxCurrentLabel->setText("701"); }, 1},
        ModifiedCase{"NominalCurrent", [](TForm1 &f) { f.NomCurrentEdit->setText("351"); }, 1},
        ModifiedCase{"Lifetime", [](TForm1 &f) { f.clo_LifeTimeEdit->setText("1000"); }, 1},
        ModifiedCase{"Level5", [](TForm1 &f) { f.clo_L5_Edit->setText("99.5"); }, 1},
        ModifiedCase{"DcLevel", [](TForm1 &f) { f.DC_level_Edit->setText("90"); }, 1},
        ModifiedCase{"DcUntickedWhileSlotHoldsALevel",
                     [](TForm1 &f) {
                         f.DC_level_active->click();
                     },
                     1},
        ModifiedCase{"NtcStopLevel", [](TForm1 &f) { f.NTC_stop_edit->setText("30"); }, 1},
        ModifiedCase{"NtcCutOff", [](TForm1 &f) { f.NTC_cut_degree_edit->setText("95"); }, 1},
        ModifiedCase{"NtcStartLevelIsNotCompared", [](TForm1 &f) { f.NTC_start_edit->setText("77"); }, 0},
        ModifiedCase{"EnableBoxIsNotCompared", [](TForm1 &f) { f.CLOCheckBox->click(); }, 0},
        ModifiedCase{"CaseMatters", [](TForm1 &f) { f.TypeLabel->setText("defaulttype"); }, 1}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, AStoredLevelWithLeadingZeroCountsAsModifiedUntilSaved)
{
    settingsVariablesField[0].dcLevel.defaultValue = "080";
    form->Setting1ToolButtonClick();
    EXPECT_EQ(form->DC_level_Edit->text(), "80");
    EXPECT_EQ(form->CompareInterfaceDataWithSettingsData(), 1);
    form->LoadSettingsDataFromInterface(0);
    EXPECT_EQ(settingsVariablesField[0].dcLevel.defaultValue, "80");
    EXPECT_EQ(form->CompareInterfaceDataWithSettingsData(), 0);
}

TEST_F(MainWindowTest, ValuesOfADisabledParameterStayInTheSlot)
{
    form->Setting1ToolButtonClick();
    form->CLOCheckBox->click(); // CLO available: the edit is disabled
    ASSERT_FALSE(form->CLOEdit->isEnabled());
    form->clo_L1_Edit->setText("60");
    form->LoadSettingsDataFromInterface(0);
    EXPECT_EQ(settingsVariablesField[0].cloAdjustEnable, 0);
    EXPECT_EQ(settingsVariablesField[0].Level[0].defaultValue, "100");
    EXPECT_EQ(form->CompareInterfaceDataWithSettingsData(), 1);
    form->Setting1ToolButtonClick();
    EXPECT_EQ(form->CompareInterfaceDataWithSettingsData(), 0);
}

TEST_F(MainWindowTest, TakingTheWindowIntoASlotStoresAnEmptyDcLevelAsOff)
{
    form->Setting1ToolButtonClick();
    form->DC_level_active->click(); // unticked: the level field empties
    ASSERT_TRUE(form->DC_level_Edit->text().isEmpty());
    form->NomCurrentEdit->setText("500");
    form->LoadSettingsDataFromInterface(0);
    EXPECT_EQ(settingsVariablesField[0].dcLevel.defaultValue, "255");
    EXPECT_EQ(settingsVariablesField[0].current.defaultValue, "500");
    EXPECT_EQ(settingsVariablesField[1].current.defaultValue, "350");
}

TEST_F(MainWindowTest, AvailabilityGateKeepsUnavailableParametersOff)
{
    form->Setting1ToolButtonClick();
    // NTC is not available in the default profile.
    form->NTCCheckBox->click();
    EXPECT_FALSE(form->NTCCheckBox->isChecked());
    EXPECT_FALSE(form->NTCEdit->isEnabled());
    // The current is: its edit follows the box, and the slot's flag waits for Save.
    form->CurrentCheckBox->click();
    EXPECT_FALSE(form->CurrentCheckBox->isChecked());
    EXPECT_FALSE(form->CurrentEdit->isEnabled());
    EXPECT_EQ(settingsVariablesField[0].currentAdjustEnable, 1);
    form->CurrentCheckBox->click();
    EXPECT_TRUE(form->CurrentEdit->isEnabled());
}

TEST_F(MainWindowTest, ResizingBelowTheMinimumSnapsBack)
{
    // The minimum is 1024 x 758 where the screen has room for it (the window
    // frame included); on a smaller screen it is the room there is, and the
    // controls scroll.
    form->show();
    QApplication::processEvents();
    const QRect area = form->screen()->availableGeometry();
    const QSize minimum = form->minimumSize();
    for (const auto &[designed, room] : {std::pair{1024, area.width()}, std::pair{758, area.height()}}) {
        const int got = designed == 1024 ? minimum.width() : minimum.height();
        if (room >= designed + 40) {
            EXPECT_EQ(got, designed);
        } else {
            EXPECT_LT(got, room);
            EXPECT_GE(got, room - 40);
        }
    }
    form->resize(600, 500);
    QApplication::processEvents();
    EXPECT_EQ(form->size(), minimum);
    form->resize(1200, 700);
    QApplication::processEvents();
    EXPECT_EQ(form->width(), 1200);
    EXPECT_EQ(form->height(), minimum.height());
    form->close();
}

TEST_F(MainWindowTest, ConversionErrorsInAUserActionGoToTheGeneralErrorReport)
{
    settingsVariablesField[1].dcLevel.min = "x";
    form->Setting2ToolButton->click();
    ASSERT_EQ(dlg.messages.size(), 1);
    EXPECT_EQ(dlg.messages[0].caption, "Error");
    EXPECT_TRUE(dlg.messages[0].text.contains("'x'")) << dlg.messages[0].text.toStdString();
    EXPECT_EQ(activeSlot(), 2); // the slot was selected before the conversion failed
}

TEST_F(MainWindowTest, ShowingTheWindowSetsTheTagInfoLayoutForExpertMode)
{
    TFormTagInfo info;
    for (const bool expert : {true, false, true}) {
        Create(expert ? QStringList{"prog", "qavrelo"} : QStringList{"prog"});
        ConnectDesktopWindows({.main = form.get(), .tagInfo = &info});
        form->show();
        EXPECT_EQ(info.width(), expert ? 760 : 526);
        EXPECT_EQ(!info.ReadDriverHexDataPanel->isHidden(), expert);
        form->close();
    }
}

TEST_F(MainWindowTest, ShowingASlotPutsItsProgrammerIntoTheRadioLinkWindow)
{
    TForm9 link;
    link.Link.stopReceiveTick();
    ConnectDesktopWindows({.main = form.get(), .radio = &link});
    settingsVariablesField[1].enOcean_HandHeldID = "0x01020304";
    settingsVariablesField[1].programmer_Nfc_FW = "3.1";
    form->Setting2ToolButtonClick();
    EXPECT_EQ(link.EditReceiverId->text(), "0x01020304");
    EXPECT_EQ(link.EditReceiverFW->text(), "3.1");
    form->Setting1ToolButtonClick();
    EXPECT_EQ(link.EditReceiverId->text(), defaultEnOceanHandHeldID);
    EXPECT_EQ(link.EditReceiverFW->text(), defaultProgrammer_Nfc_FW);
}
