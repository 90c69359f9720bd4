// The graph panels: what the paint handlers show, and the mouse on the plot canvas.
#include "app/graph_geometry.h"
#include "desktop/graph_view.h"

#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QImage grab(QWidget &w)
{
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(GraphView, PaintsTheDisplayListOverTheGradientTheSameEveryTime)
{
    QWidget host;
    host.resize(477, 441);
    TGraphView view(CurrentGraphPanel(), "GraphRangesPaintBox", "GraphPaintBox", &host);
    host.show();
    view.Draw(CurrentGraphRangesDraw("350", "700").items);
    view.Draw(ActualNominalCurrentLineDraw("350", "700", 525).items); // y = 180 on the plot

    const QImage first = grab(view);
    // The picture: white at the top, amber at the bottom.
    const QColor top = first.pixelColor(200, 33);
    const QColor bottom = first.pixelColor(200, 389);
    EXPECT_GT(top.blue(), 240);
    EXPECT_LT(bottom.blue(), 20);
    EXPECT_NEAR(bottom.green(), 186, 6);
    // The red line across the plot at plot y 180 (panel y 212).
    const QColor line = first.pixelColor(54 + 200, 32 + 180);
    EXPECT_EQ(line, QColor(255, 0, 0));
    // The value axis left of the picture, black.
    EXPECT_EQ(first.pixelColor(53, 200), QColor(0, 0, 0));

    // Redrawing shows the same picture.
    view.update();
    QCoreApplication::processEvents();
    EXPECT_EQ(grab(view), first);

    // Repainting the picture removes the line but keeps the scale.
    view.ClearPlot();
    const QImage cleared = grab(view);
    EXPECT_NE(cleared.pixelColor(54 + 200, 32 + 180), QColor(255, 0, 0));
    EXPECT_EQ(cleared.pixelColor(53, 200), QColor(0, 0, 0));
    view.ClearCanvases();
    EXPECT_NE(grab(view).pixelColor(53, 200), QColor(0, 0, 0));
}

TEST(GraphView, PlotCanvasReportsPlotCoordinatesAndHasTheCursor)
{
    QWidget host;
    host.resize(477, 441);
    TGraphView view(CurrentGraphPanel(), "GraphRangesPaintBox", "GraphPaintBox", &host);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    EXPECT_EQ(view.Plot()->geometry(), QRect(54, 32, 419, 360));
    EXPECT_EQ(view.Plot()->cursor().shape(), Qt::SplitVCursor);
    EXPECT_EQ(view.Plot()->objectName(), "GraphPaintBox");

    QList<std::pair<Qt::MouseButton, QPoint>> downs;
    QList<std::pair<Qt::MouseButtons, QPoint>> moves;
    view.Plot()->OnMouseDown = [&](Qt::MouseButton b, Qt::MouseButtons, QPoint p) { downs.append({b, p}); };
    view.Plot()->OnMouseMove = [&](Qt::MouseButtons b, QPoint p) { moves.append({b, p}); };
    QTest::mousePress(view.Plot(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 0));
    QTest::mouseRelease(view.Plot(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 0));
    QTest::mousePress(view.Plot(), Qt::RightButton, Qt::NoModifier, QPoint(20, 30));
    ASSERT_EQ(downs.size(), 2);
    EXPECT_EQ(downs[0].first, Qt::LeftButton);
    EXPECT_EQ(downs[0].second, QPoint(10, 0));
    EXPECT_EQ(downs[1].first, Qt::RightButton);

    TGraphView clo(CloGraphPanel(), "CLO_GraphRangesPaintBox", "CLO_PaintBox", &host);
    EXPECT_EQ(clo.Plot()->cursor().shape(), Qt::CrossCursor);
    EXPECT_EQ(clo.Plot()->geometry(), QRect(48, 32, 385, 360));
}
