#include "desktop/radio_link_window.h"

#include "desktop/controls.h"
#include "desktop/font_scale.h"
#include "desktop/window_owner.h"
#include "common/dialogs.h"
#include "common/programmer_id.h"
#include "profile/profile_record.h"
#include "radio/tag_reception.h"
#include "radio/tavel_frames.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>


namespace {
template <typename W>
W *place(W *w, int x, int y, int width, int height)
{
    w->setGeometry(x, y, width, height);
    return w;
}

TButton *button(const QString &caption, QWidget *parent, int x, int y, int width, int height = 25)
{
    return place(new TButton(caption, parent), x, y, width, height);
}

QLabel *label(const QString &caption, QWidget *parent, int x, int y, int width, int height = 16)
{
    return place(new QLabel(caption, parent), x, y, width, height);
}

QLineEdit *edit(const QString &text, int maxLength, QWidget *parent, int x, int y, int width)
{
    auto *e = place(new QLineEdit(text, parent), x, y, width, 22);
    if (maxLength > 0)
        e->setMaxLength(maxLength);
    return e;
}

template <typename F>
void onClick(TButton *b, F f)
{
    QObject::connect(b, &QPushButton::clicked, b, [f] { RunUserAction(f); });
}

// A small drawn picture for the connect prompt: a handheld beside a stick.
QPixmap connectPicture()
{
    QPixmap pm(64, 64);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x2E, 0x6D, 0xB4));
    p.drawRoundedRect(6, 10, 22, 44, 4, 4);
    p.setBrush(QColor(0xDD, 0xDD, 0xDD));
    p.drawRect(10, 16, 14, 14);
    p.setBrush(QColor(0x55, 0x55, 0x55));
    p.drawRoundedRect(38, 26, 20, 12, 2, 2);
    p.setPen(QPen(QColor(0x2E, 0x6D, 0xB4), 2));
    p.drawArc(28, 18, 14, 28, -60 * 16, 120 * 16);
    return pm;
}
} // namespace

// A window of its own, not a dialog: the operator works in the main window while
// it is open, and a dialog would stay above the main window and cover its panels.
TForm9::TForm9(QWidget *parent) : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint)
{
    setWindowTitle(QStringLiteral("settings (constant data)"));
    // Centred on its owner whenever it is shown; the program's owner makes the
    // main window its owner.
    SetWindowPlacementOwner(this, parent);

    // The controls stand on a surface of the layout's size; a screen with less
    // room than the layout (a large scale) gets a smaller window that scrolls.
    Scroll = new QScrollArea(this);
    Scroll->setFrameShape(QFrame::NoFrame);
    Content = new QWidget;
    Content->setObjectName(QStringLiteral("Content"));
    Content->setFixedSize(kExpertWidth, kExpertHeight);
    Scroll->setWidget(Content);
    auto *frame = new QVBoxLayout(this);
    frame->setContentsMargins(0, 0, 0, 0);
    frame->addWidget(Scroll);

    // ---- Port row --------------------------------------------------------------------
    ComboBoxComPort = place(new TComboBox(Content), 8, 8, 130, 24);
    ButtonSearchComPorts = button(QStringLiteral("Search EnOcean ports"), Content, 146, 8, 150);
    OpenPortButton = button(QStringLiteral("Open port"), Content, 304, 8, 120);

    // ---- Pairing row --------------------------------------------------------------------
    // As wide as the room up to the firmware label: the caption is a little wider than its edit.
    LabelReceiverId = label(QStringLiteral("NFC  ID (EnOcean)"), Content, 8, 40, 116);
    EditReceiverId = edit(QStringLiteral("0x12345678"), 10, Content, 8, 57, 110);
    EditReceiverId->setReadOnly(true);
    LabelReceiverFW = label(QStringLiteral("NFC FW"), Content, 126, 40, 60);
    EditReceiverFW = edit(QStringLiteral("0.0"), 0, Content, 126, 57, 60);
    EditReceiverFW->setReadOnly(true);
    SendPairingRequestButton = button(QStringLiteral("Send pairing request"), Content, 196, 56, 228);
    Develoop_Button = button(QStringLiteral("Develop menu"), Content, 8, 90, 130);
    Develoop_Button->setEnabled(false);
    Develoop_Button->Tag = 1;
    Advanced_Button = button(QStringLiteral("Settings"), Content, 146, 90, 130);
    Advanced_Button->Tag = 1;
    StartButton_PortForm = button(QStringLiteral("Start"), Content, 304, 123, 120);

    // ---- Panel2: sensitivity and calibration -------------------------------------------------
    Panel2 = place(new QFrame(Content), 0, 149, kCompactWidth, 100);
    Panel2->setFrameShape(QFrame::StyledPanel);
    SelectNFCsensitivityButton = button(QStringLiteral("Select NFC sensitivity"), Panel2, 8, 14, 150);
    rgSens = place(new QGroupBox(QStringLiteral("Sensivity"), Panel2), 166, 2, 140, 48);
    rgSensHigh = place(new QRadioButton(QStringLiteral("High"), rgSens), 8, 20, 60, 20);
    rgSensLow = place(new QRadioButton(QStringLiteral("Low"), rgSens), 72, 20, 60, 20);
    CalibrationButton = button(QStringLiteral("Calibration"), Panel2, 314, 14, 110);

    // ---- Panel6: connect prompt (hidden) ----------------------------------------------------
    Panel6 = place(new QFrame(Content), 0, 0, kCompactWidth, kPromptHeight);
    Panel6->setFrameShape(QFrame::StyledPanel);
    Panel6->setAutoFillBackground(true);
    Image1 = place(new QLabel(Panel6), 16, 24, 64, 64);
    Image1->setPixmap(connectPicture());
    LabelConnect = label(QStringLiteral("Now Connect your Devices"), Panel6, 96, 44, 300, 24);
    QFont big = LabelConnect->font();
    big.setPointSize(big.pointSize() + 4);
    LabelConnect->setFont(big);
    OK_Button = button(QStringLiteral("OK"), Panel6, 330, 120, 90);
    Panel6->hide();

    // ---- Panel1 (expert): stick, user text, hex code, radio log ----------------------------------
    Panel1 = place(new QFrame(Content), 440, 0, 480, 590);
    Panel1->setFrameShape(QFrame::StyledPanel);
    Label9 = label(QStringLiteral("Stick Info:"), Panel1, 8, 8, 464);
    label(QStringLiteral("Firmware Version:"), Panel1, 8, 30, 110);
    EditReceiverVersion = edit(QString(), 0, Panel1, 120, 27, 70);
    GetStickVersionButton = button(QStringLiteral("Get Stick Version"), Panel1, 8, 56, 140);
    Button14 = button(QStringLiteral("Get DutyCycle Info"), Panel1, 154, 56, 140);
    Button14->setEnabled(false);
    ViewTagInfoButton = button(QStringLiteral("View TagInfo"), Panel1, 300, 56, 84);
    CleanReceiveButton = button(QStringLiteral("Clear Receive"), Panel1, 388, 56, 84);
    label(QStringLiteral("Send UserText (max 22 chars)"), Panel1, 8, 88, 250);
    EditUserText = edit(QStringLiteral("Test"), 24, Panel1, 8, 105, 300);
    Button7 = button(QStringLiteral("send"), Panel1, 316, 104, 70);
    label(QStringLiteral("Send Hex Code"), Panel1, 8, 134, 250);
    Edit1 = edit(QString(), 0, Panel1, 8, 151, 300);
    Button1 = button(QStringLiteral("send"), Panel1, 316, 150, 70);
    MemoReceive = place(new QPlainTextEdit(Panel1), 8, 184, 464, 398);
    MemoReceive->setReadOnly(true);
    MemoReceive->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoReceive->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoReceive->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoReceive->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    MemoReceive->setTabChangesFocus(true);

    // ---- Panel3 (expert): switches, options, firmware update ------------------------------------
    Panel3 = place(new QFrame(Content), 0, 262, kCompactWidth, 64);
    Panel3->setFrameShape(QFrame::StyledPanel);
    SwitchProgButton = button(QStringLiteral("Switch to Prog"), Panel3, 8, 6, 120);
    SwichReadButton = button(QStringLiteral("Switch to Read"), Panel3, 8, 34, 120);
    CheckBox1 = place(new QCheckBox(QStringLiteral("10s Send Delay"), Panel3), 140, 8, 130, 20);
    CheckBox1->setChecked(true);
    CheckBox2 = place(new QCheckBox(QStringLiteral("Use OwnId"), Panel3), 140, 36, 130, 20);
    CheckBox2->setChecked(true);
    ButtonFirmwareUpdate = button(QStringLiteral("Firmware Update"), Panel3, 290, 20, 134);

    // ---- Panel5 (expert): identity texts and programming data ------------------------------------
    Panel5 = place(new QFrame(Content), 0, 330, kCompactWidth, 260);
    Panel5->setFrameShape(QFrame::StyledPanel);
    label(QStringLiteral("TAG Ident data"), Panel5, 8, 4, 200);
    label(QStringLiteral("GTIN"), Panel5, 8, 24, 40);
    EditGTIN = edit(QStringLiteral("001122334455"), 12, Panel5, 50, 21, 120);
    label(QStringLiteral("FW"), Panel5, 180, 24, 24);
    EditFW = edit(QStringLiteral("0011"), 4, Panel5, 206, 21, 50);
    label(QStringLiteral("HW"), Panel5, 266, 24, 24);
    EditHW = edit(QStringLiteral("0011"), 4, Panel5, 292, 21, 50);
    label(QStringLiteral("Serial"), Panel5, 8, 52, 40);
    EditSerial = edit(QStringLiteral("0011223344556677"), 16, Panel5, 50, 49, 160);
    label(QStringLiteral("TAG  RW data"), Panel5, 8, 80, 200);
    MemoData = place(new QPlainTextEdit(Panel5), 8, 98, 160, 124);
    MemoData->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    MemoData->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Its lines are addresses and bytes, never a tab: Tab goes on to the next control.
    MemoData->setTabChangesFocus(true);
    auto *hint = label(QStringLiteral("Daten: Format: Addr (2 Bytes) Daten 1 Byte (alles in Hex)"), Panel5, 176, 98,
                       250, 34);
    hint->setWordWrap(true);
    SendTagButton = button(QStringLiteral("send Tag"), Panel5, 176, 140, 120);
    SendTagDataButton = button(QStringLiteral("Send Tag and Data"), Panel5, 176, 168, 120);
    SendProgrammingData = button(QStringLiteral("SendProgrammingData"), Panel5, 176, 196, 150);
    LabelTotal = label(QStringLiteral("-"), Panel5, 8, 230, 420);

    // ---- Status bar ------------------------------------------------------------------------------
    StatusBar1 = place(new QStatusBar(Content), 0, kExpertHeight - 24, kExpertWidth, 24);
    StatusBar1->setSizeGripEnabled(false);
    // The panels share the bar in the designed proportions (200 : 400 : 180 : 200,
    // which add up to more than the bar: fixed, the last one was cut off); a
    // longer text (a port path, a long send state) widens its panel, taking room
    // from the others' slack, so that every text is shown whole.
    const int widths[4] = {200, 400, 180, 200};
    for (int i = 0; i < 4; ++i) {
        auto *panel = new QLabel(StatusBar1);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        StatusPanels[size_t(i)] = panel;
        StatusBar1->addWidget(panel, widths[i]);
    }
    Timer1 = Link.receiveTimer();

    // ---- The link's texts shown here ---------------------------------------------------------------
    connect(&Link, &RadioLink::logLine, this, [this](const QString &line) {
        MemoReceive->appendPlainText(line);
        // A new line is read from its start, whatever a long line scrolled to before.
        MemoReceive->horizontalScrollBar()->setValue(0);
    });
    // ---- A stick pulled out: found again when it is back -----------------------------------------------
    ReconnectTimer = new QTimer(this);
    ReconnectTimer->setObjectName(QStringLiteral("ReconnectTimer"));
    ReconnectTimer->setInterval(kReconnectIntervalMs);
    connect(ReconnectTimer, &QTimer::timeout, this, [this] { RunUserAction([this] { ReconnectWhenBack(); }); });
    connect(&Link, &RadioLink::linkLost, this, [this](const QString &port, const QString &) {
        OpenPortButton->setText(QStringLiteral("Open port"));
        Link.OutputLog(QStringLiteral("Waiting for the stick on ") + port + QStringLiteral(" to come back"));
        ReconnectTimer->start();
    });
    connect(&Link, &RadioLink::portStateChanged, this, [this](bool open) {
        if (open)
            ReconnectTimer->stop();
    });
    connect(&Link, &RadioLink::statusPanelChanged, this,
            [this](int panel, const QString &text) { StatusPanels[size_t(panel)]->setText(text); });
    connect(&Link, &RadioLink::stickInfoChanged, this, [this](const QString &text) { Label9->setText(text); });
    connect(&Link, &RadioLink::receiverChanged, this, [this](const QString &id, const QString &firmware) {
        EditReceiverId->setText(id);
        EditReceiverFW->setText(firmware);
    });
    connect(&Link, &RadioLink::pairingAccepted, this,
            [this](const QString &, const QString &version) { EditReceiverVersion->setText(version); });
    connect(&Link, &RadioLink::identityTextSent, this, [this](const QString &text) { LabelTotal->setText(text); });
    connect(&Link, &RadioLink::dutyCycleInfoAvailable, this, [this] { Button14->setEnabled(true); });
    // ... and the options that are link settings.
    connect(CheckBox1, &QCheckBox::toggled, this, [this](bool on) { Link.setSendDelay(on); });
    connect(CheckBox2, &QCheckBox::toggled, this, [this](bool on) { Link.setUseOwnId(on); });
    Link.setSendDelay(CheckBox1->isChecked());
    Link.setUseOwnId(CheckBox2->isChecked());
    Link.setReceiverId(EditReceiverId->text());
    connect(&Link, &RadioLink::userNotice, this, [](const UserNotice &notice) { ShowUserNotice(notice); });
    connect(&Link, &RadioLink::firmwareUpdateOffered, this, [this](const UserNotice &question) {
        if (ShowUserNotice(question) == MsgAnswer::Yes)
            ButtonFirmwareUpdateClick();
    });
    InstallTagReception(Link);

    // ---- Buttons ----------------------------------------------------------------------------------
    onClick(ButtonSearchComPorts, [this] { ButtonSearchComPortsClick(); });
    onClick(OpenPortButton, [this] { OpenPortButtonClick(); });
    onClick(SendPairingRequestButton, [this] { SendPairingRequestButtonClick(); });
    onClick(Develoop_Button, [this] { Develoop_ButtonClick(); });
    onClick(Advanced_Button, [this] { Advanced_ButtonClick(); });
    onClick(StartButton_PortForm, [this] { StartButton_PortFormClick(); });
    onClick(SelectNFCsensitivityButton, [this] { SelectNFCsensitivityButtonClick(); });
    onClick(CalibrationButton, [this] { CalibrationButtonClick(); });
    onClick(OK_Button, [this] { OK_ButtonClick(); });
    onClick(GetStickVersionButton, [this] { GetStickVersionButtonClick(); });
    onClick(Button14, [this] { Button14Click(); });
    onClick(ViewTagInfoButton, [this] { ViewTagInfoButtonClick(); });
    onClick(CleanReceiveButton, [this] { CleanReceiveButtonClick(); });
    onClick(Button7, [this] { Button7Click(); });
    onClick(Button1, [this] { Button1Click(); });
    onClick(SwitchProgButton, [this] { SwitchProgButtonClick(); });
    onClick(SwichReadButton, [this] { SwichReadButtonClick(); });
    onClick(ButtonFirmwareUpdate, [this] { ButtonFirmwareUpdateClick(); });
    onClick(SendTagButton, [this] { SendTagButtonClick(); });
    onClick(SendTagDataButton, [this] { SendTagDataButtonClick(); });
    onClick(SendProgrammingData, [this] { SendProgrammingDataClick(); });

    // ---- One sequence at a time: the buttons that send frames to the programmer ---------------------
    connect(&Link, &RadioLink::busyChanged, this, [this](bool busy) {
        for (TButton *b : {SendPairingRequestButton, SelectNFCsensitivityButton, CalibrationButton, Button7, Button1,
                           SwitchProgButton, SwichReadButton, SendTagButton, SendTagDataButton, SendProgrammingData})
            b->setEnabled(!busy);
    });
    // Whatever enters the receiver ID (the active slot, a pairing) is shown and
    // stored in its one written form, and the link's frames go there.
    connect(EditReceiverId, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (const QString normal = NormalizedEnOceanId(text); normal != text)
            EditReceiverId->setText(normal);
        else
            Link.setReceiverId(normal);
    });

    // Tab follows reading order: the left-hand column from top to bottom (the
    // connect prompt's OK, the port and pairing rows, the settings, the expert
    // panels below them), then the expert column on the right; within a panel,
    // row by row from left to right. Hidden panels are passed over.
    const QList<QWidget *> tabOrder = {
        OK_Button,          ComboBoxComPort,   ButtonSearchComPorts, OpenPortButton,        EditReceiverId,
        EditReceiverFW,     SendPairingRequestButton, Develoop_Button, Advanced_Button,      SelectNFCsensitivityButton,
        rgSensHigh,         rgSensLow,         CalibrationButton,    StartButton_PortForm,  SwitchProgButton,
        CheckBox1,          ButtonFirmwareUpdate, SwichReadButton,   CheckBox2,             EditGTIN,
        EditFW,             EditHW,            EditSerial,           MemoData,              SendTagButton,
        SendTagDataButton,  SendProgrammingData, EditReceiverVersion, GetStickVersionButton, Button14,
        ViewTagInfoButton,  CleanReceiveButton, EditUserText,        Button7,               Edit1,
        Button1,            MemoReceive};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder.at(i - 1), tabOrder.at(i));

    // A larger font than the layout's: every position and size grows with it.
    ScaleFixedGeometry(Content, WindowFontScale(this));

    FormCreate();
    // The receive tick runs from now until the program ends, shown or not.
    Link.startReceiveTick();
}

TForm9::~TForm9()
{
    Link.stopReceiveTick();
}

void TForm9::setWindowSize(int width, int height)
{
    Content->setFixedSize(ScaledPixels(Content, width), ScaledPixels(Content, height));
    // The window has the layout's size where the screen has room for it.
    setFixedSize(isVisible() ? SizeOnScreen(this, Content->size()) : Content->size());
    // A layout that grows beyond the screen's edge (the expert layout) is centred
    // on the owner again, inside the screen.
    KeepOnScreen(this);
}

int TForm9::layoutWidth() const
{
    // The develop button's Tag is 1 while the expert layout is shown.
    return Develoop_Button->Tag == 1 ? kExpertWidth : kCompactWidth;
}

IdentityFields TForm9::identity() const
{
    return {EditGTIN->text(), EditFW->text(), EditSerial->text(), EditHW->text()};
}

QStringList TForm9::memoLines() const
{
    const QString text = MemoData->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

void TForm9::FormCreate()
{
    Develoop_ButtonClick();
    Advanced_ButtonClick();
}

void TForm9::Develoop_ButtonClick()
{
    const int was = Develoop_Button->Tag;
    Develoop_Button->Tag = was == 0 ? 1 : 0;
    const bool expert = was == 0;
    if (expert)
        setWindowSize(kExpertWidth, kExpertHeight);
    else
        setWindowSize(kCompactWidth, kSettingsHeight);
    Panel1->setVisible(expert);
    Panel3->setVisible(expert);
    Panel5->setVisible(expert);
    StatusBar1->setVisible(expert);
}

void TForm9::Advanced_ButtonClick()
{
    if (Advanced_Button->Tag != 0) {
        StartButton_PortForm->move(StartButton_PortForm->x(), ScaledPixels(Content, 123));
        Panel2->move(Panel2->x(), ScaledPixels(Content, 149));
        Advanced_Button->Tag = 0;
        Panel2->hide();
        setWindowSize(kCompactWidth, kCompactHeight);
    } else {
        StartButton_PortForm->move(StartButton_PortForm->x(), ScaledPixels(Content, 233));
        Panel2->move(Panel2->x(), ScaledPixels(Content, 122));
        Advanced_Button->Tag = 1;
        Panel2->show();
        setWindowSize(kCompactWidth, kSettingsHeight);
    }
}

void TForm9::ButtonSearchComPortsClick()
{
    int selected = -1;
    const QStringList ports = Link.SearchStickPorts(&selected);
    ComboBoxComPort->clear();
    ComboBoxComPort->addItems(ports);
    ComboBoxComPort->setCurrentIndex(selected);
}

bool TForm9::ReconnectWhenBack()
{
    if (Link.isPortOpen() || Link.lostPortEntry().isEmpty()) {
        ReconnectTimer->stop();
        return false;
    }
    if (!Link.ReopenLostPort())
        return false;
    OpenPortButton->setText(QStringLiteral("Close port"));
    return true;
}

void TForm9::OpenPortButtonClick()
{
    const QString entry = ComboBoxComPort->currentIndex() >= 0 ? ComboBoxComPort->currentText() : QString();
    OpenPortButton->setText(Link.TogglePort(entry));
}

void TForm9::GetStickVersionButtonClick() { Link.RequestStickVersion(); }
void TForm9::Button14Click() { Link.RequestDutyCycleInfo(); }
void TForm9::SendPairingRequestButtonClick() { Link.SendPairingRequest(); }
void TForm9::SelectNFCsensitivityButtonClick() { Link.SendSensitivity(rgSensLow->isChecked()); }

void TForm9::CalibrationButtonClick()
{
    if (dialogs().message(QStringLiteral("Attention"), QStringLiteral("Do you really want to start new calibration?"),
                          MsgButtons::OKCancel)
        != MsgAnswer::OK)
        return;
    Link.StartCalibration();
}

void TForm9::Button7Click() { Link.SendUserTextFrames(EditUserText->text()); }
void TForm9::Button1Click() { Link.SendFrame(Edit1->text()); }
void TForm9::SwitchProgButtonClick() { Link.RequestProgMode(); }
void TForm9::SwichReadButtonClick() { Link.RequestReadMode(); }
void TForm9::SendTagButtonClick() { Link.SendIdentity(identity()); }
void TForm9::SendTagDataButtonClick() { Link.SendIdentityAndData(identity(), memoLines()); }
void TForm9::SendProgrammingDataClick() { Link.SendProgrammingLines(memoLines()); }

void TForm9::FormShow()
{
    ButtonSearchComPortsClick();
    rgSensHigh->setChecked(true);
    const STRUCT_XML_FILE_VARIABLES &slot = activeProfile();
    ShowReceiver(slot.enOcean_HandHeldID, slot.programmer_Nfc_FW);
    EditGTIN->setText(slot.editGTIN);
    EditFW->setText(slot.editFW);
    EditSerial->setText(slot.editSerial);
    EditHW->setText(slot.editHW);
    MemoData->setPlainText(tavel::SplitMemoData(slot.memoData).join(QLatin1Char('\n')));
    // Show the link's state as it is now (the port may have stayed open).
    OpenPortButton->setText(Link.isPortOpen() ? QStringLiteral("Close port") : QStringLiteral("Open port"));
}

void TForm9::FormClose()
{
    STRUCT_XML_FILE_VARIABLES &slot = activeProfile();
    slot.enOcean_HandHeldID = EditReceiverId->text();
    slot.programmer_Nfc_FW = EditReceiverFW->text();
    emit closed();
}

void TForm9::StartButton_PortFormClick()
{
    close();
    emit startPressed();
}

void TForm9::OK_ButtonClick()
{
    Panel6->hide();
    setWindowSize(layoutWidth(), kCompactHeight);
}

void TForm9::ViewTagInfoButtonClick()
{
    emit tagInfoWanted();
}

void TForm9::ButtonFirmwareUpdateClick()
{
    emit firmwareUpdateWanted();
}

void TForm9::CleanReceiveButtonClick() { MemoReceive->clear(); }

void TForm9::SendCurrentDataPackage(const QStringList &items) { Link.SendCurrentDataPackage(identity(), items); }

void TForm9::ShowReceiver(const QString &id, const QString &firmware)
{
    EditReceiverId->setText(id);
    EditReceiverFW->setText(firmware);
}

void TForm9::ExpertModeSet(bool expert)
{
    if (expert)
        Develoop_Button->setEnabled(true);
}

void TForm9::ShowAfterModelLoaded()
{
    show();
    ButtonSearchComPortsClick();
    rgSensHigh->setChecked(true);
    OpenPortButtonClick();
    Panel6->raise();
    Panel6->show();
    setWindowSize(layoutWidth(), kPromptHeight);
}

void TForm9::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        setFixedSize(SizeOnScreen(this, Content->size()));
        RunUserAction([this] { FormShow(); });
    }
}

void TForm9::closeEvent(QCloseEvent *event)
{
    RunUserAction([this] { FormClose(); });
    event->accept();
}

void TForm9::keyPressEvent(QKeyEvent *event)
{
    // Escape closes the window as its close box does (a control that uses the key
    // itself, such as an open drop-down list, gets it first).
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
