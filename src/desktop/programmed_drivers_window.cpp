#include "desktop/programmed_drivers_window.h"

#include "common/dialogs.h"
#include "desktop/controls.h"
#include "desktop/font_scale.h"
#include "desktop/window_owner.h"
#include "records/records_database.h"
#include "records/records_store.h"
#include "records/records_task.h"
#include "records/sqlite_answer.h"

#include <QAbstractTextDocumentLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <memory>

namespace {
// The report's text box with a header line in a strip above its text. The strip
// stays when the lines scroll up and down and moves with them sideways, so each
// name stays above the same part of the lines.
class ReportMemo : public QPlainTextEdit {
public:
    explicit ReportMemo(QWidget *parent) : QPlainTextEdit(parent)
    {
        strip_ = new QWidget(this);
        strip_->setObjectName(QStringLiteral("ColumnHeaderStrip"));
        header_ = new QLabel(strip_);
        header_->setObjectName(QStringLiteral("ColumnHeader"));
        header_->setTextFormat(Qt::PlainText);
        connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { placeHeader(); });
        // The box sets the sideways range from its lines; the header (its names are
        // often longer than the values) needs to be reached to its end too.
        connect(horizontalScrollBar(), &QScrollBar::rangeChanged, this, [this] { reachHeaderEnd(); });
    }

    QLabel *header() const { return header_; }

    void setHeaderText(const QString &text)
    {
        QFont bold = font();
        bold.setBold(true);
        header_->setFont(bold);
        header_->setText(text);
        header_->adjustSize();
        setViewportMargins(0, header_->height() + 2, 0, 0);
        reachHeaderEnd();
        placeHeader();
    }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QPlainTextEdit::resizeEvent(event);
        reachHeaderEnd();
        placeHeader();
    }

private:
    void reachHeaderEnd()
    {
        QScrollBar *bar = horizontalScrollBar();
        const int margin = static_cast<int>(document()->documentMargin());
        const int needed = header_->text().isEmpty() ? 0 : header_->width() + 2 * margin - viewport()->width();
        if (needed > bar->maximum())
            bar->setRange(0, needed);
    }

    void placeHeader()
    {
        const QRect area = viewport()->geometry();
        strip_->setGeometry(area.left(), frameWidth(), area.width(), area.top() - frameWidth());
        // The text starts at the document's margin; the header starts with it.
        const int margin = static_cast<int>(document()->documentMargin());
        header_->move(margin - horizontalScrollBar()->value(), 1);
    }

    QWidget *strip_ = nullptr;
    QLabel *header_ = nullptr;
};

QString HeaderLine(const SQLiteAnswerClass &answer)
{
    // The same layout as a record's line: the line number, two blanks, then each
    // column followed by " - ".
    QString line = QStringLiteral("#  ");
    for (int col = 0; col < answer.GetColoumCount(); ++col)
        line += answer.GetHeader(col) + QStringLiteral(" - ");
    return line;
}
} // namespace

const QString TProgrammedDrivers::kReadingText = QStringLiteral("Reading the records \u2026");

TProgrammedDrivers::TProgrammedDrivers(QWidget *parent) : QDialog(parent)
{
    Reader = new RecordsTask(this);
    setWindowTitle(QStringLiteral("Programmed Drivers"));
    setFixedSize(1013, 350);
    // Opens centred on the main window, inside the screen.
    SetWindowOwner(this, parent);
    SetWhiteBackground(this);

    auto *memo = new ReportMemo(this);
    ProgrammedDriversMemo = memo;
    ColumnHeader = memo->header();
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
    if (Reader->running())
        return; // the reading under way answers this click too
    ProgrammedDriversMemo->setExtraSelections({});
    ProgrammedDriversMemo->setPlainText(kReadingText);
    // A busy file or a slow server keeps the reading thread waiting, not the window.
    struct Answer {
        bool read = false;
        SQLiteAnswerClass rows;
        QString reason;
    };
    auto answer = std::make_shared<Answer>();
    Reader->start(
        activeRecordsStore().clone(),
        [answer](RecordsStore &store) {
            answer->read = store.query(RecordQuery::DriversReport, kReportLineLimit, QString(), answer->rows,
                                       &answer->reason);
        },
        [this, answer] { showAnswer(answer->read, answer->rows, answer->reason); });
}

bool TProgrammedDrivers::Reading() const { return Reader->running(); }

void TProgrammedDrivers::showAnswer(bool read, const SQLiteAnswerClass &answer, const QString &reason)
{
    QStringList lines;
    if (read) {
        lines = RecordReportLines(answer, kReportLineLimit);
        // The repeat mark is the last column.
        const int repeat = answer.GetColoumCount() - 1;
        for (int i = 0; i < lines.size(); ++i)
            if (answer.GetHeader(repeat) == QLatin1String("repeat") && answer.Get(repeat, i) == QLatin1String("1"))
                lines[i] += kRepeatLineMark;
    } else {
        ProgrammedDriversMemo->clear();
        dialogs().message(QString(), reason);
    }
    // An empty table has no column names of its own; an earlier header stays.
    if (answer.GetColoumCount() > 0)
        static_cast<ReportMemo *>(ProgrammedDriversMemo)->setHeaderText(HeaderLine(answer));
    ProgrammedDriversMemo->setPlainText(lines.join(QLatin1Char('\n')));
    // The box lays out only the lines it has shown, and scrolls sideways only as far
    // as those reach: a long line further down would stay cut until scrolled into
    // view. Every line is laid out now, so the scroll bar reaches the longest end.
    QAbstractTextDocumentLayout *layout = ProgrammedDriversMemo->document()->documentLayout();
    for (QTextBlock b = ProgrammedDriversMemo->document()->begin(); b.isValid(); b = b.next())
        layout->blockBoundingRect(b);
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
