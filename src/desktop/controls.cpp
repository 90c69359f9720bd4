#include "desktop/controls.h"

#include "common/dialogs.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include <algorithm>

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

QString TElidedLabel::shownText() const
{
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

bool TElidedLabel::event(QEvent *event)
{
    // The tooltip follows what is shown now: the whole value while it is cut.
    if (event->type() == QEvent::ToolTip)
        setToolTip(isElided() ? text() : QString());
    return QLabel::event(event);
}

void TElidedLabel::paintEvent(QPaintEvent *event)
{
    const QString shown = shownText();
    if (shown == text()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), int(alignment()), palette(), isEnabled(), shown,
                          foregroundRole());
}

TComboBox::TComboBox(QWidget *parent) : QComboBox(parent)
{
    connect(model(), &QAbstractItemModel::rowsInserted, this, &TComboBox::entriesChanged);
    connect(model(), &QAbstractItemModel::dataChanged, this, &TComboBox::entriesChanged);
    connect(this, &QComboBox::currentIndexChanged, this, &TComboBox::entriesChanged);
}

void TComboBox::entriesChanged()
{
    for (int i = 0; i < count(); ++i)
        if (itemData(i, Qt::ToolTipRole).toString() != itemText(i))
            setItemData(i, itemText(i), Qt::ToolTipRole);
    setToolTip(currentText());
}

QString TComboBox::shownText() const
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QRect room = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    return fontMetrics().elidedText(currentText(), Qt::ElideMiddle, room.width() - 2);
}

void TComboBox::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText = shownText();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

void TComboBox::showPopup()
{
    int widest = width();
    for (int i = 0; i < count(); ++i)
        widest = std::max(widest, view()->fontMetrics().horizontalAdvance(itemText(i)) + 32);
    view()->setMinimumWidth(widest);
    QComboBox::showPopup();
}

namespace {
class ParentWidthFollower : public QObject {
public:
    ParentWidthFollower(QWidget *widget, int rightMargin)
        : QObject(widget), widget_(widget), rightMargin_(rightMargin)
    {
        widget->parentWidget()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Resize && watched == widget_->parentWidget())
            widget_->resize(std::max(0, widget_->parentWidget()->width() - widget_->x() - rightMargin_),
                            widget_->height());
        return false;
    }

private:
    QWidget *widget_;
    int rightMargin_;
};
} // namespace

void FollowParentWidth(QWidget *widget, int rightMargin)
{
    if (widget->parentWidget())
        new ParentWidthFollower(widget, rightMargin);
}

void RunUserAction(const std::function<void()> &action)
{
    try {
        action();
    } catch (const std::exception &e) {
        ShowGeneralError(e);
    }
}

void SetWhiteBackground(QWidget *widget)
{
    widget->setAutoFillBackground(true);
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, Qt::white);
    widget->setPalette(pal);
}

void MakeWhitePanel(QFrame *panel, QSize size)
{
    panel->setFixedSize(size);
    panel->setFrameShape(QFrame::Box);
    panel->setLineWidth(1);
    SetWhiteBackground(panel);
}
