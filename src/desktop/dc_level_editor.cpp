// The main window's DC level editor (see dc_level_editor.h). The bar inversion and
// the clamping live in app/editor_rules.

#include "desktop/dc_level_editor.h"

#include "app/editor_rules.h"
#include "common/convert.h"
#include "desktop/editor_support.h"
#include "desktop/main_window.h"
#include "profile/profile_record.h"

void DcLevelEditor::enter()
{
    loadFromSlot(activeSlot() - 1);
    showPanel();
}

void DcLevelEditor::showPanel()
{
    TakePlaceAndColour(w.DC_levelPanel, w.GraphPanel);
    w.OpenParameterPanel(w.DClevelEdit, w.DC_levelPanel, {});
    w.OK->show();
}

void DcLevelEditor::loadFromSlot(int slotIndex)
{
    const DcEditorState s = DcEditorFromSlot(settingsVariablesField.at(slotIndex).dcLevel);
    w.DC_ScrollBar->setRange(s.minimum, s.maximum);
    w.Label37->setText(s.minLabel);
    w.Label38->setText(s.maxLabel);
    w.DC_level_active->setChecked(s.active);
    enableControls(s.active);
    if (!s.active)
        return;
    // The bar first: a stored level outside the bar's range must not be replaced by
    // the bar's limit through its change handler.
    w.DC_ScrollBar->setValue(s.position);
    w.DC_level_Edit->setText(s.text);
}

void DcLevelEditor::scrollBarChange()
{
    const QScrollBar *bar = w.DC_ScrollBar;
    w.DC_level_Edit->setText(QString::number(DcLevelForScrollPosition(bar->minimum(), bar->maximum(), bar->value())));
}

void DcLevelEditor::activeClick()
{
    const bool on = w.DC_level_active->isChecked();
    enableControls(on);
    if (on) {
        // Always the highest level, not the level used before.
        const int level = StrToInt(activeProfile().dcLevel.max);
        w.DC_ScrollBar->setValue(
            DcScrollPositionForLevel(w.DC_ScrollBar->minimum(), w.DC_ScrollBar->maximum(), level));
        w.DC_level_Edit->setText(QString::number(level));
    }
}

void DcLevelEditor::enableControls(bool on)
{
    w.DC_level_Edit->setEnabled(on);
    w.DC_ScrollBar->setEnabled(on);
    // An inactive level shows no number.
    if (!on)
        w.DC_level_Edit->clear();
}

void DcLevelEditor::levelExit()
{
    const DcLevelAdjustment a =
        ClampDcLevel(w.DC_level_Edit->text(), w.DC_ScrollBar->minimum(), w.DC_ScrollBar->maximum());
    if (a.setText)
        w.DC_level_Edit->setText(a.text);
    w.DC_ScrollBar->setValue(a.position);
}

void DcLevelEditor::levelKeyPress(QChar &key)
{
    if (EditorEnterRunsCheck(key, true))
        levelExit();
}
