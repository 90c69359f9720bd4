#include "common/dialogs.h"

namespace {
class SilentDialogs : public IDialogs {
public:
    MsgAnswer message(const QString &, const QString &, MsgButtons buttons, MsgIcon) override
    {
        switch (buttons) {
        case MsgButtons::YesNo:
        case MsgButtons::YesNoCancel:
            return MsgAnswer::No;
        case MsgButtons::RetryCancel:
        case MsgButtons::SaveDiscardCancel:
            return MsgAnswer::Cancel;
        default:
            return MsgAnswer::OK;
        }
    }
    QString openFile(const FileDialogRequest &) override { return {}; }
    QString saveFile(const QString &, const FileDialogRequest &) override { return {}; }
};

SilentDialogs g_silent;
IDialogs *g_dialogs = &g_silent;
} // namespace

IDialogs &dialogs() { return *g_dialogs; }

void setDialogs(IDialogs *d) { g_dialogs = d ? d : &g_silent; }

void ShowGeneralError(const QString &text)
{
    dialogs().message(QStringLiteral("Error"), text, MsgButtons::OK, MsgIcon::Error);
}

void ShowGeneralError(const std::exception &e) { ShowGeneralError(QString::fromUtf8(e.what())); }
