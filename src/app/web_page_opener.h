#pragma once
// Opening one of the maker's web pages in the system's browser, and saying so
// plainly when no browser could be opened.

#include <QString>
#include <QUrl>
#include <functional>

// Hands `address` to the system's handler for web addresses (QDesktopServices
// unless `opener` is given). When that fails, a message box ("Error") says that
// no browser could be opened and shows the address to copy; returns false.
bool OpenWebAddress(const QString &address, const std::function<bool(const QUrl &)> &opener = {});
// The text of that message box.
QString NoBrowserText(const QString &address);

// The maker's three pages, from the maker's configuration file (tavel-nfc.conf).
QString CompanyWebPage();
QString ProductWebPage();
QString ProgrammerManualWebPage();
