#include "cli/cli_radio.h"

#include "cli/cli_command.h"
#include "common/programmer_id.h"
#include "records/records_database.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QThread>

void prepareRecordsForCli(const QString &command)
{
    QString error;
    if (!PrepareRecordDatabases(&error))
        cliError(command + QStringLiteral(": the record databases could not be prepared (records that cannot be "
                                          "written are kept pending): ")
                 + error);
}

int exitWithPendingRecords()
{
    const int pending = PendingRecordCount();
    if (pending == 0)
        return kExitOk;
    cliError(QStringLiteral("%1 record(s) kept pending: %2 (in %3; \"tavel-nfc records flush\" writes them)")
                 .arg(pending)
                 .arg(LastRecordFailure().isEmpty() ? QStringLiteral("the database could not be written")
                                                    : LastRecordFailure(),
                      QDir::toNativeSeparators(PendingRecordsJournalPath())));
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

CliRadioSession::CliRadioSession(const RadioCliOptions &options) : options_(options)
{
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
