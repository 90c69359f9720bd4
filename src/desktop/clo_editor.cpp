// The main window's CLO editor (see clo_editor.h). The checks, the rounding and
// the graph geometry live in app/editor_rules and app/graph_geometry.

#include "desktop/clo_editor.h"

#include "app/graph_geometry.h"
#include "common/convert.h"
#include "common/dialogs.h"
#include "desktop/editor_support.h"
#include "desktop/graph_view.h"
#include "desktop/main_window.h"
#include "profile/parameter_table.h"
#include "profile/profile_record.h"

void CloEditor::enter()
{
    TakePlaceAndColour(w.CLO_Adjust_Panel, w.GraphPanel);
    w.CLO_adjust_panel_1->move(w.CLO_adjust_panel_1->x(), w.CurrentTablePanel->y());
    w.CLO_adjust_panel_2->move(w.CLO_adjust_panel_2->x(), w.CurrentTablePanel->y());
    w.OpenParameterPanel(w.CLOEdit, w.CLO_Adjust_Panel, {w.CLO_adjust_panel_1, w.CLO_adjust_panel_2});
    drawRanges();
    w.OK->show();
}

void CloEditor::drawRanges()
{
    w.CreateGraphs();
    CloGraphInputs in;
    in.enabled = w.CLO_EnableCheckBox->isChecked();
    in.lifeTime = w.clo_LifeTimeEdit->text();
    const auto edits = w.cloLevelEdits();
    const auto hourLabels = w.cloHourLabels();
    for (int i = 0; i < kCloLevelCount; ++i) {
        in.levels[size_t(i)] = edits[size_t(i)]->text();
        in.hours[size_t(i)] = hourLabels[size_t(i)]->text();
    }
    w.ShowGraphDrawing(w.CLOGraph, ::CLO_GraphRangesDrawFloat(in));
}

void CloEditor::redraw()
{
    w.CreateGraphs();
    w.CLOGraph->ClearCanvases();
    drawRanges();
}

void CloEditor::lifeTimeRangeMessage(int slotIndex)
{
    dialogs().message(kCaptionInfo, CLO_LifeTimeRangeMessage(settingsVariablesField.at(slotIndex).lifeTime));
}

void CloEditor::levelRangeMessage(int slotIndex, int level)
{
    dialogs().message(kCaptionInfo, CLO_LevelRangeMessage(CloLevel(settingsVariablesField.at(slotIndex), level)));
}

void CloEditor::lifeTimeExit()
{
    const int slotIndex = activeSlot() - 1;
    const FieldCheckOutcome o =
        CheckLifeTime(w.clo_LifeTimeEdit->text(), settingsVariablesField.at(slotIndex).lifeTime);
    ThrowIfConversionError(o);
    if (o.rejected()) {
        lifeTimeRangeMessage(slotIndex);
        w.clo_LifeTimeEdit->setText(o.text);
    }
    // The hour labels follow what the field holds now (the stored lifetime after a rejection).
    const auto labels = LifeTimeHourLabels(StrToInt(w.clo_LifeTimeEdit->text()));
    const auto hourLabels = w.cloHourLabels();
    for (int i = 0; i < kCloLevelCount; ++i)
        hourLabels[size_t(i)]->setText(labels[size_t(i)]);
    if (w.clo_LifeTimeEdit->text() == QLatin1String("0")) {
        w.CLO_EnableCheckBox->setChecked(false);
        enableClick();
    } else {
        redraw();
    }
}

void CloEditor::lifeTimeKeyPress(QChar &key)
{
    if (EditorEnterRunsCheck(key, true))
        lifeTimeExit();
}

void CloEditor::levelExit(int level)
{
    TEdit *edit = w.cloLevelEdits().at(size_t(level));
    const int slotIndex = activeSlot() - 1;
    const FieldCheckOutcome o = CheckCloLevel(edit->text(), CloLevel(settingsVariablesField.at(slotIndex), level));
    ThrowIfConversionError(o);
    if (o.rejected()) {
        // The rounded level is what the message box stands over.
        edit->setText(::CLO_LxFloatToString(edit->text()));
        levelRangeMessage(slotIndex, level);
    }
    edit->setText(o.text);
    if (level == 0)
        w.clo_StartLevelLabel->setText(edit->text());
    if (level == kCloLevelCount - 1)
        w.clo_StopLevelLabel->setText(edit->text());
    redraw();
}

void CloEditor::levelKeyPress(int level, QChar &key)
{
    if (EditorEnterRunsCheck(key, false))
        levelExit(level);
}

void CloEditor::enableClick()
{
    const bool on = w.CLO_EnableCheckBox->isChecked();
    w.clo_LifeTimeEdit->setEnabled(on);
    for (TEdit *e : w.cloLevelEdits())
        e->setEnabled(on);
}
