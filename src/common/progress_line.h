#pragma once
// One line that shows how far long work has come, redrawn in place ("\r") on a
// terminal: "records export: 42% (420 of 1000 records)". When the output is not
// a terminal (a pipe, a file, a log) nothing at all is written, so that scripts
// reading the output see only what the command says itself.

#include <QByteArray>
#include <QString>
#include <functional>

class ProgressLine {
public:
    struct Output {
        std::function<void(const QByteArray &)> write; // writes and flushes
        bool isTerminal = false;
        std::function<qint64()> nowMs; // a monotonic clock in milliseconds
    };
    // The line is redrawn at most this often, however often update() is called.
    static constexpr qint64 kRedrawIntervalMs = 100;

    // `unit` names what is counted ("records"); empty for a bare percentage.
    ProgressLine(const QString &label, const QString &unit, Output output);
    ~ProgressLine();
    ProgressLine(const ProgressLine &) = delete;
    ProgressLine &operator=(const ProgressLine &) = delete;

    // `done` of `total`; a total of 0 or less is not known: the count alone is shown.
    void update(qint64 done, qint64 total);
    // Before other output to the same terminal: clears the line so that the
    // output starts at the line's beginning; the next update draws it again.
    void interrupt();
    // Ends the line with its last state (a newline), so that what follows starts
    // on a line of its own. Called by the destructor when not called before.
    void finish();

    // The text update() draws for these figures (without "\r").
    QString text(qint64 done, qint64 total) const;

private:
    void draw(const QString &line);

    QString label_;
    QString unit_;
    Output out_;
    QString last_;      // the text on the terminal, empty when none is
    qint64 lastDrawMs_ = 0;
    bool finished_ = false;
};
