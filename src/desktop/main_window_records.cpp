// What the main window shows of the records and of the radio link's state: the
// record databases prepared at start, the records kept pending in the status
// strip, and the send and read buttons disabled while a sequence runs.

#include "desktop/main_window.h"

#include "common/dialogs.h"
#include "records/records_database.h"
#include "records/records_setting.h"

#include <QLabel>
#include <QTimer>

namespace {
// How often records kept pending are tried again without a new record.
constexpr int kPendingRetryMs = 30000;
} // namespace

void TForm1::FollowRecordDatabases()
{
    // The records store kept in the user's settings (or TAVEL_RECORDS_URL).
    QString error;
    if (!ApplyRecordsLocationSetting(&error))
        dialogs().message(QStringLiteral("Records"),
                          QStringLiteral("The records location cannot be used: %1\nThe records go to %2.")
                              .arg(error, RecordsStoreDescription()),
                          MsgButtons::OK, MsgIcon::Warning);
    // The indexes of a large file of an earlier version are built here, at start,
    // not by the first record in the middle of a transfer.
    if (!PrepareRecordDatabases(&error))
        PendingRecordsLabel->setText(QStringLiteral("Record databases could not be prepared: ") + error);
    setPendingRecordsObserver([this](int pending, const QString &message) { ShowPendingRecords(pending, message); });
    ShowPendingRecords(PendingRecordCount(), QString());
    // Records kept pending (a server away) are moved in without waiting for the
    // next record; the observer updates the count.
    auto *retry = new QTimer(this);
    connect(retry, &QTimer::timeout, this, [] {
        if (PendingRecordCount() > 0)
            FlushPendingRecords(nullptr);
    });
    retry->start(kPendingRetryMs);
}

void TForm1::ShowPendingRecords(int pending, const QString &message)
{
    // The store the records go to, unless it is the program's own folder.
    QStringList parts;
    if (!RecordsStoreIsDefault())
        parts << QStringLiteral("Records: ") + RecordsStoreDescription();
    if (pending > 0)
        parts << PendingRecordsStatusText(pending);
    PendingRecordsLabel->setText(parts.join(QStringLiteral(" - ")));
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
    VerifyButton->setEnabled(!busy);
}
