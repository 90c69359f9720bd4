// The main window's NTC editor (see ntc_editor.h). The checks and the graph
// geometry live in app/editor_rules and app/graph_geometry.

#include "desktop/ntc_editor.h"

#include "app/graph_geometry.h"
#include "desktop/editor_support.h"
#include "desktop/graph_view.h"
#include "desktop/main_window.h"
#include "profile/profile_record.h"

void NtcEditor::enter()
{
    TakePlaceAndColour(w.NTCPanel, w.GraphPanel);
    w.NTC_adjust_Panel->move(w.CurrentTablePanel->pos());
    w.OpenParameterPanel(w.NTCEdit, w.NTCPanel, {w.NTC_adjust_Panel});
    drawRanges();
    w.OK->show();
}

void NtcEditor::drawRanges()
{
    w.CreateGraphs();
    NtcGraphInputs in;
    in.startDegree = w.NTC_start_degree_edit->text();
    in.stopDegree = w.NTC_stop_degree_edit->text();
    in.cutDegree = w.NTC_cut_degree_edit->text();
    in.startLevel = w.NTC_start_edit->text();
    in.stopLevel = w.NTC_stop_edit->text();
    w.ShowGraphDrawing(w.NTCGraph, ::NTC_GraphRangesDraw(in));
}

void NtcEditor::redraw()
{
    w.CreateGraphs();
    w.NTCGraph->ClearCanvases();
    drawRanges();
}

void NtcEditor::temperatureExit(int field)
{
    const STRUCT_XML_FILE_VARIABLES &s = activeProfile();
    const ParameterDescriptor *descriptors[] = {&s.Temp1, &s.Temp2, &s.CutOffTemp};
    TEdit *edits[] = {w.NTC_start_degree_edit, w.NTC_stop_degree_edit, w.NTC_cut_degree_edit};
    const FieldCheckOutcome o =
        CheckNtcTemperature(static_cast<NtcTemperatureField>(field), w.NTC_start_degree_edit->text(),
                            w.NTC_stop_degree_edit->text(), w.NTC_cut_degree_edit->text(), *descriptors[field]);
    if (ApplyFieldCheck(o, edits[field]) && o.orderViolation) {
        enter();
        return;
    }
    redraw();
}

void NtcEditor::temperatureKeyPress(int field, QChar &key)
{
    if (EditorEnterRunsCheck(key, true))
        temperatureExit(field);
}

void NtcEditor::stopLevelExit()
{
    const FieldCheckOutcome o = CheckNtcStopLevel(w.NTC_stop_edit->text(), activeProfile().ExtNTCLevel2);
    ApplyFieldCheck(o, w.NTC_stop_edit);
    redraw();
}

void NtcEditor::stopLevelKeyPress(QChar &key)
{
    if (EditorEnterRunsCheck(key, true))
        stopLevelExit();
}
