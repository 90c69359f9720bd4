#pragma once
// The message boxes and file dialogs the user sees.

#include "common/dialogs.h"

class QtDialogs : public IDialogs {
public:
    MsgAnswer message(const QString &caption, const QString &text, MsgButtons buttons = MsgButtons::OK,
                      MsgIcon icon = MsgIcon::None) override;
    QString openFile(const FileDialogRequest &request) override;
    QString saveFile(const QString &suggestedName, const FileDialogRequest &request) override;
};
