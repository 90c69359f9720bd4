// What the main window shows of the records and of the radio link's state: the
// records writer started with the window, the records pending and the store's
// state in the status strip, and the send and read buttons disabled while a
// sequence runs.

#include "desktop/main_window.h"

#include "common/dialogs.h"
#include "records/records_database.h"
#include "records/records_setting.h"
#include "records/records_writer.h"

#include <QDir>
#include <QLabel>
#include <QTimer>

void TForm1::FollowRecordDatabases()
{
    // The records store kept in the user's settings (or TAVEL_RECORDS_URL).
    QString error;
    if (!ApplyRecordsLocationSetting(&error))
        dialogs().message(QStringLiteral("Records"),
                          QStringLiteral("The records location cannot be used: %1\nThe records go to %2.")
                              .arg(error, RecordsStoreDescription()),
                          MsgButtons::OK, MsgIcon::Warning);
    // The record options panel tells of a new store through the observer.
    setPendingRecordsObserver([this](int, const QString &) {
        if (RecordsStoreDescription() != RecordsWriterStore_)
            StartRecordsWriter();
        ShowRecordsStatus();
    });
    StartRecordsWriter();
}

void TForm1::StartRecordsWriter()
{
    RecordsWriter_.reset(); // the writer of the store before, stopped
    RecordsOutage_ = false;
    RecordsWriterStore_ = RecordsStoreDescription();
    RecordsWriter_ = std::make_unique<RecordsWriterThread>(activeRecordsStore().clone(), PendingRecordsJournalPath());
    connect(RecordsWriter_.get(), &RecordsWriterThread::pendingChanged, this, [this] { ShowRecordsStatus(); });
    connect(RecordsWriter_.get(), &RecordsWriterThread::storeStateChanged, this,
            [this](const RecordsStoreState &state) {
                ShowRecordsStatus();
                if (!state.failing()) {
                    if (state.kind == RecordsStoreState::Kind::Reachable)
                        RecordsOutage_ = false;
                    return;
                }
                if (RecordsOutage_)
                    return; // one message per outage, not one per record or per kind of failure
                RecordsOutage_ = true;
                dialogs().message(QStringLiteral("Records"),
                                  QStringLiteral("Records cannot be written now: %1 (%2).\nThey are kept pending "
                                                 "on this PC and written once the records store takes them again.")
                                      .arg(state.text(), state.reason),
                                  MsgButtons::OK, MsgIcon::Warning);
            });
    connect(RecordsWriter_.get(), &RecordsWriterThread::repeatFound, this, &TForm1::repeatRecorded);
    // What an earlier run left is shown at once, before the writer had its say.
    ShowRecordsStatus();
    RecordsWriter_->start();
}

void TForm1::ShowRecordsStatus()
{
    // Before the writer told its count, the outbox is counted here once.
    const int pending = RecordsWriter_ && RecordsWriter_->pending() >= 0 ? RecordsWriter_->pending()
                                                                          : PendingRecordCount();
    const RecordsStoreState state = RecordsWriter_ ? RecordsWriter_->state() : RecordsStoreState();
    // The store the records go to, unless it is the program's own folder.
    QString text = PendingRecordsStatusText(pending, state);
    if (!RecordsStoreIsDefault()) {
        // "Records: PostgreSQL ... - 4 pending — server unreachable since 14:02"
        const QString store = QStringLiteral("Records: ") + RecordsStoreDescription();
        text = text.isEmpty() ? store : store + QStringLiteral(" - ") + text.mid(9);
    }
    PendingRecordsLabel->setText(text);
}

QString TForm1::PendingRecordsStatusText(int pending, const RecordsStoreState &state)
{
    if (pending <= 0)
        return QString();
    const QString count = QStringLiteral("Records: %1 pending").arg(pending);
    return state.failing() ? count + QStringLiteral(" \u2014 ") + state.text() : count;
}

void TForm1::KeepPendingRecordsAtClose()
{
    if (!RecordsWriter_)
        return;
    RecordsWriter_->stop();
    const int pending = PendingRecordCount();
    const RecordsStoreState state = RecordsWriter_->state();
    RecordsWriter_.reset(); // said once: a second close finds no writer
    if (pending == 0)
        return;
    dialogs().message(QStringLiteral("Records"),
                      QStringLiteral("%1 %2 kept pending%3. They stay in %4 and are written at the next start.")
                          .arg(pending)
                          .arg(pending == 1 ? QStringLiteral("record is") : QStringLiteral("records are"),
                               state.failing() ? QStringLiteral(" (") + state.text() + QLatin1Char(')') : QString(),
                               QDir::toNativeSeparators(PendingRecordsJournalPath())),
                      MsgButtons::OK, MsgIcon::Information);
}

void TForm1::RadioLinkBusyChanged(bool busy)
{
    SendButton->setEnabled(!busy);
    ReadButton->setEnabled(!busy);
    VerifyButton->setEnabled(!busy);
}
