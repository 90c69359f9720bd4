#pragma once
// The command-line companion dispatches to commands that register themselves,
// one file per command.

#include <QStringList>

struct CliCommand {
    const char *name;    // first argument, e.g. "encode"
    const char *summary; // one line for the overall help
    int (*run)(const QStringList &args); // args after the command name; returns exit status
    // When given and true for the arguments: the command draws text (a PDF) and
    // runs in a GUI application on the offscreen platform (fonts need it).
    bool (*needsGui)(const QStringList &args) = nullptr;
};

// Exit statuses shared by every command.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
// The transfer itself succeeded, but a record could not be written and waits in
// the pending-records journal ("tavel-nfc records pending").
constexpr int kExitRecordsPending = 3;

struct CliCommandRegistrar {
    explicit CliCommandRegistrar(const CliCommand &command);
};

// Writes a line to standard error / standard output (UTF-8, newline appended).
void cliError(const QString &line);
void cliOut(const QString &line);
// A usage error: the reason, then the command's usage line, both on standard error.
// Returns kExitUsage.
int cliUsageError(const QString &reason, const QString &usage);
