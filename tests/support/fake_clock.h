#pragma once
// A clock that only moves when the program sleeps, for code that takes a clock
// and a sleep as functions. `duringSleep` runs after each sleep has moved the
// clock (for instance a receive tick that real time would have let run).

#include <QList>
#include <QtGlobal>
#include <functional>

struct FakeClock {
    qint64 now = 0;
    QList<int> sleeps;
    std::function<void()> duringSleep;
    std::function<qint64()> nowFn() { return [this] { return now; }; }
    std::function<void(int)> sleepFn()
    {
        return [this](int ms) {
            sleeps << ms;
            now += ms;
            if (duringSleep)
                duringSleep();
        };
    }
};
