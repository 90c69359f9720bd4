// The "Programmed Drivers" report: a header line naming the columns, which stays
// in view when the lines scroll up and down and moves with them sideways, and
// lines that can be scrolled to their end however far down the longest one is.
#include "main_window_fixture.h"

#include "desktop/programmed_drivers_window.h"
#include "records/records_database.h"
#include "wait_for.h"

#include <QAbstractTextDocumentLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

namespace {
// The width the text box needs to show `block` to its last character.
int blockEnd(QPlainTextEdit *memo, const QTextBlock &block)
{
    const qreal margin = memo->document()->documentMargin();
    return int(memo->fontMetrics().horizontalAdvance(block.text()) + margin);
}
} // namespace

TEST_F(MainWindowTest, TheReportNamesItsColumnsAndScrollsToTheEndOfEveryLine)
{
    // The first driver again (its line carries the repeat text, the longest line),
    // then enough newer drivers that its line lies far below the first screen.
    WriteDriversToDatabaseInAppdataWithSettings("2.10", "0x01", "0x0180A2B3", "0000000000000001");
    WriteDriversToDatabaseInAppdataWithSettings("2.10", "0x01", "0x0180A2B3", "0000000000000001");
    for (int i = 0; i < 60; ++i)
        WriteDriversToDatabaseInAppdataWithSettings("2.10", "0x01", "0x0180A2B3",
                                                    QStringLiteral("%1").arg(100 + i, 16, 10, QLatin1Char('0')));
    TProgrammedDrivers report(form.get());
    report.ShowReport();
    ASSERT_TRUE(waitFor([&] { return !report.Reading(); }, kWaitLimitMs));
    QPlainTextEdit *memo = report.ProgrammedDriversMemo;
    const QStringList lines = memo->toPlainText().split('\n');
    ASSERT_EQ(lines.size(), 62);
    ASSERT_TRUE(lines[60].endsWith("REPEAT: programmed before")) << lines[60].toStdString();

    // The header: the line number, then every column of the line in its order.
    const QString header = report.ColumnHeader->text();
    EXPECT_TRUE(header.startsWith("#  datetime - ")) << header.toStdString();
    EXPECT_TRUE(header.contains(" - serialNumber - ")) << header.toStdString();
    EXPECT_TRUE(header.endsWith(" - repeat - ")) << header.toStdString();
    EXPECT_EQ(header.count(" - "), lines[0].count(" - ")) << "one name per column";

    // The repeat line, far down, can be scrolled to its last character.
    QScrollBar *sideways = memo->horizontalScrollBar();
    const int needed = blockEnd(memo, memo->document()->findBlockByNumber(60));
    EXPECT_GE(sideways->maximum() + memo->viewport()->width(), needed)
        << "the scroll bar reaches the end of the longest line";
    EXPECT_GE(sideways->maximum() + memo->viewport()->width(), report.ColumnHeader->width())
        << "and the end of the header";

    // Scrolled down, the header stays above the text; scrolled sideways it moves
    // with the lines.
    memo->verticalScrollBar()->setValue(memo->verticalScrollBar()->maximum());
    const QRect headerArea(report.ColumnHeader->parentWidget()->mapTo(memo, QPoint(0, 0)),
                           report.ColumnHeader->parentWidget()->size());
    EXPECT_TRUE(report.ColumnHeader->isVisibleTo(&report));
    EXPECT_LE(headerArea.bottom(), memo->viewport()->geometry().top()) << "the header does not cover a line";
    const int xBefore = report.ColumnHeader->x();
    sideways->setValue(120);
    EXPECT_EQ(report.ColumnHeader->x(), xBefore - 120);
}
