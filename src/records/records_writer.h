#pragma once
// The records writer: moves the records of the outbox (the pending-records
// journal beside the record files) into the records store, oldest first, each
// exactly once, with a store object of its own. Nothing on the radio path waits
// for it: the radio path only appends to the outbox (records_outbox.h).
//
// It runs on a thread of its own (RecordsWriterThread) and talks by queued
// signals. After a failed record it waits before the next attempt, 1, 2, 4 ...
// up to 30 s; a record appended meanwhile waits with the others. The records'
// ids make a record moved in twice (a stop between the store's commit and the
// outbox's rewrite) count once: the SQLite files keep the ids they took, the
// server ignores an id it holds.

#include "records/pending_journal.h"
#include "records/records_store.h"
#include "records/store_state.h"
#include "records/writer_clock.h"

#include <QObject>
#include <QSet>
#include <QThread>
#include <atomic>
#include <memory>

// The wait before the next attempt after `failures` failed attempts in a row (1 or more).
int RecordsWriterBackoffMs(int failures);

class RecordsWriter : public QObject {
    Q_OBJECT
public:
    RecordsWriter(std::unique_ptr<RecordsStore> store, const QString &outboxPath,
                  std::shared_ptr<WriterClock> clock = SystemWriterClock(), QObject *parent = nullptr);
    ~RecordsWriter() override;

    // Any thread: the attempt under way ends as soon as the store allows, and no
    // other begins. For stopping the program.
    void interrupt();

    // The figures of the writer's own thread.
    int pending() const { return pending_; }
    const RecordsStoreState &state() const { return state_; }
    bool backingOff() const { return backingOff_; }

public slots:
    // Prepares the store (the indexes of a large file of an earlier version),
    // then moves in what an earlier run left.
    void start();
    // A record was appended: moved in now, unless the writer waits after a failure.
    void wake();
    // Tries now, whether or not it waits after a failure.
    void retryNow();
    // Answers with reported(ticket, ...) once the attempt under way (and one that
    // is due) has ended.
    void report(int ticket);

signals:
    void recordWritten(const QString &id);
    // A driver record went in marked as a repeat: the driver was recorded before.
    void repeatFound(const QString &serial);
    void pendingChanged(int pending);
    void storeStateChanged(const RecordsStoreState &state);
    // The answer to report(): the records left, and whether the writer waits
    // after a failure (then `retryInMs` until its next attempt).
    void reported(int ticket, int pending, bool backingOff, int retryInMs);

private:
    void attempt();
    // Counts a failed attempt and arms the timer of the next one.
    void waitAfterFailure();
    void recount();
    void setState(const RecordsStoreState &state);
    void answerReports();

    std::unique_ptr<RecordsStore> store_;
    PendingJournal outbox_;
    std::shared_ptr<WriterClock> clock_;
    bool server_ = false;
    std::atomic<bool> interrupted_{false};
    // Records moved in whose removal from the outbox failed: skipped, not written again.
    QSet<QString> taken_;
    int pending_ = -1;
    RecordsStoreState state_;
    int failures_ = 0;
    bool backingOff_ = false;
    int retryInMs_ = 0;
    int timerGeneration_ = 0;
    bool attempting_ = false;
    bool again_ = false;
    QList<int> tickets_;
};

// The writer on a thread of its own, owned by the program's main thread. Its
// signals arrive in the owner's thread; it wakes the writer whenever a record is
// appended to the outbox in this process.
class RecordsWriterThread : public QObject {
    Q_OBJECT
public:
    RecordsWriterThread(std::unique_ptr<RecordsStore> store, const QString &outboxPath,
                        std::shared_ptr<WriterClock> clock = SystemWriterClock(), QObject *parent = nullptr);
    // Stops the thread (stop()).
    ~RecordsWriterThread() override;

    void start();
    void wake();
    void retryNow();
    // The command line at its end: processes events until every record went in,
    // the writer waits after a failure, or `timeoutMs` passed. True when nothing
    // is left.
    bool drain(int timeoutMs);
    // Ends the attempt under way and the thread. The records not moved in stay in
    // the outbox for the next run.
    void stop();

    // As last told by the writer (pending: -1 before it told).
    int pending() const { return pending_; }
    const RecordsStoreState &state() const { return state_; }
    RecordsWriter *writer() const { return writer_; }

signals:
    void recordWritten(const QString &id);
    void repeatFound(const QString &serial);
    void pendingChanged(int pending);
    void storeStateChanged(const RecordsStoreState &state);

private:
    QThread thread_;
    RecordsWriter *writer_;
    int pending_ = -1; // not told yet
    RecordsStoreState state_;
    int ticket_ = 0;
    int answeredTicket_ = 0;
    int answeredPending_ = -1;
    bool started_ = false;
};
