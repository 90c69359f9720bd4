// Reading a driver's tag through the handheld programmer, and the drivers report.

#include "app/ui/form1.h"

#include "common/dialogs.h"

void TForm1::ReadButtonClick()
{
    // Without the radio link window there is no serial port to read through.
    dialogs().message(QStringLiteral("COM Error"), QStringLiteral("COM port not opened."));
}

void TForm1::ReportButtonClick()
{
    // The programmed drivers window opens here once it is part of the program.
}
