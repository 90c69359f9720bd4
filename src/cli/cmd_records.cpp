// tavel-nfc records drivers|settings [--limit N] | records export --csv FILE |
// records report --pdf FILE|--csv FILE [--from DATE] [--to DATE] [--programmer ID] [--batch TEXT] |
// records pending | records flush | records import --from DIR
// [--folder DIR] [--records URL] [--station NAME]:
// the programming records the desktop program and "send" write.

#include "cli/cli_command.h"
#include "cli/cli_settings.h"
#include "cli/records_options.h"
#include "cli/terminal_progress.h"
#include "records/records_database.h"
#include "records/records_import.h"
#include "records/records_store_registry.h"
#include "records/records_writer.h"
#include "report/batch_report.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <memory>

namespace {
const QString kUsage =
    QStringLiteral("usage: tavel-nfc records drivers [--limit N] [--station NAME] [STORE]\n"
                   "       tavel-nfc records settings [--limit N] [--station NAME] [STORE]\n"
                   "       tavel-nfc records export --csv FILE [--station NAME] [STORE]\n"
                   "       tavel-nfc records report (--pdf FILE | --csv FILE) [--from DATE] [--to DATE]\n"
                   "                                [--programmer ID] [--batch TEXT] [--station NAME] [STORE]\n"
                   "       tavel-nfc records pending [STORE]\n"
                   "       tavel-nfc records flush [STORE]\n"
                   "       tavel-nfc records import --from DIR --records URL [--station NAME]\n"
                   "STORE: [--folder DIR] [--records URL]");

// A server the command reads from or writes to must be there: one that cannot
// be reached, a schema that cannot be made are named at once.
bool storeReady()
{
    QString error;
    if (activeRecordsStore().prepare(&error))
        return true;
    cliError(QStringLiteral("tavel-nfc records: ") + error);
    return false;
}

int runImport(const QString &from, const QString &station)
{
    if (from.isEmpty()) {
        cliError(QStringLiteral("tavel-nfc records import: --from DIR is missing"));
        return kExitUsage;
    }
    if (!IsSharedRecordsLocation(activeRecordsStore().location())) {
        cliError(QStringLiteral("tavel-nfc records import: needs a %1 records store (--records with %2)")
                     .arg(RecordsStoreKindNames(true), RecordsLocationForms(true)));
        return kExitUsage;
    }
    Q_UNUSED(station); // already the station every record is written under
    ImportCounts counts;
    QString error;
    TerminalProgress progress(QStringLiteral("records import"), QStringLiteral("records"));
    const bool ok = ImportStationRecords(from, activeRecordsStore(), &counts, &error,
                                         [&](qint64 done, qint64 total) { progress.update(done, total); });
    progress.finish();
    cliOut(QStringLiteral("%1 record(s) imported, %2 already there").arg(counts.added).arg(counts.present));
    if (!ok) {
        cliError(QStringLiteral("tavel-nfc records import: ") + error);
        return kExitFailure;
    }
    return kExitOk;
}

int runReport(const QString &pdf, const QString &csv, const QString &from, const QString &to,
              const QString &programmer, const QString &station, const QString &batch)
{
    const QString name = QStringLiteral("tavel-nfc records report");
    if (pdf.isEmpty() && csv.isEmpty()) {
        cliError(name + QStringLiteral(": --pdf FILE or --csv FILE is missing"));
        return kExitUsage;
    }
    ReportSelection selection;
    QString error;
    if ((!from.isEmpty() && !ParseReportDate(from, false, &selection.from, &error))
        || (!to.isEmpty() && !ParseReportDate(to, true, &selection.to, &error))) {
        cliError(QStringLiteral("%1: %2").arg(name, error));
        return kExitUsage;
    }
    selection.programmerId = programmer;
    selection.station = station;
    for (const bool asPdf : {true, false}) {
        const QString &path = asPdf ? pdf : csv;
        if (path.isEmpty())
            continue;
        std::unique_ptr<ReportWriter> writer = asPdf ? MakePdfReportWriter() : MakeCsvReportWriter();
        TerminalProgress progress(QStringLiteral("records report"), QStringLiteral("drivers"));
        ReportTotals totals;
        if (!WriteBatchReport(activeRecordsStore(), selection, *writer, path, &error, &totals,
                              [&](qint64 done, qint64 total) { progress.update(done, total); }, batch)) {
            progress.finish();
            cliError(QStringLiteral("%1: %2 (no report written)").arg(name, error));
            return kExitFailure;
        }
        progress.finish();
        cliOut(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), ReportTotalsText(totals)));
    }
    return kExitOk;
}

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
            "report:   the batch report: per transfer (settings record) its profile values and\n"
            "          time, then its drivers with serial number, time, repeat mark and the\n"
            "          result of the newest verification made after that driver record and\n"
            "          before the driver was programmed again (PASS, FAIL, not verified);\n"
            "          totals at the end. --pdf writes it as PDF, --csv the same selection as\n"
            "          CSV (one line per driver; a transfer without drivers has a line of its\n"
            "          own). --batch TEXT: the batch or order number the PDF is headed with.\n"
            "          --from/--to DATE: YYYY-MM-DD or YYYY-MM-DD HH:MM[:SS], UTC, both included\n"
            "          (a date alone: the whole day); --programmer ID: that programmer's records.\n"
            "          The file appears only when complete.\n"
            "pending:  the records that could not be written yet, oldest first.\n"
            "flush:    writes the pending records; exit status 1 while any is left.\n"
            "import:   copies the %1 records in DIR into the %2 store, once\n"
            "          (importing the same files again adds nothing).\n"
            "--station with drivers, settings, export: only the records of that station;\n"
            "          with import: the station the imported records are written under.\n"
            "--folder  the folder of the two database files and the pending journal\n"
            "          (default: the program's own).")
                   .arg(RecordsStoreKindNames(false), RecordsStoreKindNames(true)));
        cliOut(recordsOptionsHelp());
        return kExitOk;
    }
    CliDialogs dialogs; // SQLite's error texts go to standard error
    QStringList rest = args;
    // --station filters the read-backs here; it is also the name written by import.
    QString station;
    if (const qsizetype at = rest.indexOf(QStringLiteral("--station")); at >= 0 && at + 1 < rest.size())
        station = rest[at + 1];
    QString folder, csv, sub, from, pdf, to, programmer, batch;
    int limit = kReportLineLimit;
    for (int i = 0; i < rest.size(); ++i) {
        const QString &a = rest[i];
        const bool hasValue = i + 1 < rest.size();
        if ((a == QLatin1String("--limit") || a == QLatin1String("--folder") || a == QLatin1String("--csv")
             || a == QLatin1String("--from") || a == QLatin1String("--to") || a == QLatin1String("--pdf")
             || a == QLatin1String("--programmer") || a == QLatin1String("--batch"))
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
        } else if (a == QLatin1String("--from")) {
            from = rest[++i];
        } else if (a == QLatin1String("--to")) {
            to = rest[++i];
        } else if (a == QLatin1String("--pdf")) {
            pdf = rest[++i];
        } else if (a == QLatin1String("--programmer")) {
            programmer = rest[++i];
        } else if (a == QLatin1String("--batch")) {
            batch = rest[++i];
        } else if (a == QLatin1String("--records") || a == QLatin1String("--station")) {
            ++i; // taken below
        } else if (sub.isEmpty() && !a.startsWith(QLatin1Char('-'))) {
            sub = a;
        } else {
            return cliUsageError(QStringLiteral("tavel-nfc records: unexpected argument '%1'").arg(a), kUsage);
        }
    }
    if (!folder.isEmpty())
        setDatabaseFolder(folder);
    if (const int rc = applyRecordsOptions(rest, QStringLiteral("tavel-nfc records")); rc != kExitOk)
        return rc;
    // The SQLite files name their own failures (and are made when missing); flush
    // names what keeps the records pending (the writer tries the server itself).
    const bool readsStore = IsSharedRecordsLocation(activeRecordsStore().location())
                            && QStringList{QStringLiteral("drivers"), QStringLiteral("settings"),
                                           QStringLiteral("export"), QStringLiteral("import"),
                                           QStringLiteral("report")}
                                   .contains(sub);
    // Reading never makes a folder: a mistyped one is named, not shown as empty.
    const bool onlyReads = QStringList{QStringLiteral("drivers"), QStringLiteral("settings"), QStringLiteral("export"),
                                       QStringLiteral("report")}
                               .contains(sub);
    if (onlyReads && !IsSharedRecordsLocation(activeRecordsStore().location())
        && !QFileInfo(DatabaseFolderName()).isDir()) {
        cliError(QStringLiteral("tavel-nfc records: the records folder %1 does not exist")
                     .arg(QDir::toNativeSeparators(DatabaseFolderName())));
        return kExitFailure;
    }
    if (readsStore && !storeReady())
        return kExitFailure;
    if (sub == QLatin1String("import"))
        return runImport(from, station);
    if (sub == QLatin1String("report"))
        return runReport(pdf, csv, from, to, programmer, station, batch);

    if (sub == QLatin1String("drivers")) {
        QString error;
        SQLiteAnswerClass answer;
        if (!activeRecordsStore().query(RecordQuery::DriversReport, limit, station, answer, &error)) {
            cliError(QStringLiteral("tavel-nfc records: ") + error);
            return kExitFailure;
        }
        for (const QString &line : RecordReportLines(answer, limit))
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
        // The writer of the running programs, once, here: every wait it has is bounded
        // (a busy file, a server's connect, statement and lock time-outs).
        int written = 0;
        RecordsWriter writer(activeRecordsStore().clone(), PendingRecordsJournalPath());
        QObject::connect(&writer, &RecordsWriter::recordWritten, [&written] { ++written; });
        writer.start();
        cliOut(QStringLiteral("%1 record(s) written").arg(written));
        if (writer.pending() > 0) {
            const RecordsStoreState &state = writer.state();
            cliError(QStringLiteral("%1 %2 kept pending: %3")
                         .arg(writer.pending())
                         .arg(writer.pending() == 1 ? QStringLiteral("record is") : QStringLiteral("records are"),
                              state.failing() ? state.text() + QStringLiteral(" (") + state.reason + QLatin1Char(')')
                                              : QStringLiteral("the records store did not take them")));
            return kExitFailure;
        }
        return kExitOk;
    }
    if (sub == QLatin1String("settings")) {
        SQLiteAnswerClass answer;
        QString error;
        if (!activeRecordsStore().query(RecordQuery::SettingsNewest, limit, station, answer, &error)) {
            cliError(QStringLiteral("tavel-nfc records: ") + error);
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
        if (!activeRecordsStore().exportDriversCsv(csv, station, &error, [&](qint64 done, qint64 total) {
                progress.update(done, total);
            })) {
            progress.finish();
            cliError(QStringLiteral("tavel-nfc records export: ") + error);
            return kExitFailure;
        }
        return kExitOk;
    }
    cliError(kUsage);
    return kExitUsage;
}

// The PDF report draws text: fonts need a GUI application.
bool drawsText(const QStringList &args) { return args.value(0) == QLatin1String("report") && args.contains(QStringLiteral("--pdf")); }

CliCommandRegistrar reg({"records", "list or export the programming records, the batch report", &run, &drawsText});
} // namespace
