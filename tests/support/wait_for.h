#pragma once
// Runs the event loop until `done` holds or `timeoutMs` has passed.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <functional>

inline bool waitFor(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(1);
    }
    return true;
}
