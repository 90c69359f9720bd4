#include "desktop/window_owner.h"

#include "app/window_placement.h"

#include <QDialog>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {

// Kept as a child of the owned window: remembers the owner and ties the window
// to it whenever the window is about to appear.
class WindowOwnerLink : public QObject {
public:
    WindowOwnerLink(QWidget *window, QWidget *owner) : QObject(window), owner(owner)
    {
        setObjectName(QStringLiteral("WindowOwnerLink"));
        window->installEventFilter(this);
    }
    QPointer<QWidget> owner;
    // False: placed on the owner only, never tied to it.
    bool tie = true;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The show event a program's show() sends comes before the window is
        // mapped, so the window manager sees the owner and the position at once.
        if (event->type() == QEvent::Show && !event->spontaneous() && watched == parent()) {
            auto *window = static_cast<QWidget *>(watched);
            tieToOwner(window, tie && owner ? owner->window() : nullptr);
            PlaceOnOwner(window);
        }
        return false;
    }

public:
    static void tieToOwner(QWidget *window, QWidget *owner)
    {
        QWindow *handle = window->windowHandle();
        if (!handle) {
            window->winId();
            handle = window->windowHandle();
        }
        QWindow *ownerHandle = nullptr;
        if (owner) {
            if (!owner->windowHandle())
                owner->winId();
            ownerHandle = owner->windowHandle();
        }
        if (handle && handle->transientParent() != ownerHandle)
            handle->setTransientParent(ownerHandle);
    }
};

WindowOwnerLink *ownerLink(const QWidget *window)
{
    return window->findChild<WindowOwnerLink *>(QStringLiteral("WindowOwnerLink"), Qt::FindDirectChildrenOnly);
}

// The frame around the client area: the window's own when the window manager
// has told it, else the owner's (a window not yet shown has no frame yet).
QMargins frameMargins(const QWidget *window, const QWidget *owner)
{
    const auto margins = [](const QWidget *w) {
        const QRect f = w->frameGeometry();
        const QRect g = w->geometry();
        return QMargins(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom());
    };
    const QMargins own = margins(window);
    if (!own.isNull() || !owner || !owner->isVisible())
        return own;
    return margins(owner);
}

QRect availableArea(const QWidget *window, const QWidget *owner)
{
    const QScreen *screen = owner && owner->isVisible() ? owner->screen() : window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

QRect ownerFrame(const QWidget *owner)
{
    return owner && owner->isVisible() && !owner->isMinimized() ? owner->frameGeometry() : QRect();
}

void moveTo(QWidget *window, const QRect &frame, const QMargins &margins)
{
    const QSize client = frame.marginsRemoved(margins).size();
    const bool resizable = window->minimumSize() != window->maximumSize();
    if (resizable && (client.width() < window->width() || client.height() < window->height()))
        window->resize(client.expandedTo(window->minimumSize()).boundedTo(window->size()));
    window->move(frame.topLeft());
}

} // namespace

namespace {
void setOwner(QWidget *window, QWidget *owner, bool tie)
{
    WindowOwnerLink *link = ownerLink(window);
    if (link)
        link->owner = owner;
    else
        link = new WindowOwnerLink(window, owner);
    link->tie = tie;
    if (window->isVisible())
        WindowOwnerLink::tieToOwner(window, tie && owner ? owner->window() : nullptr);
}
} // namespace

void SetWindowOwner(QWidget *window, QWidget *owner) { setOwner(window, owner, true); }

void SetWindowPlacementOwner(QWidget *window, QWidget *owner) { setOwner(window, owner, false); }

QWidget *WindowOwner(const QWidget *window)
{
    if (const WindowOwnerLink *link = ownerLink(window))
        return link->owner ? link->owner->window() : nullptr;
    return window->parentWidget() ? window->parentWidget()->window() : nullptr;
}

void PlaceOnOwner(QWidget *window)
{
    const QWidget *owner = WindowOwner(window);
    const QMargins margins = frameMargins(window, owner);
    const QRect placed = PlaceWindow(window->size().grownBy(margins), ownerFrame(owner), availableArea(window, owner));
    moveTo(window, placed, margins);
}

void KeepOnScreen(QWidget *window)
{
    if (!window->isVisible())
        return;
    const QWidget *owner = WindowOwner(window);
    const QMargins margins = frameMargins(window, owner);
    const QRect current(window->frameGeometry().topLeft(), window->size().grownBy(margins));
    const QRect kept = KeepWindowInside(current, ownerFrame(owner), availableArea(window, owner));
    if (kept != current)
        moveTo(window, kept, margins);
}

QSize SizeOnScreen(const QWidget *window, QSize wanted)
{
    // A title bar and borders, until the window manager has told the real frame.
    const QMargins allowance(4, 32, 4, 4);
    const QMargins frame = frameMargins(window, nullptr);
    const QScreen *screen = window->screen();
    return FittingMinimumSize(wanted, screen ? screen->availableGeometry() : QRect(),
                              frame.isNull() ? allowance : frame);
}

int ExecOver(QDialog *dialog, QWidget *opener)
{
    SetWindowOwner(dialog, opener);
    return dialog->exec();
}
