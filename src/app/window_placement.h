#pragma once
// Where a secondary window goes, without widgets: centred on the window that owns
// it and kept inside the screen's available area (the screen less its panels), so
// that no button or status line of it lies off the screen. All rectangles are the
// windows' outer frames, title bar included.

#include <QMargins>
#include <QRect>
#include <QSize>

// A window of outer size `size` centred on `owner` (on `area` when `owner` is
// empty), then moved so that it lies inside `area`. A window wider or taller than
// `area` is cut to the area's width or height and starts at its left or top edge,
// so that its title bar and its first controls stay reachable.
QRect PlaceWindow(QSize size, const QRect &owner, const QRect &area);

// The smallest size a window designed for `designed` may take on a screen whose
// available area is `area` with a window frame of `frame` around it: the design
// where the screen has room, else the room there is (the window's content then
// scrolls).
QSize FittingMinimumSize(QSize designed, const QRect &area, const QMargins &frame);

// A window at `current` that changed its size: it stays where it is while it lies
// inside `area`; one that would reach beyond it is placed again (PlaceWindow).
QRect KeepWindowInside(const QRect &current, const QRect &owner, const QRect &area);
