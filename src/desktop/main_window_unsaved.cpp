// Nothing the operator changed is dropped without a question: closing the window,
// loading a settings file and starting new settings ask first when a slot differs
// from what was last loaded or saved, or the window holds values not yet taken
// into the shown slot.

#include "desktop/main_window.h"

#include "common/dialogs.h"
#include "profile/profile_record.h"

const QString kSaveChangesQuestion = QStringLiteral("Save changes?");

void TForm1::KeepSlotsAsSaved() { SlotsAsKept = settingsVariablesField; }

void TForm1::KeepSlotAsSaved(int slotIndex)
{
    if (slotIndex >= 0 && slotIndex < static_cast<int>(SlotsAsKept.size()))
        SlotsAsKept[slotIndex] = settingsVariablesField[slotIndex];
}

bool TForm1::HasUnsavedChanges()
{
    if (SlotsAsKept != settingsVariablesField)
        return true;
    // The fields are compared only while a slot is shown: before the first slot
    // is shown they hold the design's texts, not an edit.
    return Panel9->isVisibleTo(this) && CompareInterfaceDataWithSettingsData() == 1;
}

bool TForm1::AskToSaveChanges()
{
    if (!HasUnsavedChanges())
        return true;
    switch (dialogs().message(QStringLiteral("Please confirm"), kSaveChangesQuestion, MsgButtons::SaveDiscardCancel,
                              MsgIcon::Question)) {
    case MsgAnswer::Save:
        // Save refuses values not yet taken into the slot with its own message, a
        // cancelled file dialog saves nothing and a failed write has been reported:
        // in each case the step that asked does not go on.
        if (SettingsFileOpen == 1 && SettingsFile)
            SaveToolButtonClick();
        else
            SaveAsToolButtonClick();
        return !HasUnsavedChanges();
    case MsgAnswer::Discard:
        return true;
    default:
        return false;
    }
}
