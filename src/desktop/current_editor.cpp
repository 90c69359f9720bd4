// The main window's current editor (see current_editor.h). The check and the
// graph geometry live in app/editor_rules and app/graph_geometry.

#include "desktop/current_editor.h"

#include "app/graph_geometry.h"
#include "common/convert.h"
#include "desktop/editor_support.h"
#include "desktop/graph_view.h"
#include "desktop/main_window.h"

void CurrentEditor::enter()
{
    w.OpenParameterPanel(w.CurrentEdit, w.GraphPanel, {w.CurrentTablePanel});
    drawRanges();
    drawNominalLine(StrToInt(w.NomCurrentEdit->text()));
    w.OK->show();
}

void CurrentEditor::drawRanges()
{
    w.CreateGraphs();
    const GraphDrawing d = ::CurrentGraphRangesDraw(w.MinCurrentLabel->text(), w.MaxCurrentLabel->text());
    w.CurrentGraph->ReplaceAxis({});
    w.ShowGraphDrawing(w.CurrentGraph, d);
}

void CurrentEditor::drawNominalLine(int current)
{
    w.CreateGraphs();
    // Repainting the picture removes the earlier line.
    w.CurrentGraph->ClearPlot();
    w.ShowGraphDrawing(w.CurrentGraph,
                       ::ActualNominalCurrentLineDraw(w.MinCurrentLabel->text(), w.MaxCurrentLabel->text(), current));
}

void CurrentEditor::setCurrentFromMouse(int y)
{
    w.CreateGraphs();
    const CurrentMouseResult r = ::CurrentFromMouse(w.MinCurrentLabel->text(), w.MaxCurrentLabel->text(), y);
    w.CurrentGraph->ClearPlot();
    w.CurrentGraph->ReplaceAxis({});
    w.ShowGraphDrawing(w.CurrentGraph, r.ranges);
    w.ShowGraphDrawing(w.CurrentGraph, r.line);
    if (r.hasValue)
        w.NomCurrentEdit->setText(QString::number(r.current));
}

void CurrentEditor::mouseDown(Qt::MouseButton button, int y)
{
    if (button == Qt::LeftButton)
        setCurrentFromMouse(y);
    w.CurrentDataPackageMemoFill(StrToInt(w.NomCurrentEdit->text()));
}

void CurrentEditor::mouseMove(Qt::MouseButtons buttons, int y)
{
    if (buttons & Qt::LeftButton) {
        setCurrentFromMouse(y);
        w.CurrentDataPackageMemoFill(StrToInt(w.NomCurrentEdit->text()));
        return;
    }
    // Merely hovering over the graph refreshes the hidden preview; a field that does
    // not hold a number is reported when it is left, not on every mouse move.
    int current = 0;
    if (TryStrToInt(w.NomCurrentEdit->text(), current))
        w.CurrentDataPackageMemoFill(current);
}

void CurrentEditor::nominalCurrentExit()
{
    const FieldCheckOutcome o =
        CheckNominalCurrent(w.NomCurrentEdit->text(), w.MinCurrentLabel->text(), w.MaxCurrentLabel->text());
    ApplyFieldCheck(o, w.NomCurrentEdit);
    const int current = StrToInt(w.NomCurrentEdit->text());
    drawRanges();
    drawNominalLine(current);
    w.CurrentDataPackageMemoFill(current);
}

void CurrentEditor::nominalCurrentKeyPress(QChar &key)
{
    if (EditorEnterRunsCheck(key, true))
        nominalCurrentExit();
}
