// Windows with controls at fixed positions hold at a larger font than the one
// they were laid out for: every caption of a button, check box, radio button,
// group box and label fits its control (nothing cut off), whether the font
// comes from the application or from a style sheet given on the command line,
// and no shown control reaches past its parent's edge; at the ordinary font the
// layout is the designed one.
#include "desktop/driver_select_window.h"
#include "desktop/firmware_window.h"
#include "desktop/font_scale.h"
#include "desktop/info_windows.h"
#include "desktop/main_window.h"
#include "desktop/programmed_drivers_window.h"
#include "desktop/radio_link_window.h"
#include "desktop/record_options_panel.h"
#include "desktop/tag_info_window.h"
#include "desktop/verify_panel.h"
#include "verify/tag_verification.h"
#include "focus_chain.h"
#include "profile/catalogue.h"
#include "scripted_dialogs.h"
#include "serial/port_discovery.h"
#include "window_test_folder.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

QString withoutMnemonic(QString text)
{
    text.replace(QLatin1String("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return text;
}

// The room a button's style gives its caption.
QRect captionRoom(QAbstractButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.rect = button->rect();
    if (qobject_cast<QCheckBox *>(button))
        return button->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, button);
    if (qobject_cast<QRadioButton *>(button))
        return button->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, button);
    if (qobject_cast<QPushButton *>(button))
        return button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    return button->contentsRect();
}

// Inside one of Qt's composite controls (a drop-down list, a scroll area), which
// lays out its own parts.
bool insideComposite(const QWidget *w, const QWidget *window)
{
    for (const QWidget *p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (qobject_cast<const QAbstractScrollArea *>(p) && !p->inherits("QScrollArea"))
            return true;
    return false;
}

// Every caption of `window` that does not fit its control, with what it needs
// and what it has. Controls hidden on purpose are passed over; those of a panel
// that is hidden for now are checked (the panel shows later).
QStringList clippedCaptions(QWidget *window)
{
    QStringList clipped;
    auto report = [&](const QWidget *w, const QString &text, QSize needs, QSize has) {
        if (needs.width() > has.width() || needs.height() > has.height())
            clipped << QStringLiteral("%1 \"%2\" needs %3x%4, has %5x%6")
                           .arg(QLatin1String(w->metaObject()->className()), text)
                           .arg(needs.width())
                           .arg(needs.height())
                           .arg(has.width())
                           .arg(has.height());
    };
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (w->isHidden() || w->isWindow() || insideComposite(w, window))
            continue;
        const QFontMetrics metrics = w->fontMetrics();
        if (auto *button = qobject_cast<QAbstractButton *>(w)) {
            const QString text = withoutMnemonic(button->text());
            if (text.isEmpty() || qobject_cast<QToolButton *>(w))
                continue;
            report(w, text, QSize(metrics.horizontalAdvance(text), metrics.height()), captionRoom(button).size());
        } else if (auto *box = qobject_cast<QGroupBox *>(w)) {
            const QString text = withoutMnemonic(box->title());
            if (!text.isEmpty())
                report(w, text, QSize(metrics.horizontalAdvance(text), 0), box->contentsRect().size());
        } else if (auto *label = qobject_cast<QLabel *>(w)) {
            const QString text = label->text();
            if (text.isEmpty() || w->inherits("TElidedLabel") || Qt::mightBeRichText(text))
                continue; // an elided value shows whole in its tooltip
            const QRect room = label->contentsRect();
            if (label->wordWrap())
                report(w, text, QSize(0, metrics.boundingRect(room, Qt::TextWordWrap, text).height()), room.size());
            else
                report(w, text, QSize(metrics.horizontalAdvance(text), metrics.height()), room.size());
        }
    }
    return clipped;
}

// Inside any scroll area (whose content may be larger than its view).
bool insideScrollArea(const QWidget *w, const QWidget *window)
{
    for (const QWidget *p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (qobject_cast<const QAbstractScrollArea *>(p))
            return true;
    return false;
}

// Every shown control at a fixed position that reaches past its parent's edge
// (cut off there), with where it ends and the room it has. Controls inside a
// scroll area are passed over: their room scrolls.
QStringList controlsPastTheirParent(QWidget *window)
{
    QStringList past;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        const QWidget *parent = w->parentWidget();
        if (!w->isVisible() || w->isWindow() || !parent || parent->layout() || insideScrollArea(w, window)
            || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        if (!parent->rect().contains(w->geometry()))
            past << QStringLiteral("%1 %2 ends at %3,%4 in %5x%6")
                        .arg(QLatin1String(w->metaObject()->className()), w->objectName())
                        .arg(w->geometry().right() + 1)
                        .arg(w->geometry().bottom() + 1)
                        .arg(parent->width())
                        .arg(parent->height());
    }
    return past;
}

class LargerFontTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    WindowTestFolder folder{tmp.path()};
    ScriptedDialogs dialogs;
    QFont designFont = QApplication::font();
    QString designSheet = qApp->styleSheet();

    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        setSystemSerialPortLister([] { return QList<SystemSerialPort>{}; });
        QDir(tmp.path()).mkdir(QStringLiteral("bin"));
        SetCatalogueProgramDirForTesting(tmp.filePath(QStringLiteral("bin")));
    }

    void TearDown() override
    {
        qApp->setStyleSheet(designSheet);
        QApplication::setFont(designFont);
        DevelopModeFlag = 0;
        SetCatalogueProgramDirForTesting(QString());
        setSystemSerialPortLister({});
    }

    // The desktop's ordinary font a third larger (9 pt becomes 12 pt).
    static double largerPointSize()
    {
        const QFont design = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        const double points = design.pointSizeF() > 0 ? design.pointSizeF() : 9.0;
        return std::round(points * 4.0 / 3.0);
    }

    struct Window {
        const char *name;
        std::function<std::unique_ptr<QWidget>()> open;
    };

    static std::unique_ptr<TForm1> newMainWindow()
    {
        return std::make_unique<TForm1>(QStringList{QStringLiteral("tavel-nfc-config")});
    }

    static std::vector<Window> windows()
    {
        return {
            {"main window, welcome panel", [] { return newMainWindow(); }},
            {"main window, driver panel and editors",
             [] {
                 auto main = newMainWindow();
                 main->show();
                 main->Setting1ToolButtonClick();
                 return main;
             }},
            {"radio link window, compact", [] { return std::make_unique<TForm9>(); }},
            {"radio link window, expert with settings",
             [] {
                 auto radio = std::make_unique<TForm9>();
                 radio->ExpertModeSet(true);
                 radio->Develoop_ButtonClick();
                 radio->Advanced_ButtonClick();
                 return radio;
             }},
            {"driver selection", [] { return std::make_unique<TForm10>(); }},
            {"tag info, expert",
             [] {
                 auto info = std::make_unique<TFormTagInfo>();
                 info->SetExpertLayout(true);
                 return info;
             }},
            {"main window, record options",
             [] {
                 auto main = newMainWindow();
                 main->show();
                 main->ReportButtonClick();
                 return main;
             }},
            // The verify panel over the main window, with a failed driver's result
            // in its large type.
            {"main window, verify panel",
             [] {
                 auto main = newMainWindow();
                 auto *panel = new TVerifyPanel(main.get());
                 TagVerification failed;
                 failed.serial = QStringLiteral("0000012345678901");
                 failed.differences = {QStringLiteral("Nominal current: expected 500, found 350")};
                 panel->ShowWaiting(1);
                 panel->ShowResult(failed);
                 return main;
             }},
            {"programmed drivers report",
             [] {
                 auto report = std::make_unique<TProgrammedDrivers>();
                 report->ShowReport();
                 return report;
             }},
            {"firmware update", [] { return std::make_unique<TForm2>(); }},
            {"language", [] { return std::make_unique<TForm3>(); }},
            {"about the company", [] { return std::make_unique<TForm4>(); }},
            {"about the NFC system", [] { return std::make_unique<TForm5>(); }},
            {"licence", [] { return std::make_unique<TForm6>(); }},
            {"help", [] { return std::make_unique<TForm7>(); }},
        };
    }

    void expectEveryCaptionFits()
    {
        for (const Window &window : windows()) {
            SCOPED_TRACE(window.name);
            std::unique_ptr<QWidget> w = window.open();
            if (auto *radio = qobject_cast<TForm9 *>(w.get()))
                radio->Link.stopReceiveTick();
            w->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
            QCoreApplication::processEvents();
            EXPECT_EQ(clippedCaptions(w.get()), QStringList());
            EXPECT_EQ(controlsPastTheirParent(w.get()), QStringList());
        }
    }
};

TEST_F(LargerFontTest, EveryCaptionFitsItsControlAtTheOrdinaryFont)
{
    expectEveryCaptionFits();
}

TEST_F(LargerFontTest, EveryCaptionFitsItsControlAtALargerApplicationFont)
{
    QFont larger = designFont;
    larger.setPointSizeF(largerPointSize());
    QApplication::setFont(larger);
    expectEveryCaptionFits();
}

TEST_F(LargerFontTest, EveryCaptionFitsItsControlAtALargerFontFromAStyleSheet)
{
    qApp->setStyleSheet(QStringLiteral("* { font-size: %1pt; }").arg(largerPointSize()));
    expectEveryCaptionFits();
}

TEST_F(LargerFontTest, TheRadioLinkWindowGrowsWithTheFontAndStaysInOnePieceWhenItChangesLayout)
{
    TForm9 ordinary;
    ordinary.Link.stopReceiveTick();
    ordinary.ExpertModeSet(true);
    ordinary.Develoop_ButtonClick();
    QFont larger = designFont;
    larger.setPointSizeF(largerPointSize());
    QApplication::setFont(larger);
    TForm9 big;
    big.Link.stopReceiveTick();
    big.ExpertModeSet(true);
    const double factor = double(ScaledPixels(big.Content, 1000)) / 1000.0;
    ASSERT_GT(factor, 1.0) << "a larger font scales the layout";

    // Expert, then back to compact with the settings shown: the window's size and
    // the moved controls follow the same factor as the rest.
    big.Develoop_ButtonClick();
    EXPECT_EQ(big.Content->size(), QSize(ScaledPixels(big.Content, TForm9::kExpertWidth),
                                         ScaledPixels(big.Content, TForm9::kExpertHeight)));
    EXPECT_EQ(ordinary.Content->size(), QSize(TForm9::kExpertWidth, TForm9::kExpertHeight));
    big.Develoop_ButtonClick();
    big.Advanced_ButtonClick();
    EXPECT_EQ(big.Content->size(), QSize(ScaledPixels(big.Content, TForm9::kCompactWidth),
                                         ScaledPixels(big.Content, TForm9::kSettingsHeight)));
    // The start button sits below the settings panel, not on it.
    EXPECT_GE(big.StartButton_PortForm->y(), big.Panel2->geometry().bottom());
    EXPECT_LE(big.StartButton_PortForm->geometry().bottom(), big.Content->height());
}

TEST_F(LargerFontTest, TheProgrammedDriversReportBoxStaysInsideItsGrownWindow)
{
    QFont larger = designFont;
    larger.setPointSizeF(largerPointSize());
    QApplication::setFont(larger);
    TProgrammedDrivers report;
    QPlainTextEdit *box = report.ProgrammedDriversMemo;
    ASSERT_GT(report.width(), 1013) << "a larger font grows the window";
    // Built, then shown (the screen may narrow the window): the box follows the
    // window's width once, never past its right edge.
    EXPECT_TRUE(report.rect().contains(box->geometry())) << box->geometry().right() << " of " << report.width();
    report.ShowReport();
    EXPECT_TRUE(report.rect().contains(box->geometry())) << box->geometry().right() << " of " << report.width();
    EXPECT_GT(box->width(), report.width() * 9 / 10);
}

} // namespace
