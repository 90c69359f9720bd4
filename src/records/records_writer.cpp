#include "records/records_writer.h"

#include "records/records_database.h"
#include "records/records_outbox.h"
#include "records/records_store_registry.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <algorithm>

namespace {
constexpr int kFirstBackoffMs = 1000;
constexpr int kLongestBackoffMs = 30000;
// The outbox is rewritten after this many records at the latest, so that a long
// drain does not move thousands of records in before it shrinks.
constexpr int kRecordsPerRewrite = 50;
} // namespace

int RecordsWriterBackoffMs(int failures)
{
    int ms = kFirstBackoffMs;
    for (int i = 1; i < failures && ms < kLongestBackoffMs; ++i)
        ms *= 2;
    return std::min(ms, kLongestBackoffMs);
}

RecordsWriter::RecordsWriter(std::unique_ptr<RecordsStore> store, const QString &outboxPath,
                             std::shared_ptr<WriterClock> clock, QObject *parent)
    : QObject(parent), store_(std::move(store)), outbox_(outboxPath), clock_(std::move(clock)),
      server_(IsSharedRecordsLocation(store_->location()))
{
    qRegisterMetaType<RecordsStoreState>();
}

RecordsWriter::~RecordsWriter() = default;

void RecordsWriter::interrupt()
{
    interrupted_ = true;
    store_->interrupt();
}

void RecordsWriter::start()
{
    // The SQLite files get their tables and indexes here, before the first record
    // needs them; the server its schema, and the state is known at once (a
    // server away, tables locked) before any record waits for it.
    QString error;
    // A connection being made runs an event loop: what arrives meanwhile waits
    // for the end of this, as during any attempt.
    attempting_ = true;
    const bool prepared = store_->prepare(&error);
    attempting_ = false;
    if (prepared) {
        if (server_)
            setState(RecordsStoreState{RecordsStoreState::Kind::Reachable, clock_->now(), QString(), server_});
        attempt();
        return;
    }
    StoreResult failure = StoreResult::failed(StoreResult::Status::Failed, error);
    if (error.contains(QLatin1String("lock timeout")) || error.contains(QLatin1String("statement timeout"))
        || error.contains(QLatin1String("database is locked"))) {
        failure.status = StoreResult::Status::RetryLater;
        failure.locked = true;
    } else if (server_ && error.contains(QLatin1String("cannot be reached"))) {
        failure.status = StoreResult::Status::RetryLater;
    }
    setState(RecordsStoreState::afterFailure(state_, failure, server_, clock_->now()));
    if (server_) {
        // As a failed attempt: the next one after the wait.
        recount();
        waitAfterFailure();
        answerReports();
    } else {
        // The files may still take records (the indexes come with the first one).
        attempt();
    }
}

void RecordsWriter::waitAfterFailure()
{
    ++failures_;
    backingOff_ = true;
    retryInMs_ = RecordsWriterBackoffMs(failures_);
    const int generation = ++timerGeneration_;
    clock_->callAfter(retryInMs_, this, [this, generation] {
        if (generation != timerGeneration_)
            return;
        backingOff_ = false;
        attempt();
    });
}

void RecordsWriter::wake()
{
    if (backingOff_) {
        recount();
        answerReports();
        return;
    }
    attempt();
}

void RecordsWriter::retryNow()
{
    backingOff_ = false;
    ++timerGeneration_; // the timer of the wait is void
    attempt();
}

void RecordsWriter::report(int ticket)
{
    tickets_ << ticket;
    if (attempting_)
        return; // answered when the attempt ends
    if (!backingOff_)
        attempt();
    else {
        recount();
        answerReports();
    }
}

void RecordsWriter::answerReports()
{
    if (attempting_)
        return;
    const QList<int> tickets = std::exchange(tickets_, {});
    for (int t : tickets)
        emit reported(t, pending_, backingOff_, retryInMs_);
}

void RecordsWriter::recount()
{
    QList<PendingRecord> records;
    int n = 0;
    if (outbox_.read(&records, nullptr))
        n = int(std::count_if(records.cbegin(), records.cend(),
                              [this](const PendingRecord &r) { return !taken_.contains(r.id); }));
    if (n != pending_) {
        pending_ = n;
        emit pendingChanged(n);
    }
}

void RecordsWriter::setState(const RecordsStoreState &state)
{
    if (state == state_)
        return;
    state_ = state;
    emit storeStateChanged(state_);
}

void RecordsWriter::attempt()
{
    if (attempting_) {
        // A wake from the event loop of a connection being made: once more after this one.
        again_ = true;
        return;
    }
    attempting_ = true;
    bool failed = false;
    do {
        again_ = false;
        if (interrupted_)
            break;
        QList<PendingRecord> records;
        QString error;
        if (!outbox_.read(&records, &error)) {
            StoreResult failure = StoreResult::failed(
                StoreResult::Status::Failed, QStringLiteral("%1 cannot be read: %2").arg(outbox_.path(), error));
            setState(RecordsStoreState::afterFailure(state_, failure, server_, clock_->now()));
            failed = true;
            break;
        }
        QSet<QString> done;
        int sinceRewrite = 0;
        for (const PendingRecord &record : records) {
            if (taken_.contains(record.id))
                continue;
            if (interrupted_)
                break;
            const StoreResult result = store_->insert(record, true, BusyBudget(DatabaseBusyTimeout()));
            if (!result.ok()) {
                if (!interrupted_)
                    setState(RecordsStoreState::afterFailure(state_, result, server_, clock_->now()));
                failed = true;
                break;
            }
            taken_.insert(record.id);
            done.insert(record.id);
            if (state_.kind != RecordsStoreState::Kind::Reachable)
                setState(RecordsStoreState{RecordsStoreState::Kind::Reachable, clock_->now(), QString(), server_});
            failures_ = 0;
            emit recordWritten(record.id);
            if (result.repeat)
                emit repeatFound(record.values.value(3));
            if (++sinceRewrite >= kRecordsPerRewrite) {
                if (outbox_.remove(taken_, nullptr))
                    taken_.clear();
                sinceRewrite = 0;
                recount();
            }
        }
        // The records moved in leave the outbox; should the rewrite fail, they
        // stay there and are skipped (and recognised by their ids after a restart).
        if (!taken_.isEmpty() && outbox_.remove(taken_, nullptr))
            taken_.clear();
        if (records.isEmpty() && !failed && state_.kind == RecordsStoreState::Kind::Unknown && !server_)
            setState(RecordsStoreState{RecordsStoreState::Kind::Reachable, clock_->now(), QString(), server_});
        recount();
    } while (again_ && !failed && !interrupted_);
    attempting_ = false;
    if (failed && !interrupted_) {
        waitAfterFailure();
    } else {
        backingOff_ = false;
        retryInMs_ = 0;
    }
    answerReports();
}

// ---- The thread ------------------------------------------------------------------------

RecordsWriterThread::RecordsWriterThread(std::unique_ptr<RecordsStore> store, const QString &outboxPath,
                                         std::shared_ptr<WriterClock> clock, QObject *parent)
    : QObject(parent), writer_(new RecordsWriter(std::move(store), outboxPath, std::move(clock)))
{
    thread_.setObjectName(QStringLiteral("records writer"));
    writer_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, writer_, &QObject::deleteLater);
    connect(writer_, &RecordsWriter::recordWritten, this, &RecordsWriterThread::recordWritten);
    connect(writer_, &RecordsWriter::repeatFound, this, &RecordsWriterThread::repeatFound);
    connect(writer_, &RecordsWriter::pendingChanged, this, [this](int n) {
        pending_ = n;
        emit pendingChanged(n);
    });
    connect(writer_, &RecordsWriter::storeStateChanged, this, [this](const RecordsStoreState &s) {
        state_ = s;
        emit storeStateChanged(s);
    });
    // An answer that comes after its drain gave up is only noted.
    connect(writer_, &RecordsWriter::reported, this, [this](int ticket, int pending, bool, int) {
        answeredTicket_ = ticket;
        answeredPending_ = pending;
    });
    connect(&outboxNotifier(), &OutboxNotifier::appended, this, &RecordsWriterThread::wake);
}

RecordsWriterThread::~RecordsWriterThread()
{
    if (!started_)
        delete writer_; // never moved anything; no thread to delete it
    stop();
}

void RecordsWriterThread::start()
{
    started_ = true;
    thread_.start();
    QMetaObject::invokeMethod(writer_, &RecordsWriter::start, Qt::QueuedConnection);
}

void RecordsWriterThread::wake()
{
    if (thread_.isRunning())
        QMetaObject::invokeMethod(writer_, &RecordsWriter::wake, Qt::QueuedConnection);
}

void RecordsWriterThread::retryNow()
{
    if (thread_.isRunning())
        QMetaObject::invokeMethod(writer_, &RecordsWriter::retryNow, Qt::QueuedConnection);
}

bool RecordsWriterThread::drain(int timeoutMs)
{
    if (!thread_.isRunning())
        return false;
    const int ticket = ++ticket_;
    QMetaObject::invokeMethod(writer_, [w = writer_, ticket] { w->report(ticket); }, Qt::QueuedConnection);
    QDeadlineTimer deadline(timeoutMs);
    while (answeredTicket_ != ticket && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (answeredTicket_ != ticket)
            QThread::msleep(2);
    }
    QCoreApplication::processEvents(); // the counts sent before the answer
    return answeredTicket_ == ticket && answeredPending_ == 0;
}

void RecordsWriterThread::stop()
{
    if (!thread_.isRunning())
        return;
    writer_->interrupt();
    thread_.quit();
    thread_.wait();
}
