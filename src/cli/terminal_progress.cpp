#include "cli/terminal_progress.h"

#include <QElapsedTimer>
#include <cstdio>
#include <memory>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {
bool stderrIsTerminal()
{
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}
} // namespace

namespace {
TerminalProgress *g_active = nullptr;
} // namespace

TerminalProgress::TerminalProgress(const QString &label, const QString &unit)
    : ProgressLine(label, unit, StderrProgressOutput())
{
    g_active = this;
}

TerminalProgress::~TerminalProgress()
{
    if (g_active == this)
        g_active = nullptr;
}

void InterruptTerminalProgress()
{
    if (g_active)
        g_active->interrupt();
}

ProgressLine::Output StderrProgressOutput()
{
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    ProgressLine::Output out;
    out.isTerminal = stderrIsTerminal();
    out.write = [](const QByteArray &bytes) {
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
        std::fflush(stderr);
    };
    out.nowMs = [clock] { return clock->elapsed(); };
    return out;
}
