#include "desktop/record_options_panel.h"

#include "records/record_options.h"
#include "desktop/programmed_drivers_window.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>

TProgrammedDriverReportPanel::TProgrammedDriverReportPanel(QWidget *parent) : QFrame(parent)
{
    setFixedSize(442, 165);
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

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
    ReportPanelCloseButton = new QPushButton(QStringLiteral("Close"), this);
    ReportPanelCloseButton->setGeometry(300, 120, 120, 28);

    connect(ReportDatabaseCheckBox, &QCheckBox::clicked, this, [this] { ReportDatabaseCheckBoxClick(); });
    connect(ReportPanelShowDriversButton, &QPushButton::clicked, this,
            [this] { ReportPanelShowDriversButtonClick(); });
    connect(ReportPanelCloseButton, &QPushButton::clicked, this, [this] { ReportPanelCloseButtonClick(); });
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
