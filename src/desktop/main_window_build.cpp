// Building the main window's controls: banner, toolbar, welcome panel, work panel
// with the device information and the parameter selectors, the parameter area with
// the four editors and the summary, the status strip, the recently-used menu, and
// connecting the controls' events to the window's handlers.

#include "desktop/main_window.h"

#include "common/convert.h"
#include "desktop/pictures.h"
#include "profile/parameter_table.h"
#include "profile/profile_defaults.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

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

} // namespace

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
    // A wider window widens both: the driver panel up to its maximum (long model
    // names), the parameter area beyond the room its editors need.
    row->addWidget(VariablePanel, 1);
    row->addWidget(Current_Adjust_Panel, 2);
}

void TForm1::BuildVariablePanel()
{
    VariablePanel = panel(Panel9, "VariablePanel");
    VariablePanel->setMinimumWidth(270);
    VariablePanel->setMaximumWidth(420);
    auto heading = [&](const QString &text, int y) {
        auto *l = label(VariablePanel, text, QRect(14, y, 240, 20));
        l->setProperty("role", "heading");
        return l;
    };
    auto caption = [&](const QString &text, int y) {
        auto *l = label(VariablePanel, text, QRect(14, y, 100, 22));
        l->setProperty("role", "caption");
    };
    // Values run to the panel's right edge; one longer than that is cut with "…"
    // and shown whole in its tooltip.
    auto value = [&](const char *name, int y) {
        auto *l = make<TElidedLabel>(VariablePanel, name);
        l->setGeometry(114, y, 146, 22);
        FollowParentWidth(l, 10);
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
    VerifyButton = make<TButton>(VariablePanel, "VerifyButton");
    VerifyButton->setText(QStringLiteral("verify"));
    VerifyButton->setToolTip(QStringLiteral("Read drivers one after another and compare each with the active slot"));
    heading(QStringLiteral("NFC programmer link"), 410);
    SendButton->setGeometry(14, 438, 242, 34);
    ReportButton->setGeometry(14, 480, 242, 34);
    ReadButton->setGeometry(14, 522, 117, 34);
    VerifyButton->setGeometry(139, 522, 117, 34);

    connect(CurrentCheckBox, &QCheckBox::clicked, this, [this] { RunUserAction([this] { CurrentCheckBoxClick(); }); });
    connect(CLOCheckBox, &QCheckBox::clicked, this, [this] { RunUserAction([this] { CLOCheckBoxClick(); }); });
    connect(DCLevelCheckBox, &QCheckBox::clicked, this, [this] { RunUserAction([this] { DCLevelCheckBoxClick(); }); });
    connect(NTCCheckBox, &QCheckBox::clicked, this, [this] { RunUserAction([this] { NTCCheckBoxClick(); }); });
    onClick(SendButton, this, &TForm1::SendButtonClick);
    onClick(ReadButton, this, &TForm1::ReadButtonClick);
    onClick(VerifyButton, this, &TForm1::VerifyButtonClick);
    onClick(ReportButton, this, &TForm1::ReportButtonClick);
}

void TForm1::BuildParameterArea()
{
    Current_Adjust_Panel = panel(Panel9, "Current_Adjust_Panel");
    Current_Adjust_Panel->setMinimumWidth(720); // the editors and the buttons beside them
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
    for (int i = 0; i < kCloLevelCount; ++i) {
        TEdit *&levelEdit = this->*kCloLevelEditMembers[size_t(i)];
        QLabel *&hourLabel = this->*kCloHourLabelMembers[size_t(i)];
        const int x = 10 + i * 96;
        label(CLO_adjust_panel_2, QString::fromLatin1(CloLevelGroup(i).label), QRect(x, 30, 30, 22));
        levelEdit = edit(CLO_adjust_panel_2, QStringLiteral("clo_L%1_Edit").arg(i + 1).toLatin1().constData(),
                         QRect(x + 24, 28, 50, 28), false);
        label(CLO_adjust_panel_2, QString::fromUtf8(CloLevelGroup(i).unit), QRect(x + 76, 30, 14, 22));
        hourLabel = label(CLO_adjust_panel_2, QString(), QRect(x + 24, 62, 50, 22),
                          QStringLiteral("clo_L%1_hour_Label").arg(i + 1).toLatin1().constData());
        hourLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
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
    // The bar spans the default profile's DC range.
    const ParameterGroup &dcDefaults = *ParameterGroupNamed(QStringLiteral("dcLevel"));
    DC_ScrollBar->setRange(StrToInt(QString::fromLatin1(dcDefaults.defaultMin)),
                           StrToInt(QString::fromLatin1(dcDefaults.defaultMax)));
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

    for (QFrame *big : {GraphPanel, CLO_Adjust_Panel, DC_levelPanel, NTCPanel})
        SetWhiteBackground(big);
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
    LinkStatusLabel = make<QLabel>(StatusPanel, "LinkStatusLabel");
    row->addWidget(LinkStatusLabel);
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
    // The level fields go to the CLO editor by their number, as their clo_Lx_Edit handlers do.
    const auto levelEdits = cloLevelEdits();
    for (int i = 0; i < kCloLevelCount; ++i) {
        levelEdits[size_t(i)]->OnExit = [this, i] { cloEditor.levelExit(i); };
        levelEdits[size_t(i)]->OnKeyPress = [this, i](QChar &k) { cloEditor.levelKeyPress(i, k); };
    }
    connect(CLO_EnableCheckBox, &QCheckBox::clicked, this, [this] { RunUserAction([this] { CLO_EnableCheckBoxClick(); }); });
    connect(DC_level_active, &QCheckBox::clicked, this, [this] { RunUserAction([this] { DC_level_activeClick(); }); });
    connect(DC_ScrollBar, &QScrollBar::valueChanged, this, [this] { RunUserAction([this] { DC_ScrollBarChange(); }); });
}
