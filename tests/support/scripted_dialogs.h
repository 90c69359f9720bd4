#pragma once
// A dialogs implementation for tests: records every message box and file dialog
// and answers from queues the test fills (OK / cancelled when a queue is empty).

#include "common/dialogs.h"

#include <QList>
#include <QString>
#include <functional>

struct RecordedMessage {
    QString caption;
    QString text;
    MsgButtons buttons;
    MsgIcon icon;
};

struct RecordedFileDialog {
    bool save;
    QString suggestedName;
    FileDialogRequest request;
};

class ScriptedDialogs : public IDialogs {
public:
    ScriptedDialogs() { setDialogs(this); }
    ~ScriptedDialogs() override { setDialogs(nullptr); }

    QList<RecordedMessage> messages;
    QList<RecordedFileDialog> fileDialogs;
    QList<MsgAnswer> answers;   // answers to the next message boxes, in order
    QList<QString> filePaths;   // answers to the next file dialogs; "" = cancelled
    // Runs while a message box is "open", as the real modal loop processes events.
    std::function<void(const RecordedMessage &)> whileMessageOpen;

    MsgAnswer message(const QString &caption, const QString &text, MsgButtons buttons,
                      MsgIcon icon) override
    {
        messages.append({caption, text, buttons, icon});
        if (whileMessageOpen)
            whileMessageOpen(messages.last());
        if (!answers.isEmpty())
            return answers.takeFirst();
        // "Save changes?" unanswered drops the changes, as closing and loading did
        // before the question was asked, so tests of other steps run as they did.
        if (buttons == MsgButtons::SaveDiscardCancel)
            return MsgAnswer::Discard;
        return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgAnswer::Yes
                                                                                  : MsgAnswer::OK;
    }
    QString openFile(const FileDialogRequest &request) override
    {
        fileDialogs.append({false, {}, request});
        return filePaths.isEmpty() ? QString() : filePaths.takeFirst();
    }
    QString saveFile(const QString &suggestedName, const FileDialogRequest &request) override
    {
        fileDialogs.append({true, suggestedName, request});
        return filePaths.isEmpty() ? QString() : filePaths.takeFirst();
    }

    QStringList texts() const
    {
        QStringList out;
        for (const auto &m : messages)
            out << m.text;
        return out;
    }
    void clear()
    {
        messages.clear();
        fileDialogs.clear();
    }
};
