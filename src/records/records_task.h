#pragma once
// One piece of records work (a report read, a batch report written, a new
// location prepared) on a thread of its own, with a store object of its own, so
// that the window that asked for it keeps answering however long a busy file or
// a hung server makes it wait. The answer comes back in the owner's thread.

#include "records/records_store.h"

#include <QObject>
#include <functional>
#include <memory>

class QThread;

class RecordsTask : public QObject {
    Q_OBJECT
public:
    explicit RecordsTask(QObject *parent = nullptr);
    // Ends the work under way as soon as the store allows and waits for its
    // thread; its answer is dropped (the owner is going away).
    ~RecordsTask() override;

    // Runs `work` with `store` on a new thread, then `done` in this object's
    // thread. False (and nothing started) while earlier work still runs: one task
    // at a time. `work` runs on the other thread: it must only touch what it was
    // given and what it owns.
    bool start(std::unique_ptr<RecordsStore> store, std::function<void(RecordsStore &)> work,
               std::function<void()> done);
    bool running() const { return thread_ != nullptr; }

signals:
    // After `done` of the task that ended.
    void finished();

private:
    void ended();

    struct Running;
    QThread *thread_ = nullptr;
    // Shared with the thread: the owner reaches the store to interrupt it while
    // the work waits; the thread drops the store when the work ends.
    std::shared_ptr<Running> running_;
    std::function<void()> done_;
};
