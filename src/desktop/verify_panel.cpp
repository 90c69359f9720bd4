#include "desktop/verify_panel.h"

#include "desktop/controls.h"
#include "desktop/font_scale.h"
#include "verify/tag_verification.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {
// The result's colours: plain, readable from a distance on a production line.
const QColor kPassColour(0x1B, 0x7F, 0x2A);
const QColor kFailColour(0xC0, 0x1C, 0x1C);
const QColor kWaitingColour(0x5A, 0x5A, 0x5A);

void paintResult(QLabel *label, const QColor &background, int pointSize)
{
    label->setStyleSheet(QStringLiteral("QLabel { background-color: %1; color: white; font-weight: bold; "
                                        "font-size: %2pt; }")
                             .arg(background.name())
                             .arg(pointSize));
}
} // namespace

TVerifyPanel::TVerifyPanel(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("VerifyPanel"));
    MakeWhitePanel(this, QSize(520, 440));

    VerifyTitleLabel = new QLabel(this);
    VerifyTitleLabel->setGeometry(16, 10, 488, 26);
    QFont title = VerifyTitleLabel->font();
    title.setPointSize(13);
    title.setBold(true);
    VerifyTitleLabel->setFont(title);

    VerifyResultLabel = new QLabel(this);
    VerifyResultLabel->setObjectName(QStringLiteral("VerifyResultLabel"));
    VerifyResultLabel->setGeometry(16, 44, 488, 120);
    VerifyResultLabel->setAlignment(Qt::AlignCenter);
    VerifyResultLabel->setWordWrap(true);

    VerifySerialLabel = new QLabel(this);
    VerifySerialLabel->setGeometry(16, 172, 488, 28);
    QFont serial = VerifySerialLabel->font();
    serial.setPointSize(14);
    VerifySerialLabel->setFont(serial);
    VerifySerialLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);

    VerifyDifferencesMemo = new QPlainTextEdit(this);
    VerifyDifferencesMemo->setObjectName(QStringLiteral("VerifyDifferencesMemo"));
    VerifyDifferencesMemo->setGeometry(16, 206, 488, 170);
    VerifyDifferencesMemo->setReadOnly(true);
    QFont memo = VerifyDifferencesMemo->font();
    memo.setPointSize(12);
    VerifyDifferencesMemo->setFont(memo);

    VerifyCountsLabel = new QLabel(this);
    VerifyCountsLabel->setObjectName(QStringLiteral("VerifyCountsLabel"));
    VerifyCountsLabel->setGeometry(16, 392, 330, 32);
    QFont counts = VerifyCountsLabel->font();
    counts.setPointSize(14);
    counts.setBold(true);
    VerifyCountsLabel->setFont(counts);

    EndVerifyButton = new QPushButton(QStringLiteral("End verify"), this);
    EndVerifyButton->setObjectName(QStringLiteral("EndVerifyButton"));
    EndVerifyButton->setGeometry(364, 390, 140, 36);
    connect(EndVerifyButton, &QPushButton::clicked, this, [this] { emit endRequested(); });

    // A larger font than the design's: every fixed position and size grows with it
    // (the result's own large type keeps its size and gets the larger room).
    ScaleFixedGeometry(this, WindowFontScale(this));
}

void TVerifyPanel::ShowWaiting(int slotNumber)
{
    VerifyTitleLabel->setText(QStringLiteral("Verify against slot %1").arg(slotNumber));
    VerifyResultLabel->setText(kVerifyWaitingText);
    paintResult(VerifyResultLabel, kWaitingColour, 16);
    VerifySerialLabel->clear();
    VerifyDifferencesMemo->clear();
    VerifyDifferencesMemo->setPlaceholderText(QString());
    showCounts(0, 0);
}

void TVerifyPanel::ShowResult(const TagVerification &result, int passed, int failed)
{
    VerifyResultLabel->setText(result.resultText());
    paintResult(VerifyResultLabel, result.passed ? kPassColour : kFailColour, 54);
    VerifySerialLabel->setText(QStringLiteral("Serial: ") + result.serial);
    VerifyDifferencesMemo->setPlainText(result.differences.join(QLatin1Char('\n')));
    VerifyDifferencesMemo->setPlaceholderText(result.passed ? QStringLiteral("No differences") : QString());
    showCounts(passed, failed);
}

void TVerifyPanel::showCounts(int passed, int failed)
{
    VerifyCountsLabel->setText(QStringLiteral("Passed: %1   Failed: %2").arg(passed).arg(failed));
}
