#pragma once
// Shared pieces of the commands that talk to the stick: the radio options, the
// radio log on standard error (-v), and opening the stick as the radio link window
// does (open the port, ask for the version, wait for the own ID).

#include "cli/cli_settings.h"
#include "radio/radio_link.h"
#include "station/programmer_records.h"

#include <QString>
#include <QStringList>
#include <functional>

struct RadioCliOptions {
    QStringList ports;       // --port PATH (repeatable); the last one is used
    int timeoutMs = 10000;   // --timeout MS: how long to wait for answers
    int ackTimeoutMs = 10000; // --ack-timeout MS: the longest wait for the stick's acknowledgement
    bool verbose = false;    // -v: the radio log on standard error
    QString receiver;        // --receiver 0xXXXXXXXX
    QStringList rest;        // everything else, in order
};

// Takes the radio options out of `args`. False with the reason in `error` on a usage error.
bool parseRadioOptions(const QStringList &args, RadioCliOptions &options, QString &error, bool allowReceiver);

// A radio link driven from the command line.
class CliRadioSession {
public:
    explicit CliRadioSession(const RadioCliOptions &options);
    RadioLink link;
    // Writes the records of what the programmer reports (pending when they cannot be written).
    ProgrammerRecords records{link};
    // Opens the port and waits for the stick's version response. Prints the reason
    // on standard error and returns false when the port cannot be opened or the
    // stick does not answer within the time-out.
    bool openStick(const QString &command);
    // Processes events (and so the receive tick) until `done` returns true or
    // `timeoutMs` passes; returns done().
    bool waitFor(const std::function<bool()> &done, int timeoutMs);

private:
    RadioCliOptions options_;
    CliDialogs dialogs_;
};

// Prepares the record databases (tables and indexes) before a transfer starts, so
// that a large file of an earlier version is not indexed by the first record. A
// failure is printed on standard error; the records then go pending as usual.
void prepareRecordsForCli(const QString &command);

// The exit status of a command whose radio work is done: kExitOk, or
// kExitRecordsPending with "N record(s) kept pending: ..." on standard error.
int exitWithPendingRecords();
