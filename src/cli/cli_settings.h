#pragma once
// Shared pieces of the commands that read a settings file: message boxes become
// lines on standard error, the file is read without falling back to defaults, and
// the "FILE.set [--slot N]" arguments are parsed in one place.

#include "common/dialogs.h"
#include "profile/settings_file.h"

#include <QString>
#include <QStringList>

// Prints every message text on standard error (no dialog can be answered here:
// OK/Cancel answers Cancel, Yes/No answers No, file dialogs are cancelled).
class CliDialogs : public IDialogs {
public:
    CliDialogs();  // installs itself
    ~CliDialogs() override;
    MsgAnswer message(const QString &caption, const QString &text, MsgButtons buttons, MsgIcon icon) override;
    QString openFile(const FileDialogRequest &) override { return {}; }
    QString saveFile(const QString &, const FileDialogRequest &) override { return {}; }
};

// True when the arguments ask for a command's help.
bool cliWantsHelp(const QStringList &args);

// The arguments for parseFileAndSlot out of `rest`, where the file may also be
// given as "--settings FILE" (it is then moved to the front).
QStringList settingsFileArguments(const QStringList &rest);

// Parses "FILE.set [--slot N]" (N = 1, 2 or 3; default 1). On a usage error
// returns false with the reason in `error`.
bool parseFileAndSlot(const QStringList &args, QString &file, int &slot, QString &error);

// Reads the three slots of `path` into `profiles` with the settings-file rules but
// without the fallback to defaults. Returns kExitOk, or kExitFailure after printing
// the reason (the program's own message text) on standard error.
int loadSettingsForCli(const QString &path, ProfileSlots &profiles);

// The programming data items of `profile` (DC counts as off when its level is 255)
// into `items`. Returns kExitOk, or kExitFailure after printing the reason on
// standard error; the items made before the error are then no data to use.
int programmingDataForCli(const STRUCT_XML_FILE_VARIABLES &profile, QStringList &items);
