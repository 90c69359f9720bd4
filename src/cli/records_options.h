#pragma once
// --records URL and --station NAME, taken by every command that writes or reads
// records (send, read, records ...).

#include <QStringList>

// Takes "--records URL" and "--station NAME" out of `args` and makes them the
// records store and station name; without --records, the environment variable
// TAVEL_RECORDS_URL names the store (neither: the program's own SQLite files).
// Returns kExitOk, or the exit status after writing the reason to standard error:
// kExitUsage for an option without its value, kExitFailure for a store location
// that cannot be used (a malformed URI, a URI with a password).
int applyRecordsOptions(QStringList &args, const QString &command);

// The help lines of the two options.
QString recordsOptionsHelp();
