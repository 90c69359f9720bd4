#pragma once
// Windows whose controls stand at fixed positions hold at a larger font: once the
// window is built, every fixed position and size in it grows by the factor of
// its font against the desktop's ordinary font (app/font_scale.h). At the
// ordinary font nothing changes.

#include <QRect>

class QWidget;

// The factor of `window`'s font (after its style sheets) against the desktop's
// ordinary font; 1 for that font or a smaller one.
double WindowFontScale(QWidget *window);

// Multiplies by `factor` the geometry of every control of `root` that stands at
// a fixed position (one whose parent has no layout), and the minimum and maximum
// sizes of `root` and of its controls. The parts Qt's own widgets are made of
// (scroll bars, viewports) are left to those widgets. Remembers the factor for
// ScaledPixels(const QWidget *, int).
void ScaleFixedGeometry(QWidget *root, double factor);

// `pixels` of the design at the factor ScaleFixedGeometry used for `widget` or
// one of its parents (1 when none was scaled).
int ScaledPixels(const QWidget *widget, int pixels);
QRect ScaledRect(const QWidget *widget, const QRect &rect);
