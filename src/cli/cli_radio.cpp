#include "cli/cli_radio.h"

#include "cli/cli_command.h"
#include "common/programmer_id.h"
#include "records/records_database.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QThread>

QString KeptPendingText(int pending, const RecordsStoreState &state, int waitedMs)
{
    QString why;
    if (state.failing())
        why = state.text() + QStringLiteral(" (") + state.reason + QLatin1Char(')');
    else
        why = QStringLiteral("the records store gave no answer within %1 s (--records-wait)").arg(waitedMs / 1000.0);
    return QStringLiteral("%1 %2 kept pending: %3 (in %4; \"tavel-nfc records flush\" writes them)")
        .arg(pending)
        .arg(pending == 1 ? QStringLiteral("record is") : QStringLiteral("records are"), why,
             QDir::toNativeSeparators(PendingRecordsJournalPath()));
}

CliRadioSession::~CliRadioSession()
{
    if (!finished_)
        finishRecords();
}

int CliRadioSession::finishRecords()
{
    finished_ = true;
    // The radio work is done: the port closes, so that nothing the programmer
    // reports while the writer drains is taken (or printed) without being recorded.
    link.stopReceiveTick();
    if (link.isPortOpen())
        link.TogglePort(link.openPortEntry());
    writer->drain(options_.recordsWaitMs);
    const RecordsStoreState state = writer->state();
    writer->stop();
    // The outbox itself says what is left, whatever the writer last told.
    const int pending = PendingRecordCount();
    if (pending == 0)
        return kExitOk;
    cliError(KeptPendingText(pending, state, options_.recordsWaitMs));
    return kExitRecordsPending;
}

bool parseRadioOptions(const QStringList &args, RadioCliOptions &o, QString &error, bool allowReceiver)
{
    auto number = [&error](const QString &name, const QString &value, int *out) {
        bool ok = false;
        const int v = value.toInt(&ok);
        if (!ok || v < 0) {
            error = QStringLiteral("%1 needs a number of milliseconds, not '%2'").arg(name, value);
            return false;
        }
        *out = v;
        return true;
    };
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("-v") || a == QLatin1String("--verbose")) {
            o.verbose = true;
        } else if (a == QLatin1String("--records-wait")) {
            bool ok = false;
            const double seconds = hasValue ? args[i + 1].toDouble(&ok) : 0;
            if (!ok || seconds < 0 || seconds > 3600) {
                error = QStringLiteral("--records-wait needs a number of seconds (0 to 3600)");
                return false;
            }
            o.recordsWaitMs = int(seconds * 1000);
            ++i;
        } else if (a == QLatin1String("--port") || a == QLatin1String("--timeout")
                   || a == QLatin1String("--ack-timeout") || (allowReceiver && a == QLatin1String("--receiver"))) {
            if (!hasValue) {
                error = a + QStringLiteral(" needs a value");
                return false;
            }
            const QString value = args[++i];
            if (a == QLatin1String("--port"))
                o.ports << value;
            else if (a == QLatin1String("--timeout")) {
                if (!number(a, value, &o.timeoutMs))
                    return false;
            } else if (a == QLatin1String("--ack-timeout")) {
                if (!number(a, value, &o.ackTimeoutMs))
                    return false;
            } else {
                if (!IsEnOceanIdText(value)) {
                    error = QStringLiteral("--receiver must be 0x and eight hexadecimal digits, not '%1'").arg(value);
                    return false;
                }
                o.receiver = NormalizedEnOceanId(value);
            }
        } else {
            o.rest << a;
        }
    }
    return true;
}

CliRadioSession::CliRadioSession(const RadioCliOptions &options)
    : writer(std::make_unique<RecordsWriterThread>(activeRecordsStore().clone(), PendingRecordsJournalPath())),
      options_(options)
{
    records.followWriter(*writer);
    writer->start();
    link.sendDelayLimitMs = options.ackTimeoutMs;
    if (options.verbose)
        QObject::connect(&link, &RadioLink::logLine, &link, [](const QString &line) { cliError(line); });
    // Every frame the radio layer refuses is said, whether or not -v is given.
    QObject::connect(&link, &RadioLink::statusPanelChanged, &link, [](int panel, const QString &text) {
        if (panel == 1 && (text.contains(QLatin1String(" Error")) || text.contains(QLatin1String("Wrong Receiver ID"))
                           || text.startsWith(QLatin1String("Error"))))
            cliError(QStringLiteral("refused: ") + text);
    });
    // What a window would show in a message box goes to standard error (the
    // update offer is answered No, as every question of the command line).
    QObject::connect(&link, &RadioLink::userNotice, &link, [](const UserNotice &n) { ShowUserNotice(n); });
    QObject::connect(&link, &RadioLink::firmwareUpdateOffered, &link, [](const UserNotice &q) { ShowUserNotice(q); });
    setExtraSerialPorts(options.ports);
    link.startReceiveTick();
}

bool CliRadioSession::waitFor(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() >= timeoutMs)
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
    return true;
}

bool CliRadioSession::openStick(const QString &command)
{
    if (options_.ports.isEmpty()) {
        cliError(command + QStringLiteral(": no port given (--port PATH)"));
        return false;
    }
    const QString port = options_.ports.last();
    bool versionSeen = false;
    QObject::connect(&link, &RadioLink::stickInfoChanged, &link, [&versionSeen](const QString &info) {
        if (info.startsWith(QLatin1String("USB300")))
            versionSeen = true;
    });
    if (link.TogglePort(port) != QLatin1String("Close port"))
        return false; // the message is already on standard error
    if (!waitFor([&] { return versionSeen || !link.isPortOpen(); }, options_.timeoutMs) || !versionSeen) {
        cliError(QStringLiteral("%1: no answer from the stick on %2 within %3 ms").arg(command, port).arg(options_.timeoutMs));
        return false;
    }
    return true;
}
