// What the main window does when another window reports something: the owner
// of the windows connects these to the other windows' signals.

#include "desktop/main_window.h"

#include "profile/profile_record.h"

void TForm1::DriverSelectionOpened() { setEnabled(false); }

void TForm1::DriverSelectionClosed()
{
    setEnabled(true);
    RepaintTimer->start();
}

void TForm1::ModelLoaded(int slotIndex)
{
    const STRUCT_XML_FILE_VARIABLES &slot = settingsVariablesField[slotIndex];
    CurrentEdit->setEnabled(slot.currentAdjustEnable != 0);
    CLOEdit->setEnabled(slot.cloAdjustEnable != 0);
    DClevelEdit->setEnabled(slot.dclevelAdjustEnable != 0);
    NTCEdit->setEnabled(slot.ExtNTCAdjustEnable != 0);
    // A model fresh from the catalogue counts as loaded: what is changed after it
    // (an edit, a pairing) is what "Save changes?" asks about.
    KeepSlotAsSaved(slotIndex);
}

void TForm1::WaitForDriverSelection()
{
    ToolBar3->show();
    Panel5->hide();
    setEnabled(false);
}

void TForm1::RadioLinkWindowClosed()
{
    setEnabled(true);
    LoadSettingsDataToInterface(activeSlot() - 1);
}

void TForm1::RadioLinkStartPressed()
{
    setEnabled(true);
    RepaintGraphs();
}

void TForm1::TagTakenOver(bool dcActive)
{
    if (DC_level_active)
        DC_level_active->setChecked(dcActive);
    LoadSettingsDataToInterface(activeSlot() - 1);
    ReloadSettings();
}
