#include "desktop/qt_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace {
QWidget *owner()
{
    QWidget *w = QApplication::activeModalWidget();
    if (!w)
        w = QApplication::activeWindow();
    return w;
}

QMessageBox::StandardButtons standardButtons(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::OKCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MsgButtons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    case MsgButtons::SaveDiscardCancel:
        return QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel;
    case MsgButtons::OK:
    default:
        return QMessageBox::Ok;
    }
}

QMessageBox::Icon standardIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Error:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::None:
    default:
        return QMessageBox::NoIcon;
    }
}

QString runFileDialog(QFileDialog::AcceptMode mode, const QString &suggestedName, const FileDialogRequest &request)
{
    QFileDialog dialog(owner(), request.title, request.initialDir, request.filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
    if (!suggestedName.isEmpty())
        dialog.selectFile(suggestedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
} // namespace

MsgAnswer QtDialogs::message(const QString &caption, const QString &text, MsgButtons buttons, MsgIcon icon)
{
    QMessageBox box(standardIcon(icon), caption, text, standardButtons(buttons), owner());
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return MsgAnswer::Cancel;
    case QMessageBox::Yes:
        return MsgAnswer::Yes;
    case QMessageBox::No:
        return MsgAnswer::No;
    case QMessageBox::Retry:
        return MsgAnswer::Retry;
    case QMessageBox::Ok:
        return MsgAnswer::OK;
    case QMessageBox::Save:
        return MsgAnswer::Save;
    case QMessageBox::Discard:
        return MsgAnswer::Discard;
    default:
        // Closed with the window's close box: the button that means "no".
        switch (buttons) {
        case MsgButtons::OK:
            return MsgAnswer::OK;
        case MsgButtons::YesNo:
            return MsgAnswer::No;
        default:
            return MsgAnswer::Cancel;
        }
    }
}

QString QtDialogs::openFile(const FileDialogRequest &request)
{
    return runFileDialog(QFileDialog::AcceptOpen, QString(), request);
}

QString QtDialogs::saveFile(const QString &suggestedName, const FileDialogRequest &request)
{
    return runFileDialog(QFileDialog::AcceptSave, suggestedName, request);
}
