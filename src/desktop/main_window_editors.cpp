// The parameter editors' common frame in the main window: the three graph panels,
// opening a parameter's panel, the redraw after the window was shown, Save and the
// summary/editor switch; and the window's handler names, which hand each editor's
// events to its class (current_editor, clo_editor, dc_level_editor, ntc_editor).
//
// The rules themselves (checks, rounding, bar inversion, graph geometry) live in
// app/editor_rules and app/graph_geometry.

#include "desktop/main_window.h"

#include "app/editor_rules.h"
#include "app/graph_geometry.h"
#include "desktop/editor_support.h"
#include "desktop/graph_view.h"
#include "common/convert.h"
#include "common/dialogs.h"
#include "profile/profile_defaults.h"
#include "profile/profile_record.h"

namespace {

// The parameter edit whose panel is open is shown in amber; the others in the
// system's window colour (the style sheet's own background).
const QString kEnteredEditStyle = QStringLiteral("background: rgb(251, 186, 0);");

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
        ShowInfoMessages(drawing.infoMessages);
    if (drawing.failed())
        throw EConvertError(drawing.conversionError);
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
            dcLevelEditor.showPanel();
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

// ---- The editors' handlers ----------------------------------------------------------------------

void TForm1::CurrentGraphRangesDraw() { currentEditor.drawRanges(); }
void TForm1::ActualNominalCurrentLineDraw(int current) { currentEditor.drawNominalLine(current); }
void TForm1::GraphPaintBoxMouseDown(Qt::MouseButton button, int X, int Y)
{
    Q_UNUSED(X);
    currentEditor.mouseDown(button, Y);
}
void TForm1::GraphPaintBoxMouseMove(Qt::MouseButtons buttons, int X, int Y)
{
    Q_UNUSED(X);
    currentEditor.mouseMove(buttons, Y);
}
void TForm1::CurrentEditEnter() { currentEditor.enter(); }
void TForm1::NomCurrentEditExit() { currentEditor.nominalCurrentExit(); }
void TForm1::NomCurrentEditKeyPress(QChar &Key) { currentEditor.nominalCurrentKeyPress(Key); }

void TForm1::CLOEditEnter() { cloEditor.enter(); }
void TForm1::CLO_GraphRangesDrawFloat() { cloEditor.drawRanges(); }
void TForm1::CLO_LifeTimeMaxErrorMessageBox(int slotIndex) { cloEditor.lifeTimeRangeMessage(slotIndex); }
void TForm1::CLO_L1MinMaxErrorMessageBox(int slotIndex) { cloEditor.levelRangeMessage(slotIndex, 0); }
void TForm1::CLO_L2MinMaxErrorMessageBox(int slotIndex) { cloEditor.levelRangeMessage(slotIndex, 1); }
void TForm1::CLO_L3MinMaxErrorMessageBox(int slotIndex) { cloEditor.levelRangeMessage(slotIndex, 2); }
void TForm1::CLO_L4MinMaxErrorMessageBox(int slotIndex) { cloEditor.levelRangeMessage(slotIndex, 3); }
void TForm1::CLO_L5MinMaxErrorMessageBox(int slotIndex) { cloEditor.levelRangeMessage(slotIndex, 4); }
QString TForm1::CLO_LxFloatToString(const QString &text) { return ::CLO_LxFloatToString(text); }
void TForm1::clo_LifeTimeEditExit() { cloEditor.lifeTimeExit(); }
void TForm1::clo_LifeTimeEditKeyPress(QChar &Key) { cloEditor.lifeTimeKeyPress(Key); }
void TForm1::clo_L1_EditExit() { cloEditor.levelExit(0); }
void TForm1::clo_L2_EditExit() { cloEditor.levelExit(1); }
void TForm1::clo_L3_EditExit() { cloEditor.levelExit(2); }
void TForm1::clo_L4_EditExit() { cloEditor.levelExit(3); }
void TForm1::clo_L5_EditExit() { cloEditor.levelExit(4); }
void TForm1::clo_L1_EditKeyPress(QChar &Key) { cloEditor.levelKeyPress(0, Key); }
void TForm1::clo_L2_EditKeyPress(QChar &Key) { cloEditor.levelKeyPress(1, Key); }
void TForm1::clo_L3_EditKeyPress(QChar &Key) { cloEditor.levelKeyPress(2, Key); }
void TForm1::clo_L4_EditKeyPress(QChar &Key) { cloEditor.levelKeyPress(3, Key); }
void TForm1::clo_L5_EditKeyPress(QChar &Key) { cloEditor.levelKeyPress(4, Key); }
void TForm1::CLO_EnableCheckBoxClick() { cloEditor.enableClick(); }

void TForm1::DClevelEditEnter() { dcLevelEditor.enter(); }
void TForm1::DC_LevelAdjust(int slotIndex) { dcLevelEditor.loadFromSlot(slotIndex); }
void TForm1::DC_ScrollBarChange() { dcLevelEditor.scrollBarChange(); }
void TForm1::DC_level_activeClick() { dcLevelEditor.activeClick(); }
void TForm1::DC_level_EditExit() { dcLevelEditor.levelExit(); }
void TForm1::DC_level_EditKeyPress(QChar &Key) { dcLevelEditor.levelKeyPress(Key); }

namespace {
int ntcField(NtcTemperatureField f) { return static_cast<int>(f); }
} // namespace

void TForm1::NTCEditEnter() { ntcEditor.enter(); }
void TForm1::NTC_GraphRangesDraw() { ntcEditor.drawRanges(); }
void TForm1::NTC_start_degree_editExit() { ntcEditor.temperatureExit(ntcField(NtcTemperatureField::Start)); }
void TForm1::NTC_stop_degree_editExit() { ntcEditor.temperatureExit(ntcField(NtcTemperatureField::Stop)); }
void TForm1::NTC_cut_degree_editExit() { ntcEditor.temperatureExit(ntcField(NtcTemperatureField::CutOff)); }
void TForm1::NTC_start_degree_editKeyPress(QChar &Key)
{
    ntcEditor.temperatureKeyPress(ntcField(NtcTemperatureField::Start), Key);
}
void TForm1::NTC_stop_degree_editKeyPress(QChar &Key)
{
    ntcEditor.temperatureKeyPress(ntcField(NtcTemperatureField::Stop), Key);
}
void TForm1::NTC_cut_degree_editKeyPress(QChar &Key)
{
    ntcEditor.temperatureKeyPress(ntcField(NtcTemperatureField::CutOff), Key);
}
void TForm1::NTC_stop_editExit() { ntcEditor.stopLevelExit(); }
void TForm1::NTC_stop_editKeyPress(QChar &Key) { ntcEditor.stopLevelKeyPress(Key); }

// ---- Save and the summary/editor switch -------------------------------------------------------------------

void TForm1::OKClick()
{
    // A number field whose text does not convert ends the save with the conversion
    // error before anything reaches the slot.
    if (CurrentEdit->isEnabled())
        StrToInt(NomCurrentEdit->text());
    if (CLOEdit->isEnabled()) {
        StrToInt(clo_LifeTimeEdit->text());
        for (TEdit *e : cloLevelEdits())
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
