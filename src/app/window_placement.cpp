#include "app/window_placement.h"

#include <algorithm>

namespace {
// The start of a span of `length` centred on `centre2 / 2`, moved inside
// [areaStart, areaStart + areaLength).
int placeSpan(int length, int centre2, int areaStart, int areaLength)
{
    if (length >= areaLength)
        return areaStart;
    const int start = (centre2 - length) / 2;
    return std::clamp(start, areaStart, areaStart + areaLength - length);
}
} // namespace

QRect PlaceWindow(QSize size, const QRect &owner, const QRect &area)
{
    if (area.isEmpty())
        return QRect(owner.isEmpty() ? QPoint(0, 0) : owner.topLeft(), size);
    const QRect anchor = owner.isEmpty() ? area : owner;
    // Twice the centre, so that odd sizes do not lose half a pixel twice.
    const int cx2 = 2 * anchor.x() + anchor.width();
    const int cy2 = 2 * anchor.y() + anchor.height();
    const int width = std::min(size.width(), area.width());
    const int height = std::min(size.height(), area.height());
    return QRect(placeSpan(width, cx2, area.x(), area.width()), placeSpan(height, cy2, area.y(), area.height()), width,
                 height);
}

QSize FittingMinimumSize(QSize designed, const QRect &area, const QMargins &frame)
{
    if (area.isEmpty())
        return designed;
    const QSize room = area.marginsRemoved(frame).size().expandedTo(QSize(1, 1));
    return designed.boundedTo(room);
}

QRect KeepWindowInside(const QRect &current, const QRect &owner, const QRect &area)
{
    if (area.isEmpty() || area.contains(current))
        return current;
    return PlaceWindow(current.size(), owner, area);
}
