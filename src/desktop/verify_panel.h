#pragma once
// The verify panel of the main window: while verify mode is on, the last driver's
// result large and plain (PASS on green, FAIL on red) with its serial number, the
// differences one per line, and the running count of passed and failed drivers;
// "End verify" ends the mode. The panel only shows what the verify session reports.

#include <QFrame>

class QLabel;
class QPlainTextEdit;
class QPushButton;
struct TagVerification;

inline const QString kVerifyModifiedMessage = QStringLiteral("Data were modified. Save them before verifying");
inline const QString kVerifyWaitingText = QStringLiteral("Hold the NFC-Programmer to the next driver");

class TVerifyPanel : public QFrame {
    Q_OBJECT
public:
    explicit TVerifyPanel(QWidget *parent = nullptr);

    QLabel *VerifyTitleLabel = nullptr;   // "Verify slot N"
    QLabel *VerifyResultLabel = nullptr;  // "PASS" / "FAIL" / the waiting text
    QLabel *VerifySerialLabel = nullptr;  // "Serial: ..."
    QPlainTextEdit *VerifyDifferencesMemo = nullptr;
    QLabel *VerifyCountsLabel = nullptr;  // "Passed: P   Failed: F"
    QPushButton *EndVerifyButton = nullptr;

    // A new mode for slot `slotNumber`: no result yet, counts 0.
    void ShowWaiting(int slotNumber);
    // The result of one driver with the counts so far.
    void ShowResult(const TagVerification &result, int passed, int failed);

signals:
    void endRequested();

private:
    void showCounts(int passed, int failed);
};
