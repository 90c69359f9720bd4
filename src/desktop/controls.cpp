#include "desktop/controls.h"

#include "common/dialogs.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

TEdit::TEdit(QWidget *parent) : QLineEdit(parent) {}

void TEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    if (OnEnter)
        RunUserAction(OnEnter);
}

void TEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    if (OnExit)
        RunUserAction(OnExit);
}

void TEdit::keyPressEvent(QKeyEvent *event)
{
    QChar key;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        key = QChar('\r');
    else if (!event->text().isEmpty() && event->text().at(0).isPrint())
        key = event->text().at(0);

    if (!key.isNull()) {
        if (OnKeyPress) {
            RunUserAction([&] { OnKeyPress(key); });
            if (key.isNull())
                return;
        }
        if (NumbersOnly && key != QChar('\r') && !key.isDigit())
            return;
    }
    QLineEdit::keyPressEvent(event);
}

void TToolButton::SetImage(int index, const QList<QPixmap> &images)
{
    ImageIndex = index;
    if (index >= 0 && index < images.size())
        setIcon(QIcon(images.at(index)));
    else
        setIcon(QIcon());
}

TImage::TImage(QWidget *parent) : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
}

void TImage::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnClick)
        RunUserAction(OnClick);
}

void RunUserAction(const std::function<void()> &action)
{
    try {
        action();
    } catch (const std::exception &e) {
        ShowGeneralError(e);
    }
}
