#include "records/writer_clock.h"

#include <QTimer>

namespace {

class SystemClock : public WriterClock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    void callAfter(int ms, QObject *context, std::function<void()> due) override
    {
        QTimer::singleShot(ms, context, std::move(due));
    }
};

} // namespace

std::shared_ptr<WriterClock> SystemWriterClock() { return std::make_shared<SystemClock>(); }
