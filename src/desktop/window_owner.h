#pragma once
// Secondary windows belong to the window that opens them: the window manager keeps
// such a window above its owner (a click on the owner does not hide it), it opens
// centred on its owner, and a window that grows stays inside the screen's
// available area. The placement rule itself is app/window_placement.h.

#include <QSize>

class QDialog;
class QWidget;

// Makes `owner`'s window the one `window` belongs to, without making `window` a
// child of it: disabling the owner (as the driver selection does with the main
// window) leaves `window` usable. From now on every time `window` is shown it is
// tied to its owner and placed on it (PlaceOnOwner). Replaces an earlier owner;
// a null owner leaves `window` on its own, centred on its screen.
void SetWindowOwner(QWidget *window, QWidget *owner);

// Like SetWindowOwner, but `window` is only placed on its owner: it is not kept
// above it, so the owner can come to the front (a window the operator works
// beside, such as the radio link window).
void SetWindowPlacementOwner(QWidget *window, QWidget *owner);

// The window `window` belongs to: the one given to SetWindowOwner, else the
// window of its parent widget; null for a window on its own.
QWidget *WindowOwner(const QWidget *window);

// Moves `window` so that it is centred on its owner (on its screen when it has
// none) and lies inside the screen's available area; a resizable window larger
// than the area is made to fit it.
void PlaceOnOwner(QWidget *window);

// For a shown window that changed its size: it stays where it is while it lies
// inside the available area, else it is placed on its owner again.
void KeepOnScreen(QWidget *window);

// `wanted` (a window's client size) bounded by the room on the screen the window
// is on, less its frame (an allowance for title bar and borders before the window
// manager has told it).
QSize SizeOnScreen(const QWidget *window, QSize wanted);

// Runs `dialog` modally, owned by `opener` while it is open (the window that
// opened it stays visible under it, not hidden behind another window).
int ExecOver(QDialog *dialog, QWidget *opener);
