// tavel-nfc read --port P [--settings FILE.set [--slot N]] [--receiver 0xXXXXXXXX] [--timeout MS] [-v]:
// reads one driver's tag through the paired programmer and prints what the tag
// info window shows.

#include "cli/cli_command.h"
#include "cli/cli_radio.h"
#include "cli/records_options.h"
#include "profile/profile_defaults.h"
#include "radio/tag_buffers.h"
#include "radio/tag_reception.h"
#include "radio/tag_info.h"
#include "radio/tavel_frames.h"
#include "verify/tag_verification.h"

namespace {
const QString kUsage = QStringLiteral("usage: tavel-nfc read --port PATH [--settings FILE.set [--slot N]] "
                                      "[--receiver 0xXXXXXXXX] [--timeout MS] [-v]");

int run(const QStringList &arguments)
{
    QStringList args = arguments;
    if (cliWantsHelp(args)) {
        cliOut(kUsage);
        cliOut(QStringLiteral(
            "Switches the programmer to reading, waits up to the time-out (default 10000 ms)\n"
            "for a driver's tag and prints its identity, the raw identity and areas and the\n"
            "decoded parameters, decoded at the addresses of slot N of the settings file (or\n"
            "of the default profile). The frames go to --receiver, or to the slot's programmer\n"
            "ID. Exit status 1 on a checksum error or an incomplete read.\n"
            "Exit status 3 when the read succeeded but a record the programmer reported\n"
            "is kept pending: the records writer gets --records-wait SECONDS (default 2)\n"
            "at the end to move the records into the store.\n"
            "-v writes the radio log to standard error."));
        cliOut(recordsOptionsHelp());
        return kExitOk;
    }
    if (const int rc = applyRecordsOptions(args, QStringLiteral("tavel-nfc read")); rc != kExitOk)
        return rc;
    RadioCliOptions options;
    QString error, settingsFile;
    int slot = 1;
    if (!parseRadioOptions(args, options, error, true))
        return cliUsageError(QStringLiteral("tavel-nfc read: ") + error, kUsage);
    const QStringList fileArgs = settingsFileArguments(options.rest);
    if (!fileArgs.isEmpty() && !parseFileAndSlot(fileArgs, settingsFile, slot, error))
        return cliUsageError(QStringLiteral("tavel-nfc read: ") + error, kUsage);
    if (options.ports.isEmpty())
        return cliUsageError(QStringLiteral("tavel-nfc read: no port given"), kUsage);
    ProfileSlots profiles{};
    for (auto &p : profiles)
        ApplyDefaultProfile(p);
    if (!settingsFile.isEmpty())
        if (const int rc = loadSettingsForCli(settingsFile, profiles); rc != kExitOk)
            return rc;
    settingsVariablesField = profiles;
    setActiveSlot(slot);
    const STRUCT_XML_FILE_VARIABLES &profile = activeProfile();
    const QString receiver = options.receiver.isEmpty() ? profile.enOcean_HandHeldID : options.receiver;

    CliRadioSession session(options);
    if (!session.openStick(QStringLiteral("tavel-nfc read")))
        return kExitFailure;
    RadioLink &link = session.link;
    link.setReceiverId(receiver);
    InstallTagReception(link);
    bool ended = false;
    QObject::connect(&link, &RadioLink::frameReceived, &link, [&ended](quint8 id, const QByteArray &, quint32) {
        if (id == tavel::kFrameEndTag)
            ended = true;
    });
    MarkTagIdentNotRead();
    link.RequestReadMode();
    if (!session.waitFor([&] { return ended || !link.isPortOpen(); }, options.timeoutMs)) {
        link.Send(QStringLiteral("14"), false); // back to programming, as Cancel does
        if (!TagIdentReceived()) {
            cliError(QStringLiteral("tavel-nfc read: no tag read within %1 ms").arg(options.timeoutMs));
            return kExitFailure;
        }
    }

    const TagIdentityTexts ident = TagIdentity(tagBuffers);
    cliOut(QStringLiteral("GTIN: ") + ident.gtin);
    cliOut(QStringLiteral("Serial: ") + ident.serial);
    cliOut(QStringLiteral("FW: ") + ident.fw);
    cliOut(QStringLiteral("HW: ") + ident.hw);
    cliOut(QStringLiteral("Raw Tag Ident Info:"));
    for (const QString &line : TagIdentRawLines(tagBuffers))
        cliOut(line);
    cliOut(QStringLiteral("RW size: ") + TagAreaSizeText(tagBuffers.rwSize()));
    for (const QString &line : TagAreaLines(tagBuffers.rwStart(), tagBuffers.rwSize(), tagBuffers.rw))
        cliOut(line);
    cliOut(QStringLiteral("R size: ") + TagAreaSizeText(tagBuffers.rSize()));
    for (const QString &line : TagAreaLines(tagBuffers.rStart(), tagBuffers.rSize(), tagBuffers.r))
        cliOut(line);
    cliOut(QStringLiteral("Adjusted parameters:"));
    int status = kExitOk;
    if (!TagIdentityMatchesProfile(ident, profile)) {
        cliOut(kTagMismatchShowMessage);
    } else {
        QStringList lines, notOnTag;
        try {
            AppendUserFriendlyLines(tagBuffers, profile, lines, &notOnTag);
        } catch (const std::exception &e) {
            for (const QString &line : lines)
                cliOut(line);
            cliError(QString::fromUtf8(e.what()));
            return kExitFailure;
        }
        for (const QString &line : lines)
            cliOut(line);
        if (!notOnTag.isEmpty()) {
            cliError(QStringLiteral("tavel-nfc read: not on the tag (outside its read-write area): ")
                     + notOnTag.join(QStringLiteral(", ")));
            status = kExitFailure;
        }
    }
    if (const QString problem = TagReadProblem(tagReadState); !problem.isEmpty()) {
        cliError(problem);
        status = kExitFailure;
    }
    return status == kExitOk ? session.finishRecords() : status;
}

CliCommandRegistrar reg({"read", "read a driver's tag through the paired programmer", &run});
} // namespace
