#pragma once
// Where the program finds the files it is shipped with (the driver catalogue, the
// licence text, the maker's configuration): beside the program first, so that a
// build folder or an unpacked copy works as it is, then in the folder the
// installed package puts them in.

#include <QString>
#include <QStringList>

// The folders for shipped data files, in the order they are searched: the
// program's folder (`programFolder`, or the running program's when empty), then
// the installed data folder (on Linux /usr/share/tavel-nfc beside /usr/bin).
QStringList ProgramDataFolders(const QString &programFolder = QString());
// The same for the maker's configuration file: the program's folder, then the
// installed configuration folder (on Linux /etc/tavel-nfc).
QStringList ProgramConfigFolders(const QString &programFolder = QString());
// The path of `fileName` in the first of `folders` that has it; when none has it,
// the path in the first folder (so that a message names where it was expected).
QString FindFileIn(const QStringList &folders, const QString &fileName);
// FindFileIn(ProgramDataFolders(programFolder), fileName).
QString FindProgramDataFile(const QString &fileName, const QString &programFolder = QString());
