// A walk through the four parameter editors as a user fills a profile: a drag on
// the current graph sets the nominal current, and valid CLO, DC level and NTC
// entries (one CLO level written "0") are taken without a message. The same walk
// writes the editors' pictures in tools/screenshots (window_pictures).
#include "main_window_fixture.h"

#include "desktop/graph_view.h"

#include <QTest>

namespace {

void setAndLeave(TEdit *edit, const QString &text)
{
    edit->setText(text);
    RunUserAction(edit->OnExit);
}

} // namespace

TEST_F(MainWindowTest, EditorWalkThroughTakesValidEntriesWithoutAMessage)
{
    form->show();
    form->Setting1ToolButtonClick();
    dlg.clear();

    // Current: the line dragged to 525 mA.
    form->CurrentEditEnter();
    QWidget *plot = form->CurrentGraph->Plot();
    QTest::mousePress(plot, Qt::LeftButton, Qt::NoModifier, QPoint(200, 180));
    QTest::mouseRelease(plot, Qt::LeftButton, Qt::NoModifier, QPoint(200, 180));
    EXPECT_EQ(form->NomCurrentEdit->text(), QStringLiteral("525"));

    // CLO: a falling profile over 50000 h, one level written "0".
    form->CLOEditEnter();
    activeProfile().Level[3].min = QStringLiteral("0");
    setAndLeave(form->clo_LifeTimeEdit, QStringLiteral("50000"));
    setAndLeave(form->clo_L2_Edit, QStringLiteral("90"));
    setAndLeave(form->clo_L3_Edit, QStringLiteral("80.5"));
    setAndLeave(form->clo_L4_Edit, QStringLiteral("0"));
    setAndLeave(form->clo_L5_Edit, QStringLiteral("60"));
    EXPECT_TRUE(dlg.messages.isEmpty()) << dlg.texts().join(" | ").toStdString();

    // DC level at 70 %.
    form->DClevelEditEnter();
    setAndLeave(form->DC_level_Edit, QStringLiteral("70"));

    // NTC with the default temperatures and a span of 85.
    form->NTCEditEnter();
    setAndLeave(form->NTC_cut_degree_edit, QStringLiteral("85"));
    setAndLeave(form->NTC_stop_edit, QStringLiteral("40"));
    EXPECT_TRUE(dlg.messages.isEmpty()) << dlg.texts().join(" | ").toStdString();
    form->close();
}
