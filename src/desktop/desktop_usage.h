#pragma once
// The desktop program's --help text. It is printed before any window exists, so
// it works without a display; the manual page is made from it.

#include <QString>

// The options, the expert-mode keyword, the files the program keeps, the
// environment it reads and where the user manual is.
QString DesktopUsageText();
// True when the first argument asks for the help ("--help" or "-h").
bool DesktopHelpWanted(int argc, const char *const *argv);
