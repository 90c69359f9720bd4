#pragma once
// The main window: banner, toolbar with the three configuration slots, the welcome
// panel, the work panel with the device information, the four parameter selectors
// and the parameter editors, the summary view, and the status strip.
//
// The window's methods live in several files: the frame, window events, the buttons
// that open other windows and the summary in main_window.cpp; building the controls
// in main_window_build.cpp; the slots and the transfer between slot and controls in
// main_window_slots.cpp; settings files and the recently-used list in
// main_window_files.cpp; the editors' common frame in main_window_editors.cpp and
// each editor in its own class (current_editor, clo_editor, dc_level_editor,
// ntc_editor); sending in main_window_send.cpp; reading a driver and the report in
// main_window_read.cpp; records in main_window_records.cpp; the other windows'
// answers in main_window_answers.cpp.

#include "desktop/clo_editor.h"
#include "desktop/controls.h"
#include "desktop/current_editor.h"
#include "desktop/dc_level_editor.h"
#include "desktop/main_window_controls.h"
#include "desktop/ntc_editor.h"
#include "profile/profile_record.h"
#include "radio/link_status.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QList>
#include <QMainWindow>
#include <QMenu>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>

class SettingsIniFile;
class RecordsWriterThread;
struct RecordsStoreState;
class QAction;
class TGraphView;
class TProgrammedDriverReportPanel;
class TVerifyPanel;
class VerifySession;
struct GraphDrawing;
struct TagVerification;

// Expert mode: 1 when the program was started with the expert keyword, else 0.
extern int DevelopModeFlag;

// Asked before unsaved slots or window values would be dropped.
extern const QString kSaveChangesQuestion;

// The designed caption; the version number is appended when the window is created.
inline const QString kMainWindowDesignedCaption =
    QStringLiteral("   NFC configuration software Tavel soft.ver. ");
inline const QString kSoftwareVersion = QStringLiteral("1.4");
// The first command-line argument that switches expert mode on (case-sensitive).
inline const QString kExpertModeKeyword = QStringLiteral("qavrelo");

class RadioLink;

// The controls are named as the system names them (see the README's glossary) and
// grouped by where they stand in main_window_controls.h.
class TForm1 : public QMainWindow, public MainWindowControls {
    Q_OBJECT
public:
    // `arguments` is the command line with the program path first; an empty list
    // means the application's own arguments.
    explicit TForm1(const QStringList &arguments = {}, QWidget *parent = nullptr);
    ~TForm1() override;

    // ---- State ----------------------------------------------------------------------
    // The five recently-used paths as last read (entry 1 newest).
    QStringList RecentlyUsedFiles;
    // The open settings file (nullptr when none) and its flag (1 while open).
    std::unique_ptr<SettingsIniFile> SettingsFile;
    int SettingsFileOpen = 0;
    // Closing the window ends the program (set by the program's start-up).
    bool EndProgramOnClose = false;

    // ---- Window events ----------------------------------------------------------------
    void FormCreate(const QStringList &arguments);
    void FormShow();
    void FormActivate();
    void FormResize();
    void FormClose();

    // ---- Slots and transfer -------------------------------------------------------------
    void Setting1ToolButtonClick();
    void Setting2ToolButtonClick();
    void Setting3ToolButtonClick();
    void SelectSlot(int slot); // the common part of the three handlers above
    void LoadDefaultSettingsData();
    void LoadSettingsDataToInterface(int unused);
    void LoadSettingsDataFromInterface(int slotIndex);
    int CompareInterfaceDataWithSettingsData();
    void ReloadSettings();
    void CloseInterfacePanels();
    void CurrentCheckBoxClick();
    void CLOCheckBoxClick();
    void DCLevelCheckBoxClick();
    void NTCCheckBoxClick();
    // The lifetime labels from the integer in clo_LifeTimeEdit (throws EConvertError).
    void RefreshLifeTimeHourLabels();

    // ---- Welcome panel, toolbar, banner -------------------------------------------------
    void NewSettingsButtonClick();
    void LoadFileButtonClick();
    void RecentlyUsedButtonClick();
    void AboutProductButtonClick();
    void AboutCompanyButtonClick();
    void LicenceButtonClick();
    void CheckUpdatesButtonClick();
    void NewFileToolButtonClick();
    void SettingsToolButtonClick();
    void HelpToolButtonClick();
    void LanguageToolButtonClick();
    void Image1Click();
    void Image2Click();

    // ---- Recently-used list -----------------------------------------------------------------
    void RegisterCreateWriteFunction(const QString &path);
    void RegisterCreateReadFunction();
    void File1Click();
    void File2Click();
    void File3Click();
    void File4Click();
    void File5Click();
    void File6Click();
    // Entry 1-5; false when the operator kept unsaved changes instead ("Save changes?").
    bool OpenRecentlyUsedEntry(int entry);

    // ---- Settings files -----------------------------------------------------------------------
    void LoadFileToolButtonClick();
    void LoadModelDataFromSetRecentUsedFile(const QString &path);
    void SaveToolButtonClick();
    void SaveAsToolButtonClick();
    void DropSettingsFile();
    // Reads the open settings file into the slots, then shows slot 1; true when the
    // file loaded (a file that is unreadable, of an old version or malformed did not).
    bool ReadSettingsFile();
    void OpenDialog1Close();
    void OpenDialog2Close();
    void SaveDialog1Close();
    // "load settings from file" without the question below (the welcome panel asks first).
    void LoadSettingsFileWithDialog();

    // ---- Unsaved changes (main_window_unsaved.cpp) ------------------------------------------
    // The slots as last loaded or saved; a slot that differs from them is unsaved.
    std::array<STRUCT_XML_FILE_VARIABLES, kSlotCount> SlotsAsKept;
    void KeepSlotsAsSaved();
    void KeepSlotAsSaved(int slotIndex);
    // A slot changed since it was loaded or saved, or the window's values differ
    // from the shown slot.
    bool HasUnsavedChanges();
    // "Save changes?" (Save / Discard / Cancel) when there are unsaved changes;
    // true when the step that asked may go on (nothing unsaved, saved, discarded).
    bool AskToSaveChanges();

    // ---- Summary, programming data, printing ----------------------------------------------------
    void WriteSumarryInformation();
    void GenerateProgrammingData();
    void CurrentDataPackageMemoFill(int currentMa);
    void PrintToolButtonClick();
    void SaveTextFileDialog1Close();

    // ---- Expert mode -------------------------------------------------------------------------------
    void DevelopModeEnable();

    // ---- Parameter editors and graphs -------------------------------------------------------------------
    // The handlers hand over to the editor classes (current_editor, clo_editor,
    // dc_level_editor, ntc_editor); the common frame is in main_window_editors.cpp.
    void CurrentEditEnter();
    void CLOEditEnter();
    void DClevelEditEnter();
    void NTCEditEnter();
    void NomCurrentEditExit();
    void clo_LifeTimeEditExit();
    void clo_L1_EditExit();
    void clo_L2_EditExit();
    void clo_L3_EditExit();
    void clo_L4_EditExit();
    void clo_L5_EditExit();
    void NTC_start_degree_editExit();
    void NTC_stop_degree_editExit();
    void NTC_cut_degree_editExit();
    void NTC_stop_editExit();
    void DC_level_EditExit();
    void NomCurrentEditKeyPress(QChar &Key);
    void clo_LifeTimeEditKeyPress(QChar &Key);
    void clo_L1_EditKeyPress(QChar &Key);
    void clo_L2_EditKeyPress(QChar &Key);
    void clo_L3_EditKeyPress(QChar &Key);
    void clo_L4_EditKeyPress(QChar &Key);
    void clo_L5_EditKeyPress(QChar &Key);
    void NTC_start_degree_editKeyPress(QChar &Key);
    void NTC_stop_degree_editKeyPress(QChar &Key);
    void NTC_cut_degree_editKeyPress(QChar &Key);
    void NTC_stop_editKeyPress(QChar &Key);
    void DC_level_EditKeyPress(QChar &Key);
    void CLO_LifeTimeMaxErrorMessageBox(int slotIndex);
    void CLO_L1MinMaxErrorMessageBox(int slotIndex);
    void CLO_L2MinMaxErrorMessageBox(int slotIndex);
    void CLO_L3MinMaxErrorMessageBox(int slotIndex);
    void CLO_L4MinMaxErrorMessageBox(int slotIndex);
    void CLO_L5MinMaxErrorMessageBox(int slotIndex);
    QString CLO_LxFloatToString(const QString &text);
    void DC_LevelAdjust(int slotIndex);
    void DC_ScrollBarChange();
    void DC_level_activeClick();
    void CLO_EnableCheckBoxClick();
    void OKClick();
    void CloseInterfaceButtonClick();
    void RepaintGraphs();
    void RepaintTimerTimer();
    // The three graph panels (created with the first panel opened or graph drawn):
    // GraphRangesPaintBox/GraphPaintBox, CLO_GraphRangesPaintBox/CLO_PaintBox,
    // NTC_ranges_PaintBox/NTC_graph_PaintBox.
    TGraphView *CurrentGraph = nullptr;
    TGraphView *CLOGraph = nullptr;
    TGraphView *NTCGraph = nullptr;
    void CreateGraphs();
    void CurrentGraphRangesDraw();
    void ActualNominalCurrentLineDraw(int current);
    void CLO_GraphRangesDrawFloat();
    void NTC_GraphRangesDraw();
    void GraphPaintBoxMouseDown(Qt::MouseButton button, int X, int Y);
    void GraphPaintBoxMouseMove(Qt::MouseButtons buttons, int X, int Y);

    // ---- Send (main_window_send.cpp), read and report (main_window_read.cpp) ---------------------------------
    void SendButtonClick();
    void ReadButtonClick();
    void ReportButtonClick();

    // ---- Verify mode (main_window_verify.cpp) ---------------------------------------------------------------
    void VerifyButtonClick();
    void EndVerifyClick();
    void VerifyModeChanged(bool on);
    void VerifyDriverShown(const TagVerification &result);
    // The verify panel and the verify session on Link (made by the first "verify").
    TVerifyPanel *VerifyPanel = nullptr;
    VerifySession *Verify = nullptr;

    // ---- Records and the radio link's state (main_window_records.cpp) -----------------------------------
    // At start: the records store kept in the settings, and its records writer
    // (which prepares the record databases and moves in what an earlier run left).
    void FollowRecordDatabases();
    // The status strip: the store (unless it is the program's own folder), the
    // records pending and the store's state; one message per outage of the store.
    void ShowRecordsStatus();
    static QString PendingRecordsStatusText(int pending, const RecordsStoreState &state);
    // The writer that moves the records into the store (another one after the
    // store changed).
    RecordsWriterThread *RecordsWriter() const { return RecordsWriter_.get(); }
    // At close: stops the writer; records still pending stay for the next start and
    // one message says so.
    void KeepPendingRecordsAtClose();
    // Send, read and verify are disabled while the radio link runs a send or read
    // sequence or verify mode.
    void RadioLinkBusyChanged(bool busy);
    // The record options and "Show Drivers" (made by the first "report").
    TProgrammedDriverReportPanel *ProgrammedDriverReportPanel = nullptr;
    // The radio link send and read go through (set by the owner; none: "COM port
    // not opened").
    RadioLink *Link = nullptr;

    // ---- The link's state in the status strip (main_window_link.cpp) ------------------------
    // Follows `link` (the owner calls it with the radio link window's link).
    void FollowRadioLink(RadioLink *link);
    void ShowLinkStatus();
    LinkStatus LinkState;

    // ---- What the other windows answer (connected by the owner) ------------------------------
    // The driver selection window was shown / closed.
    void DriverSelectionOpened();
    void DriverSelectionClosed();
    // A catalogue model went into slot `slotIndex`: its selectors as the model allows.
    void ModelLoaded(int slotIndex);
    // A recently used catalogue is being opened in the driver selection window.
    void WaitForDriverSelection();
    // The radio link window was closed / its "Start" pressed.
    void RadioLinkWindowClosed();
    void RadioLinkStartPressed();
    // The tag's values were copied into the active slot.
    void TagTakenOver(bool dcActive);

signals:
    // Closing the window ends the radio link's work.
    void closing();
    // Expert mode was set (true) or not at start.
    void expertModeSet(bool expert);
    // The active slot's programmer ID and firmware are shown.
    void programmerShown(const QString &id, const QString &firmware);
    // "send" passed the window's checks: the programming data items to send.
    void sendRequested(const QStringList &items);
    // "read" brought a tag's data.
    void tagReadArrived();
    // Buttons and entries that open other windows.
    void driverSelectionWanted();
    void recentCatalogueChosen(const QString &path);
    void radioLinkSettingsWanted();
    void helpWanted();
    void languageWanted();
    void aboutCompanyWanted();
    void aboutNfcWanted();
    void licenceWanted();
    // The records writer found a driver recorded before (for the radio log).
    void repeatRecorded(const QString &serial);

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // The four parameter editors; their classes own the handlers' logic and reach
    // the window's controls and the shared panel helpers below.
    friend class CurrentEditor;
    friend class CloEditor;
    friend class DcLevelEditor;
    friend class NtcEditor;
    CurrentEditor currentEditor{*this};
    CloEditor cloEditor{*this};
    DcLevelEditor dcLevelEditor{*this};
    NtcEditor ntcEditor{*this};
    // The common frame of the editors (main_window_editors.cpp).
    void OpenParameterPanel(TEdit *entered, QFrame *bigPanel, std::initializer_list<QFrame *> smallPanels);
    void ShowGraphDrawing(TGraphView *graph, const GraphDrawing &drawing);
    // True while RepaintGraphs redraws: the graphs' message boxes stay closed then.
    bool GraphMessagesQuiet = false;

    void BuildBanner();
    void BuildToolBar();
    void BuildWelcomePanel();
    void BuildWorkPanel();
    void BuildVariablePanel();
    void BuildParameterArea();
    void BuildStatusStrip();
    void BuildPopupMenu();
    void ConnectEditorEvents();
    TToolButton *NewToolButton(QWidget *parent, const QString &name, const QString &hint, int image);
    void AvailabilityGate(QCheckBox *box, TEdit *edit, int available);

    QWidget *CentralArea = nullptr;

    // The records writer and what it last told (main_window_records.cpp).
    void StartRecordsWriter();
    std::unique_ptr<RecordsWriterThread> RecordsWriter_;
    QString RecordsWriterStore_; // the store it writes to (RecordsStoreDescription())
    bool RecordsOutage_ = false;  // the store failed since the last record went in
};

