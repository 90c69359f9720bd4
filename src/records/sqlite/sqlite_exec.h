#pragma once
// Running statements on an open SQLite records file with message boxes for
// their failures, as the first version did.

#include "records/sqlite_answer.h"

#include <QString>
#include <QStringList>

struct sqlite3;

// Runs one SQL text (several statements allowed) with sqlite3_exec; the rows go
// into `answer` when one is given. False with a message box of SQLite's error
// text when the statement fails; false and nothing else when `db` is null.
bool ExecInt(const QString &sql, SQLiteAnswerClass *answer, sqlite3 *db);
// Runs one statement with `values` bound to ?1, ?2, ... as texts. Rows go into
// `answer` when one is given. Failures as for ExecInt.
bool ExecBound(const char *sql, const QStringList &values, SQLiteAnswerClass *answer, sqlite3 *db);
