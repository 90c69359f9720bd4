#include "desktop/firmware_window.h"

#include "desktop/controls.h"
#include "desktop/font_scale.h"
#include "desktop/window_owner.h"
#include "serial/port_discovery.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>

TForm2::TForm2(QWidget *parent)
    : QDialog(parent),
      updater_(FirmwareUpdater::Hooks{
          [this](const QString &line) { NewLog(line, true); },
          [this](int p) { ProgressBar1->setValue(p); },
          [this] { ShowUpdaterState(); },
          [] { QCoreApplication::processEvents(); },
          {}, {}, {}, {}})
{
    setWindowTitle(QStringLiteral("Firmware Updater"));
    setFixedSize(624, 227);
    // Centred on the window that opens it (the radio link window), inside the screen.
    SetWindowOwner(this, parent);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    setFont(font);

    Label1 = new QLabel(QStringLiteral("NFC programming device Firmware Update"), this);
    QFont title = font;
    title.setPixelSize(19);
    title.setBold(true);
    Label1->setFont(title);
    Label1->setGeometry(8, 6, 608, 26);

    ComboBoxComPortFW = new TComboBox(this);
    ComboBoxComPortFW->setGeometry(8, 40, 150, 23);
    ButtonSearchComPortsFW = new QPushButton(QStringLiteral("Search COM"), this);
    ButtonSearchComPortsFW->setGeometry(164, 39, 90, 25);
    RefreshList1 = new QPushButton(QStringLiteral("Refresh"), this);
    RefreshList1->setGeometry(260, 39, 70, 25);
    ButtonOpenComPortsFW = new QPushButton(QStringLiteral("Open port"), this);
    ButtonOpenComPortsFW->setGeometry(336, 39, 90, 25);

    Button1 = new QPushButton(QStringLiteral("Send MagicCode"), this);
    Button1->setGeometry(8, 72, 150, 25);
    Button2 = new QPushButton(QStringLiteral("Send Firmware"), this);
    Button2->setGeometry(8, 102, 150, 25);
    Button3 = new QPushButton(QStringLiteral("Send MC + FW"), this);
    Button3->setGeometry(8, 132, 150, 25);

    MemoLogg = new QPlainTextEdit(this);
    MemoLogg->setReadOnly(true);
    MemoLogg->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoLogg->setGeometry(164, 72, 452, 100);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setGeometry(8, 178, 608, 18);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setGeometry(0, 205, 624, 22);
    StatusPanel0 = new QLabel(StatusBar1);
    StatusPanel0->setMinimumWidth(50);
    StatusBar1->addWidget(StatusPanel0);

    connect(RefreshList1, &QPushButton::clicked, this, [this] { RefreshList1Click(); });
    connect(ButtonSearchComPortsFW, &QPushButton::clicked, this, [this] { ButtonSearchComPortsFWClick(); });
    connect(ButtonOpenComPortsFW, &QPushButton::clicked, this, [this] { ButtonOpenComPortsFWClick(); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });

    // A larger font than the window's own (a style sheet): every fixed position
    // and size grows with it.
    ScaleFixedGeometry(this, WindowFontScale(this));

    // "--firmware-port PATH" on the command line adds a port the system does not list
    // (the simulator's bootloader, an adapter of another kind).
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i + 1 < args.size(); ++i)
        if (args[i] == QLatin1String("--firmware-port"))
            addExtraSerialPort(args[i + 1]);

    ShowUpdaterState();
}

TForm2::~TForm2()
{
    updater_.Reset();
}

int TForm2::ShowModal() { return exec(); }

void TForm2::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm2::FormShow()
{
    // A port object left from an earlier showing is closed and released.
    updater_.Reset();
    RefreshList1Click();
}

// While a transfer runs the window stays up: closing it would leave the run
// without its window.
void TForm2::closeEvent(QCloseEvent *event)
{
    if (updater_.busy())
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void TForm2::reject()
{
    if (!updater_.busy())
        QDialog::reject();
}

void TForm2::ShowUpdaterState()
{
    ButtonOpenComPortsFW->setText(updater_.portButtonCaption());
    StatusPanel0->setText(updater_.statusText());
    const bool send = updater_.sendButtonsEnabled();
    Button1->setEnabled(send);
    Button2->setEnabled(send);
    Button3->setEnabled(send);
}

void TForm2::NewLog(const QString &text, bool scroll)
{
    MemoLogg->appendPlainText(text);
    if (scroll) {
        MemoLogg->verticalScrollBar()->setValue(MemoLogg->verticalScrollBar()->maximum());
        QCoreApplication::processEvents();
    }
}

void TForm2::RefreshList1Click()
{
    ComboBoxComPortFW->clear();
    ComboBoxComPortFW->addItems(FirmwarePortList());
    ComboBoxComPortFW->setCurrentIndex(-1);
}

void TForm2::ButtonSearchComPortsFWClick()
{
    RefreshList1Click();
    // Several programmers: the last one's port stays selected.
    for (const QString &port : FindProgrammerPorts()) {
        const int index = ComboBoxComPortFW->findText(port, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index >= 0)
            ComboBoxComPortFW->setCurrentIndex(index);
    }
}

void TForm2::ButtonOpenComPortsFWClick()
{
    const int index = ComboBoxComPortFW->currentIndex();
    const QString entry = index >= 0 ? ComboBoxComPortFW->itemText(index) : QString();
    updater_.PortButton(index >= 0 ? &entry : nullptr);
}

void TForm2::Button1Click() { updater_.SendMagicCode(); }

void TForm2::Button2Click() { updater_.SendFirmware(); }

void TForm2::Button3Click() { updater_.SendMagicCodeAndFirmware(); }
