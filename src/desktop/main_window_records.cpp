// What the main window shows of the records and of the radio link's state: the
// record databases prepared at start, the records kept pending in the status
// strip, and the send and read buttons disabled while a sequence runs.

#include "desktop/main_window.h"

#include "common/dialogs.h"
#include "records/records_database.h"

#include <QLabel>
#include <QTimer>

void TForm1::FollowRecordDatabases()
{
    // The indexes of a large file of an earlier version are built here, at start,
    // not by the first record in the middle of a transfer.
    QString error;
    if (!PrepareRecordDatabases(&error))
        PendingRecordsLabel->setText(QStringLiteral("Record databases could not be prepared: ") + error);
    setPendingRecordsObserver([this](int pending, const QString &message) { ShowPendingRecords(pending, message); });
    if (const int pending = PendingRecordCount(); pending > 0)
        ShowPendingRecords(pending, QString());
}

void TForm1::ShowPendingRecords(int pending, const QString &message)
{
    if (pending > 0)
        PendingRecordsLabel->setText(PendingRecordsStatusText(pending));
    else
        PendingRecordsLabel->clear();
    if (message.isEmpty())
        return;
    // Records are written from the receive tick: the box is shown once the tick
    // has returned, so that the tick never waits for the user.
    QTimer::singleShot(0, this, [message] {
        dialogs().message(QStringLiteral("Records"),
                          QStringLiteral("A record could not be written and is kept pending; later records "
                                         "write it once the database can be written again.\n")
                              + message,
                          MsgButtons::OK, MsgIcon::Warning);
    });
}

QString TForm1::PendingRecordsStatusText(int pending)
{
    return QStringLiteral("%1 record(s) kept pending").arg(pending);
}

void TForm1::RadioLinkBusyChanged(bool busy)
{
    SendButton->setEnabled(!busy);
    ReadButton->setEnabled(!busy);
}
