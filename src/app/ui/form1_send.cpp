// Sending the active profile to the handheld programmer: the main window's checks.

#include "app/ui/form1.h"

#include "common/dialogs.h"

void TForm1::SendButtonClick()
{
    if (EnOceanIDLabel->text().isEmpty()) {
        dialogs().message(QStringLiteral("OnOcean Handle Error"),
                          QStringLiteral("OnOcean Handle is missing. Pair NFC device before."));
        return;
    }
    // Without the radio link window there is no serial port to send through.
    dialogs().message(QStringLiteral("COM Error"), QStringLiteral("COM port not opened."));
}
