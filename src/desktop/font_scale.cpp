#include "desktop/font_scale.h"

#include "app/font_scale.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLayout>
#include <QLineEdit>
#include <QVariant>
#include <QWidget>

namespace {

const char *const kFactorProperty = "tavelFontScale";

// Captions of the kind the windows show: words in both cases and digits.
const QString &sampleText()
{
    static const QString text = QStringLiteral("Search EnOcean ports View TagInfo NFC ID 0123456789");
    return text;
}

// A part of one of Qt's composite widgets (a scroll area's viewport and bars, a
// combo box's or spin box's inner edit), which that widget places itself.
bool isInnerPart(const QWidget *w)
{
    const QWidget *parent = w->parentWidget();
    return w->objectName().startsWith(QLatin1String("qt_")) || qobject_cast<const QAbstractScrollArea *>(parent)
           || qobject_cast<const QComboBox *>(parent) || qobject_cast<const QAbstractSpinBox *>(parent)
           || qobject_cast<const QLineEdit *>(parent);
}

// Inside a part of a composite widget (a scroll area's viewport holds it).
bool isInsideInnerPart(const QWidget *w, const QWidget *root)
{
    for (const QWidget *p = w; p && p != root; p = p->parentWidget())
        if (isInnerPart(p))
            return true;
    return false;
}

void scaleLimits(QWidget *w, double factor)
{
    const QSize minimum = w->minimumSize();
    const QSize maximum = w->maximumSize();
    if (!minimum.isNull())
        w->setMinimumSize(ScaledSize(minimum, factor));
    if (maximum != QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX))
        w->setMaximumSize(ScaledSize(maximum, factor));
}

} // namespace

double WindowFontScale(QWidget *window)
{
    window->ensurePolished();
    const QFontMetricsF design(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    const QFontMetricsF actual(window->font());
    return FontScaleFactor(design.horizontalAdvance(sampleText()), design.height(),
                           actual.horizontalAdvance(sampleText()), actual.height());
}

void ScaleFixedGeometry(QWidget *root, double factor)
{
    root->setProperty(kFactorProperty, factor);
    if (factor == 1.0)
        return;
    scaleLimits(root, factor);
    const QList<QWidget *> children = root->findChildren<QWidget *>();
    // The controls that lie inside their parent at the design: rounding the edges
    // of parent and control apart may push one a pixel past its parent's edge.
    QList<QWidget *> insideParent;
    for (QWidget *w : children) {
        if (w->isWindow() || isInsideInnerPart(w, root))
            continue;
        const QWidget *parent = w->parentWidget();
        if (parent && !parent->layout() && parent->rect().contains(w->geometry()))
            insideParent << w;
    }
    for (QWidget *w : children) {
        if (w->isWindow() || isInsideInnerPart(w, root))
            continue;
        scaleLimits(w, factor);
        const QWidget *parent = w->parentWidget();
        if (parent && !parent->layout())
            w->setGeometry(ScaledRect(w->geometry(), factor));
    }
    for (QWidget *w : insideParent) {
        const QRect room = w->parentWidget()->rect();
        if (!room.contains(w->geometry()))
            w->setGeometry(w->geometry().intersected(room));
    }
}

namespace {
double factorOf(const QWidget *widget)
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        const QVariant factor = w->property(kFactorProperty);
        if (factor.isValid())
            return factor.toDouble();
    }
    return 1.0;
}
} // namespace

int ScaledPixels(const QWidget *widget, int pixels) { return ScaledPixels(pixels, factorOf(widget)); }

QRect ScaledRect(const QWidget *widget, const QRect &rect) { return ScaledRect(rect, factorOf(widget)); }
