#include "desktop/programmed_drivers_window.h"

#include "desktop/controls.h"
#include "desktop/font_scale.h"
#include "desktop/window_owner.h"
#include "records/records_database.h"

#include <QPlainTextEdit>
#include <QTextBlock>


TProgrammedDrivers::TProgrammedDrivers(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Programmed Drivers"));
    setFixedSize(1013, 350);
    // Opens centred on the main window, inside the screen.
    SetWindowOwner(this, parent);
    SetWhiteBackground(this);

    ProgrammedDriversMemo = new QPlainTextEdit(this);
    ProgrammedDriversMemo->setGeometry(15, 15, 985, 321);
    ProgrammedDriversMemo->setReadOnly(true);
    ProgrammedDriversMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    ProgrammedDriversMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ProgrammedDriversMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(13);
    ProgrammedDriversMemo->setFont(font);
    // A larger font than the design's: the window and the report's box grow with
    // it (the report keeps its own type unless a style sheet sets another).
    ScaleFixedGeometry(this, WindowFontScale(this));
    // Narrowed with the window on a small screen (after the scaling, which would
    // otherwise grow the followed width a second time).
    FollowParentWidth(ProgrammedDriversMemo, ScaledPixels(this, 13));
}

void TProgrammedDrivers::ShowReport()
{
    // No wider than the screen (a large scale); the report scrolls sideways.
    if (!isVisible())
        setFixedSize(SizeOnScreen(this, QSize(ScaledPixels(this, 1013), ScaledPixels(this, 350))));
    show();
    raise();
    ProgrammedDriversMemo->clear();
    const QStringList lines = ProgrammedDriversReportLines(kReportLineLimit, nullptr, true);
    ProgrammedDriversMemo->setPlainText(lines.join(QLatin1Char('\n')));
    // A driver recorded before: its line is marked in text and shaded.
    QList<QTextEdit::ExtraSelection> marks;
    QTextBlock block = ProgrammedDriversMemo->document()->begin();
    for (const QString &line : lines) {
        if (line.endsWith(kRepeatLineMark)) {
            QTextEdit::ExtraSelection mark;
            mark.cursor = QTextCursor(block);
            mark.format.setBackground(QColor(255, 224, 178));
            mark.format.setProperty(QTextFormat::FullWidthSelection, true);
            marks << mark;
        }
        block = block.next();
    }
    ProgrammedDriversMemo->setExtraSelections(marks);
}
