#include "app/font_scale.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int kNoLimit = (1 << 24) - 1; // QWIDGETSIZE_MAX, without the widgets module
} // namespace

double FontScaleFactor(double designWidth, double designHeight, double actualWidth, double actualHeight)
{
    if (designWidth <= 0 || designHeight <= 0)
        return 1.0;
    const double ratio = std::max(actualWidth / designWidth, actualHeight / designHeight);
    if (!(ratio > 1.0)) // also a NaN
        return 1.0;
    // A tiny excess from floating point is no reason to grow a twentieth.
    return std::ceil(ratio * 20.0 - 1e-6) / 20.0;
}

int ScaledPixels(int pixels, double factor)
{
    if (pixels >= kNoLimit)
        return pixels;
    return std::min(kNoLimit, int(std::lround(pixels * factor)));
}

QSize ScaledSize(QSize size, double factor)
{
    return {ScaledPixels(size.width(), factor), ScaledPixels(size.height(), factor)};
}

QRect ScaledRect(const QRect &rect, double factor)
{
    const int left = ScaledPixels(rect.x(), factor);
    const int top = ScaledPixels(rect.y(), factor);
    const int right = ScaledPixels(rect.x() + rect.width(), factor);
    const int bottom = ScaledPixels(rect.y() + rect.height(), factor);
    return QRect(left, top, right - left, bottom - top);
}
