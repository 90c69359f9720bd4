#pragma once
// The application-data folders: "<per-user data folder>/<folder>/<subfolder>/".

#include <QString>

// Returns the user's application-data folder (the per-user roaming folder on
// Windows, the user's data folder elsewhere) + "/" + folder + "/" + subfolder + "/",
// creating both folder levels when missing. When the user's data folder cannot be
// determined, writes "ERROR: Could not open server log - no data folder " and a line
// break to standard output and ends the process with exit code 1.
QString Create_dir_in_Appdata(const QString &folder, const QString &subfolder);

// The user's application-data folder Create_dir_in_Appdata builds on.
QString UserAppDataFolder();

// Tests put the folder somewhere of their own; an empty text restores the user's.
void SetUserAppDataFolderOverride(const QString &folder);
