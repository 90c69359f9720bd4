// What the main window lets the user see: long driver values cut with "…" and
// whole in a tooltip, more of them in a wider window, and a DC level bar whose
// handle stands out from its track.
#include "main_window_fixture.h"
#include "focus_chain.h"

#include "desktop/controls.h"
#include "profile/profile_record.h"

#include <QEvent>
#include <QHelpEvent>
#include <QImage>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

namespace {

// The tooltip the label shows when the mouse rests on it.
QString tooltipOnHover(QLabel *label)
{
    QHelpEvent hover(QEvent::ToolTip, QPoint(2, 2), label->mapToGlobal(QPoint(2, 2)));
    QCoreApplication::sendEvent(label, &hover);
    return label->toolTip();
}

class MainWindowLookTest : public MainWindowTest {
protected:
    void showSlot(const QString &type)
    {
        activeProfile().familyName = QStringLiteral("Lumera Outdoor");
        activeProfile().type = type;
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        form->Setting1ToolButtonClick();
    }
    TElidedLabel *typeLabel() { return qobject_cast<TElidedLabel *>(form->TypeLabel); }
};

TEST_F(MainWindowLookTest, ALongModelTypeIsCutWithAnEllipsisAndShownWholeInItsTooltip)
{
    const QString longType = QStringLiteral("LO 60/700-1400 NFC NTC outdoor dimmable two-channel special edition");
    showSlot(longType);
    TElidedLabel *label = typeLabel();
    ASSERT_NE(label, nullptr);
    ASSERT_TRUE(label->isVisible());

    EXPECT_EQ(label->text(), longType) << "the label keeps the whole value";
    const QString shown = label->shownText();
    ASSERT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
    EXPECT_TRUE(longType.startsWith(shown.chopped(1)));
    EXPECT_LE(label->fontMetrics().horizontalAdvance(shown), label->contentsRect().width());
    EXPECT_EQ(tooltipOnHover(label), longType);

    // A wider window gives the driver panel more room: more of the value shows.
    form->resize(form->width() + 300, form->height());
    QCoreApplication::processEvents();
    EXPECT_GT(label->shownText().size(), shown.size());
    EXPECT_LE(label->geometry().right(), form->VariablePanel->width());
}

TEST_F(MainWindowLookTest, AValueThatFitsIsShownWholeWithoutATooltip)
{
    showSlot(QStringLiteral("LC 25"));
    TElidedLabel *label = typeLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->shownText(), QStringLiteral("LC 25"));
    EXPECT_FALSE(label->isElided());
    EXPECT_TRUE(tooltipOnHover(label).isEmpty());
}

// The handle's colour against the track's, as a difference of lightness (0-255).
int handleContrast(QScrollBar *bar)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.subControls = QStyle::SC_All;
    const QRect handle = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar);
    const QImage image = bar->grab().toImage();
    const QColor onHandle = image.pixelColor(handle.center());
    // The track below the handle (the handle stands at the top, the highest level).
    const QColor onTrack = image.pixelColor(handle.center().x(), (handle.bottom() + bar->height()) / 2);
    return std::abs(onHandle.lightness() - onTrack.lightness());
}

TEST_F(MainWindowLookTest, TheDcLevelBarsHandleIsPlainlyVisible)
{
    showSlot(QStringLiteral("LC 25"));
    form->DClevelEditEnter();
    QScrollBar *bar = form->DC_ScrollBar;
    ASSERT_TRUE(bar->isVisible());
    bar->setEnabled(true);
    bar->setValue(bar->minimum());
    EXPECT_GE(handleContrast(bar), 60);
    bar->setEnabled(false);
    EXPECT_GE(handleContrast(bar), 30) << "the handle of a disabled bar still shows where the level stands";
}

} // namespace

namespace {

TEST_F(MainWindowLookTest, TabRunsThroughTheOpenEditorsFieldsInReadingOrderThenToSave)
{
    showSlot(QStringLiteral("LC 25"));
    const struct {
        void (TForm1::*open)();
        QWidget *first;
        QStringList stops;
    } cases[] = {
        {&TForm1::CurrentEditEnter, form->NomCurrentEdit, {"NomCurrentEdit", "OK"}},
        {&TForm1::CLOEditEnter,
         form->clo_LifeTimeEdit,
         {"clo_LifeTimeEdit", "CLO_EnableCheckBox", "clo_L1_Edit", "clo_L2_Edit", "clo_L3_Edit", "clo_L4_Edit",
          "clo_L5_Edit", "OK"}},
        {&TForm1::DClevelEditEnter, form->DC_level_active, {"DC_level_active", "DC_level_Edit", "OK"}},
        {&TForm1::NTCEditEnter,
         form->NTC_start_degree_edit,
         {"NTC_start_degree_edit", "NTC_stop_degree_edit", "NTC_cut_degree_edit", "NTC_stop_edit", "OK"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.stops.first().toStdString());
        (form.get()->*c.open)();
        EXPECT_EQ(TabStops(c.first, form->OK), c.stops);
        EXPECT_EQ(form->OK->nextInFocusChain(), form->CloseInterfaceButton);
    }
}

} // namespace
