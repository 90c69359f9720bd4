#pragma once
// The recently-used list: five paths of settings files and driver catalogues in the
// user's native settings store (on Windows the registry key
// HKEY_CURRENT_USER\Software\NFC configuration Software Tavel\Recently_Files_List
// with the string values File1 ... File5, File1 the newest).

#include <QString>
#include <QStringList>

inline const QString kRecentFilesProductKey = QStringLiteral("NFC configuration Software Tavel");
inline const QString kRecentFilesSubKey = QStringLiteral("Recently_Files_List");
constexpr int kRecentFilesCount = 5;

inline const QString kRecentFilesOpenError = QStringLiteral("Can't open  HKEY_CURRENT_USER registry");
inline const QString kRecentFilesWriteError = QStringLiteral("Can't write string to registry");
inline const QString kRecentFilesReadError = QStringLiteral("Can't read string from registry");

// Puts `path` at the top (File1) and moves the other entries down, the oldest
// dropping off the end. An entry naming the same file as `path` is taken out, so
// each file appears once, at the place of its newest use. Failures are shown with
// the caption "Error" (dialogs()).
void PushRecentFile(const QString &path);

// Whether two entries name the same file (absolute, cleaned path; letter case
// ignored on Windows).
bool IsSameRecentFile(const QString &a, const QString &b);

// The five entries, File1 first; absent values read as empty text. `ok` is false
// (and the message shown) when the store could not be read.
QStringList ReadRecentFiles(bool *ok = nullptr);

// Tests keep the list in an INI file of their own instead of the user's store;
// an empty text restores the user's store.
void SetRecentFilesStorageOverride(const QString &iniFilePath);
