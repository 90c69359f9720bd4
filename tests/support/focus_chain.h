#pragma once
// The controls Tab visits: a window's focus chain walked from one control to
// another, keeping the shown, enabled controls that take focus by Tab.

#include <QList>
#include <QStringList>
#include <QWidget>

// The controls Tab visits from `from` until `to`, both included; when `to` is
// never reached the list ends with a null entry.
inline QList<QWidget *> TabStopWidgets(QWidget *from, QWidget *to)
{
    QList<QWidget *> stops;
    QWidget *w = from;
    for (int guard = 0; w && guard < 500; ++guard) {
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
            stops << w;
        if (w == to)
            return stops;
        w = w->nextInFocusChain();
    }
    stops << nullptr;
    return stops;
}

// The same by object name; "(never reached NAME)" ends a chain that misses `to`.
inline QStringList TabStops(QWidget *from, QWidget *to)
{
    QStringList names;
    for (const QWidget *w : TabStopWidgets(from, to))
        names << (w ? w->objectName() : QStringLiteral("(never reached %1)").arg(to->objectName()));
    return names;
}
