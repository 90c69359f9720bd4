#include "records/records_task.h"

#include <QMutex>
#include <QMutexLocker>
#include <QPointer>
#include <QThread>

struct RecordsTask::Running {
    QMutex lock;
    std::unique_ptr<RecordsStore> store; // null once the work ended
};

RecordsTask::RecordsTask(QObject *parent) : QObject(parent) {}

RecordsTask::~RecordsTask()
{
    if (!thread_)
        return;
    // A connection being made or a statement waiting ends now; a busy SQLite
    // file ends within its own short budget.
    {
        const QMutexLocker locked(&running_->lock);
        if (running_->store)
            running_->store->interrupt();
    }
    thread_->wait();
    delete thread_;
}

bool RecordsTask::start(std::unique_ptr<RecordsStore> store, std::function<void(RecordsStore &)> work,
                        std::function<void()> done)
{
    if (thread_ || !store)
        return false;
    running_ = std::make_shared<Running>();
    RecordsStore *used = store.get();
    running_->store = std::move(store);
    done_ = std::move(done);
    // The store object is closed in the thread that used it (a connection made
    // there is ended there), before the answer is given.
    thread_ = QThread::create([running = running_, used, work = std::move(work)]() mutable {
        work(*used);
        // What the work was given (a report's file writer) goes with it, here.
        work = nullptr;
        std::unique_ptr<RecordsStore> closing;
        {
            const QMutexLocker locked(&running->lock);
            closing = std::move(running->store);
        }
    });
    thread_->setObjectName(QStringLiteral("records task"));
    // finished is sent from the ending thread; the connection queues it here.
    connect(thread_, &QThread::finished, this, &RecordsTask::ended, Qt::QueuedConnection);
    thread_->start();
    return true;
}

void RecordsTask::ended()
{
    if (!thread_)
        return;
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
    running_.reset();
    const std::function<void()> done = std::exchange(done_, {});
    // The answer may show a message box, during whose event loop the owner (and
    // this task with it) can be closed.
    const QPointer<RecordsTask> alive(this);
    if (done)
        done();
    if (alive)
        emit finished();
}
