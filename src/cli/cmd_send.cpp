// tavel-nfc send FILE.set [--slot N] --port P [--receiver 0xXXXXXXXX] [--timeout MS] [-v]:
// sends a slot to the paired programmer as the main window's "send" does.

#include "cli/cli_command.h"
#include "cli/cli_radio.h"
#include "cli/records_options.h"
#include "common/hex_text.h"
#include "common/programmer_id.h"
#include "radio/tavel_frames.h"

#include <QElapsedTimer>
#include <algorithm>

namespace {
const QString kUsage = QStringLiteral(
    "usage: tavel-nfc send FILE.set [--slot N] --port PATH [--receiver 0xXXXXXXXX] [--timeout MS] [--drivers N]\n"
    "                       [--records-wait SECONDS] [-v]");

QString serialText(const QByteArray &frame)
{
    quint64 serial = 0;
    for (int i = 1; i <= 8 && i < frame.size(); ++i)
        serial = (serial << 8) | quint8(frame[i]);
    return QStringLiteral("%1").arg(serial, 16, 10, QLatin1Char('0'));
}

int run(const QStringList &arguments)
{
    QStringList args = arguments;
    if (cliWantsHelp(args)) {
        cliOut(kUsage);
        cliOut(QStringLiteral(
            "Sends slot N (1-3, default 1) of the settings file: the identity data, then the\n"
            "programming data, each frame paced by the stick's acknowledgement. The frames go\n"
            "to --receiver, or to the programmer ID stored in the slot. Then waits up to the\n"
            "time-out (default 10000 ms) for the programmer's transfer-complete frame and\n"
            "compares its checksum. Exit status 0 only when the checksum matches.\n"
            "The programmer confirms the transfer once it holds the data, then reports each\n"
            "driver it is held against; every report prints \"Driver programmed: serial ...\".\n"
            "--drivers N keeps listening after the confirmation until N drivers have been\n"
            "reported (within the same time-out); exit status 1 if fewer arrive.\n"
            "Every record is kept in the outbox beside the record files first; the records\n"
            "writer moves it into the store meanwhile. At the end it gets --records-wait\n"
            "SECONDS (default 2) for what is left. Exit status 3 when the transfer succeeded\n"
            "but records are kept pending (\"tavel-nfc records pending\" lists them).\n"
            "-v writes the radio log to standard error."));
        cliOut(recordsOptionsHelp());
        return kExitOk;
    }
    if (const int rc = applyRecordsOptions(args, QStringLiteral("tavel-nfc send")); rc != kExitOk)
        return rc;
    RadioCliOptions options;
    QString error, file;
    int slot = 1;
    int drivers = 0;
    bool ok = parseRadioOptions(args, options, error, true);
    if (ok) {
        const int at = options.rest.indexOf(QStringLiteral("--drivers"));
        if (at >= 0) {
            bool number = false;
            drivers = at + 1 < options.rest.size() ? options.rest[at + 1].toInt(&number) : 0;
            if (!number || drivers < 0) {
                ok = false;
                error = QStringLiteral("--drivers needs a count of 0 or more");
            } else {
                options.rest.remove(at, 2);
            }
        }
    }
    if (!ok || !parseFileAndSlot(options.rest, file, slot, error))
        return cliUsageError(QStringLiteral("tavel-nfc send: ") + error, kUsage);
    if (options.ports.isEmpty())
        return cliUsageError(QStringLiteral("tavel-nfc send: no port given"), kUsage);
    ProfileSlots profiles{};
    if (const int rc = loadSettingsForCli(file, profiles); rc != kExitOk)
        return rc;
    const STRUCT_XML_FILE_VARIABLES &profile = profiles[size_t(slot - 1)];
    const QString receiver = options.receiver.isEmpty() ? NormalizedEnOceanId(profile.enOcean_HandHeldID) : options.receiver;
    if (receiver.isEmpty()) {
        cliError(QStringLiteral("OnOcean Handle is missing. Pair NFC device before."));
        return kExitFailure;
    }
    // The programmer's answers are recorded as in the desktop program with every
    // record option ticked: the slot sent is the active one, paired with the receiver.
    settingsVariablesField = profiles;
    settingsVariablesField[size_t(slot - 1)].enOcean_HandHeldID = receiver;
    setActiveSlot(slot);
    QStringList items;
    if (const int rc = programmingDataForCli(profile, items); rc != kExitOk)
        return rc;

    CliRadioSession session(options);
    if (!session.openStick(QStringLiteral("tavel-nfc send")))
        return kExitFailure;
    RadioLink &link = session.link;
    link.setReceiverId(receiver);
    const IdentityFields identity{profile.editGTIN, profile.editFW, profile.editSerial, profile.editHW};

    bool complete = false;
    quint8 received = 0;
    int reported = 0;
    QObject::connect(&link, &RadioLink::frameReceived, &link,
                     [&](quint8 id, const QByteArray &frame, quint32) {
                         if (id == tavel::kFrameFeedback) {
                             ++reported;
                             cliOut(QStringLiteral("Driver programmed: serial ") + serialText(frame));
                         }
                         else if (id == tavel::kFrameTransferComplete && frame.size() >= 2) {
                             complete = true;
                             received = quint8(frame[1]);
                         }
                     });
    if (const QString refusal = link.TransferRefusal(identity); !refusal.isEmpty()) {
        cliError(QStringLiteral("tavel-nfc send: ") + refusal);
        return kExitFailure;
    }
    const bool sentAll = link.SendCurrentDataPackage(identity, items);
    if (!link.isPortOpen()) {
        cliError(QStringLiteral("tavel-nfc send: the port closed during the transfer"));
        return kExitFailure;
    }
    if (!sentAll) {
        cliError(QStringLiteral("tavel-nfc send: the transfer was refused"));
        return kExitFailure;
    }
    cliOut(QStringLiteral("Sent %1 frames to %2").arg(3 + items.size()).arg(receiver));
    QElapsedTimer waited;
    waited.start();
    if (!session.waitFor([&] { return complete || !link.isPortOpen(); }, options.timeoutMs) || !complete) {
        cliError(QStringLiteral("tavel-nfc send: no transfer-complete frame within %1 ms").arg(options.timeoutMs));
        return kExitFailure;
    }
    if (received != link.transferChecksum) {
        cliError(QStringLiteral("Error: CRC8 of transfered data wrong! calculated: 0x") + HexByte(link.transferChecksum)
                 + QStringLiteral(" ... CRC8 received: 0x") + HexByte(received));
        return kExitFailure;
    }
    cliOut(QStringLiteral("Transfer successful completed from ID ") + receiver);
    if (reported < drivers) {
        const int left = std::max(0, options.timeoutMs - int(waited.elapsed()));
        if (!session.waitFor([&] { return reported >= drivers || !link.isPortOpen(); }, left)) {
            cliError(QStringLiteral("tavel-nfc send: %1 of %2 drivers reported within %3 ms")
                         .arg(reported).arg(drivers).arg(options.timeoutMs));
            return kExitFailure;
        }
    }
    return session.finishRecords();
}

CliCommandRegistrar reg({"send", "send a slot of a settings file to the paired programmer", &run});
} // namespace
