#pragma once
// Every message box and file dialog of the programs goes through this interface,
// so that tests can answer them and read back the exact caption and text.

#include <QString>
#include <exception>

enum class MsgButtons { OK, OKCancel, YesNo, YesNoCancel, RetryCancel, SaveDiscardCancel };
enum class MsgIcon { None, Information, Warning, Error, Question };
enum class MsgAnswer { OK, Cancel, Yes, No, Retry, Save, Discard };

struct FileDialogRequest {
    QString title;        // empty: the toolkit's default title
    QString filter;       // Qt filter text, e.g. "setting files (*.set)"
    QString initialDir;
    QString defaultSuffix; // appended when the user types no extension, e.g. "set"
};

class IDialogs {
public:
    virtual ~IDialogs() = default;
    // A modal message box; returns the button pressed.
    virtual MsgAnswer message(const QString &caption, const QString &text,
                              MsgButtons buttons = MsgButtons::OK, MsgIcon icon = MsgIcon::None) = 0;
    // Returns the chosen path, or an empty text when the dialog was cancelled.
    virtual QString openFile(const FileDialogRequest &request) = 0;
    virtual QString saveFile(const QString &suggestedName, const FileDialogRequest &request) = 0;
};

// The dialogs in use. Until one is installed, a silent implementation answers OK
// and cancels every file dialog (so logic used from the command line never blocks).
IDialogs &dialogs();
// Installs `d` (not owned); nullptr restores the silent implementation.
void setDialogs(IDialogs *d);

// The application's general error report: a user action ended with an exception
// (a text that did not convert, a file that could not be written, ...).
// Shows the exception's text with the caption "Error" and the error icon.
void ShowGeneralError(const std::exception &e);
void ShowGeneralError(const QString &text);
