// Sending the active profile to the handheld programmer: the main window's checks,
// then the radio link window (through the owner) sends the identity and programming data.

#include "desktop/main_window.h"

#include "common/dialogs.h"
#include "radio/radio_link.h"

#include <QLabel>
#include <QPlainTextEdit>

void TForm1::SendButtonClick()
{
    // A send or read runs (the button is disabled then; its keyboard activation too).
    if (Link && Link->busy())
        return;
    if (EnOceanIDLabel->text().isEmpty()) {
        dialogs().message(QStringLiteral("OnOcean Handle Error"),
                          QStringLiteral("OnOcean Handle is missing. Pair NFC device before."));
        return;
    }
    if (!Link || !Link->isPortOpen()) {
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
    QStringList items;
    if (const QString text = ProgrammedDataMemo->toPlainText(); !text.isEmpty())
        items = text.split(QLatin1Char('\n'));
    emit sendRequested(items);
    Label53->setText(QString());
}
