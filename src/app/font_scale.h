#pragma once
// How much the windows with fixed control positions grow for a larger font,
// without widgets. Their positions and sizes are designed for the desktop's
// ordinary font; a user who picks a larger one (a style sheet, the desktop's
// settings) gets every position and size multiplied by one factor, so that the
// captions keep fitting their controls and nothing overlaps.

#include <QRect>
#include <QSize>

// The factor for a font whose sample text is `actualWidth` wide and whose lines
// are `actualHeight` high, against `designWidth` and `designHeight` of the design
// font: the larger of the two ratios, never below 1 (a smaller font keeps the
// design), rounded up to the next twentieth so that the small differences of
// hinting between font sizes do not cut a caption that fits at the design font.
// Unknown design metrics (zero or less) give 1.
double FontScaleFactor(double designWidth, double designHeight, double actualWidth, double actualHeight);

// `pixels` of the design at `factor`, rounded to the nearest pixel.
int ScaledPixels(int pixels, double factor);
// A size of the design at `factor`; a "no limit" component (QWIDGETSIZE_MAX, as
// a maximum size has by default) stays without limit.
QSize ScaledSize(QSize size, double factor);
// A rectangle of the design at `factor`: its edges are scaled, so that controls
// that touched at the design still touch and none overlaps its neighbour.
QRect ScaledRect(const QRect &rect, double factor);
