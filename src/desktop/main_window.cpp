#include "desktop/main_window.h"

#include "common/app_data.h"
#include "app/recent_files.h"
#include "desktop/info_windows.h" // OpenWebPage
#include "desktop/pictures.h"
#include "app/web_page_opener.h"
#include "common/convert.h"
#include "common/dialogs.h"
#include "profile/profile_defaults.h"
#include "profile/profile_record.h"
#include "profile/settings_file.h"
#include "programming/programming_data.h"
#include "programming/summary_report.h"
#include "records/records_database.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QResizeEvent>
#include <QShowEvent>
#include <QVBoxLayout>
#include <cmath>

int DevelopModeFlag = 0;

namespace {

// The main window's colours.
const char *kStyleSheet = R"(
QMainWindow, #CentralArea { background: #eceef2; }
#Panel1 { background: #2e3440; }
#ToolBar1 { background: #f7f8fa; border-bottom: 1px solid #c9cdd4; }
#ToolBar1 QToolButton { border: 1px solid transparent; border-radius: 4px; padding: 2px; }
#ToolBar1 QToolButton:hover { border: 1px solid #c9cdd4; background: #ffffff; }
#Panel5 { background: #eceef2; }
#WelcomeCard { background: #ffffff; border: 1px solid #c9cdd4; border-radius: 8px; }
#WelcomeTitle { font-size: 22px; font-weight: bold; color: #2e3440; }
#WelcomeSubTitle { color: #5b6270; }
#WelcomeColumnTitle { font-weight: bold; color: #5b6270; }
#Panel5 QPushButton { min-height: 34px; font-size: 14px; text-align: left; padding-left: 14px; }
#NewSettingsButton, #LoadFileButton, #RecentlyUsedButton { background: #fbba00; border: 1px solid #c99400;
    border-radius: 4px; font-weight: bold; color: #2e3440; }
#NewSettingsButton:hover, #LoadFileButton:hover, #RecentlyUsedButton:hover { background: #ffcb33; }
#VariablePanel { background: #ffffff; border: 1px solid #c9cdd4; border-radius: 6px; }
#Current_Adjust_Panel { background: #ffffff; border: 1px solid #c9cdd4; border-radius: 6px; }
#VariablePanel QLabel[role="caption"] { color: #5b6270; }
#VariablePanel QLabel[role="value"] { font-weight: bold; color: #2e3440; }
#VariablePanel QLabel[role="heading"], #Current_Adjust_Panel QLabel[role="heading"] { font-weight: bold;
    color: #2e3440; font-size: 13px; }
#Label4 { font-size: 16px; font-weight: bold; color: #2e3440; }
#GraphPanel, #CLO_Adjust_Panel, #DC_levelPanel, #NTCPanel { background: #ffffff; border: 1px solid #d5d8de; }
#CurrentTablePanel, #CLO_adjust_panel_1, #CLO_adjust_panel_2, #NTC_adjust_Panel { background: #f7f8fa;
    border: 1px solid #d5d8de; border-radius: 4px; }
#SummaryPanel { background: #ffffff; }
#OK { background: #fbba00; border: 1px solid #c99400; border-radius: 4px; font-weight: bold; min-height: 30px; }
#OK:hover { background: #ffcb33; }
#SendButton, #ReadButton, #ReportButton { min-height: 30px; }
#StatusPanel { background: #f7f8fa; border-top: 1px solid #c9cdd4; }
)";

template <class T>
T *make(QWidget *parent, const char *name)
{
    auto *w = new T(parent);
    w->setObjectName(QLatin1String(name));
    return w;
}

QFrame *panel(QWidget *parent, const char *name, const QRect &geometry = {})
{
    auto *f = make<QFrame>(parent, name);
    if (geometry.isValid())
        f->setGeometry(geometry);
    return f;
}

QLabel *label(QWidget *parent, const QString &text, const QRect &geometry, const char *name = nullptr)
{
    auto *l = new QLabel(text, parent);
    if (name)
        l->setObjectName(QLatin1String(name));
    l->setGeometry(geometry);
    return l;
}

TEdit *edit(QWidget *parent, const char *name, const QRect &geometry, bool numbersOnly)
{
    auto *e = make<TEdit>(parent, name);
    e->setGeometry(geometry);
    e->NumbersOnly = numbersOnly;
    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return e;
}

// Connects a button's click to a handler, behind the general error report.
template <class Button, class Handler>
void onClick(Button *button, TForm1 *form, Handler handler)
{
    QObject::connect(button, &Button::clicked, form, [form, handler] { RunUserAction([form, handler] { (form->*handler)(); }); });
}

// S x factor in single precision, truncated toward zero, as decimal text.
QString lifetimeShare(int s, float factor)
{
    const float product = static_cast<float>(s) * factor;
    return QString::number(static_cast<qint64>(std::trunc(product)));
}

} // namespace

TForm1::TForm1(const QStringList &arguments, QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setStyleSheet(QLatin1String(kStyleSheet));
    ImageList1 = ToolBarImages();

    CentralArea = new QWidget(this);
    CentralArea->setObjectName(QStringLiteral("CentralArea"));
    setCentralWidget(CentralArea);
    auto *outer = new QVBoxLayout(CentralArea);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    BuildBanner();
    BuildToolBar();
    outer->addWidget(Panel1);
    outer->addWidget(ToolBar1);

    auto *middle = new QWidget(CentralArea);
    auto *stack = new QGridLayout(middle);
    stack->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(middle, 1);
    BuildWelcomePanel();
    BuildWorkPanel();
    Panel5->setParent(middle);
    Panel9->setParent(middle);
    stack->addWidget(Panel5, 0, 0);
    stack->addWidget(Panel9, 0, 0);

    BuildStatusStrip();
    outer->addWidget(StatusPanel);
    BuildPopupMenu();

    RepaintTimer = new QTimer(this);
    RepaintTimer->setObjectName(QStringLiteral("RepaintTimer"));
    RepaintTimer->setSingleShot(true);
    RepaintTimer->setInterval(50);
    connect(RepaintTimer, &QTimer::timeout, this, [this] { RunUserAction([this] { RepaintTimerTimer(); }); });

    ConnectEditorEvents();

    setMinimumSize(1024, 758);
    resize(1024, 758);

    FormCreate(arguments.isEmpty() ? QCoreApplication::arguments() : arguments);
    FollowRecordDatabases();
}

TForm1::~TForm1()
{
    // No more user events while the controls go away.
    for (TEdit *e : findChildren<TEdit *>()) {
        e->OnEnter = nullptr;
        e->OnExit = nullptr;
        e->OnKeyPress = nullptr;
    }
    setPendingRecordsObserver({});
    SettingsFile.reset();
}

// ---- Building the window ------------------------------------------------------------

void TForm1::BuildBanner()
{
    Panel1 = panel(CentralArea, "Panel1");
    Panel1->setFixedHeight(64);
    auto *row = new QHBoxLayout(Panel1);
    row->setContentsMargins(8, 0, 8, 0);
    Image1 = make<TImage>(Panel1, "Image1");
    Image1->setPixmap(BannerLeftPicture(QSize(220, 64)));
    Image1->setToolTip(QStringLiteral("Tavel"));
    Image2 = make<TImage>(Panel1, "Image2");
    Image2->setPixmap(BannerRightPicture(QSize(300, 64)));
    Image2->setToolTip(QStringLiteral("NFC system"));
    row->addWidget(Image1);
    row->addStretch(1);
    row->addWidget(Image2);
    Image1->OnClick = [this] { Image1Click(); };
    Image2->OnClick = [this] { Image2Click(); };
}

TToolButton *TForm1::NewToolButton(QWidget *parent, const QString &name, const QString &hint, int image)
{
    auto *b = new TToolButton(parent);
    b->setObjectName(name);
    b->setToolTip(hint);
    b->setIconSize(QSize(32, 32));
    b->setAutoRaise(true);
    b->SetImage(image, ImageList1);
    parent->layout()->addWidget(b);
    return b;
}

void TForm1::BuildToolBar()
{
    ToolBar1 = panel(CentralArea, "ToolBar1");
    ToolBar1->setFixedHeight(46);
    auto *row = new QHBoxLayout(ToolBar1);
    row->setContentsMargins(6, 2, 6, 2);
    row->setSpacing(8);

    ToolBar2 = panel(ToolBar1, "ToolBar2");
    auto *row2 = new QHBoxLayout(ToolBar2);
    row2->setContentsMargins(0, 0, 0, 0);
    LanguageToolButton = NewToolButton(ToolBar2, QStringLiteral("LanguageToolButton"), QStringLiteral("Language"), 0);

    ToolBar3 = panel(ToolBar1, "ToolBar3");
    auto *row3 = new QHBoxLayout(ToolBar3);
    row3->setContentsMargins(0, 0, 0, 0);
    row3->setSpacing(2);
    SaveAsToolButton = NewToolButton(ToolBar3, QStringLiteral("SaveAsToolButton"), QStringLiteral("Save as"), 1);
    SaveToolButton = NewToolButton(ToolBar3, QStringLiteral("SaveToolButton"), QStringLiteral("Save"), 2);
    NewFileToolButton = NewToolButton(ToolBar3, QStringLiteral("NewFileToolButton"), QStringLiteral("New file"), 3);
    LoadFileToolButton = NewToolButton(ToolBar3, QStringLiteral("LoadFileToolButton"), QStringLiteral("Load a file"), 4);
    PrintToolButton = NewToolButton(ToolBar3, QStringLiteral("PrintToolButton"), QStringLiteral("Print file"), 5);
    SettingsToolButton = NewToolButton(ToolBar3, QStringLiteral("SettingsToolButton"), QStringLiteral("Settings"), 6);
    HelpToolButton = NewToolButton(ToolBar3, QStringLiteral("HelpToolButton"), QStringLiteral("Help"), 7);
    auto *separator = new QFrame(ToolBar3);
    separator->setFrameShape(QFrame::VLine);
    separator->setStyleSheet(QStringLiteral("color: #c9cdd4;"));
    row3->addSpacing(10);
    row3->addWidget(separator);
    row3->addSpacing(10);
    Setting1ToolButton = NewToolButton(ToolBar3, QStringLiteral("Setting1ToolButton"), QStringLiteral("config 1"), 8);
    Setting2ToolButton = NewToolButton(ToolBar3, QStringLiteral("Setting2ToolButton"), QStringLiteral("config 2"), 9);
    Setting3ToolButton = NewToolButton(ToolBar3, QStringLiteral("Setting3ToolButton"), QStringLiteral("config 3"), 10);

    row->addWidget(ToolBar2);
    row->addWidget(ToolBar3);
    row->addStretch(1);

    onClick(LanguageToolButton, this, &TForm1::LanguageToolButtonClick);
    onClick(SaveAsToolButton, this, &TForm1::SaveAsToolButtonClick);
    onClick(SaveToolButton, this, &TForm1::SaveToolButtonClick);
    onClick(NewFileToolButton, this, &TForm1::NewFileToolButtonClick);
    onClick(LoadFileToolButton, this, &TForm1::LoadFileToolButtonClick);
    onClick(PrintToolButton, this, &TForm1::PrintToolButtonClick);
    onClick(SettingsToolButton, this, &TForm1::SettingsToolButtonClick);
    onClick(HelpToolButton, this, &TForm1::HelpToolButtonClick);
    onClick(Setting1ToolButton, this, &TForm1::Setting1ToolButtonClick);
    onClick(Setting2ToolButton, this, &TForm1::Setting2ToolButtonClick);
    onClick(Setting3ToolButton, this, &TForm1::Setting3ToolButtonClick);
}

void TForm1::BuildWelcomePanel()
{
    Panel5 = panel(CentralArea, "Panel5");
    auto *outer = new QGridLayout(Panel5);
    auto *card = panel(Panel5, "WelcomeCard");
    card->setFixedSize(640, 380);
    outer->addWidget(card, 0, 0, Qt::AlignCenter);

    auto *title = label(card, QStringLiteral("NFC configuration software Tavel"), QRect(40, 28, 560, 32), "WelcomeTitle");
    title->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label(card, QStringLiteral("Build a driver profile, send it to the NFC programmer, read a driver back."),
          QRect(40, 62, 560, 22), "WelcomeSubTitle");
    label(card, QStringLiteral("Start"), QRect(40, 110, 260, 20), "WelcomeColumnTitle");
    label(card, QStringLiteral("Information"), QRect(340, 110, 260, 20), "WelcomeColumnTitle");

    auto addButton = [card](const char *name, const QString &caption, int x, int y) {
        auto *b = make<TButton>(card, name);
        b->setText(caption);
        b->setGeometry(x, y, 260, 40);
        return b;
    };
    NewSettingsButton = addButton("NewSettingsButton", QStringLiteral("new settings"), 40, 140);
    LoadFileButton = addButton("LoadFileButton", QStringLiteral("load settings from file"), 40, 190);
    RecentlyUsedButton = addButton("RecentlyUsedButton", QStringLiteral("recently used"), 40, 240);
    AboutProductButton = addButton("AboutProductButton", QStringLiteral("about product"), 340, 140);
    AboutCompanyButton = addButton("AboutCompanyButton", QStringLiteral("about company"), 340, 190);
    LicenceButton = addButton("LicenceButton", QStringLiteral("license"), 340, 240);
    CheckUpdatesButton = addButton("CheckUpdatesButton", QStringLiteral("check updates"), 340, 290);

    onClick(NewSettingsButton, this, &TForm1::NewSettingsButtonClick);
    onClick(LoadFileButton, this, &TForm1::LoadFileButtonClick);
    onClick(RecentlyUsedButton, this, &TForm1::RecentlyUsedButtonClick);
    onClick(AboutProductButton, this, &TForm1::AboutProductButtonClick);
    onClick(AboutCompanyButton, this, &TForm1::AboutCompanyButtonClick);
    onClick(LicenceButton, this, &TForm1::LicenceButtonClick);
    onClick(CheckUpdatesButton, this, &TForm1::CheckUpdatesButtonClick);
}

void TForm1::BuildWorkPanel()
{
    Panel9 = panel(CentralArea, "Panel9");
    auto *row = new QHBoxLayout(Panel9);
    row->setContentsMargins(6, 6, 6, 6);
    row->setSpacing(6);
    BuildVariablePanel();
    BuildParameterArea();
    row->addWidget(VariablePanel);
    row->addWidget(Current_Adjust_Panel, 1);
}

void TForm1::BuildVariablePanel()
{
    VariablePanel = panel(Panel9, "VariablePanel");
    VariablePanel->setFixedWidth(270);
    auto heading = [&](const QString &text, int y) {
        auto *l = label(VariablePanel, text, QRect(14, y, 240, 20));
        l->setProperty("role", "heading");
        return l;
    };
    auto caption = [&](const QString &text, int y) {
        auto *l = label(VariablePanel, text, QRect(14, y, 100, 22));
        l->setProperty("role", "caption");
    };
    auto value = [&](const char *name, int y) {
        auto *l = label(VariablePanel, QString(), QRect(114, y, 146, 22), name);
        l->setProperty("role", "value");
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return l;
    };
    heading(QStringLiteral("Driver"), 10);
    caption(QStringLiteral("Family name"), 36);
    FamilyNameLabel = value("FamilyNameLabel", 36);
    caption(QStringLiteral("Type"), 60);
    TypeLabel = value("TypeLabel", 60);
    caption(QStringLiteral("Ref. number"), 84);
    RefNumLabel = value("RefNumLabel", 84);
    heading(QStringLiteral("NFC programmer"), 118);
    caption(QStringLiteral("NFC ID"), 144);
    EnOceanIDLabel = value("EnOceanIDLabel", 144);
    caption(QStringLiteral("NFC FW"), 168);
    NfcFwVersion = value("NfcFwVersion", 168);

    heading(QStringLiteral("Parameters"), 206);
    struct Row {
        QCheckBox **box;
        const char *boxName;
        TEdit **edit;
        const char *editName;
        const char *text;
    };
    const Row rows[] = {
        {&CurrentCheckBox, "CurrentCheckBox", &CurrentEdit, "CurrentEdit", "current"},
        {&CLOCheckBox, "CLOCheckBox", &CLOEdit, "CLOEdit", "CLO"},
        {&DCLevelCheckBox, "DCLevelCheckBox", &DClevelEdit, "DClevelEdit", "DC level"},
        {&NTCCheckBox, "NTCCheckBox", &NTCEdit, "NTCEdit", "NTC"},
    };
    int y = 234;
    for (const Row &r : rows) {
        *r.box = make<QCheckBox>(VariablePanel, r.boxName);
        (*r.box)->setGeometry(14, y + 5, 22, 22);
        *r.edit = make<TEdit>(VariablePanel, r.editName);
        (*r.edit)->setGeometry(42, y, 214, 32);
        (*r.edit)->setReadOnly(true);
        (*r.edit)->setText(QString::fromLatin1(r.text));
        (*r.edit)->setCursor(Qt::PointingHandCursor);
        y += 40;
    }

    SendButton = make<TButton>(VariablePanel, "SendButton");
    SendButton->setText(QStringLiteral("send"));
    ReportButton = make<TButton>(VariablePanel, "ReportButton");
    ReportButton->setText(QStringLiteral("report"));
    ReadButton = make<TButton>(VariablePanel, "ReadButton");
    ReadButton->setText(QStringLiteral("read"));
    heading(QStringLiteral("NFC programmer link"), 410);
    SendButton->setGeometry(14, 438, 242, 34);
    ReportButton->setGeometry(14, 480, 242, 34);
    ReadButton->setGeometry(14, 522, 242, 34);

    connect(CurrentCheckBox, &QCheckBox::clicked, this, [this] { RunUserAction([this] { CurrentCheckBoxClick(); }); });
    connect(CLOCheckBox, &QCheckBox::clicked, this, [this] { RunUserAction([this] { CLOCheckBoxClick(); }); });
    connect(DCLevelCheckBox, &QCheckBox::clicked, this, [this] { RunUserAction([this] { DCLevelCheckBoxClick(); }); });
    connect(NTCCheckBox, &QCheckBox::clicked, this, [this] { RunUserAction([this] { NTCCheckBoxClick(); }); });
    onClick(SendButton, this, &TForm1::SendButtonClick);
    onClick(ReadButton, this, &TForm1::ReadButtonClick);
    onClick(ReportButton, this, &TForm1::ReportButtonClick);
}

void TForm1::BuildParameterArea()
{
    Current_Adjust_Panel = panel(Panel9, "Current_Adjust_Panel");
    QWidget *area = Current_Adjust_Panel;

    Label4 = label(area, QStringLiteral("config.1"), QRect(12, 8, 200, 26), "Label4");
    CloseInterfaceButton = make<TButton>(area, "CloseInterfaceButton");
    CloseInterfaceButton->setText(QStringLiteral("Close config-panel"));
    CloseInterfaceButton->setGeometry(497, 40, 210, 32);
    OK = make<TButton>(area, "OK");
    OK->setText(QStringLiteral("Save"));
    OK->setToolTip(QStringLiteral("Save values to the config-panel"));
    OK->setGeometry(497, 441, 210, 40);
    onClick(CloseInterfaceButton, this, &TForm1::CloseInterfaceButtonClick);
    onClick(OK, this, &TForm1::OKClick);
    auto *hint = label(area,
                       QStringLiteral("Choose a parameter on the left to edit it here.\n\n"
                                      "\"Save\" takes the values into this configuration; "
                                      "\"Save\" and \"Save as\" on the toolbar write all three "
                                      "configurations to the settings file.\n\n"
                                      "\"Close config-panel\" shows the summary that \"Print file\" saves."),
                       QRect(497, 92, 210, 220), "ParameterAreaHint");
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    hint->setStyleSheet(QStringLiteral("color: #5b6270;"));

    const QRect bigPanel(10, 40, 477, 441);
    const int smallTop = 489;
    const int smallHeight = 118;

    // Current: graph panel and the table below it.
    GraphPanel = panel(area, "GraphPanel", bigPanel);
    CurrentTablePanel = panel(area, "CurrentTablePanel", QRect(10, smallTop, 477, smallHeight));
    label(CurrentTablePanel, QStringLiteral("nominal current"), QRect(12, 8, 200, 20))->setProperty("role", "heading");
    label(CurrentTablePanel, QStringLiteral("min."), QRect(12, 40, 60, 24));
    MinCurrentLabel = label(CurrentTablePanel, QString(), QRect(60, 40, 80, 24), "MinCurrentLabel");
    label(CurrentTablePanel, QStringLiteral("mA"), QRect(142, 40, 30, 24));
    NomCurrentEdit = edit(CurrentTablePanel, "NomCurrentEdit", QRect(190, 36, 100, 30), true);
    label(CurrentTablePanel, QStringLiteral("mA"), QRect(296, 40, 30, 24));
    label(CurrentTablePanel, QStringLiteral("max."), QRect(340, 40, 40, 24));
    MaxCurrentLabel = label(CurrentTablePanel, QString(), QRect(380, 40, 60, 24), "MaxCurrentLabel");
    label(CurrentTablePanel, QStringLiteral("mA"), QRect(440, 40, 30, 24));
    label(CurrentTablePanel, QStringLiteral("Type a value or drag the line in the graph, then press Save."),
          QRect(12, 78, 450, 24));

    // CLO: graph panel, lifetime panel and levels panel.
    CLO_Adjust_Panel = panel(area, "CLO_Adjust_Panel", bigPanel);
    CLO_adjust_panel_1 = panel(area, "CLO_adjust_panel_1", QRect(10, smallTop, 200, smallHeight));
    label(CLO_adjust_panel_1, QStringLiteral("LED lifetime"), QRect(10, 6, 120, 20))->setProperty("role", "heading");
    clo_LifeTimeEdit = edit(CLO_adjust_panel_1, "clo_LifeTimeEdit", QRect(10, 30, 110, 28), true);
    label(CLO_adjust_panel_1, QStringLiteral("h"), QRect(124, 32, 20, 24));
    CLO_EnableCheckBox = make<QCheckBox>(CLO_adjust_panel_1, "CLO_EnableCheckBox");
    CLO_EnableCheckBox->setText(QStringLiteral("CLO Enable"));
    CLO_EnableCheckBox->setGeometry(10, 62, 180, 22);
    label(CLO_adjust_panel_1, QStringLiteral("start"), QRect(10, 88, 34, 22));
    clo_StartLevelLabel = label(CLO_adjust_panel_1, QString(), QRect(44, 88, 40, 22), "clo_StartLevelLabel");
    label(CLO_adjust_panel_1, QStringLiteral("stop"), QRect(100, 88, 34, 22));
    clo_StopLevelLabel = label(CLO_adjust_panel_1, QString(), QRect(134, 88, 40, 22), "clo_StopLevelLabel");

    CLO_adjust_panel_2 = panel(area, "CLO_adjust_panel_2", QRect(216, smallTop, 491, smallHeight));
    label(CLO_adjust_panel_2, QStringLiteral("light level"), QRect(10, 6, 120, 20))->setProperty("role", "heading");
    TEdit **levelEdits[] = {&clo_L1_Edit, &clo_L2_Edit, &clo_L3_Edit, &clo_L4_Edit, &clo_L5_Edit};
    QLabel **hourLabels[] = {&clo_L1_hour_Label, &clo_L2_hour_Label, &clo_L3_hour_Label, &clo_L4_hour_Label,
                             &clo_L5_hour_Label};
    for (int i = 0; i < 5; ++i) {
        const int x = 10 + i * 96;
        label(CLO_adjust_panel_2, QStringLiteral("L%1").arg(i + 1), QRect(x, 30, 30, 22));
        *levelEdits[i] = edit(CLO_adjust_panel_2, QStringLiteral("clo_L%1_Edit").arg(i + 1).toLatin1().constData(),
                              QRect(x + 24, 28, 50, 28), false);
        label(CLO_adjust_panel_2, QStringLiteral("%"), QRect(x + 76, 30, 14, 22));
        *hourLabels[i] = label(CLO_adjust_panel_2, QString(), QRect(x + 24, 62, 50, 22),
                               QStringLiteral("clo_L%1_hour_Label").arg(i + 1).toLatin1().constData());
        (*hourLabels[i])->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label(CLO_adjust_panel_2, QStringLiteral("h"), QRect(x + 76, 62, 14, 22));
    }

    // DC level: one big panel with the enable box, the level and the inverted bar.
    DC_levelPanel = panel(area, "DC_levelPanel", bigPanel);
    DC_level_active = make<QCheckBox>(DC_levelPanel, "DC_level_active");
    DC_level_active->setText(QStringLiteral("DC emergency operation enable"));
    DC_level_active->setGeometry(24, 20, 420, 24);
    Label38 = label(DC_levelPanel, QString(), QRect(70, 64, 60, 20), "Label38");
    DC_ScrollBar = make<QScrollBar>(DC_levelPanel, "DC_ScrollBar");
    DC_ScrollBar->setOrientation(Qt::Vertical);
    DC_ScrollBar->setGeometry(40, 64, 22, 340);
    DC_ScrollBar->setRange(StrToInt(defaultDcLevelMin), StrToInt(defaultDcLevelMax));
    Label37 = label(DC_levelPanel, QString(), QRect(70, 384, 60, 20), "Label37");
    label(DC_levelPanel, QStringLiteral("DC level"), QRect(130, 200, 70, 28));
    DC_level_Edit = edit(DC_levelPanel, "DC_level_Edit", QRect(200, 198, 80, 32), true);
    label(DC_levelPanel, QStringLiteral("%"), QRect(286, 200, 20, 28));
    auto *dcHint = label(DC_levelPanel,
                         QStringLiteral("Light level of the driver in DC emergency operation. "
                                        "Drag the bar or type the level; untick the box to switch "
                                        "DC emergency operation off."),
                         QRect(130, 250, 320, 80));
    dcHint->setWordWrap(true);
    dcHint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    dcHint->setStyleSheet(QStringLiteral("color: #5b6270;"));

    // NTC: graph panel and the temperatures below it.
    NTCPanel = panel(area, "NTCPanel", bigPanel);
    NTC_adjust_Panel = panel(area, "NTC_adjust_Panel", QRect(10, smallTop, 697, smallHeight));
    label(NTC_adjust_Panel, QStringLiteral("external NTC derating"), QRect(10, 6, 300, 20))->setProperty("role", "heading");
    const char *columns[] = {"start", "stop", "cut-off"};
    for (int i = 0; i < 3; ++i)
        label(NTC_adjust_Panel, QString::fromLatin1(columns[i]), QRect(110 + i * 190, 28, 120, 20));
    label(NTC_adjust_Panel, QStringLiteral("temperature"), QRect(10, 52, 96, 24));
    label(NTC_adjust_Panel, QStringLiteral("light level"), QRect(10, 84, 96, 24));
    NTC_start_degree_edit = edit(NTC_adjust_Panel, "NTC_start_degree_edit", QRect(110, 50, 70, 28), true);
    NTC_stop_degree_edit = edit(NTC_adjust_Panel, "NTC_stop_degree_edit", QRect(300, 50, 70, 28), true);
    NTC_cut_degree_edit = edit(NTC_adjust_Panel, "NTC_cut_degree_edit", QRect(490, 50, 70, 28), true);
    NTC_start_edit = edit(NTC_adjust_Panel, "NTC_start_edit", QRect(110, 82, 70, 28), true);
    NTC_stop_edit = edit(NTC_adjust_Panel, "NTC_stop_edit", QRect(300, 82, 70, 28), true);
    NTC_cut_edit = edit(NTC_adjust_Panel, "NTC_cut_edit", QRect(490, 82, 70, 28), true);
    NTC_start_edit->setReadOnly(true);
    NTC_start_edit->setEnabled(false);
    NTC_cut_edit->setReadOnly(true);
    NTC_cut_edit->setEnabled(false);
    NTC_cut_edit->setText(QStringLiteral("0"));
    for (int i = 0; i < 3; ++i) {
        label(NTC_adjust_Panel, QStringLiteral("\u00B0C"), QRect(184 + i * 190, 52, 24, 24));
        label(NTC_adjust_Panel, QStringLiteral("%"), QRect(184 + i * 190, 84, 24, 24));
    }

    // Summary view with the programming data beside it (expert mode).
    SummaryPanel = panel(area, "SummaryPanel", QRect(10, 40, 477, 567));
    Label54 = label(SummaryPanel, QStringLiteral("Print information"), QRect(4, 0, 300, 24), "Label54");
    Label54->setProperty("role", "heading");
    SummaryMemo = make<QPlainTextEdit>(SummaryPanel, "SummaryMemo");
    SummaryMemo->setGeometry(0, 28, 477, 539);
    QFont summaryFont(QStringLiteral("Sans Serif"));
    summaryFont.setStyleHint(QFont::SansSerif);
    summaryFont.setBold(true);
    SummaryMemo->setFont(summaryFont);
    SummaryMemo->setReadOnly(true);
    SummaryMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    SummaryMemo->setPlainText(QString());
    ProgrammedDataMemo = make<QPlainTextEdit>(SummaryPanel, "ProgrammedDataMemo");
    ProgrammedDataMemo->setGeometry(337, 28, 140, 539);
    QFont fixed(QStringLiteral("Monospace"));
    fixed.setStyleHint(QFont::TypeWriter);
    ProgrammedDataMemo->setFont(fixed);
    ProgrammedDataMemo->setReadOnly(true);
    ProgrammedDataMemo->hide();

    DataPackageMemo = make<QPlainTextEdit>(area, "DataPackageMemo");
    DataPackageMemo->setGeometry(497, 100, 120, 60);
    DataPackageMemo->setPlainText(QStringLiteral("00E62C\n00E701"));
    DataPackageMemo->hide();

    for (QFrame *big : {GraphPanel, CLO_Adjust_Panel, DC_levelPanel, NTCPanel}) {
        big->setAutoFillBackground(true);
        QPalette pal = big->palette();
        pal.setColor(QPalette::Window, Qt::white);
        big->setPalette(pal);
    }
    SummaryPanel->raise();
}

void TForm1::BuildStatusStrip()
{
    StatusPanel = panel(CentralArea, "StatusPanel");
    StatusPanel->setFixedHeight(24);
    auto *row = new QHBoxLayout(StatusPanel);
    row->setContentsMargins(10, 0, 10, 0);
    Label53 = make<QLabel>(StatusPanel, "Label53");
    row->addWidget(Label53, 1);
    PendingRecordsLabel = make<QLabel>(StatusPanel, "PendingRecordsLabel");
    row->addWidget(PendingRecordsLabel);
}

void TForm1::BuildPopupMenu()
{
    PopupMenu1 = make<QMenu>(this, "PopupMenu1");
    QAction **items[] = {&File1, &File2, &File3, &File4, &File5, &File6};
    void (TForm1::*handlers[])() = {&TForm1::File1Click, &TForm1::File2Click, &TForm1::File3Click,
                                   &TForm1::File4Click, &TForm1::File5Click, &TForm1::File6Click};
    for (int i = 0; i < 6; ++i) {
        *items[i] = PopupMenu1->addAction(QString());
        (*items[i])->setObjectName(QStringLiteral("File%1").arg(i + 1));
        const auto handler = handlers[i];
        connect(*items[i], &QAction::triggered, this, [this, handler] { RunUserAction([this, handler] { (this->*handler)(); }); });
    }
}

void TForm1::ConnectEditorEvents()
{
    CurrentEdit->OnEnter = [this] { CurrentEditEnter(); };
    CLOEdit->OnEnter = [this] { CLOEditEnter(); };
    DClevelEdit->OnEnter = [this] { DClevelEditEnter(); };
    NTCEdit->OnEnter = [this] { NTCEditEnter(); };

    struct Field {
        TEdit *edit;
        void (TForm1::*exit)();
        void (TForm1::*key)(QChar &);
    };
    const Field fields[] = {
        {NomCurrentEdit, &TForm1::NomCurrentEditExit, &TForm1::NomCurrentEditKeyPress},
        {clo_LifeTimeEdit, &TForm1::clo_LifeTimeEditExit, &TForm1::clo_LifeTimeEditKeyPress},
        {clo_L1_Edit, &TForm1::clo_L1_EditExit, &TForm1::clo_L1_EditKeyPress},
        {clo_L2_Edit, &TForm1::clo_L2_EditExit, &TForm1::clo_L2_EditKeyPress},
        {clo_L3_Edit, &TForm1::clo_L3_EditExit, &TForm1::clo_L3_EditKeyPress},
        {clo_L4_Edit, &TForm1::clo_L4_EditExit, &TForm1::clo_L4_EditKeyPress},
        {clo_L5_Edit, &TForm1::clo_L5_EditExit, &TForm1::clo_L5_EditKeyPress},
        {NTC_start_degree_edit, &TForm1::NTC_start_degree_editExit, &TForm1::NTC_start_degree_editKeyPress},
        {NTC_stop_degree_edit, &TForm1::NTC_stop_degree_editExit, &TForm1::NTC_stop_degree_editKeyPress},
        {NTC_cut_degree_edit, &TForm1::NTC_cut_degree_editExit, &TForm1::NTC_cut_degree_editKeyPress},
        {NTC_stop_edit, &TForm1::NTC_stop_editExit, &TForm1::NTC_stop_editKeyPress},
        {DC_level_Edit, &TForm1::DC_level_EditExit, &TForm1::DC_level_EditKeyPress},
    };
    for (const Field &f : fields) {
        const auto exit = f.exit;
        const auto key = f.key;
        f.edit->OnExit = [this, exit] { (this->*exit)(); };
        f.edit->OnKeyPress = [this, key](QChar &k) { (this->*key)(k); };
    }
    connect(CLO_EnableCheckBox, &QCheckBox::clicked, this, [this] { RunUserAction([this] { CLO_EnableCheckBoxClick(); }); });
    connect(DC_level_active, &QCheckBox::clicked, this, [this] { RunUserAction([this] { DC_level_activeClick(); }); });
    connect(DC_ScrollBar, &QScrollBar::valueChanged, this, [this] { RunUserAction([this] { DC_ScrollBarChange(); }); });
}

// ---- Window events --------------------------------------------------------------------

void TForm1::FormCreate(const QStringList &arguments)
{
    DevelopModeFlag = 0;
    if (arguments.size() >= 2 && arguments.at(1) == kExpertModeKeyword) {
        DevelopModeFlag = 1;
        dialogs().message(QStringLiteral("Info"), QStringLiteral("Develop mode enable"));
    }
    setWindowTitle(kMainWindowDesignedCaption + kSoftwareVersion);

    Setting1ToolButton->SetImage(11, ImageList1);
    Setting2ToolButton->SetImage(9, ImageList1);
    Setting3ToolButton->SetImage(10, ImageList1);
    Setting1ToolButton->Tag = 1;
    Setting2ToolButton->Tag = 0;
    Setting3ToolButton->Tag = 0;

    SettingsFile.reset();
    SettingsFileOpen = 0;
    setActiveSlot(1);

    LoadDefaultSettingsData();

    Panel5->show();
    Panel9->hide();
    ToolBar3->hide();
}

void TForm1::FormShow()
{
    DevelopModeEnable();
    RepaintGraphs();
}

void TForm1::FormActivate() { RepaintGraphs(); }

void TForm1::FormResize()
{
    int w = width();
    int h = height();
    if (w <= 1023)
        w = 1024;
    if (h <= 757)
        h = 758;
    if (w != width() || h != height())
        resize(w, h);
}

void TForm1::FormClose()
{
    emit closing();
    DropSettingsFile();
}

void TForm1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        RunUserAction([this] { FormShow(); });
}

void TForm1::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        RunUserAction([this] { FormActivate(); });
}

void TForm1::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TForm1::closeEvent(QCloseEvent *event)
{
    RunUserAction([this] { FormClose(); });
    event->accept();
    if (EndProgramOnClose)
        QCoreApplication::quit();
}

// ---- Expert mode -----------------------------------------------------------------------

void TForm1::DevelopModeEnable()
{
    // The tag info window: normal width, or wider with the raw tag areas in expert mode.
    // and the radio link window's "Develop" button.
    emit expertModeSet(DevelopModeFlag == 1);
    if (DevelopModeFlag == 1) {
        ProgrammedDataMemo->show();
        SummaryMemo->setGeometry(0, 28, 329, 539);
    }
}

// ---- Slots ---------------------------------------------------------------------------------

void TForm1::Setting1ToolButtonClick() { SelectSlot(1); }
void TForm1::Setting2ToolButtonClick() { SelectSlot(2); }
void TForm1::Setting3ToolButtonClick() { SelectSlot(3); }

void TForm1::SelectSlot(int slot)
{
    setActiveSlot(slot);

    TToolButton *buttons[] = {Setting1ToolButton, Setting2ToolButton, Setting3ToolButton};
    for (int n = 1; n <= 3; ++n) {
        TToolButton *b = buttons[n - 1];
        const bool selected = n == slot;
        b->SetImage(selected ? 10 + n : 7 + n, ImageList1);
        b->Tag = selected ? 1 : 0;
    }

    Panel5->hide();
    Panel9->show();

    LoadSettingsDataToInterface(slot - 1);

    Label4->setText(QStringLiteral("config.%1").arg(slot));
    update();

    if (CurrentEdit->Tag == 1)
        CurrentEditEnter();
    if (CLOEdit->Tag == 1)
        CLOEditEnter();
    if (DClevelEdit->Tag == 1)
        DClevelEditEnter();
    if (NTCEdit->Tag == 1)
        NTCEditEnter();

    if (slot == 1 && !CurrentEdit->isEnabled() && !CLOEdit->isEnabled() && !DClevelEdit->isEnabled()
        && !NTCEdit->isEnabled())
        CurrentEditEnter();

    CurrentDataPackageMemoFill(StrToInt(NomCurrentEdit->text()));
}

void TForm1::ReloadSettings()
{
    switch (activeSlot()) {
    case 2:
        Setting2ToolButtonClick();
        break;
    case 3:
        Setting3ToolButtonClick();
        break;
    default:
        Setting1ToolButtonClick();
        break;
    }
}

void TForm1::RefreshLifeTimeHourLabels()
{
    const int s = StrToInt(clo_LifeTimeEdit->text());
    clo_L1_hour_Label->setText(QStringLiteral("0"));
    clo_L2_hour_Label->setText(lifetimeShare(s, 0.25f));
    clo_L3_hour_Label->setText(lifetimeShare(s, 0.5f));
    clo_L4_hour_Label->setText(lifetimeShare(s, 0.75f));
    clo_L5_hour_Label->setText(QString::number(s));
}

void TForm1::LoadDefaultSettingsData()
{
    try {
        for (int i = 0; i < kSlotCount; ++i) {
            STRUCT_XML_FILE_VARIABLES &slot = settingsVariablesField[i];
            ApplyDefaultProfile(slot);
            CurrentEdit->setEnabled(true);
            CLOEdit->setEnabled(slot.cloAdjustEnable != 0);
            DClevelEdit->setEnabled(slot.dclevelAdjustEnable != 0);
            NTCEdit->setEnabled(slot.ExtNTCAdjustEnable != 0);

            clo_LifeTimeEdit->setText(slot.lifeTime.defaultValue);
            CLO_EnableCheckBox->setChecked(true);
            CLO_EnableCheckBoxClick();
            RefreshLifeTimeHourLabels();

            DC_level_active->setChecked(true);
            const int level = StrToInt(slot.dcLevel.defaultValue);
            DC_ScrollBar->setValue(DC_ScrollBar->minimum() + DC_ScrollBar->maximum() - level);
        }
    } catch (const std::exception &) {
        dialogs().message(QStringLiteral("Error"), QStringLiteral("problem during load of default settings"));
    }
}

void TForm1::CloseInterfacePanels()
{
    for (QWidget *w : {static_cast<QWidget *>(GraphPanel), static_cast<QWidget *>(CLO_Adjust_Panel),
                       static_cast<QWidget *>(DC_levelPanel), static_cast<QWidget *>(NTCPanel),
                       static_cast<QWidget *>(CurrentTablePanel), static_cast<QWidget *>(DataPackageMemo),
                       static_cast<QWidget *>(CLO_adjust_panel_1), static_cast<QWidget *>(CLO_adjust_panel_2),
                       static_cast<QWidget *>(NTC_adjust_Panel)})
        w->hide();
}

void TForm1::LoadSettingsDataToInterface(int /*unused: the active slot is shown*/)
{
    const STRUCT_XML_FILE_VARIABLES &slot = activeProfile();

    FamilyNameLabel->setText(slot.familyName);
    TypeLabel->setText(slot.type);
    RefNumLabel->setText(slot.ref_number);
    NfcFwVersion->setText(slot.programmer_Nfc_FW);
    EnOceanIDLabel->setText(slot.enOcean_HandHeldID);
    emit programmerShown(slot.enOcean_HandHeldID, slot.programmer_Nfc_FW);

    const int enabled[] = {slot.currentAdjustEnable, slot.cloAdjustEnable, slot.dclevelAdjustEnable,
                           slot.ExtNTCAdjustEnable};
    QCheckBox *boxes[] = {CurrentCheckBox, CLOCheckBox, DCLevelCheckBox, NTCCheckBox};
    TEdit *edits[] = {CurrentEdit, CLOEdit, DClevelEdit, NTCEdit};
    for (int i = 0; i < 4; ++i) {
        boxes[i]->setChecked(enabled[i] != 0);
        edits[i]->setEnabled(enabled[i] != 0);
    }

    for (TEdit *e : edits)
        e->Tag = 0;
    bool marked = false;
    for (int i = 0; i < 4 && !marked; ++i) {
        if (enabled[i] != 0) {
            edits[i]->Tag = 1;
            marked = true;
        }
    }
    if (!marked) {
        CloseInterfacePanels();
        update();
    }

    WriteSumarryInformation();
    GenerateProgrammingData();

    SummaryPanel->show();
    SummaryPanel->raise();
    OK->hide();
    CloseInterfaceButton->Tag = 0;
    CloseInterfaceButton->setText(QStringLiteral("Close config-panel"));

    MaxCurrentLabel->setText(slot.current.max);
    NomCurrentEdit->setText(slot.current.defaultValue);
    MinCurrentLabel->setText(slot.current.min);

    clo_LifeTimeEdit->setText(slot.lifeTime.defaultValue);
    CLO_EnableCheckBox->setChecked(slot.lifeTime.defaultValue != QLatin1String("0"));
    CLO_EnableCheckBoxClick();

    clo_L1_Edit->setText(slot.Level0.defaultValue);
    clo_StartLevelLabel->setText(slot.Level0.defaultValue);
    clo_L2_Edit->setText(slot.Level1.defaultValue);
    clo_L3_Edit->setText(slot.Level2.defaultValue);
    clo_L4_Edit->setText(slot.Level3.defaultValue);
    clo_L5_Edit->setText(slot.Level4.defaultValue);
    clo_StopLevelLabel->setText(slot.Level4.defaultValue);

    RefreshLifeTimeHourLabels();

    // The bar before the text, as the DC adjustment does it: a stored level outside
    // the bar's range is not replaced through the bar's change handler.
    DC_LevelAdjust(activeSlot() - 1);

    NTC_start_edit->setText(slot.ExtNTCLevel1.defaultValue);
    NTC_stop_edit->setText(slot.ExtNTCLevel2.defaultValue);
    NTC_start_degree_edit->setText(slot.Temp1.defaultValue);
    NTC_stop_degree_edit->setText(slot.Temp2.defaultValue);
    NTC_cut_degree_edit->setText(slot.CutOffTemp.defaultValue);
}

void TForm1::LoadSettingsDataFromInterface(int slotIndex)
{
    STRUCT_XML_FILE_VARIABLES &slot = settingsVariablesField.at(slotIndex);

    slot.currentAdjustEnable = CurrentEdit->isEnabled() ? 1 : 0;
    slot.cloAdjustEnable = CLOEdit->isEnabled() ? 1 : 0;
    slot.dclevelAdjustEnable = DClevelEdit->isEnabled() ? 1 : 0;
    slot.ExtNTCAdjustEnable = NTCEdit->isEnabled() ? 1 : 0;

    slot.familyName = FamilyNameLabel->text();
    slot.type = TypeLabel->text();
    slot.ref_number = RefNumLabel->text();
    slot.programmer_Nfc_FW = NfcFwVersion->text();
    slot.enOcean_HandHeldID = EnOceanIDLabel->text();

    if (slot.currentAdjustEnable == 1) {
        slot.current.max = MaxCurrentLabel->text();
        slot.current.defaultValue = NomCurrentEdit->text();
        slot.current.min = MinCurrentLabel->text();
    }
    if (slot.cloAdjustEnable == 1) {
        slot.lifeTime.defaultValue = clo_LifeTimeEdit->text();
        slot.Level0.defaultValue = clo_L1_Edit->text();
        slot.Level1.defaultValue = clo_L2_Edit->text();
        slot.Level2.defaultValue = clo_L3_Edit->text();
        slot.Level3.defaultValue = clo_L4_Edit->text();
        slot.Level4.defaultValue = clo_L5_Edit->text();
    }
    if (slot.dclevelAdjustEnable == 1)
        slot.dcLevel.defaultValue = DC_level_Edit->text().isEmpty() ? defaultDcLevelOff : DC_level_Edit->text();
    if (slot.ExtNTCAdjustEnable == 1) {
        slot.ExtNTCLevel1.defaultValue = NTC_start_edit->text();
        slot.ExtNTCLevel2.defaultValue = NTC_stop_edit->text();
        slot.Temp1.defaultValue = NTC_start_degree_edit->text();
        slot.Temp2.defaultValue = NTC_stop_degree_edit->text();
        slot.CutOffTemp.defaultValue = NTC_cut_degree_edit->text();
    }
}

int TForm1::CompareInterfaceDataWithSettingsData()
{
    const STRUCT_XML_FILE_VARIABLES &slot = activeProfile();
    const std::pair<QString, const QString *> pairs[] = {
        {FamilyNameLabel->text(), &slot.familyName},
        {TypeLabel->text(), &slot.type},
        {RefNumLabel->text(), &slot.ref_number},
        {NfcFwVersion->text(), &slot.programmer_Nfc_FW},
        {EnOceanIDLabel->text(), &slot.enOcean_HandHeldID},
        {MaxCurrentLabel->text(), &slot.current.max},
        {NomCurrentEdit->text(), &slot.current.defaultValue},
        {MinCurrentLabel->text(), &slot.current.min},
        {clo_LifeTimeEdit->text(), &slot.lifeTime.defaultValue},
        {clo_L1_Edit->text(), &slot.Level0.defaultValue},
        {clo_L2_Edit->text(), &slot.Level1.defaultValue},
        {clo_L3_Edit->text(), &slot.Level2.defaultValue},
        {clo_L4_Edit->text(), &slot.Level3.defaultValue},
        {clo_L5_Edit->text(), &slot.Level4.defaultValue},
    };
    for (const auto &[shown, stored] : pairs)
        if (shown != *stored)
            return 1;
    if (DC_level_active->isChecked()) {
        if (DC_level_Edit->text() != slot.dcLevel.defaultValue)
            return 1;
    } else if (slot.dcLevel.defaultValue != defaultDcLevelOff) {
        return 1;
    }
    const std::pair<QString, const QString *> ntc[] = {
        {NTC_stop_edit->text(), &slot.ExtNTCLevel2.defaultValue},
        {NTC_start_degree_edit->text(), &slot.Temp1.defaultValue},
        {NTC_stop_degree_edit->text(), &slot.Temp2.defaultValue},
        {NTC_cut_degree_edit->text(), &slot.CutOffTemp.defaultValue},
    };
    for (const auto &[shown, stored] : ntc)
        if (shown != *stored)
            return 1;
    return 0;
}

void TForm1::AvailabilityGate(QCheckBox *box, TEdit *edit, int available)
{
    if (available != 0)
        edit->setEnabled(!edit->isEnabled());
    else
        box->setChecked(false);
}

void TForm1::CurrentCheckBoxClick() { AvailabilityGate(CurrentCheckBox, CurrentEdit, activeProfile().currentAvailable); }
void TForm1::CLOCheckBoxClick() { AvailabilityGate(CLOCheckBox, CLOEdit, activeProfile().cloAvailable); }
void TForm1::DCLevelCheckBoxClick() { AvailabilityGate(DCLevelCheckBox, DClevelEdit, activeProfile().dclevelAvailable); }
void TForm1::NTCCheckBoxClick() { AvailabilityGate(NTCCheckBox, NTCEdit, activeProfile().ExtNTCAvailable); }

// ---- Welcome panel, toolbar, banner ----------------------------------------------------------

void TForm1::NewSettingsButtonClick()
{
    ToolBar3->show();
    Panel5->hide();
    NewFileToolButtonClick();
}

void TForm1::LoadFileButtonClick()
{
    ToolBar3->show();
    Panel5->hide();
    Setting1ToolButtonClick();
    LoadFileToolButtonClick();
}

void TForm1::NewFileToolButtonClick() { emit driverSelectionWanted(); }

void TForm1::SettingsToolButtonClick()
{
    emit radioLinkSettingsWanted();
}

void TForm1::HelpToolButtonClick()
{
    emit helpWanted();
}

void TForm1::LanguageToolButtonClick()
{
    emit languageWanted();
}

void TForm1::Image1Click()
{
    emit aboutCompanyWanted();
}

void TForm1::Image2Click()
{
    emit aboutNfcWanted();
}

void TForm1::AboutProductButtonClick() { OpenWebPage(ProductWebPage()); }
void TForm1::AboutCompanyButtonClick() { OpenWebPage(CompanyWebPage()); }
void TForm1::CheckUpdatesButtonClick() { OpenWebPage(ProductWebPage()); }

void TForm1::LicenceButtonClick()
{
    emit licenceWanted();
}

// ---- Recently-used list ------------------------------------------------------------------------

void TForm1::RegisterCreateWriteFunction(const QString &path) { PushRecentFile(path); }

void TForm1::RegisterCreateReadFunction()
{
    bool ok = false;
    const QStringList entries = ReadRecentFiles(&ok);
    while (RecentlyUsedFiles.size() < kRecentFilesCount)
        RecentlyUsedFiles << QString();
    for (int i = 0; i < entries.size() && i < kRecentFilesCount; ++i)
        RecentlyUsedFiles[i] = entries.at(i);
}

void TForm1::RecentlyUsedButtonClick()
{
    RegisterCreateReadFunction();
    File1->setText(QString());
    File1->setVisible(true);
    QAction *items[] = {File2, File3, File4, File5, File6};
    for (int i = 0; i < 5; ++i) {
        const QString entry = RecentlyUsedFiles.value(i);
        items[i]->setText(QString(entry).replace(QLatin1Char('&'), QLatin1String("&&")));
        items[i]->setVisible(!entry.isEmpty());
    }
    const QPoint at = RecentlyUsedButton->mapToGlobal(
        QPoint(RecentlyUsedButton->width() + 10, RecentlyUsedButton->height() + 8));
    PopupMenu1->popup(at);
}

void TForm1::OpenRecentlyUsedEntry(int entry)
{
    const QString path = RecentlyUsedFiles.value(entry - 1);
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot >= 0 ? path.mid(dot) : QString();
    if (extension == QLatin1String(".xml")) {
        emit recentCatalogueChosen(path);
    } else if (extension == QLatin1String(".set")) {
        LoadModelDataFromSetRecentUsedFile(path);
    }
    ToolBar3->show();
    Panel5->hide();
}

void TForm1::File1Click() { OpenRecentlyUsedEntry(1); }
void TForm1::File2Click() { OpenRecentlyUsedEntry(1); }
void TForm1::File3Click()
{
    OpenRecentlyUsedEntry(2);
    emit driverSelectionWanted();
}
void TForm1::File4Click() { OpenRecentlyUsedEntry(3); }
void TForm1::File5Click() { OpenRecentlyUsedEntry(4); }
void TForm1::File6Click() { OpenRecentlyUsedEntry(5); }

// ---- Settings files ----------------------------------------------------------------------------

namespace {
FileDialogRequest settingsDialog(const QString &title)
{
    FileDialogRequest request;
    request.title = title;
    request.filter = QStringLiteral("setting files (*.set)");
    request.defaultSuffix = QStringLiteral("set");
    request.initialDir = Create_dir_in_Appdata(kAppDataFolderName, QStringLiteral("settings"));
    return request;
}
} // namespace

void TForm1::DropSettingsFile()
{
    SettingsFile.reset();
    SettingsFileOpen = 0;
}

void TForm1::ReadSettingsFile()
{
    SettingsLoadOptions options;
    options.dcLevelAdjust = [this](int slotIndex) { DC_LevelAdjust(slotIndex); };
    const auto slotsBefore = settingsVariablesField;
    const int activeBefore = activeSlot();
    const SettingsLoadResult result = UploadSettingsFromIniFile(*SettingsFile, options);
    if (result == SettingsLoadResult::OldVersion || result == SettingsLoadResult::Unreadable)
        return;
    try {
        Setting1ToolButtonClick();
    } catch (const std::exception &e) {
        // A slot that cannot be shown would leave the window half updated: the slots
        // shown before come back, and no file stays open to save them into.
        settingsVariablesField = slotsBefore;
        setActiveSlot(activeBefore);
        DropSettingsFile();
        ReloadSettings();
        ShowGeneralError(e);
    }
}

void TForm1::LoadFileToolButtonClick()
{
    ToolBar3->show();
    const FileDialogRequest request = settingsDialog(QStringLiteral("Open settings file"));
    DropSettingsFile();
    const QString path = dialogs().openFile(request);
    OpenDialog1Close();
    if (path.isEmpty())
        return;
    SettingsFile = std::make_unique<SettingsIniFile>(path);
    SettingsFileOpen = 1;
    RegisterCreateWriteFunction(path);
    ReadSettingsFile();
}

void TForm1::LoadModelDataFromSetRecentUsedFile(const QString &path)
{
    ToolBar3->show();
    DropSettingsFile();
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return;
    SettingsFile = std::make_unique<SettingsIniFile>(path);
    SettingsFileOpen = 1;
    ReadSettingsFile();
}

void TForm1::SaveToolButtonClick()
{
    if (SettingsFileOpen == 0 || !SettingsFile) {
        SaveAsToolButtonClick();
        return;
    }
    if (CompareInterfaceDataWithSettingsData() == 1) {
        dialogs().message(QStringLiteral("Info"), QStringLiteral("Data were modified. Save them before Save"));
        return;
    }
    // A failed write has been reported already; it is not confirmed as saved.
    if (DownloadSettingsToIniFile(*SettingsFile))
        dialogs().message(QStringLiteral("Info"), QStringLiteral("Recent values saved to actual opened ini file"),
                          MsgButtons::OK, MsgIcon::Information);
    ReloadSettings();
}

void TForm1::SaveAsToolButtonClick()
{
    if (CompareInterfaceDataWithSettingsData() == 1) {
        dialogs().message(QStringLiteral("Info"),
                          QStringLiteral("Data were modified. Save the value in the field before you can save it to the file"));
        return;
    }
    ToolBar3->show();
    const QString path = dialogs().saveFile(QString(), settingsDialog(QString()));
    SaveDialog1Close();
    if (path.isEmpty())
        return;
    SettingsFile = std::make_unique<SettingsIniFile>(path);
    SettingsFileOpen = 1;
    DownloadSettingsToIniFile(*SettingsFile);
}

void TForm1::OpenDialog1Close() { ReloadSettings(); }
void TForm1::OpenDialog2Close() { ReloadSettings(); }
void TForm1::SaveDialog1Close() { ReloadSettings(); }

// ---- Summary, programming data, printing -----------------------------------------------------------

void TForm1::WriteSumarryInformation()
{
    SummaryMemo->clear();
    SummaryMemo->setPlainText(::WriteSumarryInformation().join(QLatin1Char('\n')));
}

void TForm1::GenerateProgrammingData()
{
    QStringList items;
    try {
        ::GenerateProgrammingData(activeSlot() - 1, DC_level_active->isChecked(), items);
    } catch (...) {
        ProgrammedDataMemo->setPlainText(items.join(QLatin1Char('\n')));
        throw;
    }
    ProgrammedDataMemo->setPlainText(items.join(QLatin1Char('\n')));
}

void TForm1::CurrentDataPackageMemoFill(int currentMa)
{
    DataPackageMemo->setPlainText(::CurrentDataPackageMemoFill(currentMa).join(QLatin1Char('\n')));
}

void TForm1::PrintToolButtonClick()
{
    FileDialogRequest request;
    request.filter = QStringLiteral("txt files (*.txt)");
    request.defaultSuffix = QStringLiteral("txt");
    request.initialDir = Create_dir_in_Appdata(kAppDataFolderName, QStringLiteral("print"));
    const QString path = dialogs().saveFile(QString(), request);
    SaveTextFileDialog1Close();
    if (path.isEmpty())
        return;
    WriteSumarryInformation();
    SaveSummaryTextFile(path, SummaryMemo->toPlainText().split(QLatin1Char('\n')));
}

void TForm1::SaveTextFileDialog1Close() { ReloadSettings(); }
