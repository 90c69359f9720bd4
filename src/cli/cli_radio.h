#pragma once
// Shared pieces of the commands that talk to the stick: the radio options, the
// radio log on standard error (-v), and opening the stick as the radio link window
// does (open the port, ask for the version, wait for the own ID).

#include "cli/cli_settings.h"
#include "radio/radio_link.h"
#include "records/records_writer.h"
#include "station/programmer_records.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

struct RadioCliOptions {
    QStringList ports;       // --port PATH (repeatable); the last one is used
    int timeoutMs = 10000;   // --timeout MS: how long to wait for answers
    int ackTimeoutMs = 10000; // --ack-timeout MS: the longest wait for the stick's acknowledgement
    bool verbose = false;    // -v: the radio log on standard error
    QString receiver;        // --receiver 0xXXXXXXXX
    int recordsWaitMs = 2000; // --records-wait SECONDS: the records writer's time at the end
    QStringList rest;        // everything else, in order
};

// Takes the radio options out of `args`. False with the reason in `error` on a usage error.
bool parseRadioOptions(const QStringList &args, RadioCliOptions &options, QString &error, bool allowReceiver);

// A radio link driven from the command line.
class CliRadioSession {
public:
    explicit CliRadioSession(const RadioCliOptions &options);
    RadioLink link;
    // Moves the records into the store, started with the session (records an
    // earlier run left go first).
    std::unique_ptr<RecordsWriterThread> writer;
    // Keeps the records of what the programmer reports in the outbox.
    ProgrammerRecords records{link};
    // Opens the port and waits for the stick's version response. Prints the reason
    // on standard error and returns false when the port cannot be opened or the
    // stick does not answer within the time-out.
    bool openStick(const QString &command);
    // Processes events (and so the receive tick) until `done` returns true or
    // `timeoutMs` passes; returns done().
    bool waitFor(const std::function<bool()> &done, int timeoutMs);
    // The exit status of a command whose radio work is done: gives the records
    // writer up to --records-wait to move the records in, stops it, then kExitOk
    // when none is left, else kExitRecordsPending with "N records are kept
    // pending: <reason>" on standard error (they stay in the outbox).
    int finishRecords();

    // A command that ends early still gives the writer its time and says what is left.
    ~CliRadioSession();

private:
    bool finished_ = false;
    RadioCliOptions options_;
    CliDialogs dialogs_;
};

// The text of the records left after a run: "N records are kept pending: <why>
// (in <outbox>; "tavel-nfc records flush" writes them)".
QString KeptPendingText(int pending, const RecordsStoreState &state, int waitedMs);
