#include "desktop/graph_view.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

namespace {

QPen penFor(const GraphItem &item)
{
    QPen pen(item.color, item.penWidth);
    pen.setCapStyle(Qt::FlatCap);
    switch (item.penStyle) {
    case Qt::DotLine:
        pen.setDashPattern({1.0, 1.0});
        break;
    case Qt::DashLine:
        pen.setDashPattern({6.0, 2.0});
        break;
    default:
        pen.setStyle(item.penStyle);
        break;
    }
    return pen;
}

} // namespace

// ---- Plot canvas ------------------------------------------------------------------------

TGraphPlotCanvas::TGraphPlotCanvas(TGraphView *view) : QWidget(view), view_(view)
{
    setGeometry(view->Geometry().plot);
    setCursor(view->Geometry().plotCursor);
    setMouseTracking(true);
}

void TGraphPlotCanvas::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setClipRect(rect());
    TGraphView::PaintItems(painter, view_->PlotItems(), view_->font());
}

void TGraphPlotCanvas::mousePressEvent(QMouseEvent *event)
{
    if (OnMouseDown)
        OnMouseDown(event->button(), event->buttons(), event->position().toPoint());
}

void TGraphPlotCanvas::mouseMoveEvent(QMouseEvent *event)
{
    if (OnMouseMove)
        OnMouseMove(event->buttons(), event->position().toPoint());
}

// ---- Panel ------------------------------------------------------------------------------

TGraphView::TGraphView(const GraphPanelGeometry &geometry, const QString &axisName, const QString &plotName,
                       QWidget *parent)
    : QWidget(parent), geometry_(geometry)
{
    setObjectName(axisName);
    setGeometry(QRect(QPoint(0, 0), geometry.panel));
    font_ = QFont(QStringLiteral("Tahoma"));
    font_.setPixelSize(13);
    font_.setBold(true);
    setFont(font_);
    plot_ = new TGraphPlotCanvas(this);
    plot_->setObjectName(plotName);
}

void TGraphView::ClearCanvases()
{
    axis_.clear();
    plotItems_.clear();
    update();
}

void TGraphView::ClearPlot()
{
    plotItems_.clear();
    plot_->update();
}

void TGraphView::Draw(const QVector<GraphItem> &items)
{
    for (const GraphItem &item : items)
        (item.canvas == GraphItem::Plot ? plotItems_ : axis_) << item;
    update();
}

void TGraphView::ReplaceAxis(const QVector<GraphItem> &items)
{
    axis_.clear();
    Draw(items);
}

void TGraphView::PaintItems(QPainter &painter, const QVector<GraphItem> &items, const QFont &font)
{
    for (const GraphItem &item : items) {
        if (item.kind == GraphItem::Line) {
            painter.setPen(penFor(item));
            painter.drawLine(item.p1, item.p2);
        } else {
            QFont f = font;
            if (item.fontPointSize > 0)
                f.setPointSize(item.fontPointSize);
            painter.setFont(f);
            painter.setPen(item.color);
            // Texts are placed by their top-left corner.
            painter.drawText(QRect(item.p1, QSize(400, 60)), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                             item.text);
        }
    }
}

void TGraphView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    PaintItems(painter, axis_, font_);
    // The picture lies over the axis canvas.
    const QRect pic = geometry_.picture;
    QLinearGradient gradient(pic.topLeft(), pic.bottomLeft());
    gradient.setColorAt(0.0, kGraphGradientTop);
    gradient.setColorAt(1.0, kGraphGradientBottom);
    painter.fillRect(pic, gradient);
}
