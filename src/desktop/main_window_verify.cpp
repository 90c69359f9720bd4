// Verify mode from the main window: "verify" switches the programmer to reading
// and compares every driver it reads with the active slot; the verify panel shows
// each result and the list of the mode's drivers until "End verify". The session holds the radio link's busy state,
// so send and read are disabled meanwhile; each result becomes a verification record.

#include "desktop/main_window.h"

#include "common/dialogs.h"
#include "desktop/verify_panel.h"
#include "radio/radio_link.h"
#include "station/verification_records.h"
#include "verify/verify_session.h"

#include <algorithm>

void TForm1::VerifyButtonClick()
{
    // A send, read or verify runs (the button is disabled then; its keyboard activation too).
    if (Link && Link->busy())
        return;
    if (!Link || !Link->isPortOpen()) {
        dialogs().message(kComErrorCaption, kComPortNotOpened);
        return;
    }
    if (CompareInterfaceDataWithSettingsData() == 1) {
        dialogs().message(QStringLiteral("Info"), kVerifyModifiedMessage);
        return;
    }
    if (!Verify || &Verify->link() != Link) {
        delete Verify;
        Verify = new VerifySession(*Link, this);
        new VerificationRecords(*Verify, Verify);
        connect(Verify, &VerifySession::driverVerified, this, &TForm1::VerifyDriverShown);
        connect(Verify, &VerifySession::activeChanged, this, &TForm1::VerifyModeChanged);
        // The mode ends while the link still exists.
        connect(this, &TForm1::closing, Verify, &VerifySession::end);
    }
    if (!VerifyPanel) {
        VerifyPanel = new TVerifyPanel(this);
        VerifyPanel->hide();
        connect(VerifyPanel, &TVerifyPanel::endRequested, this, &TForm1::EndVerifyClick);
    }
    QString refusal;
    if (!Verify->start(activeProfile(), activeSlot(), &refusal))
        dialogs().message(QStringLiteral("Error"), refusal);
}

void TForm1::EndVerifyClick()
{
    if (Verify)
        Verify->end();
}

void TForm1::VerifyModeChanged(bool on)
{
    if (!on) {
        VerifyPanel->hide();
        return;
    }
    VerifyPanel->ShowWaiting(Verify->slotNumber());
    // Centred, its left and top edges on the window even when the window is smaller.
    VerifyPanel->move(std::max(0, (width() - VerifyPanel->width()) / 2),
                      std::max(0, (height() - VerifyPanel->height()) / 2));
    VerifyPanel->raise();
    VerifyPanel->show();
}

void TForm1::VerifyDriverShown(const TagVerification &result)
{
    VerifyPanel->ShowResult(result);
}
