#pragma once
// The radio link window "settings (constant data)": connecting the stick, pairing
// the handheld programmer and, in the expert layout, every frame of the programmer
// protocol by hand with the radio log. The window only shows and forwards: the
// port, the receive tick and the protocol live in its RadioLink, which works
// whether the window is visible or not.

#include "radio/radio_link.h"

#include <QWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QScrollArea;
class QStatusBar;
class QTimer;
class TButton;

class TForm9 : public QWidget {
    Q_OBJECT
public:
    explicit TForm9(QWidget *parent = nullptr);
    ~TForm9() override;

    // Layout sizes.
    static constexpr int kCompactWidth = 435;
    static constexpr int kCompactHeight = 180;
    static constexpr int kSettingsHeight = 290;
    static constexpr int kPromptHeight = 210;
    static constexpr int kExpertWidth = 920;
    static constexpr int kExpertHeight = 620;

    // The port, the receive ring and the protocol state.
    RadioLink Link;

    // ---- Port row ------------------------------------------------------------------
    QComboBox *ComboBoxComPort = nullptr;
    TButton *ButtonSearchComPorts = nullptr;
    TButton *OpenPortButton = nullptr;
    // ---- Pairing row -------------------------------------------------------------------
    QLabel *LabelReceiverId = nullptr;
    QLineEdit *EditReceiverId = nullptr;
    QLabel *LabelReceiverFW = nullptr;
    QLineEdit *EditReceiverFW = nullptr;
    TButton *SendPairingRequestButton = nullptr;
    TButton *Develoop_Button = nullptr;
    TButton *Advanced_Button = nullptr;
    TButton *StartButton_PortForm = nullptr;
    // ---- Panel2: sensitivity and calibration ------------------------------------------------
    QFrame *Panel2 = nullptr;
    TButton *SelectNFCsensitivityButton = nullptr;
    QGroupBox *rgSens = nullptr;
    QRadioButton *rgSensHigh = nullptr;
    QRadioButton *rgSensLow = nullptr;
    TButton *CalibrationButton = nullptr;
    // ---- Panel6: connect prompt ----------------------------------------------------------
    QFrame *Panel6 = nullptr;
    QLabel *Image1 = nullptr;
    QLabel *LabelConnect = nullptr;
    TButton *OK_Button = nullptr;
    // ---- Panel1 (expert) -------------------------------------------------------------------
    QFrame *Panel1 = nullptr;
    QLabel *Label9 = nullptr;
    QLineEdit *EditReceiverVersion = nullptr;
    TButton *GetStickVersionButton = nullptr;
    TButton *Button14 = nullptr;
    TButton *ViewTagInfoButton = nullptr;
    TButton *CleanReceiveButton = nullptr;
    QLineEdit *EditUserText = nullptr;
    TButton *Button7 = nullptr;
    QLineEdit *Edit1 = nullptr;
    TButton *Button1 = nullptr;
    QPlainTextEdit *MemoReceive = nullptr;
    // ---- Panel3 (expert) ---------------------------------------------------------------------
    QFrame *Panel3 = nullptr;
    TButton *SwitchProgButton = nullptr;
    TButton *SwichReadButton = nullptr;
    QCheckBox *CheckBox1 = nullptr;
    QCheckBox *CheckBox2 = nullptr;
    TButton *ButtonFirmwareUpdate = nullptr;
    // ---- Panel5 (expert) ---------------------------------------------------------------------
    QFrame *Panel5 = nullptr;
    QLineEdit *EditGTIN = nullptr;
    QLineEdit *EditFW = nullptr;
    QLineEdit *EditSerial = nullptr;
    QLineEdit *EditHW = nullptr;
    QPlainTextEdit *MemoData = nullptr;
    TButton *SendTagButton = nullptr;
    TButton *SendTagDataButton = nullptr;
    TButton *SendProgrammingData = nullptr;
    QLabel *LabelTotal = nullptr;
    // ---- Status bar: port state, send state, stick acknowledgement, own ID ---------------
    QStatusBar *StatusBar1 = nullptr;
    std::array<QLabel *, 4> StatusPanels{};
    // The receive tick (the link's timer, 110 ms, running from creation).
    QTimer *Timer1 = nullptr;
    // After the stick's port went away: looks for it once a second and opens it
    // again when it is back (stopped when a port is opened by hand).
    QTimer *ReconnectTimer = nullptr;
    static constexpr int kReconnectIntervalMs = 1000;
    // One look for the lost port: opens it when it is there again; true when it did.
    bool ReconnectWhenBack();
    // The surface the controls stand on (the layout's size) and the window's view
    // of it, which scrolls when the screen has less room than the layout.
    QWidget *Content = nullptr;
    QScrollArea *Scroll = nullptr;

    // ---- Handlers ---------------------------------------------------------------------------
    void FormCreate();
    void FormShow();
    void FormClose();
    void Develoop_ButtonClick();
    void Advanced_ButtonClick();
    void StartButton_PortFormClick();
    void OK_ButtonClick();
    void ViewTagInfoButtonClick();
    void ButtonFirmwareUpdateClick();
    void CleanReceiveButtonClick();
    void ButtonSearchComPortsClick();
    void OpenPortButtonClick();
    void GetStickVersionButtonClick();
    void Button14Click();
    void SendPairingRequestButtonClick();
    void SelectNFCsensitivityButtonClick();
    void CalibrationButtonClick();
    void Button7Click();
    void Button1Click();
    void SwitchProgButtonClick();
    void SwichReadButtonClick();
    void SendTagButtonClick();
    void SendTagDataButtonClick();
    void SendProgrammingDataClick();

    // ---- Used by the other windows ------------------------------------------------------------
    bool PortOpen() const { return Link.isPortOpen(); }
    // The data package of the main window's "send": identity data from this
    // window's edits, then `items`, the main window's programming data list.
    void SendCurrentDataPackage(const QStringList &items);
    // The active slot's programmer ID and firmware shown in the pairing row.
    void ShowReceiver(const QString &id, const QString &firmware);
    // Expert mode enables the "Develop" button.
    void ExpertModeSet(bool expert);
    void Send(const QString &text, bool broadcast) { Link.Send(text, broadcast); }
    // Called when the main window closes.
    void CloseSoftware() { Link.CloseSoftware(); }
    // After a driver model was loaded: shows the window, finds the ports, selects
    // "High", runs the "Open port" toggle and shows the connect prompt (height 210).
    void ShowAfterModelLoaded();

signals:
    // The window was closed (the receiver ID and firmware went into the active slot).
    void closed();
    // "Start" was pressed and the window closed.
    void startPressed();
    // "View tag info" was pressed.
    void tagInfoWanted();
    // "Firmware update" was pressed.
    void firmwareUpdateWanted();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Sizes are the layout's; a larger font than the layout's scales them.
    void setWindowSize(int width, int height);
    // The layout's width in the present mode (compact or expert).
    int layoutWidth() const;
    // What the identity edits and the data memo hold now.
    IdentityFields identity() const;
    QStringList memoLines() const;
};

