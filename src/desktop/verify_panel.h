#pragma once
// The verify panel of the main window: while verify mode is on, one driver's
// result large and plain (PASS on green, FAIL on red) with its serial number and
// the differences one per line, the list of every driver verified in this mode
// (newest on top, failed ones in red), and the running count of passed and failed
// drivers; "End verify" ends the mode. A FAIL stays in the large field until the
// operator acknowledges it (the button, or Escape) or the time chosen beside the
// button has passed; the drivers read meanwhile go into the list. The panel only
// shows what the verify session reports.

#include "verify/verify_history.h"

#include <QFrame>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QShortcut;
class QSpinBox;
class QTimer;

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
    // Every driver of this mode, newest first: "HH:mm:ss  PASS  serial", a FAIL
    // in red with its differences below.
    QListWidget *VerifyHistoryList = nullptr;
    QPushButton *AcknowledgeFailButton = nullptr; // enabled while a FAIL is held
    // How long a FAIL is held without acknowledgement, in seconds (0: until acknowledged).
    QSpinBox *FailHoldSpinBox = nullptr;
    // Wakes the panel when a held FAIL's time is up.
    QTimer *FailHoldTimer = nullptr;

    // A new mode for slot `slotNumber`: no result yet, an empty list, counts 0.
    void ShowWaiting(int slotNumber);
    // The result of one more driver.
    void ShowResult(const TagVerification &result);
    // The operator saw the held FAIL: the large field is free for the next driver.
    void AcknowledgeFailClick();

    // The clock of the results' times and of the hold (tests give their own).
    void SetClock(VerifyHistory::Clock now);
    const VerifyHistory &History() const { return history_; }

signals:
    void endRequested();

private:
    void showLarge();   // the large field, the acknowledgement and the hold timer
    void showCounts();
    void insertListItem(const VerifiedDriver &entry);

    VerifyHistory history_;
    QShortcut *acknowledgeKey_ = nullptr;
};
