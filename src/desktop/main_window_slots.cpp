// The main window's three configuration slots: selecting a slot, the transfer
// between the active slot and the controls, comparing them, the defaults, and the
// boxes that switch a parameter on where the model offers it.

#include "desktop/main_window.h"

#include "app/editor_rules.h"
#include "common/convert.h"
#include "common/dialogs.h"
#include "profile/parameter_table.h"
#include "profile/profile_defaults.h"
#include "profile/profile_record.h"

// ---- Slots ---------------------------------------------------------------------------------

void TForm1::Setting1ToolButtonClick() { SelectSlot(1); }
void TForm1::Setting2ToolButtonClick() { SelectSlot(2); }
void TForm1::Setting3ToolButtonClick() { SelectSlot(3); }

void TForm1::SelectSlot(int slot)
{
    setActiveSlot(slot);

    TToolButton *buttons[] = {Setting1ToolButton, Setting2ToolButton, Setting3ToolButton};
    for (int n = 1; n <= 3; ++n) {
        TToolButton *b = buttons[n - 1];
        const bool selected = n == slot;
        b->SetImage(selected ? 10 + n : 7 + n, ImageList1);
        b->Tag = selected ? 1 : 0;
    }

    Panel5->hide();
    Panel9->show();

    LoadSettingsDataToInterface(slot - 1);

    Label4->setText(QStringLiteral("config.%1").arg(slot));
    update();

    if (CurrentEdit->Tag == 1)
        CurrentEditEnter();
    if (CLOEdit->Tag == 1)
        CLOEditEnter();
    if (DClevelEdit->Tag == 1)
        DClevelEditEnter();
    if (NTCEdit->Tag == 1)
        NTCEditEnter();

    if (slot == 1 && !CurrentEdit->isEnabled() && !CLOEdit->isEnabled() && !DClevelEdit->isEnabled()
        && !NTCEdit->isEnabled())
        CurrentEditEnter();

    CurrentDataPackageMemoFill(StrToInt(NomCurrentEdit->text()));
}

void TForm1::ReloadSettings()
{
    switch (activeSlot()) {
    case 2:
        Setting2ToolButtonClick();
        break;
    case 3:
        Setting3ToolButtonClick();
        break;
    default:
        Setting1ToolButtonClick();
        break;
    }
}

void TForm1::RefreshLifeTimeHourLabels()
{
    const auto labels = LifeTimeHourLabels(StrToInt(clo_LifeTimeEdit->text()));
    const auto hourLabels = cloHourLabels();
    for (int i = 0; i < kCloLevelCount; ++i)
        hourLabels[size_t(i)]->setText(labels[size_t(i)]);
}

void TForm1::LoadDefaultSettingsData()
{
    try {
        for (int i = 0; i < kSlotCount; ++i) {
            STRUCT_XML_FILE_VARIABLES &slot = settingsVariablesField[i];
            ApplyDefaultProfile(slot);
            CurrentEdit->setEnabled(true);
            CLOEdit->setEnabled(slot.cloAdjustEnable != 0);
            DClevelEdit->setEnabled(slot.dclevelAdjustEnable != 0);
            NTCEdit->setEnabled(slot.ExtNTCAdjustEnable != 0);

            clo_LifeTimeEdit->setText(slot.lifeTime.defaultValue);
            CLO_EnableCheckBox->setChecked(true);
            CLO_EnableCheckBoxClick();
            RefreshLifeTimeHourLabels();

            DC_level_active->setChecked(true);
            const int level = StrToInt(slot.dcLevel.defaultValue);
            DC_ScrollBar->setValue(DC_ScrollBar->minimum() + DC_ScrollBar->maximum() - level);
        }
    } catch (const std::exception &) {
        dialogs().message(QStringLiteral("Error"), QStringLiteral("problem during load of default settings"));
    }
}

void TForm1::CloseInterfacePanels()
{
    for (QWidget *w : {static_cast<QWidget *>(GraphPanel), static_cast<QWidget *>(CLO_Adjust_Panel),
                       static_cast<QWidget *>(DC_levelPanel), static_cast<QWidget *>(NTCPanel),
                       static_cast<QWidget *>(CurrentTablePanel), static_cast<QWidget *>(DataPackageMemo),
                       static_cast<QWidget *>(CLO_adjust_panel_1), static_cast<QWidget *>(CLO_adjust_panel_2),
                       static_cast<QWidget *>(NTC_adjust_Panel)})
        w->hide();
}

void TForm1::LoadSettingsDataToInterface(int /*unused: the active slot is shown*/)
{
    const STRUCT_XML_FILE_VARIABLES &slot = activeProfile();

    FamilyNameLabel->setText(slot.familyName);
    TypeLabel->setText(slot.type);
    RefNumLabel->setText(slot.ref_number);
    NfcFwVersion->setText(slot.programmer_Nfc_FW);
    EnOceanIDLabel->setText(slot.enOcean_HandHeldID);
    emit programmerShown(slot.enOcean_HandHeldID, slot.programmer_Nfc_FW);

    const int enabled[] = {slot.currentAdjustEnable, slot.cloAdjustEnable, slot.dclevelAdjustEnable,
                           slot.ExtNTCAdjustEnable};
    QCheckBox *boxes[] = {CurrentCheckBox, CLOCheckBox, DCLevelCheckBox, NTCCheckBox};
    TEdit *edits[] = {CurrentEdit, CLOEdit, DClevelEdit, NTCEdit};
    for (int i = 0; i < 4; ++i) {
        boxes[i]->setChecked(enabled[i] != 0);
        edits[i]->setEnabled(enabled[i] != 0);
    }

    for (TEdit *e : edits)
        e->Tag = 0;
    bool marked = false;
    for (int i = 0; i < 4 && !marked; ++i) {
        if (enabled[i] != 0) {
            edits[i]->Tag = 1;
            marked = true;
        }
    }
    if (!marked) {
        CloseInterfacePanels();
        update();
    }

    WriteSumarryInformation();
    GenerateProgrammingData();

    SummaryPanel->show();
    SummaryPanel->raise();
    OK->hide();
    CloseInterfaceButton->Tag = 0;
    CloseInterfaceButton->setText(QStringLiteral("Close config-panel"));

    MaxCurrentLabel->setText(slot.current.max);
    NomCurrentEdit->setText(slot.current.defaultValue);
    MinCurrentLabel->setText(slot.current.min);

    clo_LifeTimeEdit->setText(slot.lifeTime.defaultValue);
    CLO_EnableCheckBox->setChecked(slot.lifeTime.defaultValue != QLatin1String("0"));
    CLO_EnableCheckBoxClick();

    const auto levelEdits = cloLevelEdits();
    for (int i = 0; i < kCloLevelCount; ++i)
        levelEdits[size_t(i)]->setText(CloLevel(slot, i).defaultValue);
    clo_StartLevelLabel->setText(CloLevel(slot, 0).defaultValue);
    clo_StopLevelLabel->setText(CloLevel(slot, kCloLevelCount - 1).defaultValue);

    RefreshLifeTimeHourLabels();

    // The bar before the text, as the DC adjustment does it: a stored level outside
    // the bar's range is not replaced through the bar's change handler.
    DC_LevelAdjust(activeSlot() - 1);

    NTC_start_edit->setText(slot.ExtNTCLevel1.defaultValue);
    NTC_stop_edit->setText(slot.ExtNTCLevel2.defaultValue);
    NTC_start_degree_edit->setText(slot.Temp1.defaultValue);
    NTC_stop_degree_edit->setText(slot.Temp2.defaultValue);
    NTC_cut_degree_edit->setText(slot.CutOffTemp.defaultValue);
}

void TForm1::LoadSettingsDataFromInterface(int slotIndex)
{
    STRUCT_XML_FILE_VARIABLES &slot = settingsVariablesField.at(slotIndex);

    slot.currentAdjustEnable = CurrentEdit->isEnabled() ? 1 : 0;
    slot.cloAdjustEnable = CLOEdit->isEnabled() ? 1 : 0;
    slot.dclevelAdjustEnable = DClevelEdit->isEnabled() ? 1 : 0;
    slot.ExtNTCAdjustEnable = NTCEdit->isEnabled() ? 1 : 0;

    slot.familyName = FamilyNameLabel->text();
    slot.type = TypeLabel->text();
    slot.ref_number = RefNumLabel->text();
    slot.programmer_Nfc_FW = NfcFwVersion->text();
    slot.enOcean_HandHeldID = EnOceanIDLabel->text();

    if (slot.currentAdjustEnable == 1) {
        slot.current.max = MaxCurrentLabel->text();
        slot.current.defaultValue = NomCurrentEdit->text();
        slot.current.min = MinCurrentLabel->text();
    }
    if (slot.cloAdjustEnable == 1) {
        slot.lifeTime.defaultValue = clo_LifeTimeEdit->text();
        const auto levelEdits = cloLevelEdits();
        for (int i = 0; i < kCloLevelCount; ++i)
            CloLevel(slot, i).defaultValue = levelEdits[size_t(i)]->text();
    }
    if (slot.dclevelAdjustEnable == 1)
        slot.dcLevel.defaultValue = DC_level_Edit->text().isEmpty() ? defaultDcLevelOff : DC_level_Edit->text();
    if (slot.ExtNTCAdjustEnable == 1) {
        slot.ExtNTCLevel1.defaultValue = NTC_start_edit->text();
        slot.ExtNTCLevel2.defaultValue = NTC_stop_edit->text();
        slot.Temp1.defaultValue = NTC_start_degree_edit->text();
        slot.Temp2.defaultValue = NTC_stop_degree_edit->text();
        slot.CutOffTemp.defaultValue = NTC_cut_degree_edit->text();
    }
}

int TForm1::CompareInterfaceDataWithSettingsData()
{
    const STRUCT_XML_FILE_VARIABLES &slot = activeProfile();
    QList<std::pair<QString, const QString *>> pairs = {
        {FamilyNameLabel->text(), &slot.familyName},
        {TypeLabel->text(), &slot.type},
        {RefNumLabel->text(), &slot.ref_number},
        {NfcFwVersion->text(), &slot.programmer_Nfc_FW},
        {EnOceanIDLabel->text(), &slot.enOcean_HandHeldID},
        {MaxCurrentLabel->text(), &slot.current.max},
        {NomCurrentEdit->text(), &slot.current.defaultValue},
        {MinCurrentLabel->text(), &slot.current.min},
        {clo_LifeTimeEdit->text(), &slot.lifeTime.defaultValue},
    };
    const auto levelEdits = cloLevelEdits();
    for (int i = 0; i < kCloLevelCount; ++i)
        pairs.append({levelEdits[size_t(i)]->text(), &CloLevel(slot, i).defaultValue});
    for (const auto &[shown, stored] : pairs)
        if (shown != *stored)
            return 1;
    if (DC_level_active->isChecked()) {
        if (DC_level_Edit->text() != slot.dcLevel.defaultValue)
            return 1;
    } else if (slot.dcLevel.defaultValue != defaultDcLevelOff) {
        return 1;
    }
    const std::pair<QString, const QString *> ntc[] = {
        {NTC_stop_edit->text(), &slot.ExtNTCLevel2.defaultValue},
        {NTC_start_degree_edit->text(), &slot.Temp1.defaultValue},
        {NTC_stop_degree_edit->text(), &slot.Temp2.defaultValue},
        {NTC_cut_degree_edit->text(), &slot.CutOffTemp.defaultValue},
    };
    for (const auto &[shown, stored] : ntc)
        if (shown != *stored)
            return 1;
    return 0;
}

void TForm1::AvailabilityGate(QCheckBox *box, TEdit *edit, int available)
{
    if (available != 0)
        edit->setEnabled(!edit->isEnabled());
    else
        box->setChecked(false);
}

void TForm1::CurrentCheckBoxClick() { AvailabilityGate(CurrentCheckBox, CurrentEdit, activeProfile().currentAvailable); }
void TForm1::CLOCheckBoxClick() { AvailabilityGate(CLOCheckBox, CLOEdit, activeProfile().cloAvailable); }
void TForm1::DCLevelCheckBoxClick() { AvailabilityGate(DCLevelCheckBox, DClevelEdit, activeProfile().dclevelAvailable); }
void TForm1::NTCCheckBoxClick() { AvailabilityGate(NTCCheckBox, NTCEdit, activeProfile().ExtNTCAvailable); }
