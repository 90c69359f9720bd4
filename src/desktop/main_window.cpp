// The main window's frame: creating the window and its controls in order, the
// window events, expert mode, the welcome panel's, toolbar's and banner's buttons
// that open other windows or web pages, and the summary, programming data and
// printing. Building the controls is in main_window_build.cpp, the three slots and
// the transfer between slot and controls in main_window_slots.cpp, settings files
// and the recently-used list in main_window_files.cpp.

#include "desktop/main_window.h"

#include "app/web_page_opener.h"
#include "common/app_data.h"
#include "common/dialogs.h"
#include "desktop/font_scale.h"
#include "desktop/info_windows.h" // OpenWebPage
#include "desktop/pictures.h"
#include "desktop/window_owner.h"
#include "profile/profile_record.h"
#include "profile/settings_file.h"
#include "programming/programming_data.h"
#include "programming/summary_report.h"
#include "records/records_database.h"
#include "records/records_writer.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QResizeEvent>
#include <QScrollArea>
#include <QShowEvent>
#include <QVBoxLayout>

int DevelopModeFlag = 0;

namespace {

// The size the window is designed for; on a smaller screen (or a larger scale)
// the window may be smaller and its content scrolls.
constexpr QSize kDesignedSize(1024, 758);

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
#DC_ScrollBar:vertical { background: #dfe2e7; border: 1px solid #b4bac4; border-radius: 4px; width: 22px; margin: 0; }
#DC_ScrollBar::handle:vertical { background: #fbba00; border: 1px solid #a87c00; border-radius: 4px; min-height: 28px; }
#DC_ScrollBar::handle:vertical:hover { background: #ffcb33; }
#DC_ScrollBar::handle:vertical:disabled { background: #aab0ba; border-color: #8a909a; }
#DC_ScrollBar::add-line:vertical, #DC_ScrollBar::sub-line:vertical { height: 0; border: none; }
#DC_ScrollBar::add-page:vertical, #DC_ScrollBar::sub-page:vertical { background: none; }
)";

} // namespace

TForm1::TForm1(const QStringList &arguments, QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setStyleSheet(QLatin1String(kStyleSheet));
    ImageList1 = ToolBarImages();

    // The controls keep their designed room; a window smaller than that (a small
    // screen, a large scale) scrolls them.
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("CentralScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    CentralArea = new QWidget(scroll);
    CentralArea->setObjectName(QStringLiteral("CentralArea"));
    CentralArea->setMinimumSize(kDesignedSize);
    scroll->setWidget(CentralArea);
    setCentralWidget(scroll);
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

    // Tab runs through the open editor's fields in reading order, then to "Save"
    // and "Close config-panel" (hidden editors' fields are passed over).
    QList<QWidget *> tabOrder = {NomCurrentEdit, clo_LifeTimeEdit, CLO_EnableCheckBox};
    for (TEdit *level : cloLevelEdits())
        tabOrder << level;
    tabOrder << QList<QWidget *>{DC_level_active,      DC_level_Edit,       NTC_start_degree_edit,
                                 NTC_stop_degree_edit, NTC_cut_degree_edit, NTC_stop_edit,
                                 OK,                   CloseInterfaceButton};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder.at(i - 1), tabOrder.at(i));

    // A larger font than the design's: every fixed position and size grows with it.
    ScaleFixedGeometry(CentralArea, WindowFontScale(this));

    setMinimumSize(SizeOnScreen(this, CentralArea->minimumSize()));
    resize(SizeOnScreen(this, CentralArea->minimumSize()));

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
    RecordsWriter_.reset();
    SettingsFile.reset();
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
    KeepSlotsAsSaved();

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
    // Never below the designed size where the screen has room for it.
    int w = width();
    int h = height();
    if (w < minimumWidth())
        w = minimumWidth();
    if (h < minimumHeight())
        h = minimumHeight();
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
    if (!event->spontaneous()) {
        // The screen it opens on decides how small it may be; it opens inside it.
        setMinimumSize(SizeOnScreen(this, CentralArea->minimumSize()));
        resize(SizeOnScreen(this, size()).expandedTo(minimumSize()));
        KeepOnScreen(this);
        RunUserAction([this] { FormShow(); });
    }
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
    bool goOn = false;
    RunUserAction([&] { goOn = AskToSaveChanges(); });
    if (!goOn) {
        event->ignore();
        return;
    }
    RunUserAction([this] { FormClose(); });
    KeepPendingRecordsAtClose();
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
        SummaryMemo->setGeometry(ScaledRect(CentralArea, QRect(0, 28, 329, 539)));
    }
}

// ---- Welcome panel, toolbar, banner ----------------------------------------------------------

void TForm1::NewSettingsButtonClick()
{
    if (!AskToSaveChanges())
        return;
    ToolBar3->show();
    Panel5->hide();
    emit driverSelectionWanted();
}

void TForm1::LoadFileButtonClick()
{
    if (!AskToSaveChanges())
        return;
    ToolBar3->show();
    Panel5->hide();
    Setting1ToolButtonClick();
    LoadSettingsFileWithDialog();
}

void TForm1::NewFileToolButtonClick()
{
    if (!AskToSaveChanges())
        return;
    emit driverSelectionWanted();
}

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
