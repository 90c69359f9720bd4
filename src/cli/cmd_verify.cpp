// tavel-nfc verify --port P --settings FILE.set [--slot N] [--count K] [--receiver 0xXXXXXXXX] [--timeout MS] [-v]:
// verify mode from the command line: the programmer reads one driver after another
// and each tag is compared with the slot, as the main window's "verify" does.

#include "cli/cli_command.h"
#include "cli/cli_radio.h"
#include "cli/records_options.h"
#include "common/programmer_id.h"
#include "radio/tag_reception.h"
#include "station/verification_records.h"
#include "verify/verify_history.h"
#include "verify/verify_session.h"

namespace {
const QString kUsage = QStringLiteral("usage: tavel-nfc verify --port PATH --settings FILE.set [--slot N] [--count K] "
                                      "[--receiver 0xXXXXXXXX] [--timeout MS] [-v]");

// Takes "--count K" out of `rest`. False with the reason on a usage error.
bool takeCount(QStringList &rest, int &count, QString &error)
{
    const int at = rest.indexOf(QStringLiteral("--count"));
    if (at < 0)
        return true;
    bool number = false;
    count = at + 1 < rest.size() ? rest[at + 1].toInt(&number) : 0;
    if (!number || count < 1) {
        error = QStringLiteral("--count needs a number of drivers of 1 or more");
        return false;
    }
    rest.remove(at, 2);
    return true;
}

int run(const QStringList &arguments)
{
    QStringList args = arguments;
    if (cliWantsHelp(args)) {
        cliOut(kUsage);
        cliOut(QStringLiteral(
            "Switches the programmer to reading and compares the tag of each driver it is\n"
            "held against with slot N (1-3, default 1) of the settings file: the current,\n"
            "the lifetime and the CLO levels, the DC level (as the stored byte) and the\n"
            "identity (GTIN; FW and HW where the slot holds them), as far as the slot's\n"
            "transfer writes them. Prints one line per driver, \"PASS <serial>\" or\n"
            "\"FAIL <serial>\", then each difference on its own indented line\n"
            "(\"name: expected X, found Y\", \"name: not on the tag\", or why the tag could\n"
            "not be compared). Every result becomes a verification record. A last line\n"
            "sums the run up and names every failed serial (\"Verified 3 of 3 drivers:\n"
            "2 passed, 1 failed: <serial>\").\n"
            "Waits for K drivers (default 1), each at most the time-out (default 10000 ms),\n"
            "then switches the programmer back to programming. The frames go to --receiver,\n"
            "or to the slot's programmer ID.\n"
            "Exit status 0 when all K drivers passed, 1 when one failed or no tag arrived\n"
            "in time, 3 when all passed but a record is kept pending.\n"
            "-v writes the radio log to standard error."));
        cliOut(recordsOptionsHelp());
        return kExitOk;
    }
    if (const int rc = applyRecordsOptions(args, QStringLiteral("tavel-nfc verify")); rc != kExitOk)
        return rc;
    RadioCliOptions options;
    QString error, settingsFile;
    int slot = 1;
    int count = 1;
    if (!parseRadioOptions(args, options, error, true) || !takeCount(options.rest, count, error))
        return cliUsageError(QStringLiteral("tavel-nfc verify: ") + error, kUsage);
    const QStringList fileArgs = settingsFileArguments(options.rest);
    if (fileArgs.isEmpty())
        return cliUsageError(QStringLiteral("tavel-nfc verify: no settings file given"), kUsage);
    if (!parseFileAndSlot(fileArgs, settingsFile, slot, error))
        return cliUsageError(QStringLiteral("tavel-nfc verify: ") + error, kUsage);
    if (options.ports.isEmpty())
        return cliUsageError(QStringLiteral("tavel-nfc verify: no port given"), kUsage);
    ProfileSlots profiles{};
    if (const int rc = loadSettingsForCli(settingsFile, profiles); rc != kExitOk)
        return rc;
    const STRUCT_XML_FILE_VARIABLES profile = profiles[size_t(slot - 1)];
    const QString receiver =
        options.receiver.isEmpty() ? NormalizedEnOceanId(profile.enOcean_HandHeldID) : options.receiver;
    if (receiver.isEmpty()) {
        cliError(QStringLiteral("OnOcean Handle is missing. Pair NFC device before."));
        return kExitFailure;
    }

    CliRadioSession session(options);
    if (!session.openStick(QStringLiteral("tavel-nfc verify")))
        return kExitFailure;
    RadioLink &link = session.link;
    link.setReceiverId(receiver);
    InstallTagReception(link);
    VerifySession verify(link);
    VerificationRecords records(verify);
    VerifyHistory history;
    int verified = 0;
    QObject::connect(&verify, &VerifySession::driverVerified, &verify, [&](const TagVerification &result) {
        ++verified;
        history.add(result);
        for (const QString &line : VerificationLines(result))
            cliOut(line);
    });
    QString refusal;
    if (!verify.start(profile, slot, &refusal)) {
        cliError(QStringLiteral("tavel-nfc verify: ") + refusal);
        return kExitFailure;
    }
    bool complete = true;
    while (verified < count) {
        const int before = verified;
        session.waitFor([&] { return verified > before || !verify.active(); }, options.timeoutMs);
        if (verified > before)
            continue;
        complete = false;
        cliError(verify.active() ? QStringLiteral("tavel-nfc verify: no tag read within %1 ms (%2 of %3 drivers "
                                                  "verified)")
                                       .arg(options.timeoutMs)
                                       .arg(verified)
                                       .arg(count)
                                 : QStringLiteral("tavel-nfc verify: the port closed (%1 of %2 drivers verified)")
                                       .arg(verified)
                                       .arg(count));
        break;
    }
    verify.end();
    cliOut(VerifySummaryLine(history, count));
    if (!complete || history.failedCount() > 0)
        return kExitFailure;
    return session.finishRecords();
}

CliCommandRegistrar reg({"verify", "read drivers back and compare each with a slot of a settings file", &run});
} // namespace
