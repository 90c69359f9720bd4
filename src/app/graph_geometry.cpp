#include "app/graph_geometry.h"

#include "common/convert.h"

#include <algorithm>
#include <cmath>

namespace {

// Scales stop after this many steps: only absurd bounds (a scale of thousands of
// labels piled on each other) get there, and the window must not freeze on them.
constexpr int kMaxScaleSteps = 2000;

// Coordinates far outside the panel are drawn nowhere; keeping them in a sane range
// avoids overflowing the integer conversion for absurd values.
int toCoordinate(double v)
{
    return static_cast<int>(std::clamp(v, -1.0e6, 1.0e6));
}
// Nearest integer, halves to the even neighbour.
int roundEven(float v) { return toCoordinate(std::nearbyint(static_cast<double>(v))); }
int truncate(float v) { return toCoordinate(std::trunc(static_cast<double>(v))); }

GraphItem line(GraphItem::Canvas canvas, QPoint a, QPoint b, const QColor &color, int width,
               Qt::PenStyle style = Qt::SolidLine)
{
    GraphItem i;
    i.kind = GraphItem::Line;
    i.canvas = canvas;
    i.p1 = a;
    i.p2 = b;
    i.color = color;
    i.penWidth = width;
    i.penStyle = style;
    return i;
}

GraphItem text(GraphItem::Canvas canvas, QPoint at, const QString &t, const QColor &color = kGraphBlack,
               int pointSize = 0)
{
    GraphItem i;
    i.kind = GraphItem::Text;
    i.canvas = canvas;
    i.p1 = at;
    i.text = t;
    i.color = color;
    i.fontPointSize = pointSize;
    return i;
}

// The span of the current scale. An empty or inverted span is reported (naming the
// routine that met it) and drawn as 100 mA, so that the scale still has a size.
qint64 currentRange(qint64 minimum, qint64 maximum, const char *routine, QStringList &infoMessages)
{
    if (maximum - minimum > 0)
        return maximum - minimum;
    infoMessages << QStringLiteral("max current - min current can't by <= 0; ") + QLatin1String(routine);
    return 100;
}

// Axis lines shared by the three graphs: the level axis from (L-1, top) down and the
// time or temperature axis to the right.
void addAxes(QVector<GraphItem> &items, const QRect &plot, int topY)
{
    const int L = plot.left(), T = plot.top(), W = plot.width(), H = plot.height();
    items << line(GraphItem::Axis, {L - 1, topY}, {L - 1, T + H}, kGraphBlack, 2);
    items << line(GraphItem::Axis, {L - 1, T + H}, {L + W, T + H}, kGraphBlack, 2);
}

} // namespace

const GraphPanelGeometry &CurrentGraphPanel()
{
    static const GraphPanelGeometry g{QSize(477, 441), QRect(54, 32, 419, 359), QRect(54, 32, 419, 360),
                                      Qt::SplitVCursor};
    return g;
}

const GraphPanelGeometry &CloGraphPanel()
{
    static const GraphPanelGeometry g{QSize(477, 441), QRect(48, 32, 409, 359), QRect(48, 32, 385, 360),
                                      Qt::CrossCursor};
    return g;
}

const GraphPanelGeometry &NtcGraphPanel()
{
    static const GraphPanelGeometry g{QSize(477, 441), QRect(39, 28, 410, 360), QRect(39, 28, 385, 360),
                                      Qt::ArrowCursor};
    return g;
}

// ---- Current graph ---------------------------------------------------------------------

GraphDrawing CurrentGraphRangesDraw(const QString &minLabel, const QString &maxLabel)
{
    GraphDrawing d;
    const QRect plot = CurrentGraphPanel().plot;
    const int L = plot.left(), T = plot.top(), W = plot.width(), H = plot.height();
    try {
        const qint64 minimum = StrToInt(minLabel);
        const qint64 maximum = StrToInt(maxLabel);
        d.items << text(GraphItem::Axis, {10, 5}, QStringLiteral("mA"));
        // The step follows the labels' own span, before an empty span is replaced.
        const qint64 span = maximum - minimum;
        const int step = span <= 999 ? 50 : span <= 4999 ? 200 : 500;
        const qint64 range = currentRange(minimum, maximum, "CurrentGraphRangesDraw", d.infoMessages);
        addAxes(d.items, QRect(L, T, W, H), T);
        if (minimum <= maximum) {
            const int tick = truncate(static_cast<float>(step) * (static_cast<float>(H) / static_cast<float>(range)));
            int y = T + H;
            qint64 value = minimum;
            for (int n = 0; value <= maximum && n < kMaxScaleSteps; ++n) {
                d.items << text(GraphItem::Axis, {5, y - 8}, QString::number(value));
                d.items << line(GraphItem::Axis, {L - 1, y}, {L - 10, y}, kGraphBlack, 1);
                y -= tick;
                value += step;
            }
        }
    } catch (const EConvertError &e) {
        d.conversionError = e.message();
    }
    return d;
}

GraphDrawing ActualNominalCurrentLineDraw(const QString &minLabel, const QString &maxLabel, int current)
{
    GraphDrawing d;
    const QRect plot = CurrentGraphPanel().plot;
    const int W = plot.width(), H = plot.height();
    try {
        const qint64 minimum = StrToInt(minLabel);
        const qint64 maximum = StrToInt(maxLabel);
        const qint64 range = currentRange(minimum, maximum, "ActualNominalCurrentLineDraw", d.infoMessages);
        const float factor = static_cast<float>(H) / static_cast<float>(range);
        const int y = std::clamp(truncate(static_cast<float>(maximum - current) * factor), 0, H);
        d.items << line(GraphItem::Plot, {0, y}, {W, y}, kGraphRed, 2);
    } catch (const EConvertError &e) {
        d.conversionError = e.message();
    }
    return d;
}

CurrentMouseResult CurrentFromMouse(const QString &minLabel, const QString &maxLabel, int y)
{
    CurrentMouseResult r;
    const QRect plot = CurrentGraphPanel().plot;
    const int W = plot.width(), H = plot.height();
    r.ranges = CurrentGraphRangesDraw(minLabel, maxLabel);
    if (r.ranges.failed())
        return r;
    r.line.items << line(GraphItem::Plot, {0, y}, {W, y}, kGraphRed, 2);
    // The labels converted above, so they convert here too.
    const qint64 minimum = StrToInt(minLabel);
    const qint64 maximum = StrToInt(maxLabel);
    const qint64 range = currentRange(minimum, maximum, "GraphPaintBoxMouseMove", r.line.infoMessages);
    const float factor = static_cast<float>(range) / static_cast<float>(H);
    const qint64 value = maximum - truncate(static_cast<float>(y) * factor);
    qint64 limited = value;
    if (limited < minimum)
        limited = minimum;
    if (limited > maximum)
        limited = maximum;
    r.current = static_cast<int>(limited);
    r.hasValue = true;
    return r;
}

// ---- CLO graph -----------------------------------------------------------------------

float Max_L_value_CLO_graph_Float(const std::array<QString, kCloLevelCount> &levels)
{
    float result = 0.0f;
    for (const QString &level : levels)
        result = std::max(result, static_cast<float>(StrToFloat(level)));
    return result;
}

GraphDrawing CLO_GraphRangesDrawFloat(const CloGraphInputs &in)
{
    GraphDrawing d;
    if (!in.enabled)
        return d;
    const QRect plot = CloGraphPanel().plot;
    const int L = plot.left(), T = plot.top(), W = plot.width(), H = plot.height();
    try {
        qint64 lifeTime = StrToInt(in.lifeTime);
        if (lifeTime <= 4) {
            d.infoMessages << QStringLiteral("LifeTime is to small for correct drawing of graph ");
            lifeTime = 5;
        }
        const float maxLevel = Max_L_value_CLO_graph_Float(in.levels);
        const int top = truncate(std::min(maxLevel + 1.0f, 1.0e6f));

        d.items << text(GraphItem::Axis, {10, 5}, QStringLiteral("%"));
        addAxes(d.items, plot, T - 3);

        const int levelTick = truncate(static_cast<float>(roundEven(10.0f * H / static_cast<float>(top))));
        int y = T + H;
        for (int value = 0, n = 0; value <= top && n < kMaxScaleSteps; value += 10, ++n) {
            d.items << text(GraphItem::Axis, {5, y - 8}, QString::number(value));
            d.items << line(GraphItem::Axis, {L - 1, y}, {L - 5, y}, kGraphBlack, 1);
            y -= levelTick;
        }

        d.items << text(GraphItem::Axis, {L + W + 20, T + H + 5}, QStringLiteral("h"));

        const float u = static_cast<float>(W) / static_cast<float>(lifeTime);
        const qint64 q = lifeTime / 4;
        const int hourTick = truncate(static_cast<float>(roundEven(static_cast<float>(q) * u)));
        int x = 0;
        for (qint64 hour = 0, n = 0; hour <= lifeTime && n < kMaxScaleSteps; hour += q, ++n) {
            if (L + x < W)
                d.items << text(GraphItem::Axis, {L + x - 20, T + H + 5}, QString::number(hour));
            d.items << line(GraphItem::Axis, {L + x, T + H - 1}, {L + x, T + H + 5}, kGraphBlack, 1);
            x += hourTick;
        }

        const float levelScale = static_cast<float>(H) / static_cast<float>(top);
        auto yOf = [&](float v) { return roundEven(static_cast<float>(H) - v * levelScale); };
        auto xOf = [&](float h) { return roundEven(h * u); };
        std::array<float, kCloLevelCount> levels{};
        for (int k = 0; k < kCloLevelCount; ++k)
            levels[k] = static_cast<float>(StrToFloat(in.levels[k]));

        d.items << line(GraphItem::Plot, {0, yOf(levels[0])}, {W, yOf(levels.back())}, kGraphBlack, 2);
        d.items << text(GraphItem::Axis, {L, T - 25}, QStringLiteral("start"), kGraphBlue, 10);
        d.items << text(GraphItem::Axis, {L + W, T - 25}, QStringLiteral("stop"), kGraphRed, 10);
        d.items << line(GraphItem::Plot, {1, 0}, {1, H}, kGraphBlue, 1, Qt::DashLine);
        d.items << line(GraphItem::Plot, {W - 1, 0}, {W - 1, H}, kGraphRed, 1, Qt::DashLine);

        for (int k = 0; k < kCloLevelCount; ++k) {
            if (in.levels[k] == QStringLiteral("0"))
                continue;
            const int xk = xOf(static_cast<float>(StrToInt64(in.hours[k])));
            const int yk = yOf(levels[k]);
            if (k == 0) {
                d.items << line(GraphItem::Plot, {0, yk}, {xk, yk}, kGraphRed, 1, Qt::DotLine);
            } else {
                const int xp = xOf(static_cast<float>(StrToInt64(in.hours[k - 1])));
                d.items << line(GraphItem::Plot, {xp, yOf(levels[k - 1])}, {xk, yk}, kGraphRed, 1, Qt::DotLine);
            }
            d.items << line(GraphItem::Plot, {xk, yk}, {xk, H}, kGraphRed, 1, Qt::DotLine);
            d.items << text(GraphItem::Axis, {L + xk, T + H + 20}, QString::fromLatin1(CloLevelGroup(k).label), kGraphRed);
        }
    } catch (const EConvertError &e) {
        d.conversionError = e.message();
    }
    return d;
}

// ---- NTC graph -----------------------------------------------------------------------

int Max_X_degree_NTC_graph(const NtcGraphInputs &in)
{
    int result = 0;
    for (const QString *t : {&in.startDegree, &in.stopDegree, &in.cutDegree})
        result = std::max(result, StrToInt(*t));
    return result;
}

GraphDrawing NTC_GraphRangesDraw(const NtcGraphInputs &in)
{
    GraphDrawing d;
    const QRect plot = NtcGraphPanel().plot;
    const int L = plot.left(), T = plot.top(), W = plot.width(), H = plot.height();
    try {
        const int span = std::max(10, Max_X_degree_NTC_graph(in));

        d.items << text(GraphItem::Axis, {15, 5}, QStringLiteral("%"));
        addAxes(d.items, plot, T - 3);

        const int levelTick = truncate(static_cast<float>(roundEven(10.0f * H / 100.0f)));
        int y = T + H;
        for (int value = 0; value <= 100; value += 10) {
            d.items << text(GraphItem::Axis, {5, y - 8}, QString::number(value));
            d.items << line(GraphItem::Axis, {L - 1, y}, {L - 5, y}, kGraphBlack, 1);
            y -= levelTick;
        }

        d.items << text(GraphItem::Axis, {L + W + 29, T + H + 5}, QStringLiteral("C°"));

        // Labels are counted down from the right end, ticks counted up from the left.
        const int tick = truncate(static_cast<float>(roundEven(10.0f * W / static_cast<float>(span))));
        int n = 0;
        for (int value = span; value >= 0 && n < kMaxScaleSteps; value -= 10, ++n)
            d.items << text(GraphItem::Axis, {L + W - n * tick, T + H + 5}, QString::number(value));
        for (int k = 0; k < n; ++k)
            d.items << line(GraphItem::Axis, {L + k * tick, T + H - 1}, {L + k * tick, T + H + 5}, kGraphBlack, 1);

        const float xScale = static_cast<float>(W) / static_cast<float>(span);
        const float yScale = static_cast<float>(H) / 100.0f;
        auto xOf = [&](int t) { return roundEven(static_cast<float>(t) * xScale); };
        auto yOf = [&](float v) { return roundEven(static_cast<float>(H) - v * yScale); };

        const int start = StrToInt(in.startDegree);
        const int stop = StrToInt(in.stopDegree);
        const int cut = StrToInt(in.cutDegree);
        const float startLevel = static_cast<float>(StrToFloat(in.startLevel));
        const QPoint startPoint(xOf(start), yOf(startLevel));
        d.items << line(GraphItem::Plot, {0, roundEven(static_cast<float>(H) - startLevel * yScale + 1.0f)},
                        startPoint, kGraphGreen, 2);
        d.items << line(GraphItem::Plot, startPoint, {startPoint.x(), H}, kGraphGreen, 1, Qt::DotLine);
        d.items << text(GraphItem::Axis, {L + startPoint.x(), T + H + 25}, QStringLiteral("start"), kGraphGreen);

        const float stopLevel = static_cast<float>(StrToFloat(in.stopLevel));
        const QPoint stopPoint(xOf(stop), yOf(stopLevel));
        d.items << line(GraphItem::Plot, startPoint, stopPoint, kGraphBlue, 2);
        d.items << line(GraphItem::Plot, stopPoint, {stopPoint.x(), H}, kGraphBlue, 1, Qt::DotLine);
        d.items << text(GraphItem::Axis, {L + stopPoint.x(), T + H + 25}, QStringLiteral("stop"), kGraphBlue);

        const int xCut = xOf(cut);
        d.items << line(GraphItem::Plot, stopPoint, {xCut, stopPoint.y()}, kGraphRed, 2);
        d.items << line(GraphItem::Plot, {xCut - 1, stopPoint.y()}, {xCut - 1, H}, kGraphRed, 1, Qt::DotLine);
        d.items << text(GraphItem::Axis, {L + xCut - 1, T + H + 25}, QStringLiteral("cut-off"), kGraphRed);
    } catch (const EConvertError &e) {
        d.conversionError = e.message();
    }
    return d;
}
