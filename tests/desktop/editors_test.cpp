// The parameter editors of the main window: opening the panels, every field check as
// the user meets it (leaving the field or pressing Enter), the DC bar and the enable
// boxes, Save, the summary switch, the repaint timer and the mouse on the current graph.
#include "main_window_fixture.h"

#include "print_qt.h"
#include "wait_for.h"

#include "app/editor_rules.h"
#include "desktop/graph_view.h"
#include "common/convert.h"
#include "profile/profile_defaults.h"

#include <QMouseEvent>
#include <QTest>

namespace {

class EditorsTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        SetLevelDecimalSeparatorForTest(QLatin1Char('.'));
        MainWindowTest::SetUp();
        form->show();
        form->Setting1ToolButtonClick(); // slot 1 shown, the current panel open
        dlg.clear();
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        SetLevelDecimalSeparatorForTest(QChar());
    }

    // Leaving a field as the user does it: the field's exit event, run as a user action.
    void leave(TEdit *edit)
    {
        ASSERT_TRUE(edit->OnExit);
        RunUserAction(edit->OnExit);
    }
    void type(TEdit *edit, const QString &text)
    {
        edit->setText(text);
        leave(edit);
    }
    bool shown(QWidget *w) const { return w->isVisibleTo(form.get()); }

    // Share of the edit's pixels in the amber of the entered edit.
    double amberShare(QWidget *w) const
    {
        const QImage img = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
        int amber = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                amber += img.pixelColor(x, y) == QColor(251, 186, 0);
        return double(amber) / (img.width() * img.height());
    }

    // The y of the red current line on the plot, -1 when there is none.
    int currentLineY() const
    {
        for (const GraphItem &i : form->CurrentGraph->PlotItems())
            if (i.kind == GraphItem::Line && i.color == kGraphRed)
                return i.p1.y();
        return -1;
    }

    bool hasText(TGraphView *g, const QString &t) const
    {
        for (const GraphItem &i : g->AxisItems())
            if (i.kind == GraphItem::Text && i.text == t)
                return true;
        return false;
    }

    void sendMove(QWidget *w, QPoint pos, Qt::MouseButtons buttons)
    {
        QMouseEvent ev(QEvent::MouseMove, QPointF(pos), w->mapToGlobal(QPointF(pos)), Qt::NoButton, buttons,
                       Qt::NoModifier);
        QCoreApplication::sendEvent(w, &ev);
    }
};

} // namespace

// ---- Opening the panels ------------------------------------------------------------------------

TEST_F(EditorsTest, EachSelectorOpensItsPanelsMarksItselfAndShowsSave)
{
    struct Case {
        void (TForm1::*enter)();
        TEdit *TForm1::*edit;
        QFrame *TForm1::*big;
        std::vector<QFrame *TForm1::*> small;
    } cases[] = {
        {&TForm1::CurrentEditEnter, &TForm1::CurrentEdit, &TForm1::GraphPanel, {&TForm1::CurrentTablePanel}},
        {&TForm1::CLOEditEnter, &TForm1::CLOEdit, &TForm1::CLO_Adjust_Panel,
         {&TForm1::CLO_adjust_panel_1, &TForm1::CLO_adjust_panel_2}},
        {&TForm1::DClevelEditEnter, &TForm1::DClevelEdit, &TForm1::DC_levelPanel, {}},
        {&TForm1::NTCEditEnter, &TForm1::NTCEdit, &TForm1::NTCPanel, {&TForm1::NTC_adjust_Panel}},
    };
    QFrame *TForm1::*bigs[] = {&TForm1::GraphPanel, &TForm1::CLO_Adjust_Panel, &TForm1::DC_levelPanel,
                               &TForm1::NTCPanel};
    QFrame *TForm1::*smalls[] = {&TForm1::CurrentTablePanel, &TForm1::CLO_adjust_panel_1, &TForm1::CLO_adjust_panel_2,
                                 &TForm1::NTC_adjust_Panel};
    TEdit *TForm1::*edits[] = {&TForm1::CurrentEdit, &TForm1::CLOEdit, &TForm1::DClevelEdit, &TForm1::NTCEdit};

    form->CloseInterfaceButtonClick(); // start from the summary view
    ASSERT_TRUE(shown(form->SummaryPanel));
    for (const Case &c : cases) {
        SCOPED_TRACE((form.get()->*c.edit)->objectName().toStdString());
        (form.get()->*c.enter)();
        EXPECT_FALSE(shown(form->SummaryPanel));
        EXPECT_TRUE(shown(form->OK));
        for (auto big : bigs)
            EXPECT_EQ(shown(form.get()->*big), big == c.big) << (form.get()->*big)->objectName().toStdString();
        for (auto small : smalls) {
            const bool expected = std::find(c.small.begin(), c.small.end(), small) != c.small.end();
            EXPECT_EQ(shown(form.get()->*small), expected) << (form.get()->*small)->objectName().toStdString();
        }
        for (auto e : edits) {
            EXPECT_EQ((form.get()->*e)->Tag, e == c.edit ? 1 : 0);
            if (e == c.edit)
                EXPECT_GT(amberShare(form.get()->*e), 0.5);
            else
                EXPECT_EQ(amberShare(form.get()->*e), 0.0);
        }
        // Every big panel stands where the current graph's panel stands.
        EXPECT_EQ((form.get()->*c.big)->pos(), form->GraphPanel->pos());
    }
    EXPECT_EQ(form->CLO_adjust_panel_1->y(), form->CurrentTablePanel->y());
    EXPECT_EQ(form->CLO_adjust_panel_2->y(), form->CurrentTablePanel->y());
    EXPECT_EQ(form->NTC_adjust_Panel->pos(), form->CurrentTablePanel->pos());
    EXPECT_TRUE(dlg.messages.isEmpty());
}

TEST_F(EditorsTest, OpeningDrawsTheGraphOfThePanel)
{
    form->CurrentEditEnter();
    EXPECT_EQ(currentLineY(), 360); // 350 mA, the minimum, at the bottom
    EXPECT_TRUE(hasText(form->CurrentGraph, "700"));
    EXPECT_TRUE(shown(form->CurrentGraph));

    form->CLOEditEnter();
    EXPECT_TRUE(hasText(form->CLOGraph, "L5"));
    EXPECT_TRUE(hasText(form->CLOGraph, "95625"));

    form->NTCEditEnter();
    EXPECT_TRUE(hasText(form->NTCGraph, "cut-off"));
    EXPECT_TRUE(hasText(form->NTCGraph, "90")); // span 90 from the default cut-off
}

TEST_F(EditorsTest, SlotOneWithNothingEnabledStillOpensTheCurrentPanel)
{
    for (auto &s : settingsVariablesField)
        s.currentAdjustEnable = s.cloAdjustEnable = s.dclevelAdjustEnable = s.ExtNTCAdjustEnable = 0;
    form->Setting2ToolButtonClick();
    EXPECT_FALSE(shown(form->GraphPanel));
    form->Setting1ToolButtonClick();
    EXPECT_TRUE(shown(form->GraphPanel));
    EXPECT_EQ(currentLineY(), 360);
}

// ---- Nominal current ------------------------------------------------------------------------------

TEST_F(EditorsTest, NominalCurrentOutOfRangeGoesToTheMinimumAndMovesTheLine)
{
    type(form->NomCurrentEdit, "525");
    EXPECT_TRUE(dlg.messages.isEmpty());
    EXPECT_EQ(currentLineY(), 180);
    EXPECT_EQ(form->DataPackageMemo->toPlainText(), "00E60D\n00E702");

    type(form->NomCurrentEdit, "800");
    ASSERT_EQ(dlg.messages.size(), 1);
    EXPECT_EQ(dlg.messages[0].caption, "Error");
    EXPECT_EQ(dlg.messages[0].text, "number is out of range");
    EXPECT_EQ(dlg.messages[0].buttons, MsgButtons::OK);
    EXPECT_EQ(form->NomCurrentEdit->text(), "350");
    EXPECT_EQ(currentLineY(), 360);
    EXPECT_EQ(form->DataPackageMemo->toPlainText(), "00E65E\n00E701");
    // The slot changes only on Save.
    EXPECT_EQ(activeProfile().current.defaultValue, "350");
}

TEST_F(EditorsTest, EnterRunsTheCheckOtherKeysDoNotAndDigitsOnlyFieldsRefuseLetters)
{
    TEdit *e = form->NomCurrentEdit;
    e->clear();
    QTest::keyClicks(e, "8a0.0");
    EXPECT_EQ(e->text(), "800"); // letters and the point never reach a digits-only field
    EXPECT_TRUE(dlg.messages.isEmpty());
    QTest::keyClick(e, Qt::Key_Return);
    ASSERT_EQ(dlg.messages.size(), 1);
    EXPECT_EQ(dlg.messages[0].text, "number is out of range");
    EXPECT_EQ(e->text(), "350");

    // The handlers themselves refuse what a digits-only field must not take.
    QChar key = QLatin1Char('x');
    form->DC_level_EditKeyPress(key);
    EXPECT_TRUE(key.isNull());
    key = QLatin1Char('5');
    form->NTC_stop_editKeyPress(key);
    EXPECT_EQ(key, QLatin1Char('5'));
    key = QLatin1Char(',');
    form->clo_L4_EditKeyPress(key);
    EXPECT_EQ(key, QLatin1Char(','));

    // The level fields take any text; Enter rounds and checks.
    form->CLOEditEnter();
    dlg.clear();
    form->clo_L2_Edit->clear();
    QTest::keyClicks(form->clo_L2_Edit, "75.3");
    EXPECT_EQ(form->clo_L2_Edit->text(), "75.3");
    EXPECT_TRUE(dlg.messages.isEmpty());
    QTest::keyClick(form->clo_L2_Edit, Qt::Key_Enter);
    EXPECT_EQ(form->clo_L2_Edit->text(), "75.5");
    EXPECT_TRUE(dlg.messages.isEmpty());
}

TEST_F(EditorsTest, ATextThatDoesNotConvertIsReportedOnceAndStaysAsTyped)
{
    const int linesBefore = currentLineY();
    type(form->NomCurrentEdit, "");
    ASSERT_EQ(dlg.messages.size(), 1);
    EXPECT_EQ(dlg.messages[0].caption, "Error");
    EXPECT_TRUE(dlg.messages[0].text.contains("''"));
    EXPECT_EQ(form->NomCurrentEdit->text(), "");
    EXPECT_EQ(currentLineY(), linesBefore); // nothing else happened

    form->CLOEditEnter();
    dlg.clear();
    type(form->clo_L3_Edit, "7O");
    ASSERT_EQ(dlg.messages.size(), 1);
    EXPECT_TRUE(dlg.messages[0].text.contains("7O"));
    EXPECT_EQ(form->clo_L3_Edit->text(), "7O");
}

// ---- CLO ------------------------------------------------------------------------------------------------

TEST_F(EditorsTest, LifetimeOutOfRangeReturnsToTheStoredLifetime)
{
    form->CLOEditEnter();
    type(form->clo_LifeTimeEdit, "50000");
    EXPECT_TRUE(dlg.messages.isEmpty());
    EXPECT_EQ(form->clo_L2_hour_Label->text(), "12500");
    EXPECT_EQ(form->clo_L5_hour_Label->text(), "50000");
    EXPECT_TRUE(hasText(form->CLOGraph, "37500"));

    type(form->clo_LifeTimeEdit, "200000");
    ASSERT_EQ(dlg.messages.size(), 1);
    EXPECT_EQ(dlg.messages[0].caption, "Info");
    EXPECT_EQ(dlg.messages[0].text, "wrong value, should by in interval 0 h - 127500 h");
    EXPECT_EQ(form->clo_LifeTimeEdit->text(), "127500");
    EXPECT_EQ(form->clo_L4_hour_Label->text(), "95625");
    EXPECT_TRUE(hasText(form->CLOGraph, "95625"));
}

TEST_F(EditorsTest, LifetimeZeroUnticksCloEnableAndDisablesTheSixFields)
{
    form->CLOEditEnter();
    type(form->clo_LifeTimeEdit, "0");
    EXPECT_TRUE(dlg.messages.isEmpty());
    EXPECT_FALSE(form->CLO_EnableCheckBox->isChecked());
    for (TEdit *e : {form->clo_LifeTimeEdit, form->clo_L1_Edit, form->clo_L2_Edit, form->clo_L3_Edit,
                     form->clo_L4_Edit, form->clo_L5_Edit}) {
        EXPECT_FALSE(e->isEnabled());
        EXPECT_FALSE(e->text().isEmpty()); // texts stay
    }
    EXPECT_EQ(form->clo_L5_hour_Label->text(), "0");

    // Ticking the box again enables them; an unticked box draws no graph.
    form->CLO_EnableCheckBox->setChecked(true);
    form->CLO_EnableCheckBoxClick();
    EXPECT_TRUE(form->clo_L3_Edit->isEnabled());
    form->CLO_EnableCheckBox->setChecked(false);
    form->CLOEditEnter();
    EXPECT_TRUE(form->CLOGraph->AxisItems().isEmpty());
    EXPECT_TRUE(form->CLOGraph->PlotItems().isEmpty());
}

TEST_F(EditorsTest, LevelsAreRoundedThenChecked)
{
    form->CLOEditEnter();
    struct Case {
        TEdit *TForm1::*edit;
        QString typed, result;
        bool message;
    } cases[] = {
        {&TForm1::clo_L1_Edit, "49.8", "50", false},   {&TForm1::clo_L2_Edit, "49.7", "100", true},
        {&TForm1::clo_L3_Edit, "120", "100", false},   {&TForm1::clo_L4_Edit, "-5", "100", true},
        {&TForm1::clo_L5_Edit, "66.6", "66.5", false}, {&TForm1::clo_L2_Edit, "33.8", "100", true},
    };
    for (const Case &c : cases) {
        dlg.clear();
        type(form.get()->*c.edit, c.typed);
        EXPECT_EQ((form.get()->*c.edit)->text(), c.result) << c.typed.toStdString();
        ASSERT_EQ(dlg.messages.size(), c.message ? 1 : 0) << c.typed.toStdString();
        if (c.message) {
            EXPECT_EQ(dlg.messages[0].caption, "Info");
            EXPECT_EQ(dlg.messages[0].text, "wrong value, should by in interval 50% - 100%");
        }
    }
    EXPECT_EQ(form->clo_StartLevelLabel->text(), "50");
    EXPECT_EQ(form->clo_StopLevelLabel->text(), "66.5");
    // The graph follows: L1 at 50 % with top 101.
    const int y50 = int(std::nearbyint(360.0f - 50.0f * (360.0f / 101.0f)));
    EXPECT_EQ(form->CLOGraph->PlotItems().first().p1, QPoint(0, y50));
}

// ---- NTC --------------------------------------------------------------------------------------------------

TEST_F(EditorsTest, NtcOrderViolationRestoresTheStoredValueAndReopensThePanel)
{
    form->CurrentEditEnter();
    type(form->NTC_start_degree_edit, "85");
    ASSERT_EQ(dlg.messages.size(), 1);
    EXPECT_EQ(dlg.messages[0].caption, "Error");
    EXPECT_EQ(dlg.messages[0].text, "Start Temperature <= Stop Temperature <= cut-off Temperature");
    EXPECT_EQ(form->NTC_start_degree_edit->text(), "50");
    EXPECT_TRUE(shown(form->NTCPanel));
    EXPECT_EQ(form->NTCEdit->Tag, 1);

    dlg.clear();
    type(form->NTC_cut_degree_edit, "130"); // in order, out of range
    ASSERT_EQ(dlg.messages.size(), 1);
    EXPECT_EQ(dlg.messages[0].text, "number is out of min max range");
    EXPECT_EQ(form->NTC_cut_degree_edit->text(), "90");

    dlg.clear();
    activeProfile().Temp2.max = "70";
    type(form->NTC_stop_degree_edit, "75");
    ASSERT_EQ(dlg.messages.size(), 1);
    EXPECT_EQ(dlg.messages[0].text, "number in out of min max range");
    EXPECT_EQ(form->NTC_stop_degree_edit->text(), "80");

    dlg.clear();
    type(form->NTC_cut_degree_edit, "100");
    EXPECT_TRUE(dlg.messages.isEmpty());
    EXPECT_TRUE(hasText(form->NTCGraph, "100"));
}

TEST_F(EditorsTest, NtcStopLevelHasFixedBounds)
{
    form->NTCEditEnter();
    activeProfile().ExtNTCLevel2.max = "50";
    type(form->NTC_stop_edit, "100");
    EXPECT_TRUE(dlg.messages.isEmpty());
    type(form->NTC_stop_edit, "101");
    ASSERT_EQ(dlg.messages.size(), 1);
    EXPECT_EQ(dlg.messages[0].caption, "Error");
    EXPECT_EQ(dlg.messages[0].text, "wrong value, should by in interval 0%-100%");
    EXPECT_EQ(form->NTC_stop_edit->text(), "20");
}

// ---- DC level -----------------------------------------------------------------------------------------------

TEST_F(EditorsTest, DcLevelIsClampedSilentlyAndTheBarIsInverted)
{
    form->DClevelEditEnter();
    QScrollBar *bar = form->DC_ScrollBar;
    EXPECT_EQ(bar->minimum(), 50);
    EXPECT_EQ(bar->maximum(), 100);
    EXPECT_EQ(form->Label37->text(), "50");
    EXPECT_EQ(form->Label38->text(), "100");

    type(form->DC_level_Edit, "10");
    EXPECT_EQ(form->DC_level_Edit->text(), "50");
    EXPECT_EQ(bar->value(), 100); // the bottom
    type(form->DC_level_Edit, "120");
    EXPECT_EQ(form->DC_level_Edit->text(), "100");
    EXPECT_EQ(bar->value(), 50); // the top
    type(form->DC_level_Edit, "80");
    EXPECT_EQ(bar->value(), 70);
    EXPECT_TRUE(dlg.messages.isEmpty());

    // Moving the bar upwards raises the level.
    bar->setValue(60);
    EXPECT_EQ(form->DC_level_Edit->text(), "90");
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(form->DC_level_Edit->text(), "91");

    // Entering the panel again shows the stored level, not the unsaved one.
    form->CurrentEditEnter();
    form->DClevelEditEnter();
    EXPECT_EQ(form->DC_level_Edit->text(), "100");
    EXPECT_EQ(bar->value(), 50);
}

TEST_F(EditorsTest, DcEnableBoxSetsTheHighestLevel)
{
    form->DClevelEditEnter();
    type(form->DC_level_Edit, "70");
    form->DC_level_active->setChecked(false);
    form->DC_level_activeClick();
    EXPECT_FALSE(form->DC_level_Edit->isEnabled());
    EXPECT_FALSE(form->DC_ScrollBar->isEnabled());
    EXPECT_EQ(form->DC_level_Edit->text(), "");

    activeProfile().dcLevel.max = "90";
    form->DC_level_active->setChecked(true);
    form->DC_level_activeClick();
    EXPECT_TRUE(form->DC_level_Edit->isEnabled());
    EXPECT_EQ(form->DC_level_Edit->text(), "90"); // not the 70 used before
    EXPECT_EQ(form->DC_ScrollBar->value(), 60);
}

TEST_F(EditorsTest, DcLevelAdjustLoadsTheEditorFromTheSlot)
{
    settingsVariablesField[1].dcLevel.min = "40";
    settingsVariablesField[1].dcLevel.max = "90";
    settingsVariablesField[1].dcLevel.defaultValue = "060";
    form->DC_LevelAdjust(1);
    EXPECT_EQ(form->DC_ScrollBar->minimum(), 40);
    EXPECT_EQ(form->DC_ScrollBar->maximum(), 90);
    EXPECT_EQ(form->Label37->text(), "40");
    EXPECT_EQ(form->DC_level_Edit->text(), "60");
    EXPECT_EQ(form->DC_ScrollBar->value(), 70);
    EXPECT_TRUE(form->DC_level_active->isChecked());

    settingsVariablesField[1].dcLevel.defaultValue = "255";
    form->DC_LevelAdjust(1);
    EXPECT_FALSE(form->DC_level_active->isChecked());
    EXPECT_FALSE(form->DC_level_Edit->isEnabled());
    EXPECT_EQ(form->DC_level_Edit->text(), "");

    settingsVariablesField[1].dcLevel.defaultValue = "x";
    EXPECT_THROW(form->DC_LevelAdjust(1), EConvertError);
}

// ---- Save and the summary switch --------------------------------------------------------------------------------

TEST_F(EditorsTest, SaveTakesTheWindowIntoTheActiveSlot)
{
    type(form->NomCurrentEdit, "500");
    form->CLOEditEnter();
    type(form->clo_LifeTimeEdit, "50000");
    type(form->clo_L3_Edit, "77.7");
    // NTC made available in this slot and switched on by the user.
    activeProfile().ExtNTCAvailable = 1;
    form->NTCCheckBox->click();
    ASSERT_TRUE(form->NTCEdit->isEnabled());
    form->NTCEditEnter();
    type(form->NTC_stop_degree_edit, "85");
    type(form->NTC_cut_degree_edit, "95");
    type(form->NTC_stop_edit, "35");
    // The DC editor last: entering its panel reloads it from the slot.
    form->DClevelEditEnter();
    type(form->DC_level_Edit, "80");
    dlg.clear();
    EXPECT_EQ(form->CompareInterfaceDataWithSettingsData(), 1);

    form->OKClick();
    ASSERT_EQ(dlg.messages.size(), 1);
    EXPECT_EQ(dlg.messages[0].caption, "Info");
    EXPECT_EQ(dlg.messages[0].text, "Configurations are made");
    EXPECT_EQ(dlg.messages[0].icon, MsgIcon::Information);
    EXPECT_EQ(activeProfile().current.defaultValue, "500");
    EXPECT_EQ(activeProfile().Level[2].defaultValue, "77.5");
    EXPECT_EQ(activeProfile().dcLevel.defaultValue, "80");
    EXPECT_EQ(activeProfile().lifeTime.defaultValue, "50000");
    EXPECT_EQ(activeProfile().ExtNTCAdjustEnable, 1);
    EXPECT_EQ(activeProfile().Temp2.defaultValue, "85");
    EXPECT_EQ(activeProfile().CutOffTemp.defaultValue, "95");
    EXPECT_EQ(activeProfile().ExtNTCLevel2.defaultValue, "35");
    EXPECT_EQ(settingsVariablesField[1].current.defaultValue, "350");
    EXPECT_EQ(form->CompareInterfaceDataWithSettingsData(), 0);
    // The graphs were drawn again: the DC panel is still the open one.
    EXPECT_TRUE(shown(form->DC_levelPanel));
    EXPECT_EQ(form->DC_level_Edit->text(), "80");

    // Save does not rebuild the programming data; the summary switch does.
    const QString before = form->ProgrammedDataMemo->toPlainText();
    EXPECT_FALSE(before.contains("00E6F4"));
    form->CloseInterfaceButtonClick();
    const QString data = form->ProgrammedDataMemo->toPlainText();
    EXPECT_EQ(data.split('\n', Qt::SkipEmptyParts),
              (QStringList{"00E6F4", "00E701", "00E864", "00E9C8", "00EAC8", "00EB9B", "00ECC8", "00EDC8", "00EEF6"}));
}

TEST_F(EditorsTest, SaveRefusesABrokenNtcOrderWhenAnySlotEnablesNtc)
{
    form->NTC_start_degree_edit->setText("85"); // set without the field check
    form->OKClick();
    ASSERT_EQ(dlg.messages.size(), 1); // no slot enables NTC: saved
    EXPECT_EQ(dlg.messages[0].text, "Configurations are made");
    dlg.clear();

    settingsVariablesField[2].ExtNTCAdjustEnable = 1;
    form->NomCurrentEdit->setText("600");
    form->OKClick();
    ASSERT_EQ(dlg.messages.size(), 1);
    EXPECT_EQ(dlg.messages[0].caption, "Error");
    EXPECT_EQ(dlg.messages[0].text, "Start Temperature <= Stop Temperature <= cut-off Temperature");
    EXPECT_EQ(activeProfile().current.defaultValue, "350"); // nothing saved
    EXPECT_TRUE(shown(form->NTCPanel));
}

TEST_F(EditorsTest, CloseConfigPanelShowsTheSummaryAndBackReturns)
{
    form->CLOEditEnter();
    form->CloseInterfaceButtonClick();
    EXPECT_TRUE(shown(form->SummaryPanel));
    EXPECT_FALSE(shown(form->OK));
    EXPECT_FALSE(shown(form->CLO_Adjust_Panel));
    EXPECT_FALSE(shown(form->CLO_adjust_panel_2));
    EXPECT_EQ(form->CloseInterfaceButton->Tag, 1);
    EXPECT_EQ(form->CloseInterfaceButton->text(), "Back");
    EXPECT_FALSE(form->SummaryMemo->toPlainText().isEmpty());

    form->CloseInterfaceButtonClick();
    EXPECT_EQ(form->CloseInterfaceButton->Tag, 0);
    EXPECT_EQ(form->CloseInterfaceButton->text(), "Close config-panel");
    EXPECT_FALSE(shown(form->SummaryPanel));
    EXPECT_TRUE(shown(form->OK));
    EXPECT_TRUE(shown(form->GraphPanel)); // the slot's marked panel (current)
}

TEST_F(EditorsTest, RepaintTimerReloadsTheActiveSlotOnce)
{
    form->Setting2ToolButtonClick();
    form->NomCurrentEdit->setText("650");
    form->RepaintTimer->start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form->RepaintTimer->isActive(); }, kWaitLimitMs));
    EXPECT_EQ(activeSlot(), 2);
    EXPECT_EQ(form->NomCurrentEdit->text(), "350");
    EXPECT_EQ(form->Label4->text(), "config.2");
    EXPECT_EQ(currentLineY(), 360);
}

// ---- The mouse on the current graph ----------------------------------------------------------------------------

TEST_F(EditorsTest, PressingAndDraggingOnTheCurrentGraphSetsTheCurrent)
{
    ASSERT_TRUE(shown(form->GraphPanel));
    QWidget *plot = form->CurrentGraph->Plot();

    QTest::mousePress(plot, Qt::LeftButton, Qt::NoModifier, QPoint(100, 0));
    EXPECT_EQ(form->NomCurrentEdit->text(), "700");
    EXPECT_EQ(currentLineY(), 0);
    EXPECT_EQ(form->DataPackageMemo->toPlainText(), "00E6BC\n00E702");

    sendMove(plot, QPoint(100, 180), Qt::LeftButton);
    EXPECT_EQ(form->NomCurrentEdit->text(), "525");
    sendMove(plot, QPoint(100, 500), Qt::LeftButton); // below the plot
    EXPECT_EQ(form->NomCurrentEdit->text(), "350");
    EXPECT_EQ(currentLineY(), 500); // the line follows the mouse, the value is limited
    sendMove(plot, QPoint(100, -30), Qt::LeftButton); // above the plot
    EXPECT_EQ(form->NomCurrentEdit->text(), "700");
    QTest::mouseRelease(plot, Qt::LeftButton, Qt::NoModifier, QPoint(100, -30));

    // Without a button: no drawing, only the data package from the field.
    form->NomCurrentEdit->setText("400");
    const auto plotBefore = form->CurrentGraph->PlotItems();
    sendMove(plot, QPoint(100, 300), Qt::NoButton);
    EXPECT_EQ(form->NomCurrentEdit->text(), "400");
    EXPECT_EQ(form->CurrentGraph->PlotItems(), plotBefore);
    EXPECT_EQ(form->DataPackageMemo->toPlainText(), "00E690\n00E701");

    // Another button sets nothing either.
    QTest::mousePress(plot, Qt::RightButton, Qt::NoModifier, QPoint(100, 10));
    EXPECT_EQ(form->NomCurrentEdit->text(), "400");
    EXPECT_TRUE(dlg.messages.isEmpty());
}

TEST_F(EditorsTest, EqualCurrentLimitsWarnPerDrawingCallAndAlwaysGiveThatValue)
{
    form->MinCurrentLabel->setText("500");
    form->MaxCurrentLabel->setText("500");
    form->NomCurrentEdit->setText("500");
    form->CurrentEditEnter();
    EXPECT_EQ(dlg.texts(), (QStringList{"max current - min current can't by <= 0; CurrentGraphRangesDraw",
                                        "max current - min current can't by <= 0; ActualNominalCurrentLineDraw"}));
    dlg.clear();
    QTest::mousePress(form->CurrentGraph->Plot(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 300));
    EXPECT_EQ(dlg.texts(), (QStringList{"max current - min current can't by <= 0; CurrentGraphRangesDraw",
                                        "max current - min current can't by <= 0; GraphPaintBoxMouseMove"}));
    EXPECT_EQ(form->NomCurrentEdit->text(), "500");
}

TEST_F(EditorsTest, RepaintingTheGraphsRaisesNoMessageBoxAgain)
{
    // The window repaints its graphs whenever it is activated, also when a message box
    // closes: the boxes of a drawing must not come back each time.
    form->MinCurrentLabel->setText("500");
    form->MaxCurrentLabel->setText("500");
    form->NomCurrentEdit->setText("");
    form->RepaintGraphs();
    EXPECT_TRUE(dlg.messages.isEmpty()) << dlg.texts().join(" | ").toStdString();
    EXPECT_TRUE(hasText(form->CurrentGraph, "500")); // the scale is drawn again
    EXPECT_EQ(currentLineY(), -1);                   // the line stops at the empty field

    // Opening the panel as a user action still reports everything once.
    RunUserAction([&] { form->CurrentEditEnter(); });
    EXPECT_EQ(dlg.messages.size(), 2); // the range message and the conversion error
    EXPECT_EQ(dlg.messages[1].caption, "Error");

    // Only the open panel is drawn again.
    dlg.clear();
    form->MinCurrentLabel->setText("350");
    form->MaxCurrentLabel->setText("700");
    form->NomCurrentEdit->setText("700");
    form->RepaintGraphs();
    EXPECT_EQ(currentLineY(), 0);
    form->CLOEditEnter();
    form->NomCurrentEdit->setText("350");
    form->RepaintGraphs();
    EXPECT_EQ(currentLineY(), 0); // the hidden current graph was left alone
    EXPECT_TRUE(dlg.messages.isEmpty());
}

TEST_F(EditorsTest, RepaintingKeepsAnUnsavedDcLevel)
{
    // Repainting happens on every activation of the window, for instance after the
    // "Data were modified" box of send: the level set by the user must survive it.
    form->DClevelEditEnter();
    type(form->DC_level_Edit, "70");
    form->RepaintGraphs();
    EXPECT_EQ(form->DC_level_Edit->text(), "70");
    EXPECT_EQ(form->DC_ScrollBar->value(), 80);
    EXPECT_TRUE(shown(form->DC_levelPanel));
    EXPECT_TRUE(shown(form->OK));
    EXPECT_EQ(form->DClevelEdit->Tag, 1);
    form->OKClick();
    EXPECT_EQ(activeProfile().dcLevel.defaultValue, "70");
}

// A level that does not convert is reported when the field is left and again at
// Save, and never reaches the slot; the summary switch then still works.
TEST_F(EditorsTest, ATextThatDoesNotConvertNeverReachesTheSlot)
{
    form->CLOEditEnter();
    type(form->clo_L4_Edit, "abc");
    dlg.clear();
    RunUserAction([this] { form->OKClick(); });
    EXPECT_EQ(dlg.texts(), QStringList{"'abc' is not a valid floating point value"});
    EXPECT_EQ(activeProfile().Level[3].defaultValue, "100");

    dlg.clear();
    RunUserAction([this] { form->CloseInterfaceButtonClick(); });
    EXPECT_TRUE(dlg.messages.isEmpty()) << dlg.texts().join(' ').toStdString();
    EXPECT_TRUE(shown(form->SummaryPanel));
    EXPECT_EQ(form->ProgrammedDataMemo->toPlainText().split('\n').size(), 9);
}
