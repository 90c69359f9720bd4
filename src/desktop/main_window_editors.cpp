// The parameter editors of the main window: opening a parameter's panel, the field
// checks on leaving a field or pressing Enter, the DC level and CLO enable boxes,
// Save, the summary/editor switch, and the three characteristic graphs.
//
// The rules themselves (checks, rounding, bar inversion, graph geometry) live in
// app/editor_rules and app/graph_geometry; this file reads the controls, applies
// the outcome and shows the messages.

#include "desktop/main_window.h"

#include "app/editor_rules.h"
#include "app/graph_geometry.h"
#include "desktop/graph_view.h"
#include "common/convert.h"
#include "common/dialogs.h"
#include "profile/profile_defaults.h"
#include "profile/profile_record.h"

namespace {

// The parameter edit whose panel is open is shown in amber; the others in the
// system's window colour (the style sheet's own background).
const QString kEnteredEditStyle = QStringLiteral("background: rgb(251, 186, 0);");

void showInfoMessages(const QStringList &messages)
{
    for (const QString &m : messages)
        dialogs().message(kCaptionInfo, m);
}

const ParameterDescriptor &cloLevelDescriptor(int slotIndex, int level)
{
    const STRUCT_XML_FILE_VARIABLES &s = settingsVariablesField.at(slotIndex);
    const ParameterDescriptor *levels[] = {&s.Level0, &s.Level1, &s.Level2, &s.Level3, &s.Level4};
    return *levels[level];
}

// A key typed into an editor field: true when it is Enter, which runs the field's
// leave check. Digits-only fields refuse every other character but digits.
bool enterRunsCheck(QChar &key, bool digitsOnly)
{
    switch (ClassifyFieldKey(key, digitsOnly)) {
    case FieldKeyAction::RunCheck:
        return true;
    case FieldKeyAction::Swallow:
        key = QChar();
        return false;
    case FieldKeyAction::Pass:
        break;
    }
    return false;
}

// A field check that found a text that does not convert ends the user action with
// the conversion error; the field keeps what was typed.
void throwIfConversionError(const FieldCheckOutcome &o)
{
    if (o.conversionError())
        throw EConvertError(o.message);
}

// A value the check rejected is reported, and the field gets the text the check
// put in its place. True when the value was rejected.
bool applyFieldCheck(const FieldCheckOutcome &o, TEdit *edit)
{
    throwIfConversionError(o);
    if (!o.rejected())
        return false;
    dialogs().message(o.caption, o.message);
    edit->setText(o.text);
    return true;
}

} // namespace

namespace {
// The CLO, DC and NTC panels stand where the current graph's panel stands, in its colour.
void takePlaceAndColour(QFrame *panel, const QFrame *from)
{
    panel->move(from->pos());
    panel->setAutoFillBackground(from->autoFillBackground());
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, from->palette().color(QPalette::Window));
    panel->setPalette(pal);
}
} // namespace

// ---- Graph panels -------------------------------------------------------------------------

void TForm1::CreateGraphs()
{
    if (CurrentGraph)
        return;
    CurrentGraph = new TGraphView(CurrentGraphPanel(), QStringLiteral("GraphRangesPaintBox"),
                                  QStringLiteral("GraphPaintBox"), GraphPanel);
    CLOGraph = new TGraphView(CloGraphPanel(), QStringLiteral("CLO_GraphRangesPaintBox"),
                              QStringLiteral("CLO_PaintBox"), CLO_Adjust_Panel);
    NTCGraph = new TGraphView(NtcGraphPanel(), QStringLiteral("NTC_ranges_PaintBox"),
                              QStringLiteral("NTC_graph_PaintBox"), NTCPanel);
    for (TGraphView *g : {CurrentGraph, CLOGraph, NTCGraph}) {
        g->lower();
        g->show();
    }
    CurrentGraph->Plot()->OnMouseDown = [this](Qt::MouseButton button, Qt::MouseButtons, QPoint pos) {
        RunUserAction([&] { GraphPaintBoxMouseDown(button, pos.x(), pos.y()); });
    };
    CurrentGraph->Plot()->OnMouseMove = [this](Qt::MouseButtons buttons, QPoint pos) {
        RunUserAction([&] { GraphPaintBoxMouseMove(buttons, pos.x(), pos.y()); });
    };
}

void TForm1::ShowGraphDrawing(TGraphView *graph, const GraphDrawing &drawing)
{
    graph->Draw(drawing.items);
    if (!GraphMessagesQuiet)
        showInfoMessages(drawing.infoMessages);
    if (drawing.failed())
        throw EConvertError(drawing.conversionError);
}

void TForm1::CurrentGraphRangesDraw()
{
    CreateGraphs();
    const GraphDrawing d = ::CurrentGraphRangesDraw(MinCurrentLabel->text(), MaxCurrentLabel->text());
    CurrentGraph->ReplaceAxis({});
    ShowGraphDrawing(CurrentGraph, d);
}

void TForm1::ActualNominalCurrentLineDraw(int current)
{
    CreateGraphs();
    // Repainting the picture removes the earlier line.
    CurrentGraph->ClearPlot();
    ShowGraphDrawing(CurrentGraph, ::ActualNominalCurrentLineDraw(MinCurrentLabel->text(), MaxCurrentLabel->text(), current));
}

void TForm1::CLO_GraphRangesDrawFloat()
{
    CreateGraphs();
    CloGraphInputs in;
    in.enabled = CLO_EnableCheckBox->isChecked();
    in.lifeTime = clo_LifeTimeEdit->text();
    in.levels = {clo_L1_Edit->text(), clo_L2_Edit->text(), clo_L3_Edit->text(), clo_L4_Edit->text(),
                 clo_L5_Edit->text()};
    in.hours = {clo_L1_hour_Label->text(), clo_L2_hour_Label->text(), clo_L3_hour_Label->text(),
                clo_L4_hour_Label->text(), clo_L5_hour_Label->text()};
    ShowGraphDrawing(CLOGraph, ::CLO_GraphRangesDrawFloat(in));
}

void TForm1::NTC_GraphRangesDraw()
{
    CreateGraphs();
    NtcGraphInputs in;
    in.startDegree = NTC_start_degree_edit->text();
    in.stopDegree = NTC_stop_degree_edit->text();
    in.cutDegree = NTC_cut_degree_edit->text();
    in.startLevel = NTC_start_edit->text();
    in.stopLevel = NTC_stop_edit->text();
    ShowGraphDrawing(NTCGraph, ::NTC_GraphRangesDraw(in));
}

void TForm1::RedrawCloGraph()
{
    CreateGraphs();
    CLOGraph->ClearCanvases();
    CLO_GraphRangesDrawFloat();
}

void TForm1::RedrawNtcGraph()
{
    CreateGraphs();
    NTCGraph->ClearCanvases();
    NTC_GraphRangesDraw();
}

void TForm1::SetNominalCurrentFromMouse(int Y)
{
    CreateGraphs();
    const CurrentMouseResult r = ::CurrentFromMouse(MinCurrentLabel->text(), MaxCurrentLabel->text(), Y);
    CurrentGraph->ClearPlot();
    CurrentGraph->ReplaceAxis({});
    ShowGraphDrawing(CurrentGraph, r.ranges);
    ShowGraphDrawing(CurrentGraph, r.line);
    if (r.hasValue)
        NomCurrentEdit->setText(QString::number(r.current));
}

void TForm1::GraphPaintBoxMouseDown(Qt::MouseButton button, int X, int Y)
{
    Q_UNUSED(X);
    if (button == Qt::LeftButton)
        SetNominalCurrentFromMouse(Y);
    CurrentDataPackageMemoFill(StrToInt(NomCurrentEdit->text()));
}

void TForm1::GraphPaintBoxMouseMove(Qt::MouseButtons buttons, int X, int Y)
{
    Q_UNUSED(X);
    if (buttons & Qt::LeftButton) {
        SetNominalCurrentFromMouse(Y);
        CurrentDataPackageMemoFill(StrToInt(NomCurrentEdit->text()));
        return;
    }
    // Merely hovering over the graph refreshes the hidden preview; a field that does
    // not hold a number is reported when it is left, not on every mouse move.
    int current = 0;
    if (TryStrToInt(NomCurrentEdit->text(), current))
        CurrentDataPackageMemoFill(current);
}

void TForm1::RepaintGraphs()
{
    // This runs whenever the window is shown or activated, which includes the moment a
    // message box closes. A graph message or a conversion error raised here would
    // therefore open its box again and again; the user has met them already when the
    // panel was opened or the field was left, so the redraw keeps quiet about them.
    struct Quiet {
        bool &flag;
        bool old;
        explicit Quiet(bool &f) : flag(f), old(f) { flag = true; }
        ~Quiet() { flag = old; }
    } quiet(GraphMessagesQuiet);
    try {
        if (GraphPanel->isVisible())
            CurrentEditEnter();
        if (CLO_Adjust_Panel->isVisible())
            CLOEditEnter();
        if (DC_levelPanel->isVisible()) {
            // The DC editor has no graph. Opening it reloads the stored level, but a
            // mere redraw must not drop the level the user has set and not yet saved.
            ShowDcLevelPanel();
        }
        if (NTCPanel->isVisible())
            NTCEditEnter();
    } catch (const EConvertError &) {
        // What was drawn before the text that did not convert stays.
    }
}

void TForm1::RepaintTimerTimer()
{
    RepaintTimer->stop();
    ReloadSettings();
}

// ---- Opening a panel -------------------------------------------------------------------------

void TForm1::OpenParameterPanel(TEdit *entered, QFrame *bigPanel, std::initializer_list<QFrame *> smallPanels)
{
    CreateGraphs();
    for (TEdit *e : {CurrentEdit, CLOEdit, DClevelEdit, NTCEdit})
        e->setStyleSheet(e == entered ? kEnteredEditStyle : QString());
    for (QFrame *p : {GraphPanel, CLO_Adjust_Panel, DC_levelPanel, NTCPanel})
        p->setVisible(p == bigPanel);
    SummaryPanel->hide();
    for (TEdit *e : {CurrentEdit, CLOEdit, DClevelEdit, NTCEdit})
        e->Tag = e == entered ? 1 : 0;
    for (QFrame *p : {CurrentTablePanel, CLO_adjust_panel_1, CLO_adjust_panel_2, NTC_adjust_Panel})
        p->setVisible(std::find(smallPanels.begin(), smallPanels.end(), p) != smallPanels.end());
    // Repainting the panel's canvases clears them to the background picture.
    for (TGraphView *g : {CurrentGraph, CLOGraph, NTCGraph})
        if (g->parentWidget() == bigPanel)
            g->ClearCanvases();
}

void TForm1::CurrentEditEnter()
{
    OpenParameterPanel(CurrentEdit, GraphPanel, {CurrentTablePanel});
    CurrentGraphRangesDraw();
    ActualNominalCurrentLineDraw(StrToInt(NomCurrentEdit->text()));
    OK->show();
}

void TForm1::CLOEditEnter()
{
    takePlaceAndColour(CLO_Adjust_Panel, GraphPanel);
    CLO_adjust_panel_1->move(CLO_adjust_panel_1->x(), CurrentTablePanel->y());
    CLO_adjust_panel_2->move(CLO_adjust_panel_2->x(), CurrentTablePanel->y());
    OpenParameterPanel(CLOEdit, CLO_Adjust_Panel, {CLO_adjust_panel_1, CLO_adjust_panel_2});
    CLO_GraphRangesDrawFloat();
    OK->show();
}

void TForm1::DClevelEditEnter()
{
    // The DC editor shows the stored profile again: unsaved DC edits are dropped.
    DC_LevelAdjust(activeSlot() - 1);
    ShowDcLevelPanel();
}

void TForm1::ShowDcLevelPanel()
{
    takePlaceAndColour(DC_levelPanel, GraphPanel);
    OpenParameterPanel(DClevelEdit, DC_levelPanel, {});
    OK->show();
}

void TForm1::NTCEditEnter()
{
    takePlaceAndColour(NTCPanel, GraphPanel);
    NTC_adjust_Panel->move(CurrentTablePanel->pos());
    OpenParameterPanel(NTCEdit, NTCPanel, {NTC_adjust_Panel});
    NTC_GraphRangesDraw();
    OK->show();
}

// ---- Nominal current ---------------------------------------------------------------------------

void TForm1::NomCurrentEditExit()
{
    const FieldCheckOutcome o =
        CheckNominalCurrent(NomCurrentEdit->text(), MinCurrentLabel->text(), MaxCurrentLabel->text());
    applyFieldCheck(o, NomCurrentEdit);
    const int current = StrToInt(NomCurrentEdit->text());
    CurrentGraphRangesDraw();
    ActualNominalCurrentLineDraw(current);
    CurrentDataPackageMemoFill(current);
}

void TForm1::NomCurrentEditKeyPress(QChar &Key)
{
    if (enterRunsCheck(Key, true))
        NomCurrentEditExit();
}

// ---- CLO -------------------------------------------------------------------------------------------

void TForm1::CLO_LifeTimeMaxErrorMessageBox(int slotIndex)
{
    dialogs().message(kCaptionInfo, CLO_LifeTimeRangeMessage(settingsVariablesField.at(slotIndex).lifeTime));
}

void TForm1::CLO_L1MinMaxErrorMessageBox(int slotIndex)
{
    dialogs().message(kCaptionInfo, CLO_LevelRangeMessage(cloLevelDescriptor(slotIndex, 0)));
}
void TForm1::CLO_L2MinMaxErrorMessageBox(int slotIndex)
{
    dialogs().message(kCaptionInfo, CLO_LevelRangeMessage(cloLevelDescriptor(slotIndex, 1)));
}
void TForm1::CLO_L3MinMaxErrorMessageBox(int slotIndex)
{
    dialogs().message(kCaptionInfo, CLO_LevelRangeMessage(cloLevelDescriptor(slotIndex, 2)));
}
void TForm1::CLO_L4MinMaxErrorMessageBox(int slotIndex)
{
    dialogs().message(kCaptionInfo, CLO_LevelRangeMessage(cloLevelDescriptor(slotIndex, 3)));
}
void TForm1::CLO_L5MinMaxErrorMessageBox(int slotIndex)
{
    dialogs().message(kCaptionInfo, CLO_LevelRangeMessage(cloLevelDescriptor(slotIndex, 4)));
}

QString TForm1::CLO_LxFloatToString(const QString &text) { return ::CLO_LxFloatToString(text); }

void TForm1::clo_LifeTimeEditExit()
{
    const int slotIndex = activeSlot() - 1;
    const FieldCheckOutcome o = CheckLifeTime(clo_LifeTimeEdit->text(), settingsVariablesField.at(slotIndex).lifeTime);
    throwIfConversionError(o);
    if (o.rejected()) {
        CLO_LifeTimeMaxErrorMessageBox(slotIndex);
        clo_LifeTimeEdit->setText(o.text);
    }
    // The hour labels follow what the field holds now (the stored lifetime after a rejection).
    const auto labels = LifeTimeHourLabels(StrToInt(clo_LifeTimeEdit->text()));
    QLabel *hourLabels[] = {clo_L1_hour_Label, clo_L2_hour_Label, clo_L3_hour_Label, clo_L4_hour_Label,
                            clo_L5_hour_Label};
    for (int i = 0; i < 5; ++i)
        hourLabels[i]->setText(labels[i]);
    if (clo_LifeTimeEdit->text() == QLatin1String("0")) {
        CLO_EnableCheckBox->setChecked(false);
        CLO_EnableCheckBoxClick();
    } else {
        RedrawCloGraph();
    }
}

void TForm1::CloLevelEditExit(int level)
{
    TEdit *edits[] = {clo_L1_Edit, clo_L2_Edit, clo_L3_Edit, clo_L4_Edit, clo_L5_Edit};
    TEdit *edit = edits[level];
    const int slotIndex = activeSlot() - 1;
    const FieldCheckOutcome o = CheckCloLevel(edit->text(), cloLevelDescriptor(slotIndex, level));
    throwIfConversionError(o);
    if (o.rejected()) {
        // The rounded level is what the message box stands over.
        edit->setText(CLO_LxFloatToString(edit->text()));
        switch (level) {
        case 0: CLO_L1MinMaxErrorMessageBox(slotIndex); break;
        case 1: CLO_L2MinMaxErrorMessageBox(slotIndex); break;
        case 2: CLO_L3MinMaxErrorMessageBox(slotIndex); break;
        case 3: CLO_L4MinMaxErrorMessageBox(slotIndex); break;
        default: CLO_L5MinMaxErrorMessageBox(slotIndex); break;
        }
    }
    edit->setText(o.text);
    if (level == 0)
        clo_StartLevelLabel->setText(edit->text());
    if (level == 4)
        clo_StopLevelLabel->setText(edit->text());
    RedrawCloGraph();
}

void TForm1::clo_L1_EditExit() { CloLevelEditExit(0); }
void TForm1::clo_L2_EditExit() { CloLevelEditExit(1); }
void TForm1::clo_L3_EditExit() { CloLevelEditExit(2); }
void TForm1::clo_L4_EditExit() { CloLevelEditExit(3); }
void TForm1::clo_L5_EditExit() { CloLevelEditExit(4); }

void TForm1::clo_LifeTimeEditKeyPress(QChar &Key)
{
    if (enterRunsCheck(Key, true))
        clo_LifeTimeEditExit();
}
// The level fields take any text, so that a fraction can be typed.
void TForm1::clo_L1_EditKeyPress(QChar &Key)
{
    if (enterRunsCheck(Key, false))
        clo_L1_EditExit();
}
void TForm1::clo_L2_EditKeyPress(QChar &Key)
{
    if (enterRunsCheck(Key, false))
        clo_L2_EditExit();
}
void TForm1::clo_L3_EditKeyPress(QChar &Key)
{
    if (enterRunsCheck(Key, false))
        clo_L3_EditExit();
}
void TForm1::clo_L4_EditKeyPress(QChar &Key)
{
    if (enterRunsCheck(Key, false))
        clo_L4_EditExit();
}
void TForm1::clo_L5_EditKeyPress(QChar &Key)
{
    if (enterRunsCheck(Key, false))
        clo_L5_EditExit();
}

void TForm1::CLO_EnableCheckBoxClick()
{
    const bool on = CLO_EnableCheckBox->isChecked();
    for (TEdit *e : {clo_LifeTimeEdit, clo_L1_Edit, clo_L2_Edit, clo_L3_Edit, clo_L4_Edit, clo_L5_Edit})
        e->setEnabled(on);
}

// ---- NTC ---------------------------------------------------------------------------------------------

void TForm1::NtcTemperatureEditExit(int field)
{
    const STRUCT_XML_FILE_VARIABLES &s = activeProfile();
    const ParameterDescriptor *descriptors[] = {&s.Temp1, &s.Temp2, &s.CutOffTemp};
    TEdit *edits[] = {NTC_start_degree_edit, NTC_stop_degree_edit, NTC_cut_degree_edit};
    const FieldCheckOutcome o =
        CheckNtcTemperature(static_cast<NtcTemperatureField>(field), NTC_start_degree_edit->text(),
                            NTC_stop_degree_edit->text(), NTC_cut_degree_edit->text(), *descriptors[field]);
    if (applyFieldCheck(o, edits[field]) && o.orderViolation) {
        NTCEditEnter();
        return;
    }
    RedrawNtcGraph();
}

void TForm1::NTC_start_degree_editExit() { NtcTemperatureEditExit(static_cast<int>(NtcTemperatureField::Start)); }
void TForm1::NTC_stop_degree_editExit() { NtcTemperatureEditExit(static_cast<int>(NtcTemperatureField::Stop)); }
void TForm1::NTC_cut_degree_editExit() { NtcTemperatureEditExit(static_cast<int>(NtcTemperatureField::CutOff)); }

void TForm1::NTC_stop_editExit()
{
    const FieldCheckOutcome o = CheckNtcStopLevel(NTC_stop_edit->text(), activeProfile().ExtNTCLevel2);
    applyFieldCheck(o, NTC_stop_edit);
    RedrawNtcGraph();
}

void TForm1::NTC_start_degree_editKeyPress(QChar &Key)
{
    if (enterRunsCheck(Key, true))
        NTC_start_degree_editExit();
}
void TForm1::NTC_stop_degree_editKeyPress(QChar &Key)
{
    if (enterRunsCheck(Key, true))
        NTC_stop_degree_editExit();
}
void TForm1::NTC_cut_degree_editKeyPress(QChar &Key)
{
    if (enterRunsCheck(Key, true))
        NTC_cut_degree_editExit();
}
void TForm1::NTC_stop_editKeyPress(QChar &Key)
{
    if (enterRunsCheck(Key, true))
        NTC_stop_editExit();
}

// ---- DC emergency level --------------------------------------------------------------------------------

void TForm1::DC_LevelAdjust(int slotIndex)
{
    const DcEditorState s = DcEditorFromSlot(settingsVariablesField.at(slotIndex).dcLevel);
    DC_ScrollBar->setRange(s.minimum, s.maximum);
    Label37->setText(s.minLabel);
    Label38->setText(s.maxLabel);
    DC_level_active->setChecked(s.active);
    EnableDcLevelControls(s.active);
    if (!s.active)
        return;
    // The bar first: a stored level outside the bar's range must not be replaced by
    // the bar's limit through its change handler.
    DC_ScrollBar->setValue(s.position);
    DC_level_Edit->setText(s.text);
}

void TForm1::DC_ScrollBarChange()
{
    DC_level_Edit->setText(QString::number(
        DcLevelForScrollPosition(DC_ScrollBar->minimum(), DC_ScrollBar->maximum(), DC_ScrollBar->value())));
}

void TForm1::DC_level_activeClick()
{
    const bool on = DC_level_active->isChecked();
    EnableDcLevelControls(on);
    if (on) {
        // Always the highest level, not the level used before.
        const int level = StrToInt(activeProfile().dcLevel.max);
        DC_ScrollBar->setValue(DcScrollPositionForLevel(DC_ScrollBar->minimum(), DC_ScrollBar->maximum(), level));
        DC_level_Edit->setText(QString::number(level));
    }
}

void TForm1::EnableDcLevelControls(bool on)
{
    DC_level_Edit->setEnabled(on);
    DC_ScrollBar->setEnabled(on);
    // An inactive level shows no number.
    if (!on)
        DC_level_Edit->clear();
}

void TForm1::DC_level_EditExit()
{
    const DcLevelAdjustment a = ClampDcLevel(DC_level_Edit->text(), DC_ScrollBar->minimum(), DC_ScrollBar->maximum());
    if (a.setText)
        DC_level_Edit->setText(a.text);
    DC_ScrollBar->setValue(a.position);
}

void TForm1::DC_level_EditKeyPress(QChar &Key)
{
    if (enterRunsCheck(Key, true))
        DC_level_EditExit();
}

// ---- Save and the summary/editor switch -------------------------------------------------------------------

void TForm1::OKClick()
{
    // A number field whose text does not convert ends the save with the conversion
    // error before anything reaches the slot.
    if (CurrentEdit->isEnabled())
        StrToInt(NomCurrentEdit->text());
    if (CLOEdit->isEnabled()) {
        StrToInt(clo_LifeTimeEdit->text());
        for (TEdit *e : {clo_L1_Edit, clo_L2_Edit, clo_L3_Edit, clo_L4_Edit, clo_L5_Edit})
            StrToFloat(e->text());
    }
    if (DClevelEdit->isEnabled() && !DC_level_Edit->text().isEmpty())
        StrToInt(DC_level_Edit->text());
    if (!NtcOrderAllowsSave(settingsVariablesField, NTC_start_degree_edit->text(), NTC_stop_degree_edit->text(),
                            NTC_cut_degree_edit->text())) {
        dialogs().message(kCaptionError, kMsgNtcOrder);
        NTCEditEnter();
        return;
    }
    LoadSettingsDataFromInterface(activeSlot() - 1);
    dialogs().message(kCaptionInfo, kMsgConfigurationsMade, MsgButtons::OK, MsgIcon::Information);
    RepaintGraphs();
}

void TForm1::CloseInterfaceButtonClick()
{
    if (CloseInterfaceButton->Tag == 0) {
        CloseInterfacePanels();
        WriteSumarryInformation();
        GenerateProgrammingData();
        SummaryPanel->show();
        OK->hide();
        CloseInterfaceButton->Tag = 1;
        CloseInterfaceButton->setText(QStringLiteral("Back"));
        return;
    }
    ReloadSettings();
    CloseInterfaceButton->Tag = 0;
    CloseInterfaceButton->setText(QStringLiteral("Close config-panel"));
}
