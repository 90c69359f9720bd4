#include "app/graph_geometry.h"

#include "print_qt.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

QStringList texts(const GraphDrawing &d, GraphItem::Canvas canvas = GraphItem::Axis)
{
    QStringList out;
    for (const auto &i : d.items)
        if (i.kind == GraphItem::Text && i.canvas == canvas)
            out << i.text;
    return out;
}

const GraphItem *findText(const GraphDrawing &d, const QString &t)
{
    for (const auto &i : d.items)
        if (i.kind == GraphItem::Text && i.text == t)
            return &i;
    return nullptr;
}

QVector<GraphItem> lines(const GraphDrawing &d, GraphItem::Canvas canvas)
{
    QVector<GraphItem> out;
    for (const auto &i : d.items)
        if (i.kind == GraphItem::Line && i.canvas == canvas)
            out << i;
    return out;
}

// Short ticks on the level axis of the axis canvas: lines ending left of the axis.
QVector<int> levelTickYs(const GraphDrawing &d, int axisX)
{
    QVector<int> ys;
    for (const auto &l : lines(d, GraphItem::Axis))
        if (l.p1.x() == axisX && l.p2.x() < axisX && l.p1.y() == l.p2.y())
            ys << l.p1.y();
    return ys;
}

QStringList numbers(int from, int to, int step)
{
    QStringList out;
    for (int v = from; step > 0 ? v <= to : v >= to; v += step)
        out << QString::number(v);
    return out;
}

} // namespace

// ---- Current graph ----------------------------------------------------------------------

TEST(CurrentGraphScale, LabelStepFollowsTheRange)
{
    struct Case {
        QString min, max;
        QStringList labels;
        int tick;
    } cases[] = {
        {"350", "700", numbers(350, 700, 50), 51},   // 50 * (360 / 350) = 51.4
        {"100", "2000", numbers(100, 2000, 200), 37}, // range 1900: every 200
        {"0", "999", numbers(0, 999, 50), 18},
        {"0", "1000", numbers(0, 1000, 200), 72},
        {"0", "4999", numbers(0, 4999, 200), 14},
        {"0", "5000", numbers(0, 5000, 500), 36},
        {"100", "9100", numbers(100, 9100, 500), 20},
    };
    for (const auto &c : cases) {
        const GraphDrawing d = CurrentGraphRangesDraw(c.min, c.max);
        SCOPED_TRACE((c.min + ".." + c.max).toStdString());
        EXPECT_TRUE(d.infoMessages.isEmpty());
        EXPECT_EQ(texts(d), QStringList{"mA"} + c.labels);
        const QVector<int> ys = levelTickYs(d, 53);
        ASSERT_EQ(ys.size(), c.labels.size());
        EXPECT_EQ(ys.first(), 392); // the minimum sits on the time axis (T + H)
        if (ys.size() > 1) {
            EXPECT_EQ(ys[0] - ys[1], c.tick);
        }
    }
}

TEST(CurrentGraphScale, AxesTicksAndLabelPositions)
{
    const GraphDrawing d = CurrentGraphRangesDraw("350", "700");
    ASSERT_GE(d.items.size(), 5);
    EXPECT_EQ(d.items[0].text, "mA");
    EXPECT_EQ(d.items[0].p1, QPoint(10, 5));
    const auto axis = lines(d, GraphItem::Axis);
    EXPECT_EQ(axis[0].p1, QPoint(53, 32));
    EXPECT_EQ(axis[0].p2, QPoint(53, 392));
    EXPECT_EQ(axis[1].p1, QPoint(53, 392));
    EXPECT_EQ(axis[1].p2, QPoint(473, 392));
    EXPECT_EQ(axis[0].penWidth, 2);
    EXPECT_EQ(axis[0].color, kGraphBlack);
    // The first tick and label: value 350 at y = 392.
    EXPECT_EQ(axis[2].p1, QPoint(53, 392));
    EXPECT_EQ(axis[2].p2, QPoint(44, 392));
    EXPECT_EQ(findText(d, "350")->p1, QPoint(5, 384));
    EXPECT_EQ(findText(d, "400")->p1, QPoint(5, 392 - 51 - 8));
}

TEST(CurrentGraphScale, EqualOrInvertedLimits)
{
    // Equal limits: one message, range 100 from then on, a single label at the bottom.
    GraphDrawing d = CurrentGraphRangesDraw("500", "500");
    EXPECT_EQ(d.infoMessages, QStringList{"max current - min current can't by <= 0; CurrentGraphRangesDraw"});
    EXPECT_EQ(texts(d), (QStringList{"mA", "500"}));
    EXPECT_EQ(findText(d, "500")->p1, QPoint(5, 384));

    // Inverted limits: the message, the axes, no labels at all.
    d = CurrentGraphRangesDraw("700", "350");
    EXPECT_EQ(d.infoMessages.size(), 1);
    EXPECT_EQ(texts(d), QStringList{"mA"});
    EXPECT_EQ(lines(d, GraphItem::Axis).size(), 2);

    d = CurrentGraphRangesDraw("abc", "700");
    EXPECT_TRUE(d.failed());
    EXPECT_TRUE(d.items.isEmpty());
}

TEST(CurrentGraphLine, RedLineAtTheCurrentLimitedToThePlot)
{
    struct Case {
        QString min, max;
        int current, y;
    } cases[] = {
        {"350", "700", 350, 360}, {"350", "700", 700, 0},   {"350", "700", 525, 180},
        {"350", "700", 400, 308}, // (700-400) * (360/350) = 308.57 truncated
        {"350", "700", 800, 0},   {"350", "700", 100, 360}, {"500", "500", 450, 180},
    };
    for (const auto &c : cases) {
        const GraphDrawing d = ActualNominalCurrentLineDraw(c.min, c.max, c.current);
        ASSERT_EQ(d.items.size(), 1);
        const GraphItem &l = d.items[0];
        EXPECT_EQ(l.canvas, GraphItem::Plot);
        EXPECT_EQ(l.p1, QPoint(0, c.y)) << c.current;
        EXPECT_EQ(l.p2, QPoint(419, c.y)) << c.current;
        EXPECT_EQ(l.color, kGraphRed);
        EXPECT_EQ(l.penWidth, 2);
    }
    EXPECT_EQ(ActualNominalCurrentLineDraw("500", "500", 500).infoMessages,
              QStringList{"max current - min current can't by <= 0; ActualNominalCurrentLineDraw"});
}

TEST(CurrentGraphMouse, PositionGivesTheCurrentLimitedLineFollowsExactly)
{
    struct Case {
        int y, current;
    } cases[] = {
        {0, 700},   {-40, 700}, // above the plot: the maximum
        {360, 350}, {500, 350}, // at and below the bottom: the minimum
        {180, 525}, {1, 700},   // 1 * 350/360 = 0.97 truncated
        {37, 665},              // 37 * 0.9722 = 35.97 -> 35
    };
    for (const auto &c : cases) {
        const CurrentMouseResult r = CurrentFromMouse("350", "700", c.y);
        ASSERT_TRUE(r.hasValue);
        EXPECT_EQ(r.current, c.current) << c.y;
        ASSERT_EQ(r.line.items.size(), 1);
        EXPECT_EQ(r.line.items[0].p1, QPoint(0, c.y));
        EXPECT_EQ(r.line.items[0].p2, QPoint(419, c.y));
        EXPECT_FALSE(r.ranges.items.isEmpty());
        EXPECT_TRUE(r.ranges.infoMessages.isEmpty());
        EXPECT_TRUE(r.line.infoMessages.isEmpty());
    }
    // Equal limits: both routines complain once, the value is always that one value.
    for (int y : {0, 100, 360, 800}) {
        const CurrentMouseResult r = CurrentFromMouse("450", "450", y);
        EXPECT_EQ(r.current, 450);
        EXPECT_EQ(r.ranges.infoMessages.size(), 1);
        EXPECT_EQ(r.line.infoMessages, QStringList{"max current - min current can't by <= 0; GraphPaintBoxMouseMove"});
    }
    EXPECT_FALSE(CurrentFromMouse("", "700", 10).hasValue);
}

// ---- CLO graph ---------------------------------------------------------------------------

namespace {
CloGraphInputs cloInputs(const QString &lifeTime, std::array<QString, 5> levels)
{
    CloGraphInputs in;
    in.enabled = true;
    in.lifeTime = lifeTime;
    in.levels = levels;
    const int s = lifeTime.toInt();
    in.hours = {"0", QString::number(int(s * 0.25f)), QString::number(int(s * 0.5f)),
                QString::number(int(s * 0.75f)), lifeTime};
    return in;
}

// Time ticks: vertical axis-canvas lines from T+H-1 to T+H+5.
QVector<int> timeTickXs(const GraphDrawing &d)
{
    QVector<int> xs;
    for (const auto &l : lines(d, GraphItem::Axis))
        if (l.p1.y() == 391 && l.p2.y() == 397 && l.p1.x() == l.p2.x())
            xs << l.p1.x();
    return xs;
}
QStringList bottomLabels(const GraphDrawing &d, int y)
{
    QStringList out;
    for (const auto &i : d.items)
        if (i.kind == GraphItem::Text && i.canvas == GraphItem::Axis && i.p1.y() == y)
            out << i.text;
    return out;
}
} // namespace

TEST(CloGraph, TimeScaleTicksAndLabels)
{
    struct Case {
        QString lifeTime;
        QVector<int> tickXs;
        QStringList labels; // "h" first, then the hour labels written
    } cases[] = {
        // 50000 h: ticks at 0, 12500, ... 50000; the label at the right end is not written.
        {"50000", {48, 144, 240, 336, 432}, {"h", "0", "12500", "25000", "37500"}},
        // 5 to 7 h: one tick per hour (u = 77, 55, 385/7).
        {"5", {48, 125, 202, 279, 356, 433}, {"h", "0", "1", "2", "3", "4"}},
        {"7", {48, 103, 158, 213, 268, 323, 378, 433}, {"h", "0", "1", "2", "3", "4", "5", "6"}},
        {"127500", {48, 144, 240, 336, 432}, {"h", "0", "31875", "63750", "95625"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.lifeTime.toStdString());
        const GraphDrawing d = CLO_GraphRangesDrawFloat(cloInputs(c.lifeTime, {"100", "100", "100", "100", "100"}));
        EXPECT_TRUE(d.infoMessages.isEmpty());
        EXPECT_EQ(timeTickXs(d), c.tickXs);
        EXPECT_EQ(bottomLabels(d, 397), c.labels);
    }
    // The hour label stands 20 pixels left of its tick.
    const GraphDrawing d = CLO_GraphRangesDrawFloat(cloInputs("50000", {"100", "100", "100", "100", "100"}));
    EXPECT_EQ(findText(d, "12500")->p1, QPoint(124, 397));
    EXPECT_EQ(findText(d, "h")->p1, QPoint(453, 397));
}

TEST(CloGraph, ShortLifeTimeIsDrawnAsFive)
{
    const GraphDrawing d = CLO_GraphRangesDrawFloat(cloInputs("4", {"100", "100", "100", "100", "100"}));
    EXPECT_EQ(d.infoMessages, QStringList{"LifeTime is to small for correct drawing of graph "});
    EXPECT_EQ(timeTickXs(d).size(), 6);
    EXPECT_TRUE(CLO_GraphRangesDrawFloat(cloInputs("5", {"100", "100", "100", "100", "100"})).infoMessages.isEmpty());
}

TEST(CloGraph, LevelScale)
{
    // Top 101: tick distance round(3600 / 101) = 36, labels 0 ... 100.
    GraphDrawing d = CLO_GraphRangesDrawFloat(cloInputs("50000", {"100", "90", "80", "70", "60"}));
    QVector<int> ys = levelTickYs(d, 47);
    ASSERT_EQ(ys.size(), 11);
    EXPECT_EQ(ys.first(), 392);
    EXPECT_EQ(ys[0] - ys[1], 36);
    EXPECT_EQ(findText(d, "100")->p1, QPoint(5, 392 - 360 - 8));

    // All levels 0: top 1, only "0" on the scale.
    d = CLO_GraphRangesDrawFloat(cloInputs("50000", {"0", "0", "0", "0", "0"}));
    EXPECT_EQ(levelTickYs(d, 47).size(), 1);
    EXPECT_TRUE(findText(d, "0") != nullptr);
    EXPECT_EQ(findText(d, "10"), nullptr);

    // Top 51 (largest level 50.5): labels 0 ... 50, tick distance round(3600/51) = 71.
    d = CLO_GraphRangesDrawFloat(cloInputs("50000", {"50.5", "50", "50", "50", "50"}));
    ys = levelTickYs(d, 47);
    ASSERT_EQ(ys.size(), 6);
    EXPECT_EQ(ys[0] - ys[1], 71);
    EXPECT_FLOAT_EQ(Max_L_value_CLO_graph_Float({"50.5", "50", "-3", "50", "50"}), 50.5f);
    EXPECT_FLOAT_EQ(Max_L_value_CLO_graph_Float({"-1", "-2", "-3", "-4", "-5"}), 0.0f);
}

TEST(CloGraph, LevelLinesAndTheirFixedParts)
{
    const GraphDrawing d = CLO_GraphRangesDrawFloat(cloInputs("50000", {"100", "90", "80", "70", "60"}));
    const auto plot = lines(d, GraphItem::Plot);
    // y(v) = round(360 - v * 360/101); x(h) = round(h * 385/50000).
    auto y = [](float v) { return int(std::nearbyint(360.0f - v * (360.0f / 101.0f))); };
    ASSERT_GE(plot.size(), 3);
    EXPECT_EQ(plot[0].p1, QPoint(0, y(100)));
    EXPECT_EQ(plot[0].p2, QPoint(385, y(60)));
    EXPECT_EQ(plot[0].penWidth, 2);
    EXPECT_EQ(plot[1].p1, QPoint(1, 0));
    EXPECT_EQ(plot[1].p2, QPoint(1, 360));
    EXPECT_EQ(plot[1].color, kGraphBlue);
    EXPECT_EQ(plot[1].penStyle, Qt::DashLine);
    EXPECT_EQ(plot[2].p1, QPoint(384, 0));
    EXPECT_EQ(plot[2].color, kGraphRed);
    EXPECT_EQ(plot[2].penStyle, Qt::DashLine);
    // L1 from the left edge to its hour (0), L2 from L1's point to L2's point.
    ASSERT_EQ(plot.size(), 3 + 10);
    EXPECT_EQ(plot[3].p1, QPoint(0, y(100)));
    EXPECT_EQ(plot[3].p2, QPoint(0, y(100)));
    EXPECT_EQ(plot[3].penStyle, Qt::DotLine);
    EXPECT_EQ(plot[4].p2, QPoint(0, 360));
    EXPECT_EQ(plot[5].p1, QPoint(0, y(100)));
    EXPECT_EQ(plot[5].p2, QPoint(96, y(90))); // 12500 * 0.0077 = 96.25
    EXPECT_EQ(plot[12].p1, QPoint(385, y(60)));
    EXPECT_EQ(plot[12].p2, QPoint(385, 360));
    const GraphItem *l5 = findText(d, "L5");
    ASSERT_NE(l5, nullptr);
    EXPECT_EQ(l5->p1, QPoint(48 + 385, 412));
    EXPECT_EQ(l5->color, kGraphRed);
    const GraphItem *start = findText(d, "start");
    EXPECT_EQ(start->p1, QPoint(48, 7));
    EXPECT_EQ(start->color, kGraphBlue);
    EXPECT_EQ(start->fontPointSize, 10);
    EXPECT_EQ(findText(d, "stop")->p1, QPoint(433, 7));
}

TEST(CloGraph, ZeroLevelTextIsNotDrawnButDecimalZeroIs)
{
    GraphDrawing d = CLO_GraphRangesDrawFloat(cloInputs("50000", {"100", "0", "80", "0", "60"}));
    EXPECT_NE(findText(d, "L1"), nullptr);
    EXPECT_EQ(findText(d, "L2"), nullptr);
    EXPECT_NE(findText(d, "L3"), nullptr);
    EXPECT_EQ(findText(d, "L4"), nullptr);
    EXPECT_EQ(lines(d, GraphItem::Plot).size(), 3 + 3 * 2);

    d = CLO_GraphRangesDrawFloat(cloInputs("50000", {"100", "0.0", "80", "0.0", "60"}));
    EXPECT_NE(findText(d, "L2"), nullptr);
    EXPECT_NE(findText(d, "L4"), nullptr);
    EXPECT_EQ(lines(d, GraphItem::Plot).size(), 3 + 5 * 2);
}

TEST(CloGraph, NothingWhenDisabledAndPartialOnConversionError)
{
    CloGraphInputs in = cloInputs("50000", {"100", "100", "100", "100", "100"});
    in.enabled = false;
    const GraphDrawing off = CLO_GraphRangesDrawFloat(in);
    EXPECT_TRUE(off.items.isEmpty());
    EXPECT_TRUE(off.infoMessages.isEmpty());

    in = cloInputs("50000", {"100", "100", "100", "100", "100"});
    in.hours[3] = "x";
    const GraphDrawing d = CLO_GraphRangesDrawFloat(in);
    EXPECT_TRUE(d.failed());
    EXPECT_NE(findText(d, "L3"), nullptr); // what was drawn before stays
    EXPECT_EQ(findText(d, "L4"), nullptr);

    in = cloInputs("", {"100", "100", "100", "100", "100"});
    EXPECT_TRUE(CLO_GraphRangesDrawFloat(in).failed());
    EXPECT_TRUE(CLO_GraphRangesDrawFloat(in).items.isEmpty());
}

// ---- NTC graph ---------------------------------------------------------------------------

namespace {
NtcGraphInputs ntc(const QString &start, const QString &stop, const QString &cut, const QString &l1 = "100",
                   const QString &l2 = "20")
{
    return NtcGraphInputs{start, stop, cut, l1, l2};
}
} // namespace

TEST(NtcGraph, TemperatureScaleLabelsFromTheRightTicksFromTheLeft)
{
    const GraphDrawing d = NTC_GraphRangesDraw(ntc("50", "80", "85"));
    // d = round(3850 / 85) = 45.
    EXPECT_EQ(bottomLabels(d, 393), (QStringList{"C°", "85", "75", "65", "55", "45", "35", "25", "15", "5"}));
    EXPECT_EQ(findText(d, "85")->p1, QPoint(39 + 385, 393));
    EXPECT_EQ(findText(d, "75")->p1, QPoint(424 - 45, 393));
    EXPECT_EQ(findText(d, "5")->p1, QPoint(424 - 8 * 45, 393));
    QVector<int> xs;
    for (const auto &l : lines(d, GraphItem::Axis))
        if (l.p1.y() == 387 && l.p2.y() == 393)
            xs << l.p1.x();
    EXPECT_EQ(xs, (QVector<int>{39, 84, 129, 174, 219, 264, 309, 354, 399}));
}

TEST(NtcGraph, SpanAtLeastTen)
{
    const GraphDrawing d = NTC_GraphRangesDraw(ntc("3", "5", "7"));
    EXPECT_EQ(bottomLabels(d, 393), (QStringList{"C°", "10", "0"}));
    EXPECT_EQ(Max_X_degree_NTC_graph(ntc("3", "5", "7")), 7);
    EXPECT_EQ(Max_X_degree_NTC_graph(ntc("-3", "-5", "-7")), 0);
}

TEST(NtcGraph, LevelScaleAndSegments)
{
    const GraphDrawing d = NTC_GraphRangesDraw(ntc("50", "80", "90", "100", "20"));
    const QVector<int> ys = levelTickYs(d, 38);
    ASSERT_EQ(ys.size(), 11);
    EXPECT_EQ(ys.first(), 388);
    EXPECT_EQ(ys.last(), 28);
    EXPECT_EQ(findText(d, "%")->p1, QPoint(15, 5));
    EXPECT_EQ(findText(d, "C°")->p1, QPoint(39 + 385 + 29, 393));

    // span 90: x(t) = round(t * 385/90); y(v) = round(360 - v * 3.6).
    const auto plot = lines(d, GraphItem::Plot);
    ASSERT_EQ(plot.size(), 6);
    const QPoint start(214, 0), stop(342, 288);
    EXPECT_EQ(plot[0].p1, QPoint(0, 1)); // one pixel lower than where it ends
    EXPECT_EQ(plot[0].p2, start);
    EXPECT_EQ(plot[0].color, kGraphGreen);
    EXPECT_EQ(plot[0].penWidth, 2);
    EXPECT_EQ(plot[1].p1, start);
    EXPECT_EQ(plot[1].p2, QPoint(214, 360));
    EXPECT_EQ(plot[1].penStyle, Qt::DotLine);
    EXPECT_EQ(plot[2].p1, start);
    EXPECT_EQ(plot[2].p2, stop);
    EXPECT_EQ(plot[2].color, kGraphBlue);
    EXPECT_EQ(plot[3].p2, QPoint(342, 360));
    // The cut-off segment stays at the stop level; its marker one pixel left.
    EXPECT_EQ(plot[4].p1, stop);
    EXPECT_EQ(plot[4].p2, QPoint(385, 288));
    EXPECT_EQ(plot[4].color, kGraphRed);
    EXPECT_EQ(plot[5].p1, QPoint(384, 288));
    EXPECT_EQ(plot[5].p2, QPoint(384, 360));
    EXPECT_EQ(findText(d, "start")->p1, QPoint(39 + 214, 413));
    EXPECT_EQ(findText(d, "start")->color, kGraphGreen);
    EXPECT_EQ(findText(d, "stop")->p1, QPoint(39 + 342, 413));
    EXPECT_EQ(findText(d, "cut-off")->p1, QPoint(39 + 384, 413));
}

TEST(NtcGraph, ConversionErrorKeepsWhatWasDrawn)
{
    GraphDrawing d = NTC_GraphRangesDraw(ntc("50", "80", "90", "100", ""));
    EXPECT_TRUE(d.failed());
    EXPECT_NE(findText(d, "start"), nullptr);
    EXPECT_EQ(findText(d, "stop"), nullptr);
    d = NTC_GraphRangesDraw(ntc("", "80", "90"));
    EXPECT_TRUE(d.failed());
    EXPECT_TRUE(d.items.isEmpty());
}

TEST(GraphPanels, GeometryTable)
{
    EXPECT_EQ(CurrentGraphPanel().plot, QRect(54, 32, 419, 360));
    EXPECT_EQ(CurrentGraphPanel().picture, QRect(54, 32, 419, 359));
    EXPECT_EQ(CloGraphPanel().plot, QRect(48, 32, 385, 360));
    EXPECT_EQ(CloGraphPanel().picture, QRect(48, 32, 409, 359));
    EXPECT_EQ(NtcGraphPanel().plot, QRect(39, 28, 385, 360));
    EXPECT_EQ(NtcGraphPanel().picture, QRect(39, 28, 410, 360));
    for (const auto *g : {&CurrentGraphPanel(), &CloGraphPanel(), &NtcGraphPanel()})
        EXPECT_EQ(g->panel, QSize(477, 441));
}
