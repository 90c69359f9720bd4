#include "desktop/record_options_panel.h"

#include "common/dialogs.h"
#include "desktop/controls.h"
#include "desktop/font_scale.h"
#include "records/record_options.h"
#include "records/records_database.h"
#include "records/records_setting.h"
#include "records/records_store_registry.h"
#include "records/records_task.h"
#include "desktop/programmed_drivers_window.h"
#include "report/batch_report.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

TProgrammedDriverReportPanel::TProgrammedDriverReportPanel(QWidget *parent) : QFrame(parent)
{
    MakeWhitePanel(this, QSize(442, 267));
    ReportWriterTask = new RecordsTask(this);
    LocationTask = new RecordsTask(this);

    const RecordOptions &o = recordOptions();
    ReportDatabaseCheckBox = new QCheckBox(QStringLiteral("Write to drivers database"), this);
    ReportDatabaseCheckBox->setToolTip(QStringLiteral("Write programmed driver to database"));
    ReportDatabaseCheckBox->setGeometry(12, 10, 220, 22);
    ReportDatabaseCheckBox->setChecked(o.writeDrivers);

    GroupBox1 = new QGroupBox(QStringLiteral("Handle Id Filter"), this);
    GroupBox1->setGeometry(12, 36, 230, 112);
    Setting1CheckBox = new QCheckBox(QStringLiteral("Setting 1 ProgrammerId added"), GroupBox1);
    Setting2CheckBox = new QCheckBox(QStringLiteral("Setting 2 ProgrammerId added"), GroupBox1);
    Setting3CheckBox = new QCheckBox(QStringLiteral("Setting 3 ProgrammerId added"), GroupBox1);
    QCheckBox *filters[] = {Setting1CheckBox, Setting2CheckBox, Setting3CheckBox};
    for (int i = 0; i < 3; ++i) {
        filters[i]->setGeometry(10, 22 + 28 * i, 212, 22);
        filters[i]->setChecked(o.slotFilter[size_t(i)]);
        filters[i]->setEnabled(o.writeDrivers);
        connect(filters[i], &QCheckBox::toggled, this, [this] { storeOptions(); });
    }

    SettingsDatabaseCheckBox = new QCheckBox(QStringLiteral("Write to settings database"), this);
    SettingsDatabaseCheckBox->setToolTip(QStringLiteral("Write Settings programmed to programmer to settings database"));
    SettingsDatabaseCheckBox->setGeometry(252, 10, 186, 22);
    SettingsDatabaseCheckBox->setChecked(o.writeSettings);
    connect(SettingsDatabaseCheckBox, &QCheckBox::toggled, this, [this] { storeOptions(); });

    ReportPanelShowDriversButton = new QPushButton(QStringLiteral("Show Drivers"), this);
    ReportPanelShowDriversButton->setGeometry(300, 80, 120, 28);
    ReportPanelReportButton = new QPushButton(QStringLiteral("Report"), this);
    ReportPanelReportButton->setToolTip(QStringLiteral("Write the batch report of the records (PDF or CSV)"));
    ReportPanelReportButton->setGeometry(300, 42, 120, 28);
    ReportPanelCloseButton = new QPushButton(QStringLiteral("Close"), this);
    ReportPanelCloseButton->setGeometry(300, 120, 120, 28);

    const RecordsLocationSetting kept = LoadRecordsLocationSetting();
    auto *locationLabel = new QLabel(QStringLiteral("Records location"), this);
    locationLabel->setGeometry(12, 158, 110, 22);
    RecordsLocationEdit = new QLineEdit(kept.location, this);
    RecordsLocationEdit->setObjectName(QStringLiteral("RecordsLocationEdit"));
    RecordsLocationEdit->setPlaceholderText(AllRecordsLocationForms());
    RecordsLocationEdit->setToolTip(QStringLiteral("Empty: the program's own folder. Passwords only in ~/.pgpass"));
    RecordsLocationEdit->setGeometry(124, 158, 306, 22);
    auto *stationLabel = new QLabel(QStringLiteral("Station"), this);
    stationLabel->setGeometry(12, 190, 110, 22);
    StationEdit = new QLineEdit(kept.station, this);
    StationEdit->setObjectName(QStringLiteral("StationEdit"));
    StationEdit->setPlaceholderText(QStringLiteral("this PC's host name"));
    StationEdit->setGeometry(124, 190, 170, 22);
    UseRecordsLocationButton = new QPushButton(QStringLiteral("Use"), this);
    UseRecordsLocationButton->setGeometry(300, 188, 120, 26);
    connect(UseRecordsLocationButton, &QPushButton::clicked, this, [this] { UseRecordsLocationButtonClick(); });
    auto *batchLabel = new QLabel(QStringLiteral("Batch / order"), this);
    batchLabel->setGeometry(12, 222, 110, 22);
    ReportBatchEdit = new QLineEdit(this);
    ReportBatchEdit->setObjectName(QStringLiteral("ReportBatchEdit"));
    ReportBatchEdit->setPlaceholderText(QStringLiteral("named in the batch report"));
    ReportBatchEdit->setToolTip(QStringLiteral("The batch or order number the next report is headed with"));
    ReportBatchEdit->setGeometry(124, 222, 306, 22);

    // A larger font than the design's: every fixed position and size grows with it.
    ScaleFixedGeometry(this, WindowFontScale(this));

    connect(ReportDatabaseCheckBox, &QCheckBox::clicked, this, [this] { ReportDatabaseCheckBoxClick(); });
    connect(ReportPanelShowDriversButton, &QPushButton::clicked, this,
            [this] { ReportPanelShowDriversButtonClick(); });
    connect(ReportPanelCloseButton, &QPushButton::clicked, this, [this] { ReportPanelCloseButtonClick(); });
    connect(ReportPanelReportButton, &QPushButton::clicked, this, [this] { ReportPanelReportButtonClick(); });
}

void TProgrammedDriverReportPanel::storeOptions()
{
    RecordOptions &o = recordOptions();
    o.writeDrivers = ReportDatabaseCheckBox->isChecked();
    o.slotFilter = {Setting1CheckBox->isChecked(), Setting2CheckBox->isChecked(), Setting3CheckBox->isChecked()};
    o.writeSettings = SettingsDatabaseCheckBox->isChecked();
}

void TProgrammedDriverReportPanel::ReportDatabaseCheckBoxClick()
{
    const bool on = ReportDatabaseCheckBox->isChecked();
    recordOptions().setWriteDrivers(on);
    for (QCheckBox *box : {Setting1CheckBox, Setting2CheckBox, Setting3CheckBox}) {
        box->setChecked(on);
        box->setEnabled(on);
    }
    storeOptions();
}

void TProgrammedDriverReportPanel::ReportPanelCloseButtonClick()
{
    hide();
    if (parentWidget())
        parentWidget()->update();
}

void TProgrammedDriverReportPanel::ReportPanelShowDriversButtonClick()
{
    if (!ProgrammedDrivers)
        ProgrammedDrivers = new TProgrammedDrivers(window());
    ProgrammedDrivers->ShowReport();
}

bool TProgrammedDriverReportPanel::WritingReport() const { return ReportWriterTask->running(); }

bool TProgrammedDriverReportPanel::PreparingLocation() const { return LocationTask->running(); }

void TProgrammedDriverReportPanel::ReportPanelReportButtonClick()
{
    if (ReportWriterTask->running())
        return; // one report at a time
    FileDialogRequest request;
    request.title = QStringLiteral("Batch report");
    request.filter = QStringLiteral("PDF report (*.pdf);;CSV report (*.csv)");
    request.defaultSuffix = QStringLiteral("pdf");
    const QString path = dialogs().saveFile(QStringLiteral("batch_report.pdf"), request);
    if (path.isEmpty())
        return;
    const bool csv = path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive);
    struct Outcome {
        bool written = false;
        QString error;
        ReportTotals totals;
    };
    auto outcome = std::make_shared<Outcome>();
    // The writer is made here and used only by the report's thread until it ends.
    std::shared_ptr<ReportWriter> writer = csv ? MakeCsvReportWriter() : MakePdfReportWriter();
    const QString batch = ReportBatchEdit->text().trimmed();
    const QString caption = ReportPanelReportButton->text();
    ReportPanelReportButton->setEnabled(false);
    ReportPanelReportButton->setText(QStringLiteral("Writing \u2026"));
    ReportWriterTask->start(
        activeRecordsStore().clone(),
        [outcome, writer, path, batch](RecordsStore &store) {
            outcome->written = WriteBatchReport(store, ReportSelection(), *writer, path, &outcome->error,
                                                &outcome->totals, {}, batch);
        },
        [this, outcome, path, caption] {
            ReportPanelReportButton->setText(caption);
            ReportPanelReportButton->setEnabled(true);
            if (!outcome->written) {
                dialogs().message(QStringLiteral("Error"),
                                  QStringLiteral("The report was not written: ") + outcome->error, MsgButtons::OK,
                                  MsgIcon::Error);
                return;
            }
            const ReportTotals &totals = outcome->totals;
            dialogs().message(QStringLiteral("Info"),
                              QStringLiteral("Report written to %1: %2.")
                                  .arg(QDir::toNativeSeparators(path), ReportTotalsText(totals)),
                              MsgButtons::OK, MsgIcon::Information);
        });
}

void TProgrammedDriverReportPanel::UseRecordsLocationButtonClick()
{
    if (LocationTask->running())
        return; // the location being prepared first
    const auto refused = [](const QString &error) {
        dialogs().message(QStringLiteral("Records"), QStringLiteral("The records location cannot be used: ") + error,
                          MsgButtons::OK, MsgIcon::Warning);
    };
    QString error;
    if (!SaveRecordsLocationSetting({RecordsLocationEdit->text(), StationEdit->text()}, &error)) {
        refused(error);
        // The status strip names the store in use.
        RefreshPendingRecordsObserver();
        return;
    }
    // The tables are made (a server reached) by the task's thread; the records
    // writer moves to the new store after that, as the status strip does.
    auto failure = std::make_shared<QString>();
    auto prepared = std::make_shared<bool>(false);
    UseRecordsLocationButton->setEnabled(false);
    LocationTask->start(
        activeRecordsStore().clone(),
        [failure, prepared](RecordsStore &store) { *prepared = store.prepare(failure.get()); },
        [this, failure, prepared, refused] {
            UseRecordsLocationButton->setEnabled(true);
            if (!*prepared)
                refused(*failure);
            RefreshPendingRecordsObserver();
        });
}
