#pragma once
// Runs the event loop until `done` holds or `timeoutMs` has passed.
//
// Tests wait for a condition, never for a fixed time; kWaitLimitMs is the limit for
// something that is due to happen. It is generous so that a busy machine does not
// fail a test: the wait ends as soon as the condition holds.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <functional>

constexpr int kWaitLimitMs = 30000;

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
