// Reading a driver's tag through the handheld programmer, and the record options
// with the drivers report.

#include "desktop/main_window.h"

#include "common/dialogs.h"
#include "radio/radio_link.h"
#include "radio/tag_read_session.h"
#include "desktop/record_options_panel.h"

void TForm1::ReadButtonClick()
{
    if (!Link) {
        // Without the radio link there is no serial port to read through.
        dialogs().message(kComErrorCaption, kComPortNotOpened);
        return;
    }
    // Marks the tag data as not yet received, asks the programmer to read and
    // waits in a message box while the identity blocks arrive.
    if (RunTagRead(*Link, ShowUserNotice) == TagReadOutcome::Arrived)
        emit tagReadArrived();
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
