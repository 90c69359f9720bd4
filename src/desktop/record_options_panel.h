#pragma once
// The record options of the main window: which records are written when the
// handheld programmer confirms its work, the "Show Drivers" report and the batch
// report ("Report"). The boxes
// mirror the process-wide record options the frame decoder reads.

#include <QFrame>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class RecordsTask;
class TProgrammedDrivers;

class TProgrammedDriverReportPanel : public QFrame {
    Q_OBJECT
public:
    explicit TProgrammedDriverReportPanel(QWidget *parent = nullptr);

    QCheckBox *ReportDatabaseCheckBox = nullptr; // "Write to drivers database"
    QGroupBox *GroupBox1 = nullptr;              // "Handle Id Filter"
    QCheckBox *Setting1CheckBox = nullptr;
    QCheckBox *Setting2CheckBox = nullptr;
    QCheckBox *Setting3CheckBox = nullptr;
    QCheckBox *SettingsDatabaseCheckBox = nullptr; // "Write to settings database"
    // Where the records go: a postgresql:// URI or a folder (empty: the program's
    // own), and this PC's station name; "Use" applies and keeps them.
    QLineEdit *RecordsLocationEdit = nullptr;
    QLineEdit *StationEdit = nullptr;
    QPushButton *UseRecordsLocationButton = nullptr;
    QPushButton *ReportPanelShowDriversButton = nullptr;
    QPushButton *ReportPanelReportButton = nullptr; // "Report": the batch report as PDF or CSV
    QLineEdit *ReportBatchEdit = nullptr;           // the batch or order number the report is headed with
    QPushButton *ReportPanelCloseButton = nullptr;
    // The "Programmed Drivers" window (made by the first "Show Drivers", owned by
    // the panel's window).
    TProgrammedDrivers *ProgrammedDrivers = nullptr;

    // Ticking or unticking "Write to drivers database" ticks and enables, or
    // unticks and disables, the three filter boxes.
    void ReportDatabaseCheckBoxClick();
    // Hides the panel and repaints the window below it.
    void ReportPanelCloseButtonClick();
    // The report in the "Programmed Drivers" window.
    void ReportPanelShowDriversButtonClick();
    // The batch report of all records into a file the user chooses: PDF, or CSV
    // when the name ends in ".csv", headed with the batch or order number of
    // ReportBatchEdit. It is written on a thread of its own; meanwhile the Report
    // button is disabled and says "Writing …". When it ends, a message says what
    // was written, or why nothing was.
    void ReportPanelReportButtonClick();
    // Applies and keeps the records location and station, then prepares the new
    // store on a thread of its own (the Use button is disabled meanwhile). A
    // message names a location that cannot be used.
    void UseRecordsLocationButtonClick();
    // Whether the batch report, or the preparing of a new location, is under way.
    bool WritingReport() const;
    bool PreparingLocation() const;

private:
    void storeOptions(); // the boxes into the process-wide record options

    RecordsTask *ReportWriterTask = nullptr;
    RecordsTask *LocationTask = nullptr;
};
