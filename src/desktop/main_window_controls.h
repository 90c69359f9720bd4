#pragma once
// The main window's controls, grouped by where they stand: banner, toolbar, welcome
// panel, work panel, the parameter area with the four editors and the summary, and
// the status strip with the recently-used menu. The window (TForm1, main_window.h)
// creates them in main_window_build.cpp; the names are the system's own.

#include "desktop/controls.h"
#include "profile/parameter_table.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QList>
#include <QMenu>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTimer>
#include <array>

class QAction;

struct MainWindowControls {
    // ---- Banner -----------------------------------------------------------------
    QFrame *Panel1 = nullptr;
    TImage *Image1 = nullptr;
    TImage *Image2 = nullptr;

    // ---- Toolbar ----------------------------------------------------------------
    QFrame *ToolBar1 = nullptr;
    QFrame *ToolBar2 = nullptr;
    QFrame *ToolBar3 = nullptr;
    TToolButton *LanguageToolButton = nullptr;
    TToolButton *SaveAsToolButton = nullptr;
    TToolButton *SaveToolButton = nullptr;
    TToolButton *NewFileToolButton = nullptr;
    TToolButton *LoadFileToolButton = nullptr;
    TToolButton *PrintToolButton = nullptr;
    TToolButton *SettingsToolButton = nullptr;
    TToolButton *HelpToolButton = nullptr;
    TToolButton *Setting1ToolButton = nullptr;
    TToolButton *Setting2ToolButton = nullptr;
    TToolButton *Setting3ToolButton = nullptr;
    // The toolbar's pictures: 0-7 the command buttons, 8-10 the slot buttons,
    // 11-13 the selected slot buttons.
    QList<QPixmap> ImageList1;

    // ---- Welcome panel ------------------------------------------------------------
    QFrame *Panel5 = nullptr;
    TButton *AboutProductButton = nullptr;
    TButton *AboutCompanyButton = nullptr;
    TButton *LicenceButton = nullptr;
    TButton *CheckUpdatesButton = nullptr;
    TButton *NewSettingsButton = nullptr;
    TButton *LoadFileButton = nullptr;
    TButton *RecentlyUsedButton = nullptr;

    // ---- Work panel: device information and parameter selectors -------------------
    QFrame *Panel9 = nullptr;
    QFrame *VariablePanel = nullptr;
    QLabel *FamilyNameLabel = nullptr;
    QLabel *TypeLabel = nullptr;
    QLabel *RefNumLabel = nullptr;
    QLabel *NfcFwVersion = nullptr;
    QLabel *EnOceanIDLabel = nullptr;
    TEdit *CurrentEdit = nullptr;
    TEdit *CLOEdit = nullptr;
    TEdit *DClevelEdit = nullptr;
    TEdit *NTCEdit = nullptr;
    QCheckBox *CurrentCheckBox = nullptr;
    QCheckBox *CLOCheckBox = nullptr;
    QCheckBox *DCLevelCheckBox = nullptr;
    QCheckBox *NTCCheckBox = nullptr;
    TButton *SendButton = nullptr;
    TButton *ReportButton = nullptr;
    TButton *ReadButton = nullptr;
    TButton *VerifyButton = nullptr; // beside "read"

    // ---- Parameter area -----------------------------------------------------------
    QFrame *Current_Adjust_Panel = nullptr;
    QLabel *Label4 = nullptr; // names the shown slot
    TButton *OK = nullptr;    // "Save"
    TButton *CloseInterfaceButton = nullptr;

    // Current editor.
    QFrame *GraphPanel = nullptr;
    QFrame *CurrentTablePanel = nullptr;
    QLabel *MinCurrentLabel = nullptr;
    QLabel *MaxCurrentLabel = nullptr;
    TEdit *NomCurrentEdit = nullptr;

    // CLO editor.
    QFrame *CLO_Adjust_Panel = nullptr;
    QFrame *CLO_adjust_panel_1 = nullptr;
    QFrame *CLO_adjust_panel_2 = nullptr;
    TEdit *clo_LifeTimeEdit = nullptr;
    QCheckBox *CLO_EnableCheckBox = nullptr;
    QLabel *clo_StartLevelLabel = nullptr;
    QLabel *clo_StopLevelLabel = nullptr;
    TEdit *clo_L1_Edit = nullptr;
    TEdit *clo_L2_Edit = nullptr;
    TEdit *clo_L3_Edit = nullptr;
    TEdit *clo_L4_Edit = nullptr;
    TEdit *clo_L5_Edit = nullptr;
    QLabel *clo_L1_hour_Label = nullptr;
    QLabel *clo_L2_hour_Label = nullptr;
    QLabel *clo_L3_hour_Label = nullptr;
    QLabel *clo_L4_hour_Label = nullptr;
    QLabel *clo_L5_hour_Label = nullptr;

    // DC level editor.
    QFrame *DC_levelPanel = nullptr;
    QCheckBox *DC_level_active = nullptr;
    TEdit *DC_level_Edit = nullptr;
    QScrollBar *DC_ScrollBar = nullptr; // vertical, inverted: the top is the highest level
    QLabel *Label37 = nullptr;          // minimum level
    QLabel *Label38 = nullptr;          // maximum level

    // NTC editor.
    QFrame *NTCPanel = nullptr;
    QFrame *NTC_adjust_Panel = nullptr;
    TEdit *NTC_start_edit = nullptr; // read-only
    TEdit *NTC_stop_edit = nullptr;
    TEdit *NTC_cut_edit = nullptr; // read-only
    TEdit *NTC_start_degree_edit = nullptr;
    TEdit *NTC_stop_degree_edit = nullptr;
    TEdit *NTC_cut_degree_edit = nullptr;

    // Summary view and programming data.
    QFrame *SummaryPanel = nullptr;
    QLabel *Label54 = nullptr;
    QPlainTextEdit *SummaryMemo = nullptr;
    QPlainTextEdit *ProgrammedDataMemo = nullptr; // expert mode only
    QPlainTextEdit *DataPackageMemo = nullptr;    // never shown

    // ---- Status strip, menu, timer -------------------------------------------------
    QFrame *StatusPanel = nullptr;
    QLabel *Label53 = nullptr;
    QLabel *PendingRecordsLabel = nullptr; // "N record(s) kept pending" while there are any
    QLabel *LinkStatusLabel = nullptr;     // stick, programmer and a transfer's progress
    QMenu *PopupMenu1 = nullptr;
    QAction *File1 = nullptr;
    QAction *File2 = nullptr;
    QAction *File3 = nullptr;
    QAction *File4 = nullptr;
    QAction *File5 = nullptr;
    QAction *File6 = nullptr;
    QTimer *RepaintTimer = nullptr; // 50 ms, once


    // The CLO level fields and their hour labels, L1 first.
    std::array<TEdit *, kCloLevelCount> cloLevelEdits() const;
    std::array<QLabel *, kCloLevelCount> cloHourLabels() const;
};

// The CLO level controls as members, L1 first: the one list of them. Their sizes
// are counted, not given, so that a level without its controls does not build
// (a short list would leave the missing controls null).
inline constexpr auto kCloLevelEditMembers = std::to_array<TEdit *MainWindowControls::*>({
    &MainWindowControls::clo_L1_Edit, &MainWindowControls::clo_L2_Edit, &MainWindowControls::clo_L3_Edit,
    &MainWindowControls::clo_L4_Edit, &MainWindowControls::clo_L5_Edit});
inline constexpr auto kCloHourLabelMembers = std::to_array<QLabel *MainWindowControls::*>({
    &MainWindowControls::clo_L1_hour_Label, &MainWindowControls::clo_L2_hour_Label,
    &MainWindowControls::clo_L3_hour_Label, &MainWindowControls::clo_L4_hour_Label,
    &MainWindowControls::clo_L5_hour_Label});
static_assert(kCloLevelEditMembers.size() == kCloLevelCount && kCloHourLabelMembers.size() == kCloLevelCount,
              "every CLO level has its field and its hour label");

inline std::array<TEdit *, kCloLevelCount> MainWindowControls::cloLevelEdits() const
{
    std::array<TEdit *, kCloLevelCount> edits{};
    for (int i = 0; i < kCloLevelCount; ++i)
        edits[size_t(i)] = this->*kCloLevelEditMembers[size_t(i)];
    return edits;
}

inline std::array<QLabel *, kCloLevelCount> MainWindowControls::cloHourLabels() const
{
    std::array<QLabel *, kCloLevelCount> labels{};
    for (int i = 0; i < kCloLevelCount; ++i)
        labels[size_t(i)] = this->*kCloHourLabelMembers[size_t(i)];
    return labels;
}
