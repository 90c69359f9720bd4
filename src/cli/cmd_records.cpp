// tavel-nfc records drivers|settings [--limit N] | records export --csv FILE |
// records pending | records flush [--folder DIR]:
// the programming records the desktop program and "send" write.

#include "cli/cli_command.h"
#include "cli/cli_settings.h"
#include "cli/terminal_progress.h"
#include "records/records_database.h"

#include <algorithm>

namespace {
const QString kUsage = QStringLiteral("usage: tavel-nfc records drivers [--limit N] [--folder DIR]\n"
                                      "       tavel-nfc records settings [--limit N] [--folder DIR]\n"
                                      "       tavel-nfc records export --csv FILE [--folder DIR]\n"
                                      "       tavel-nfc records pending [--folder DIR]\n"
                                      "       tavel-nfc records flush [--folder DIR]");

int run(const QStringList &args)
{
    if (cliWantsHelp(args)) {
        cliOut(kUsage);
        cliOut(QStringLiteral(
            "drivers:  the newest driver records (default 500), newest first, in the line\n"
            "          format of the \"Programmed Drivers\" window.\n"
            "settings: the newest settings records (default 500), newest first, id first.\n"
            "export:   every driver record, oldest first, joined with the settings record that\n"
            "          was the newest of its programmer when the driver was recorded, as CSV.\n"
            "pending:  the records that could not be written yet, oldest first.\n"
            "flush:    writes the pending records; exit status 1 while any is left.\n"
            "--folder  the folder of the two database files (default: the program's own)."));
        return kExitOk;
    }
    CliDialogs dialogs; // SQLite's error texts go to standard error
    QStringList rest = args;
    QString folder, csv, sub;
    int limit = kReportLineLimit;
    for (int i = 0; i < rest.size(); ++i) {
        const QString &a = rest[i];
        const bool hasValue = i + 1 < rest.size();
        if ((a == QLatin1String("--limit") || a == QLatin1String("--folder") || a == QLatin1String("--csv"))
            && !hasValue) {
            cliError(QStringLiteral("tavel-nfc records: %1 needs a value").arg(a));
            return kExitUsage;
        }
        if (a == QLatin1String("--limit")) {
            bool ok = false;
            limit = rest[++i].toInt(&ok);
            if (!ok || limit < 0) {
                cliError(QStringLiteral("tavel-nfc records: --limit needs a number, not '%1'").arg(rest[i]));
                return kExitUsage;
            }
        } else if (a == QLatin1String("--folder")) {
            folder = rest[++i];
        } else if (a == QLatin1String("--csv")) {
            csv = rest[++i];
        } else if (sub.isEmpty() && !a.startsWith(QLatin1Char('-'))) {
            sub = a;
        } else {
            return cliUsageError(QStringLiteral("tavel-nfc records: unexpected argument '%1'").arg(a), kUsage);
        }
    }
    if (!folder.isEmpty())
        setDatabaseFolder(folder);

    if (sub == QLatin1String("drivers")) {
        QString error;
        const QStringList lines = ProgrammedDriversReportLines(limit, &error);
        if (!error.isEmpty()) {
            cliError(QStringLiteral("tavel-nfc records: ") + error);
            return kExitFailure;
        }
        for (const QString &line : lines)
            cliOut(line);
        return kExitOk;
    }
    if (sub == QLatin1String("pending")) {
        QList<PendingRecord> records;
        QString error;
        if (!ReadPendingRecords(&records, &error)) {
            cliError(QStringLiteral("tavel-nfc records: cannot read %1: %2").arg(PendingRecordsJournalPath(), error));
            return kExitFailure;
        }
        for (const PendingRecord &r : records)
            cliOut(r.describe());
        cliOut(QStringLiteral("%1 record(s) pending").arg(records.size()));
        return kExitOk;
    }
    if (sub == QLatin1String("flush")) {
        const int before = PendingRecordCount();
        QString error;
        const int left = FlushPendingRecords(&error);
        cliOut(QStringLiteral("%1 record(s) written").arg(std::max(0, before - left)));
        if (left > 0) {
            cliError(QStringLiteral("%1 record(s) kept pending: %2").arg(left).arg(error));
            return kExitFailure;
        }
        return kExitOk;
    }
    if (sub == QLatin1String("settings")) {
        SQLiteAnswerClass answer;
        if (!ReadNewestRecords(RecordDatabase::Settings, limit, answer)) {
            cliError(QStringLiteral("tavel-nfc records: cannot open ") + SettingsDatabasePath());
            return kExitFailure;
        }
        for (const QString &line : RecordReportLines(answer, limit))
            cliOut(line);
        return kExitOk;
    }
    if (sub == QLatin1String("export")) {
        if (csv.isEmpty()) {
            cliError(QStringLiteral("tavel-nfc records export: --csv FILE is missing"));
            return kExitUsage;
        }
        QString error;
        TerminalProgress progress(QStringLiteral("records export"), QStringLiteral("records"));
        if (!ExportDriversCsv(csv, &error, [&](qint64 done, qint64 total) { progress.update(done, total); })) {
            progress.finish();
            cliError(QStringLiteral("tavel-nfc records export: ") + error);
            return kExitFailure;
        }
        return kExitOk;
    }
    cliError(kUsage);
    return kExitUsage;
}

CliCommandRegistrar reg({"records", "list or export the programming records", &run});
} // namespace
