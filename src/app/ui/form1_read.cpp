// Reading a driver's tag through the handheld programmer, and the record options
// with the drivers report.

#include "app/ui/form1.h"

#include "common/dialogs.h"
#include "records/ui/record_options_panel.h"

void TForm1::ReadButtonClick()
{
    // Without the radio link window there is no serial port to read through.
    dialogs().message(QStringLiteral("COM Error"), QStringLiteral("COM port not opened."));
}

void TForm1::ReportButtonClick()
{
    if (!ProgrammedDriverReportPanel) {
        ProgrammedDriverReportPanel = new TProgrammedDriverReportPanel(this);
        ProgrammedDriverReportPanel->hide();
    }
    ProgrammedDriverReportPanel->move((width() - ProgrammedDriverReportPanel->width()) / 2,
                                      (height() - ProgrammedDriverReportPanel->height()) / 2);
    ProgrammedDriverReportPanel->raise();
    ProgrammedDriverReportPanel->show();
}
