// The parameter editors of the main window: opening a parameter's panel, the field
// checks, the DC level and CLO enable boxes, Save and the summary/editor switch.

#include "app/ui/form1.h"

#include "common/convert.h"
#include "common/dialogs.h"
#include "profile/profile_defaults.h"
#include "profile/profile_record.h"

#include <QCoreApplication>
#include <cmath>

namespace {
const QString kEnteredEditStyle = QStringLiteral("background: rgb(251, 186, 0);");
}

// ---- Opening a panel ------------------------------------------------------------------

namespace {
void markEntered(TForm1 *f, TEdit *entered)
{
    for (TEdit *e : {f->CurrentEdit, f->CLOEdit, f->DClevelEdit, f->NTCEdit}) {
        e->setStyleSheet(e == entered ? kEnteredEditStyle : QString());
        e->Tag = e == entered ? 1 : 0;
    }
}

void showOnly(std::initializer_list<QWidget *> all, std::initializer_list<QWidget *> shown)
{
    for (QWidget *w : all) {
        bool visible = false;
        for (QWidget *s : shown)
            visible = visible || s == w;
        w->setVisible(visible);
    }
}

void showPanels(TForm1 *f, QWidget *big, std::initializer_list<QWidget *> small)
{
    showOnly({f->GraphPanel, f->CLO_Adjust_Panel, f->DC_levelPanel, f->NTCPanel}, {big});
    f->SummaryPanel->hide();
    for (QWidget *w : {static_cast<QWidget *>(f->CurrentTablePanel), static_cast<QWidget *>(f->CLO_adjust_panel_1),
                       static_cast<QWidget *>(f->CLO_adjust_panel_2), static_cast<QWidget *>(f->NTC_adjust_Panel)}) {
        bool visible = false;
        for (QWidget *s : small)
            visible = visible || s == w;
        w->setVisible(visible);
    }
    big->update();
    f->OK->show();
}
} // namespace

void TForm1::CurrentEditEnter()
{
    markEntered(this, CurrentEdit);
    showPanels(this, GraphPanel, {CurrentTablePanel});
}

void TForm1::CLOEditEnter()
{
    CLO_Adjust_Panel->move(GraphPanel->pos());
    CLO_adjust_panel_1->move(CLO_adjust_panel_1->x(), CurrentTablePanel->y());
    CLO_adjust_panel_2->move(CLO_adjust_panel_2->x(), CurrentTablePanel->y());
    markEntered(this, CLOEdit);
    showPanels(this, CLO_Adjust_Panel, {CLO_adjust_panel_1, CLO_adjust_panel_2});
}

void TForm1::DClevelEditEnter()
{
    DC_LevelAdjust(activeSlot() - 1);
    DC_levelPanel->move(GraphPanel->pos());
    markEntered(this, DClevelEdit);
    showPanels(this, DC_levelPanel, {});
}

void TForm1::NTCEditEnter()
{
    NTCPanel->move(GraphPanel->pos());
    NTC_adjust_Panel->move(CurrentTablePanel->pos());
    markEntered(this, NTCEdit);
    showPanels(this, NTCPanel, {NTC_adjust_Panel});
}

// ---- Field checks ------------------------------------------------------------------------

void TForm1::NomCurrentEditExit()
{
    int value = StrToInt(NomCurrentEdit->text());
    if (value < StrToInt(MinCurrentLabel->text()) || value > StrToInt(MaxCurrentLabel->text())) {
        dialogs().message(QStringLiteral("Error"), QStringLiteral("number is out of range"));
        NomCurrentEdit->setText(MinCurrentLabel->text());
        value = StrToInt(MinCurrentLabel->text());
    }
    CurrentDataPackageMemoFill(value);
}

void TForm1::CLO_LifeTimeMaxErrorMessageBox(int slotIndex)
{
    const STRUCT_XML_FILE_VARIABLES &s = settingsVariablesField.at(slotIndex);
    dialogs().message(QStringLiteral("Info"), QStringLiteral("wrong value, should by in interval ") + s.lifeTime.min
                                                  + QStringLiteral(" h - ") + s.lifeTime.max + QStringLiteral(" h"));
}

namespace {
const ParameterDescriptor &levelDescriptor(int slotIndex, int level)
{
    const STRUCT_XML_FILE_VARIABLES &s = settingsVariablesField.at(slotIndex);
    const ParameterDescriptor *levels[] = {&s.Level0, &s.Level1, &s.Level2, &s.Level3, &s.Level4};
    return *levels[level];
}

void levelMessage(int slotIndex, int level)
{
    const ParameterDescriptor &d = levelDescriptor(slotIndex, level);
    dialogs().message(QStringLiteral("Info"), QStringLiteral("wrong value, should by in interval ") + d.min
                                                  + QStringLiteral("% - ") + d.max + QStringLiteral("%"));
}
} // namespace

void TForm1::CLO_L1MinMaxErrorMessageBox(int slotIndex) { levelMessage(slotIndex, 0); }
void TForm1::CLO_L2MinMaxErrorMessageBox(int slotIndex) { levelMessage(slotIndex, 1); }
void TForm1::CLO_L3MinMaxErrorMessageBox(int slotIndex) { levelMessage(slotIndex, 2); }
void TForm1::CLO_L4MinMaxErrorMessageBox(int slotIndex) { levelMessage(slotIndex, 3); }
void TForm1::CLO_L5MinMaxErrorMessageBox(int slotIndex) { levelMessage(slotIndex, 4); }

void TForm1::clo_LifeTimeEditExit()
{
    const STRUCT_XML_FILE_VARIABLES &s = activeProfile();
    const int value = StrToInt(clo_LifeTimeEdit->text());
    if (value < StrToInt(s.lifeTime.min) || value > StrToInt(s.lifeTime.max)) {
        CLO_LifeTimeMaxErrorMessageBox(activeSlot() - 1);
        clo_LifeTimeEdit->setText(s.lifeTime.defaultValue);
    }
    RefreshLifeTimeHourLabels();
    if (clo_LifeTimeEdit->text() == QLatin1String("0")) {
        CLO_EnableCheckBox->setChecked(false);
        CLO_EnableCheckBoxClick();
    }
}

QString TForm1::CLO_LxFloatToString(const QString &text)
{
    const float p = static_cast<float>(StrToFloat(text));
    float result;
    if (p <= 0)
        result = 0;
    else if (p >= 100)
        result = 100;
    else {
        const float whole = std::trunc(p);
        const float fraction = p - whole;
        result = fraction < 0.25f ? whole : fraction < 0.75f ? whole + 0.5f : whole + 1;
    }
    return QString::number(result);
}

namespace {
void levelExit(TForm1 *f, TEdit *e, int level)
{
    e->setText(f->CLO_LxFloatToString(e->text()));
    const ParameterDescriptor &d = levelDescriptor(activeSlot() - 1, level);
    const float value = static_cast<float>(StrToFloat(e->text()));
    if (value < static_cast<float>(StrToFloat(d.min)) || value > static_cast<float>(StrToFloat(d.max))) {
        levelMessage(activeSlot() - 1, level);
        e->setText(d.defaultValue);
    }
    if (level == 0)
        f->clo_StartLevelLabel->setText(e->text());
    if (level == 4)
        f->clo_StopLevelLabel->setText(e->text());
}
} // namespace

void TForm1::clo_L1_EditExit() { levelExit(this, clo_L1_Edit, 0); }
void TForm1::clo_L2_EditExit() { levelExit(this, clo_L2_Edit, 1); }
void TForm1::clo_L3_EditExit() { levelExit(this, clo_L3_Edit, 2); }
void TForm1::clo_L4_EditExit() { levelExit(this, clo_L4_Edit, 3); }
void TForm1::clo_L5_EditExit() { levelExit(this, clo_L5_Edit, 4); }

namespace {
// Start <= stop <= cut-off over the three temperature fields.
bool ntcOrderHolds(TForm1 *f)
{
    const int start = StrToInt(f->NTC_start_degree_edit->text());
    const int stop = StrToInt(f->NTC_stop_degree_edit->text());
    const int cut = StrToInt(f->NTC_cut_degree_edit->text());
    return start <= stop && stop <= cut;
}

void ntcTemperatureExit(TForm1 *f, TEdit *e, const ParameterDescriptor &d, const QString &rangeMessage)
{
    if (!ntcOrderHolds(f)) {
        dialogs().message(QStringLiteral("Error"),
                          QStringLiteral("Start Temperature <= Stop Temperature <= cut-off Temperature"));
        e->setText(d.defaultValue);
        f->NTCEditEnter();
        return;
    }
    const int value = StrToInt(e->text());
    if (value < StrToInt(d.min) || value > StrToInt(d.max)) {
        dialogs().message(QStringLiteral("Error"), rangeMessage);
        e->setText(d.defaultValue);
    }
}
} // namespace

void TForm1::NTC_start_degree_editExit()
{
    ntcTemperatureExit(this, NTC_start_degree_edit, activeProfile().Temp1,
                       QStringLiteral("number is out of min max range"));
}

void TForm1::NTC_stop_degree_editExit()
{
    ntcTemperatureExit(this, NTC_stop_degree_edit, activeProfile().Temp2,
                       QStringLiteral("number in out of min max range"));
}

void TForm1::NTC_cut_degree_editExit()
{
    ntcTemperatureExit(this, NTC_cut_degree_edit, activeProfile().CutOffTemp,
                       QStringLiteral("number is out of min max range"));
}

void TForm1::NTC_stop_editExit()
{
    const int value = StrToInt(NTC_stop_edit->text());
    if (value < 0 || value > 100) {
        dialogs().message(QStringLiteral("Error"), QStringLiteral("wrong value, should by in interval 0%-100%"));
        NTC_stop_edit->setText(activeProfile().ExtNTCLevel2.defaultValue);
    }
}

void TForm1::DC_level_EditExit()
{
    const int m = DC_ScrollBar->minimum();
    const int M = DC_ScrollBar->maximum();
    const int v = StrToInt(DC_level_Edit->text());
    if (v >= M) {
        DC_level_Edit->setText(QString::number(M));
        DC_ScrollBar->setValue(m);
    } else if (v <= m) {
        DC_level_Edit->setText(QString::number(m));
        DC_ScrollBar->setValue(M);
    } else {
        DC_ScrollBar->setValue(m + M - v);
    }
}

// Enter runs the field's leave check; every other key is left to the field.
void TForm1::NomCurrentEditKeyPress(QChar &Key) { if (Key == QChar('\r')) NomCurrentEditExit(); }
void TForm1::clo_LifeTimeEditKeyPress(QChar &Key) { if (Key == QChar('\r')) clo_LifeTimeEditExit(); }
void TForm1::clo_L1_EditKeyPress(QChar &Key) { if (Key == QChar('\r')) clo_L1_EditExit(); }
void TForm1::clo_L2_EditKeyPress(QChar &Key) { if (Key == QChar('\r')) clo_L2_EditExit(); }
void TForm1::clo_L3_EditKeyPress(QChar &Key) { if (Key == QChar('\r')) clo_L3_EditExit(); }
void TForm1::clo_L4_EditKeyPress(QChar &Key) { if (Key == QChar('\r')) clo_L4_EditExit(); }
void TForm1::clo_L5_EditKeyPress(QChar &Key) { if (Key == QChar('\r')) clo_L5_EditExit(); }
void TForm1::NTC_start_degree_editKeyPress(QChar &Key) { if (Key == QChar('\r')) NTC_start_degree_editExit(); }
void TForm1::NTC_stop_degree_editKeyPress(QChar &Key) { if (Key == QChar('\r')) NTC_stop_degree_editExit(); }
void TForm1::NTC_cut_degree_editKeyPress(QChar &Key) { if (Key == QChar('\r')) NTC_cut_degree_editExit(); }
void TForm1::NTC_stop_editKeyPress(QChar &Key) { if (Key == QChar('\r')) NTC_stop_editExit(); }
void TForm1::DC_level_EditKeyPress(QChar &Key) { if (Key == QChar('\r')) DC_level_EditExit(); }

// ---- DC level and CLO enable -------------------------------------------------------------------

void TForm1::DC_LevelAdjust(int slotIndex)
{
    const STRUCT_XML_FILE_VARIABLES &s = settingsVariablesField.at(slotIndex);
    DC_ScrollBar->setRange(StrToInt(s.dcLevel.min), StrToInt(s.dcLevel.max));
    Label37->setText(s.dcLevel.min);
    Label38->setText(s.dcLevel.max);
    if (s.dcLevel.defaultValue == defaultDcLevelOff) {
        DC_level_active->setChecked(false);
        DC_level_Edit->setEnabled(false);
        DC_ScrollBar->setEnabled(false);
        DC_level_Edit->setText(QString());
    } else {
        const int level = StrToInt(s.dcLevel.defaultValue);
        DC_level_active->setChecked(true);
        DC_level_Edit->setEnabled(true);
        DC_ScrollBar->setEnabled(true);
        DC_level_Edit->setText(QString::number(level));
        DC_ScrollBar->setValue(DC_ScrollBar->minimum() + DC_ScrollBar->maximum() - level);
    }
}

void TForm1::DC_ScrollBarChange()
{
    DC_level_Edit->setText(
        QString::number(DC_ScrollBar->minimum() + DC_ScrollBar->maximum() - DC_ScrollBar->value()));
}

void TForm1::DC_level_activeClick()
{
    if (DC_level_active->isChecked()) {
        DC_level_Edit->setEnabled(true);
        DC_ScrollBar->setEnabled(true);
        const int level = StrToInt(activeProfile().dcLevel.max);
        DC_level_Edit->setText(QString::number(level));
        DC_ScrollBar->setValue(DC_ScrollBar->minimum() + DC_ScrollBar->maximum() - level);
    } else {
        DC_level_Edit->setEnabled(false);
        DC_ScrollBar->setEnabled(false);
        DC_level_Edit->setText(QString());
    }
}

void TForm1::CLO_EnableCheckBoxClick()
{
    const bool on = CLO_EnableCheckBox->isChecked();
    for (TEdit *e : {clo_LifeTimeEdit, clo_L1_Edit, clo_L2_Edit, clo_L3_Edit, clo_L4_Edit, clo_L5_Edit})
        e->setEnabled(on);
}

// ---- Save and the summary/editor switch ----------------------------------------------------------

void TForm1::OKClick()
{
    bool ntcInUse = false;
    for (const STRUCT_XML_FILE_VARIABLES &s : settingsVariablesField)
        ntcInUse = ntcInUse || s.ExtNTCAdjustEnable == 1;
    if (ntcInUse && !ntcOrderHolds(this)) {
        dialogs().message(QStringLiteral("Error"),
                          QStringLiteral("Start Temperature <= Stop Temperature <= cut-off Temperature"));
        NTCEditEnter();
        return;
    }
    LoadSettingsDataFromInterface(activeSlot() - 1);
    dialogs().message(QStringLiteral("Info"), QStringLiteral("Configurations are made"), MsgButtons::OK,
                      MsgIcon::Information);
    RepaintGraphs();
}

void TForm1::CloseInterfaceButtonClick()
{
    if (CloseInterfaceButton->Tag == 0) {
        CloseInterfacePanels();
        WriteSumarryInformation();
        GenerateProgrammingData();
        SummaryPanel->show();
        SummaryPanel->raise();
        OK->hide();
        CloseInterfaceButton->Tag = 1;
        CloseInterfaceButton->setText(QStringLiteral("Back"));
    } else {
        ReloadSettings();
        CloseInterfaceButton->Tag = 0;
        CloseInterfaceButton->setText(QStringLiteral("Close config-panel"));
    }
}

// ---- Graphs ----------------------------------------------------------------------------------------

void TForm1::RepaintGraphs()
{
    if (GraphPanel->isVisible())
        CurrentEditEnter();
    if (CLO_Adjust_Panel->isVisible())
        CLOEditEnter();
    if (DC_levelPanel->isVisible())
        DClevelEditEnter();
    if (NTCPanel->isVisible())
        NTCEditEnter();
}

void TForm1::RepaintTimerTimer()
{
    RepaintTimer->stop();
    ReloadSettings();
}
