#pragma once
// The version every program prints for --version: the release and the git
// revision of the sources it was built from ("unknown" when the build had no git).

#include <QString>

// "1.4"
QString ProgramVersion();
// "5d54729a1b", "5d54729a1b-modified" when tracked files differed from it, or "unknown".
QString BuildRevision();
// "tavel-nfc 1.4 (revision 5d54729a1b)"
QString ProgramVersionLine(const QString &programName);
// When the first argument is "--version", prints the version line on standard
// output and returns true (the program then ends with status 0). Called before
// anything else is set up, so it needs no display.
bool PrintVersionIfAsked(int argc, const char *const *argv, const char *programName);
