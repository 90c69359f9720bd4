// What the main window's parameter editors share (see editor_support.h).

#include "desktop/editor_support.h"

#include "common/convert.h"
#include "common/dialogs.h"
#include "desktop/controls.h"

#include <QFrame>
#include <QPalette>

bool EditorEnterRunsCheck(QChar &key, bool digitsOnly)
{
    switch (ClassifyFieldKey(key, digitsOnly)) {
    case FieldKeyAction::RunCheck:
        return true;
    case FieldKeyAction::Swallow:
        key = QChar();
        return false;
    case FieldKeyAction::Pass:
        break;
    }
    return false;
}

void ThrowIfConversionError(const FieldCheckOutcome &o)
{
    if (o.conversionError())
        throw EConvertError(o.message);
}

bool ApplyFieldCheck(const FieldCheckOutcome &o, TEdit *edit)
{
    ThrowIfConversionError(o);
    if (!o.rejected())
        return false;
    dialogs().message(o.caption, o.message);
    edit->setText(o.text);
    return true;
}

void ShowInfoMessages(const QStringList &messages)
{
    for (const QString &m : messages)
        dialogs().message(kCaptionInfo, m);
}

void TakePlaceAndColour(QFrame *panel, const QFrame *from)
{
    panel->move(from->pos());
    panel->setAutoFillBackground(from->autoFillBackground());
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, from->palette().color(QPalette::Window));
    panel->setPalette(pal);
}
