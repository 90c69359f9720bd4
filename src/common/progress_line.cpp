#include "common/progress_line.h"

namespace {
// Carriage return, then the text, then "erase to the end of the line" so that a
// shorter text leaves nothing of a longer one behind.
const QByteArray kEraseToEnd = QByteArrayLiteral("\x1b[K");
} // namespace

ProgressLine::ProgressLine(const QString &label, const QString &unit, Output output)
    : label_(label), unit_(unit), out_(std::move(output))
{
}

ProgressLine::~ProgressLine() { finish(); }

QString ProgressLine::text(qint64 done, qint64 total) const
{
    const QString unit = unit_.isEmpty() ? QString() : QLatin1Char(' ') + unit_;
    if (total <= 0)
        return QStringLiteral("%1: %2%3").arg(label_).arg(done).arg(unit);
    const qint64 shown = qBound<qint64>(0, done, total);
    const qint64 percent = shown * 100 / total;
    if (unit_.isEmpty())
        return QStringLiteral("%1: %2%").arg(label_).arg(percent);
    return QStringLiteral("%1: %2% (%3 of %4%5)").arg(label_).arg(percent).arg(shown).arg(total).arg(unit);
}

void ProgressLine::update(qint64 done, qint64 total)
{
    if (!out_.isTerminal || finished_)
        return;
    const QString line = text(done, total);
    if (line == last_)
        return;
    const qint64 now = out_.nowMs ? out_.nowMs() : 0;
    // The first state, the last one and a state after a pause are drawn; the
    // states between are skipped so that a fast loop does not flood the terminal.
    const bool complete = total > 0 && done >= total;
    if (!last_.isEmpty() && !complete && now - lastDrawMs_ < kRedrawIntervalMs)
        return;
    lastDrawMs_ = now;
    draw(line);
}

void ProgressLine::interrupt()
{
    if (last_.isEmpty())
        return;
    out_.write(QByteArrayLiteral("\r") + kEraseToEnd);
    last_.clear();
}

void ProgressLine::finish()
{
    if (finished_)
        return;
    finished_ = true;
    if (!last_.isEmpty())
        out_.write(QByteArrayLiteral("\n"));
    last_.clear();
}

void ProgressLine::draw(const QString &line)
{
    out_.write(QByteArrayLiteral("\r") + line.toUtf8() + kEraseToEnd);
    last_ = line;
}
