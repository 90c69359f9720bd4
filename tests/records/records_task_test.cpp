// One store task on a thread of its own: the owner's thread keeps turning while
// the store waits, the answer comes back in the owner's thread, one task runs at
// a time, and an owner that goes away ends the wait and gets no answer.
#include "wait_for.h"

#include "records/records_task.h"

#include <QMutex>
#include <QThread>
#include <QTimer>
#include <QWaitCondition>
#include <gtest/gtest.h>
#include <atomic>
#include <memory>

namespace {

// What the test sees of a store that waits in its query until it is let go.
struct Gate {
    QMutex lock;
    QWaitCondition changed;
    bool open = false;
    bool interrupted = false;
    std::atomic<bool> waiting{false};
    std::atomic<QThread *> queriedIn{nullptr};
    std::atomic<QThread *> destroyedIn{nullptr};

    void letGo()
    {
        const QMutexLocker locked(&lock);
        open = true;
        changed.wakeAll();
    }
};

class GateStore : public RecordsStore {
public:
    explicit GateStore(std::shared_ptr<Gate> gate) : gate_(std::move(gate)) {}
    ~GateStore() override { gate_->destroyedIn = QThread::currentThread(); }

    QString location() const override { return QStringLiteral("gate"); }
    bool prepare(QString *) override { return true; }
    StoreResult lookUpSettings(const QString &, const QString &, const BusyBudget &, QStringList *) override
    {
        return {};
    }
    StoreResult insert(const PendingRecord &, bool, const BusyBudget &) override { return {}; }
    bool query(RecordQuery, int, const QString &, SQLiteAnswerClass &, QString *error) override
    {
        gate_->queriedIn = QThread::currentThread();
        QMutexLocker locked(&gate_->lock);
        gate_->waiting = true;
        while (!gate_->open && !gate_->interrupted)
            gate_->changed.wait(&gate_->lock);
        if (gate_->interrupted)
            *error = QStringLiteral("interrupted");
        return !gate_->interrupted;
    }
    bool readReport(const ReportSelection &, QList<ReportTransfer> *, const ReportSink &, QString *) override
    {
        return false;
    }
    bool newestVerification(const QString &, SQLiteAnswerClass &, QString *) override { return false; }
    bool exportDriversCsv(const QString &, const QString &, QString *, const ExportProgress &) override
    {
        return false;
    }
    void interrupt() override
    {
        const QMutexLocker locked(&gate_->lock);
        gate_->interrupted = true;
        gate_->changed.wakeAll();
    }
    std::unique_ptr<RecordsStore> clone() const override { return std::make_unique<GateStore>(gate_); }

private:
    std::shared_ptr<Gate> gate_;
};

// A query through `store`, its answer kept in `read`.
std::function<void(RecordsStore &)> queryInto(std::shared_ptr<std::atomic<int>> read)
{
    return [read](RecordsStore &store) {
        SQLiteAnswerClass answer;
        QString error;
        if (store.query(RecordQuery::DriversReport, 10, QString(), answer, &error))
            ++*read;
    };
}

TEST(RecordsTask, WorksOnAThreadOfItsOwnAndAnswersInTheOwnersThreadOneTaskAtATime)
{
    auto gate = std::make_shared<Gate>();
    auto read = std::make_shared<std::atomic<int>>(0);
    RecordsTask task;
    int done = 0, finished = 0;
    QThread *doneIn = nullptr;
    QObject::connect(&task, &RecordsTask::finished, [&] { ++finished; });
    ASSERT_TRUE(task.start(std::make_unique<GateStore>(gate), queryInto(read), [&] {
        ++done;
        doneIn = QThread::currentThread();
        EXPECT_FALSE(task.running()) << "a task may start the next from its answer";
    }));
    EXPECT_TRUE(task.running());
    ASSERT_TRUE(waitFor([&] { return gate->waiting.load(); }, kWaitLimitMs));

    // The owner's thread turns while the store waits.
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(5);
    ASSERT_TRUE(waitFor([&] { return ticks >= 3; }, kWaitLimitMs));
    EXPECT_TRUE(task.running());
    EXPECT_EQ(done, 0);

    // A second task while the first runs: refused, its work never runs.
    auto second = std::make_shared<Gate>();
    second->open = true;
    EXPECT_FALSE(task.start(std::make_unique<GateStore>(second), queryInto(read), [&] { ++done; }));

    gate->letGo();
    ASSERT_TRUE(waitFor([&] { return done > 0; }, kWaitLimitMs));
    QCoreApplication::processEvents();
    EXPECT_EQ(done, 1);
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(read->load(), 1);
    EXPECT_EQ(doneIn, QThread::currentThread());
    EXPECT_NE(gate->queriedIn.load(), QThread::currentThread());
    EXPECT_EQ(gate->destroyedIn.load(), gate->queriedIn.load()) << "the store is closed in the thread that used it";
    EXPECT_EQ(second->queriedIn.load(), nullptr);

    // Ended: the next task starts.
    ASSERT_TRUE(task.start(std::make_unique<GateStore>(second), queryInto(read), [&] { ++done; }));
    ASSERT_TRUE(waitFor([&] { return done == 2; }, kWaitLimitMs));
    EXPECT_EQ(read->load(), 2);
}

TEST(RecordsTask, AnOwnerThatGoesAwayEndsTheWaitAndGetsNoAnswer)
{
    auto gate = std::make_shared<Gate>();
    auto read = std::make_shared<std::atomic<int>>(0);
    bool answered = false;
    {
        RecordsTask task;
        ASSERT_TRUE(task.start(std::make_unique<GateStore>(gate), queryInto(read), [&] { answered = true; }));
        ASSERT_TRUE(waitFor([&] { return gate->waiting.load(); }, kWaitLimitMs));
    } // the store is never let go: only the interrupt ends its wait
    QCoreApplication::processEvents();
    EXPECT_TRUE(gate->interrupted);
    EXPECT_FALSE(answered);
    EXPECT_EQ(read->load(), 0);
    EXPECT_NE(gate->destroyedIn.load(), nullptr) << "the task's store is gone with it";
}

TEST(RecordsTask, AnAnswerMayCloseItsOwner)
{
    // As a program closed while the answer's message box is shown.
    auto gate = std::make_shared<Gate>();
    gate->open = true;
    auto read = std::make_shared<std::atomic<int>>(0);
    auto *task = new RecordsTask;
    bool answered = false;
    ASSERT_TRUE(task->start(std::make_unique<GateStore>(gate), queryInto(read), [&] {
        answered = true;
        delete task;
    }));
    ASSERT_TRUE(waitFor([&] { return answered; }, kWaitLimitMs));
    EXPECT_EQ(read->load(), 1);
}

} // namespace
