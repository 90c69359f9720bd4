// Sending the active profile to the handheld programmer: the main window's checks,
// then the radio link window sends the identity and programming data.

#include "desktop/main_window.h"

#include "common/dialogs.h"
#include "desktop/radio_link_window.h"

#include <QLabel>

void TForm1::SendButtonClick()
{
    // A send or read runs (the button is disabled then; its keyboard activation too).
    if (Form9 && Form9->Link.busy())
        return;
    if (EnOceanIDLabel->text().isEmpty()) {
        dialogs().message(QStringLiteral("OnOcean Handle Error"),
                          QStringLiteral("OnOcean Handle is missing. Pair NFC device before."));
        return;
    }
    if (!Form9 || !Form9->PortOpen()) {
        dialogs().message(QStringLiteral("COM Error"), QStringLiteral("COM port not opened."));
        return;
    }
    if (CompareInterfaceDataWithSettingsData() == 1) {
        dialogs().message(QStringLiteral("Info"), QStringLiteral("Data were modified. Save them before Sending"));
        return;
    }
    WriteSumarryInformation();
    GenerateProgrammingData();
    Label53->setText(QStringLiteral("Data are sending"));
    Form9->SendCurrentDataPackage();
    Label53->setText(QString());
}
