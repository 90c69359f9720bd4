#pragma once
// Where the HTML user manual is: beside the programs in a build folder (the run
// command builds it into bin/manual/), else where the package installs it
// (on Linux /usr/share/doc/tavel-nfc/manual beside /usr/bin).

#include <QString>
#include <QStringList>

// The manual's front page in the order it is looked for: beside the program
// (`programFolder`, or the running program's when empty), then the installed one.
QStringList UserManualCandidates(const QString &programFolder = QString());
// The first of those that exists; empty when there is none.
QString FindUserManual(const QString &programFolder = QString());
// The found front page, else the installed place (for a message saying where it
// belongs).
QString UserManualPlace(const QString &programFolder = QString());
