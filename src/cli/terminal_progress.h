#pragma once
// The progress line of a long command on standard error: drawn only when standard
// error is a terminal, nothing otherwise.

#include "common/progress_line.h"

// Standard error, whether it is a terminal, and a monotonic clock.
ProgressLine::Output StderrProgressOutput();

// While it lives, every line the command writes (cliOut, cliError) first clears
// it, so that messages never run into the progress line.
class TerminalProgress : public ProgressLine {
public:
    TerminalProgress(const QString &label, const QString &unit = QString());
    ~TerminalProgress();
};

// Clears the progress line of the running command, if there is one.
void InterruptTerminalProgress();
