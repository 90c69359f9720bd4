#pragma once
// "Firmware Updater": finds and opens the handheld programmer's own USB serial port,
// switches the programmer into its bootloader with the magic code and plays the
// firmware script, with every step in the log and the position in the progress bar.

#include "firmware/firmware_updater.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QStatusBar;

class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget *parent = nullptr);
    ~TForm2() override; // FormDestroy: the port object is closed and released

    QLabel *Label1 = nullptr;
    QComboBox *ComboBoxComPortFW = nullptr;
    QPushButton *ButtonSearchComPortsFW = nullptr;
    QPushButton *RefreshList1 = nullptr;
    QPushButton *ButtonOpenComPortsFW = nullptr;
    QPushButton *Button1 = nullptr; // Send MagicCode
    QPushButton *Button2 = nullptr; // Send Firmware
    QPushButton *Button3 = nullptr; // Send MC + FW
    QPlainTextEdit *MemoLogg = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QLabel *StatusPanel0 = nullptr; // the status bar's one panel

    // Shows the window modally (the radio link window and the update offer use this).
    int ShowModal();

    void FormShow();
    void RefreshList1Click();
    void ButtonSearchComPortsFWClick();
    void ButtonOpenComPortsFWClick();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    // Appends a log line; with `scroll`, shows the last line and lets pending events run.
    void NewLog(const QString &text, bool scroll);

    // Escape and the close button do nothing while a transfer runs.
    void reject() override;
    // True while a button's operation runs.
    bool Busy() const { return updater_.busy(); }
    const FirmwareUpdater &Updater() const { return updater_; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void ShowUpdaterState();

    FirmwareUpdater updater_;
};

