#pragma once
// Plays a firmware script to the programmer's bootloader, record by record, writing
// every step to a log. Used by the firmware updater window and the command line.

#include <QByteArray>
#include <QString>
#include <functional>

class TComClass;

class FirmwareScriptPlayer {
public:
    struct Hooks {
        // One log line; the window appends it and processes pending events.
        std::function<void(const QString &)> log;
        // Position in the script, 0 ... 100.
        std::function<void(int)> progress;
        // A monotonic clock in milliseconds (fractions count) and a sleep; the
        // defaults are real, the clock with sub-millisecond resolution.
        std::function<double()> nowMs;
        std::function<void(int)> sleepMs;
    };

    enum class Outcome {
        Finished,      // reached the end record or the end of the script
        Stopped,       // a record stopped the run with an error
    };

    explicit FirmwareScriptPlayer(Hooks hooks);

    // Logs the size, interprets the records from position 0 and returns how the
    // run ended. Does not open or close the port.
    Outcome play(const QByteArray &script, TComClass &port);

    // The wait of a delay record: at least w milliseconds from its own start, with
    // a countdown in the log.
    void waitWithCountdown(int w);

    // The milliseconds a delay record waits beyond its value.
    static constexpr int kDelayExtraMs = 25;
    // The longest single sleep of a countdown.
    static constexpr int kCountdownSliceMs = 500;

private:
    void log(const QString &line);
    void truncated(char marker, qint64 position);

    Hooks hooks_;
};
