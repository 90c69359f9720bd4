#pragma once
// The "Tag Info" window: a driver's tag as the handheld programmer read it - the
// identity, the raw bytes and the parameters decoded at the active profile's
// addresses - with the copy of those values into the active profile slot.
// The window keeps no state of its own; every showing rebuilds it.

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QFrame;

class TFormTagInfo : public QDialog {
    Q_OBJECT
public:
    explicit TFormTagInfo(QWidget *parent = nullptr);

    static constexpr int kNormalWidth = 526;
    static constexpr int kExpertWidth = 760;

    // ---- Controls ------------------------------------------------------------------
    QGroupBox *TagIdentGroupBox = nullptr; // "Tag Ident Info"
    QLineEdit *txtGTIN = nullptr;
    QLineEdit *txtSerial = nullptr;
    QLineEdit *txtFW = nullptr;
    QLineEdit *txtHW = nullptr;
    QGroupBox *RawTagIdentGroupBox = nullptr; // "Raw Tag Ident Info"
    QListWidget *lstTagIdent = nullptr;
    QGroupBox *AdjustedParametersPanel = nullptr; // "Adjusted parameters"
    QPlainTextEdit *UserFriendlyDataMemo = nullptr;
    QPushButton *btnRefresh = nullptr;
    QPushButton *CopyDataToProfileButton = nullptr;
    QFrame *ReadDriverHexDataPanel = nullptr; // expert mode only
    QLineEdit *txtRWsize = nullptr;
    QListWidget *lstTagRW = nullptr;
    QLineEdit *txtRsize = nullptr;
    QListWidget *lstTagR = nullptr;

    // ---- Operations -------------------------------------------------------------------
    // Fills every control from the tag buffers and the active slot.
    void ShowData();
    // The decoded parameter lines, or the mismatch box when the identity differs.
    void ShowUserFriendlyData();
    // Copies the decoded values into the active slot (asks first when the identity differs).
    void CopyReadDataToProfile();
    // Marks the tag ident data as not read.
    void CleanTagInfoPanel();
    // Shows or hides the raw-area panel and sets the width to match.
    void SetExpertLayout(bool expert);

    void btnRefreshClick() { ShowData(); }
    void CopyDataToProfileButtonClick() { CopyReadDataToProfile(); }

signals:
    // The tag's values were copied into the active slot; `dcActive` is the DC
    // emergency operation state they stand for.
    void tagTakenOver(bool dcActive);

protected:
    void showEvent(QShowEvent *event) override;
};

