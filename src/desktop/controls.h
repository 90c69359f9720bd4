#pragma once
// Small control classes shared by the windows: the plain Qt widgets plus the few
// things the windows rely on - an integer Tag, an image index, and enter/exit/key
// events that fire only for the user's own focus moves and key presses.

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <functional>

// A one-line edit with a Tag and the user's focus and key events.
class TEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TEdit(QWidget *parent = nullptr);

    int Tag = 0;
    // Only digit keys (and editing keys) reach the text.
    bool NumbersOnly = false;

    // Focus came into the field (mouse, keyboard or a call to setFocus).
    std::function<void()> OnEnter;
    // Focus left the field for another control of the same window. Switching to
    // another window or a message box popping up is not leaving the field.
    std::function<void()> OnExit;
    // A character typed into the field; Enter arrives as '\r'. Setting the key to
    // QChar() swallows it.
    std::function<void(QChar &)> OnKeyPress;

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

class TButton : public QPushButton {
    Q_OBJECT
public:
    explicit TButton(QWidget *parent = nullptr) : QPushButton(parent) {}
    TButton(const QString &caption, QWidget *parent) : QPushButton(caption, parent) {}
    int Tag = 0;
};

// A toolbar button showing one picture of an image list.
class TToolButton : public QToolButton {
    Q_OBJECT
public:
    explicit TToolButton(QWidget *parent = nullptr) : QToolButton(parent) {}
    int Tag = 0;
    int ImageIndex = -1;
    // Shows picture `index` of `images` (an index outside the list shows none).
    void SetImage(int index, const QList<QPixmap> &images);
};

// A one-line label for a value that may be longer than its room: text() keeps the
// whole value, a value that does not fit is shown cut with "…" at the end and
// whole in the label's tooltip. A label that grows shows more of it.
class TElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit TElidedLabel(QWidget *parent = nullptr) : QLabel(parent) {}
    // What the label shows in its present width.
    QString shownText() const;
    bool isElided() const { return shownText() != text(); }

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};

// A drop-down list of long entries such as serial port paths: the closed list
// shows the chosen entry cut in the middle with "…" when it does not fit, the
// open list is as wide as its widest entry, and every entry (and the closed
// list) has its whole text as tooltip.
class TComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TComboBox(QWidget *parent = nullptr);
    // The text the closed list shows in its present width.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void showPopup() override;

private:
    void entriesChanged();
};

// Keeps `widget`'s right edge `rightMargin` pixels inside its parent's right edge
// whenever the parent is resized (for controls placed by coordinates in a panel
// that grows with the window).
void FollowParentWidth(QWidget *widget, int rightMargin);

// A picture the user can click.
class TImage : public QLabel {
    Q_OBJECT
public:
    explicit TImage(QWidget *parent = nullptr);
    std::function<void()> OnClick;

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// A white background behind the widget's children (panels, report windows).
void SetWhiteBackground(QWidget *widget);
// A white panel of `size` with a one-pixel box frame, laid over a window.
void MakeWhitePanel(QFrame *panel, QSize size);

// Runs a user action; an exception that escapes it is shown by the application's
// general error report and the program goes on.
void RunUserAction(const std::function<void()> &action);
