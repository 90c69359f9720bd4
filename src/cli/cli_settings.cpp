#include "cli/cli_settings.h"

#include "cli/cli_command.h"
#include "programming/programming_data.h"

#include <QFileInfo>

CliDialogs::CliDialogs() { setDialogs(this); }

CliDialogs::~CliDialogs() { setDialogs(nullptr); }

MsgAnswer CliDialogs::message(const QString &, const QString &text, MsgButtons buttons, MsgIcon)
{
    cliError(text);
    switch (buttons) {
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel:
        return MsgAnswer::No;
    case MsgButtons::OKCancel:
    case MsgButtons::RetryCancel:
        return MsgAnswer::Cancel;
    default:
        return MsgAnswer::OK;
    }
}

bool cliWantsHelp(const QStringList &args)
{
    return args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"));
}

bool parseFileAndSlot(const QStringList &args, QString &file, int &slot, QString &error)
{
    file.clear();
    slot = 1;
    bool slotGiven = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        QString value;
        if (a == QLatin1String("--slot")) {
            if (i + 1 >= args.size()) {
                error = QStringLiteral("--slot needs a number");
                return false;
            }
            value = args[++i];
        } else if (a.startsWith(QLatin1String("--slot="))) {
            value = a.mid(7);
        } else if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            error = QStringLiteral("unknown option '%1'").arg(a);
            return false;
        } else if (file.isEmpty()) {
            file = a;
            continue;
        } else {
            error = QStringLiteral("unexpected argument '%1'").arg(a);
            return false;
        }
        if (slotGiven) {
            error = QStringLiteral("--slot given twice");
            return false;
        }
        slotGiven = true;
        if (value != QLatin1String("1") && value != QLatin1String("2") && value != QLatin1String("3")) {
            error = QStringLiteral("the slot must be 1, 2 or 3, not '%1'").arg(value);
            return false;
        }
        slot = value.toInt();
    }
    if (file.isEmpty()) {
        error = QStringLiteral("no settings file given");
        return false;
    }
    return true;
}

int loadSettingsForCli(const QString &path, ProfileSlots &profiles)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        cliError(QStringLiteral("tavel-nfc: '%1' does not exist").arg(path));
        return kExitFailure;
    }
    if (info.isDir() || !info.isReadable()) {
        cliError(QStringLiteral("tavel-nfc: '%1' cannot be read").arg(path));
        return kExitFailure;
    }
    CliDialogs messagesToStderr;
    SettingsIniFile ini(path);
    QString detail;
    SettingsLoadOptions options;
    options.fallbackToDefaults = false;
    options.errorDetail = &detail;
    switch (UploadSettingsFromIniFile(ini, profiles, options)) {
    case SettingsLoadResult::Loaded:
        return kExitOk;
    case SettingsLoadResult::FormatError:
    case SettingsLoadResult::FormatErrorDefaultsLoaded:
        // The program's message speaks of defaults; the command line loads none.
        if (!detail.isEmpty())
            cliError(detail);
        break;
    case SettingsLoadResult::OldVersion:
    case SettingsLoadResult::Unreadable:
        break;
    }
    cliError(QStringLiteral("tavel-nfc: nothing was loaded from '%1'").arg(path));
    return kExitFailure;
}

int programmingDataForCli(const STRUCT_XML_FILE_VARIABLES &profile, QStringList &items)
{
    try {
        GenerateProgrammingData(profile, DcLevelActiveForSlot(profile), items);
    } catch (const std::exception &e) {
        cliError(QString::fromUtf8(e.what()));
        return kExitFailure;
    }
    return kExitOk;
}

QStringList settingsFileArguments(const QStringList &rest)
{
    QStringList fileArgs;
    for (int i = 0; i < rest.size(); ++i) {
        if (rest[i] == QLatin1String("--settings") && i + 1 < rest.size())
            fileArgs.prepend(rest[++i]);
        else
            fileArgs << rest[i];
    }
    return fileArgs;
}
