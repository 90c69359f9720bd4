#pragma once
// The geometry of the three characteristic graphs without widgets: each drawing
// routine turns the editor texts into a display list (lines and texts on the axis
// canvas or the plot canvas) that a paint handler draws unchanged. Messages that a
// drawing call raises are returned with it, so the window shows them once per call.

#include "profile/parameter_table.h"

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>

// One graph panel: the axis canvas fills the panel, the background picture and the
// plot canvas lie over it. Plot coordinates run from (0, 0) at the plot's top left.
struct GraphPanelGeometry {
    QSize panel;
    QRect picture;
    QRect plot;
    Qt::CursorShape plotCursor;
};
const GraphPanelGeometry &CurrentGraphPanel();
const GraphPanelGeometry &CloGraphPanel();
const GraphPanelGeometry &NtcGraphPanel();

// The picture behind every plot: a vertical gradient from white at the top to amber.
inline const QColor kGraphGradientTop = QColor(255, 255, 255);
inline const QColor kGraphGradientBottom = QColor(251, 186, 0);
inline const QColor kGraphBlack = QColor(0, 0, 0);
inline const QColor kGraphRed = QColor(255, 0, 0);
inline const QColor kGraphGreen = QColor(0, 128, 0);
inline const QColor kGraphBlue = QColor(0, 0, 255);

struct GraphItem {
    enum Kind { Line, Text };
    enum Canvas { Axis, Plot };
    Kind kind = Line;
    Canvas canvas = Axis;
    QPoint p1;          // line start, or the text's top-left corner
    QPoint p2;          // line end
    QString text;
    QColor color = kGraphBlack;
    int penWidth = 1;
    Qt::PenStyle penStyle = Qt::SolidLine;
    int fontPointSize = 0; // 0: the panel font (Tahoma, 13 pixels, bold)

    bool operator==(const GraphItem &) const = default;
};

struct GraphDrawing {
    QVector<GraphItem> items;
    QStringList infoMessages; // each shown in a message box with the caption "Info"
    QString conversionError;  // a text did not convert: drawing stopped here
    bool failed() const { return !conversionError.isEmpty(); }
};

// ---- Current graph -----------------------------------------------------------------

// Axes and scale of the current graph (axis canvas).
GraphDrawing CurrentGraphRangesDraw(const QString &minLabel, const QString &maxLabel);
// The red line at a current value (plot canvas).
GraphDrawing ActualNominalCurrentLineDraw(const QString &minLabel, const QString &maxLabel, int current);

// A left-button press or drag at plot height y: the scale, the red line at y and the
// current written into the nominal-current field.
struct CurrentMouseResult {
    GraphDrawing ranges; // axis canvas
    GraphDrawing line;   // plot canvas
    bool hasValue = false;
    int current = 0;
};
CurrentMouseResult CurrentFromMouse(const QString &minLabel, const QString &maxLabel, int y);

// ---- CLO graph ---------------------------------------------------------------------

struct CloGraphInputs {
    bool enabled = false;
    QString lifeTime;
    std::array<QString, kCloLevelCount> levels;
    std::array<QString, kCloLevelCount> hours;
};
// Largest of 0 and the levels. Throws EConvertError.
float Max_L_value_CLO_graph_Float(const std::array<QString, kCloLevelCount> &levels);
GraphDrawing CLO_GraphRangesDrawFloat(const CloGraphInputs &in);

// ---- NTC graph ---------------------------------------------------------------------

struct NtcGraphInputs {
    QString startDegree;
    QString stopDegree;
    QString cutDegree;
    QString startLevel;
    QString stopLevel;
};
// Largest of 0 and the three temperatures. Throws EConvertError.
int Max_X_degree_NTC_graph(const NtcGraphInputs &in);
GraphDrawing NTC_GraphRangesDraw(const NtcGraphInputs &in);
