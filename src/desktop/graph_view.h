#pragma once
// A characteristic graph panel: the axis canvas filling the panel, the gradient
// picture and the plot canvas over it. The window hands it display lists; the paint
// handlers draw them, so the picture is the same after every redraw.

#include "app/graph_geometry.h"

#include <QWidget>
#include <functional>

class TGraphView;

// The plot canvas: coordinates from (0, 0) at its top left, the mouse reported there.
class TGraphPlotCanvas : public QWidget {
    Q_OBJECT
public:
    explicit TGraphPlotCanvas(TGraphView *view);

    // A mouse button pressed on the plot.
    std::function<void(Qt::MouseButton button, Qt::MouseButtons buttons, QPoint pos)> OnMouseDown;
    // The mouse moved over the plot (or, while a button is held, anywhere).
    std::function<void(Qt::MouseButtons buttons, QPoint pos)> OnMouseMove;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    TGraphView *view_;
};

class TGraphView : public QWidget {
    Q_OBJECT
public:
    // `axisName` and `plotName` name the two canvases (e.g. "GraphRangesPaintBox",
    // "GraphPaintBox").
    TGraphView(const GraphPanelGeometry &geometry, const QString &axisName, const QString &plotName,
               QWidget *parent);

    const GraphPanelGeometry &Geometry() const { return geometry_; }
    TGraphPlotCanvas *Plot() const { return plot_; }

    // Repainting the canvases clears both to the background.
    void ClearCanvases();
    // Repainting the picture clears only the plot canvas.
    void ClearPlot();
    // Adds what a drawing routine drew; each item goes to its canvas.
    void Draw(const QVector<GraphItem> &items);
    // Replaces the axis canvas's content (a scale drawn again over itself).
    void ReplaceAxis(const QVector<GraphItem> &items);

    const QVector<GraphItem> &AxisItems() const { return axis_; }
    const QVector<GraphItem> &PlotItems() const { return plotItems_; }

    // Draws items onto a painter whose origin is the canvas's top left.
    static void PaintItems(QPainter &painter, const QVector<GraphItem> &items, const QFont &font);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    GraphPanelGeometry geometry_;
    TGraphPlotCanvas *plot_ = nullptr;
    QVector<GraphItem> axis_;
    QVector<GraphItem> plotItems_;
    QFont font_;
};
