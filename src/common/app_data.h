#pragma once
// The application-data folders: "<per-user data folder>/<folder>/<subfolder>/".

#include <QString>

// The program's folder inside the user's application-data folder; the record
// databases, the settings and the print files each have a subfolder in it.
inline const QString kAppDataFolderName = QStringLiteral("NFC configuration Software Tavel");

// Returns the user's application-data folder (the per-user roaming folder on
// Windows, the user's data folder elsewhere) + "/" + folder + "/" + subfolder + "/",
// creating both folder levels when missing. When the user's data folder cannot be
// determined, writes "ERROR: Could not open server log - no data folder " and a line
// break to standard output and ends the process with exit code 1.
QString Create_dir_in_Appdata(const QString &folder, const QString &subfolder);

// The user's application-data folder Create_dir_in_Appdata builds on.
QString UserAppDataFolder();

// UserAppDataFolder() + "/" + kAppDataFolderName + "/" + subfolder, not created.
// A relative path when the user's data folder cannot be determined.
QString ProgramDataSubfolder(const QString &subfolder);

// Tests put the folder somewhere of their own; an empty text restores the user's.
void SetUserAppDataFolderOverride(const QString &folder);
