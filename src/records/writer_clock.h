#pragma once
// The records writer's time: the wall clock for "unreachable since 14:02" and a
// timer for the next attempt after a failure. Tests give a clock of their own
// and fire the timers themselves.

#include <QDateTime>
#include <functional>
#include <memory>

class QObject;

class WriterClock {
public:
    virtual ~WriterClock() = default;
    virtual QDateTime now() const = 0;
    // Calls `due` in `context`'s thread after `ms` milliseconds (not at all when
    // `context` is gone by then).
    virtual void callAfter(int ms, QObject *context, std::function<void()> due) = 0;
};

// The system's clock and Qt's timers.
std::shared_ptr<WriterClock> SystemWriterClock();
