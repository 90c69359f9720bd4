#pragma once
// Opening the HTML user manual in the system's browser, and saying where it is
// when that cannot be done.

#include <QString>
#include <QUrl>
#include <functional>

// Opens the manual's front page (beside the program in `programFolder`, or the
// running program's when empty, else the installed one) with `opener`
// (QDesktopServices when not given). When there is no manual, or no browser
// opened it, a message box ("Error") names the place of the manual; returns false.
bool OpenUserManual(const QString &programFolder = QString(),
                    const std::function<bool(const QUrl &)> &opener = {});
// The texts of those two message boxes.
QString ManualMissingText(const QString &place);
QString ManualNotOpenedText(const QString &page);
