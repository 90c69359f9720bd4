#include "desktop/verify_panel.h"

#include "desktop/controls.h"
#include "desktop/font_scale.h"
#include "verify/tag_verification.h"

#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTimer>

namespace {
// The result's colours: plain, readable from a distance on a production line.
const QColor kPassColour(0x1B, 0x7F, 0x2A);
const QColor kFailColour(0xC0, 0x1C, 0x1C);
const QColor kWaitingColour(0x5A, 0x5A, 0x5A);
const QColor kFailListBackground(0xFB, 0xE3, 0xE3);

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
    MakeWhitePanel(this, QSize(760, 440));

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
    VerifyDifferencesMemo->setGeometry(16, 206, 488, 124);
    VerifyDifferencesMemo->setReadOnly(true);
    QFont memo = VerifyDifferencesMemo->font();
    memo.setPointSize(12);
    VerifyDifferencesMemo->setFont(memo);

    AcknowledgeFailButton = new QPushButton(QStringLiteral("Acknowledge FAIL (Esc)"), this);
    AcknowledgeFailButton->setObjectName(QStringLiteral("AcknowledgeFailButton"));
    AcknowledgeFailButton->setGeometry(16, 340, 190, 34);
    AcknowledgeFailButton->setEnabled(false);
    connect(AcknowledgeFailButton, &QPushButton::clicked, this, [this] { AcknowledgeFailClick(); });
    acknowledgeKey_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    acknowledgeKey_->setContext(Qt::WindowShortcut);
    acknowledgeKey_->setEnabled(false);
    connect(acknowledgeKey_, &QShortcut::activated, this, [this] { AcknowledgeFailClick(); });

    auto *holdLabel = new QLabel(QStringLiteral("FAIL shown for"), this);
    holdLabel->setGeometry(216, 343, 100, 28);
    FailHoldSpinBox = new QSpinBox(this);
    FailHoldSpinBox->setObjectName(QStringLiteral("FailHoldSpinBox"));
    FailHoldSpinBox->setGeometry(316, 343, 188, 28);
    FailHoldSpinBox->setRange(0, 3600);
    FailHoldSpinBox->setSuffix(QStringLiteral(" s"));
    FailHoldSpinBox->setSpecialValueText(QStringLiteral("until acknowledged"));
    FailHoldSpinBox->setToolTip(QStringLiteral("How long a FAIL stays in the large field when nobody acknowledges it"));
    connect(FailHoldSpinBox, &QSpinBox::valueChanged, this, [this](int seconds) {
        history_.setFailHoldMs(qint64(seconds) * 1000);
        showLarge();
    });

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

    auto *listLabel = new QLabel(QStringLiteral("Verified drivers (newest first)"), this);
    listLabel->setGeometry(516, 10, 228, 26);
    VerifyHistoryList = new QListWidget(this);
    VerifyHistoryList->setObjectName(QStringLiteral("VerifyHistoryList"));
    VerifyHistoryList->setGeometry(516, 44, 228, 382);
    VerifyHistoryList->setSelectionMode(QAbstractItemView::NoSelection);
    VerifyHistoryList->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    FailHoldTimer = new QTimer(this);
    FailHoldTimer->setSingleShot(true);
    connect(FailHoldTimer, &QTimer::timeout, this, [this] { showLarge(); });

    // A larger font than the design's: every fixed position and size grows with it
    // (the result's own large type keeps its size and gets the larger room).
    ScaleFixedGeometry(this, WindowFontScale(this));
}

void TVerifyPanel::SetClock(VerifyHistory::Clock now) { history_.setClock(std::move(now)); }

void TVerifyPanel::ShowWaiting(int slotNumber)
{
    VerifyTitleLabel->setText(QStringLiteral("Verify against slot %1").arg(slotNumber));
    history_.clear();
    VerifyHistoryList->clear();
    showLarge();
    showCounts();
}

void TVerifyPanel::ShowResult(const TagVerification &result)
{
    history_.add(result);
    insertListItem(history_.entries().first());
    showLarge();
    showCounts();
}

void TVerifyPanel::AcknowledgeFailClick()
{
    if (!history_.failHeld())
        return;
    history_.acknowledge();
    showLarge();
}

void TVerifyPanel::showLarge()
{
    const VerifiedDriver *shown = history_.shown();
    if (!shown) {
        VerifyResultLabel->setText(kVerifyWaitingText);
        paintResult(VerifyResultLabel, kWaitingColour, 16);
        VerifySerialLabel->clear();
        VerifyDifferencesMemo->clear();
        VerifyDifferencesMemo->setPlaceholderText(QString());
    } else {
        const TagVerification &result = shown->result;
        VerifyResultLabel->setText(result.resultText());
        paintResult(VerifyResultLabel, result.passed ? kPassColour : kFailColour, 54);
        VerifySerialLabel->setText(QStringLiteral("Serial: ") + result.serial);
        VerifyDifferencesMemo->setPlainText(result.differences.join(QLatin1Char('\n')));
        VerifyDifferencesMemo->setPlaceholderText(result.passed ? QStringLiteral("No differences") : QString());
    }
    const bool held = history_.failHeld();
    AcknowledgeFailButton->setEnabled(held);
    acknowledgeKey_->setEnabled(held && isVisible());
    if (held && isVisible())
        AcknowledgeFailButton->setFocus(); // Space or Enter acknowledge as well
    // While a held FAIL has a time, the panel looks again at least four times a
    // second: its clock, not the timer, says when the time is up.
    const qint64 release = history_.msUntilRelease();
    if (release < 0)
        FailHoldTimer->stop();
    else
        FailHoldTimer->start(int(std::clamp<qint64>(release, 1, 250)));
}

void TVerifyPanel::showCounts()
{
    VerifyCountsLabel->setText(
        QStringLiteral("Passed: %1   Failed: %2").arg(history_.passedCount()).arg(history_.failedCount()));
}

void TVerifyPanel::insertListItem(const VerifiedDriver &entry)
{
    const TagVerification &r = entry.result;
    QString text = entry.time.toLocalTime().toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("  ")
                   + r.resultText() + QStringLiteral("  ") + r.serial;
    for (const QString &difference : r.differences)
        text += QStringLiteral("\n      ") + difference;
    auto *item = new QListWidgetItem(text);
    item->setToolTip(text); // the whole line where the list is too narrow for it
    if (!r.passed) {
        item->setForeground(kFailColour);
        item->setBackground(kFailListBackground);
        QFont bold = VerifyHistoryList->font();
        bold.setBold(true);
        item->setFont(bold);
    }
    VerifyHistoryList->insertItem(0, item);
}
