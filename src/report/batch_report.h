#pragma once
// The batch report a production line hands its customer: a heading naming the
// station(s) and the batch or order number, then per transfer (settings record)
// its profile values with their units and its time, then its drivers with serial
// number, time, repeat mark and the result of the verification that belongs to
// that driver record (made after it, before the driver was programmed again);
// totals at the end. Written as PDF or as CSV with the same selection. The file appears only
// when it is complete: it is written to a temporary file beside it and renamed
// at the end; a failure leaves no new file and names the reason.

#include "records/records_store.h"

#include <QString>
#include <memory>

// Reads a date of the report's selection: "YYYY-MM-DD", "YYYY-MM-DD HH:MM" or
// "YYYY-MM-DD HH:MM:SS" (a "T" in place of the space is taken too), in UTC as the
// records keep their times. A date alone stands for the start of that day, or its
// end when `endOfDay` (so that --to 2026-12-10 includes the whole day). False
// with the reason for any other text.
bool ParseReportDate(const QString &text, bool endOfDay, QString *time, QString *error);

struct ReportTotals {
    qint64 transfers = 0; // transfers shown (with a settings record)
    qint64 drivers = 0;   // driver records
    qint64 repeats = 0;
    qint64 verified = 0; // driver records with a verification of their own
    qint64 failed = 0;   // of those, the ones whose newest verification failed
    qint64 notVerified() const { return drivers - verified; }
};

// "2 transfer(s), 5 driver(s), 2 repeat(s), 3 verified, 1 failed, 2 not verified": what
// a written report counted, as the command line and the window tell it.
QString ReportTotalsText(const ReportTotals &totals);

// What the heading names beside the selection.
struct ReportHeading {
    QString batch;        // the batch or order number the user gave (empty: none)
    QStringList stations; // the stations of the records (the store tells them, else this PC's)
};

// "PASS", "FAIL" or "not verified": the newest verification of a driver record.
QString VerifyResultText(const ReportDriver &driver);
// The name of one value of a transfer's settings record (a column name of
// SettingsRecordColumns(), e.g. "familyName"); empty when it is not there.
QString TransferValue(const ReportTransfer &transfer, const QString &column);

// What the report is written into, in the report's order.
class ReportWriter {
public:
    virtual ~ReportWriter() = default;
    // Starts the file (a temporary file beside `path`). `store` and `selection`
    // are named in the report's heading.
    virtual bool begin(const QString &path, const QString &store, const ReportSelection &selection,
                       QString *error) = 0;
    // The rest of the heading, once the records have named their stations;
    // before the first transfer.
    virtual bool heading(const ReportHeading &heading) = 0;
    // A transfer; id empty: the drivers without a settings record follow.
    // `drivers` false: none of its drivers is in the selection.
    virtual bool transfer(const ReportTransfer &transfer, bool drivers) = 0;
    virtual bool driver(const ReportDriver &driver) = 0;
    // Writes the totals and puts the file in place. False with the reason.
    virtual bool finish(const ReportTotals &totals, QString *error) = 0;
    // Drops the temporary file (the report failed).
    virtual void cancel() = 0;
    // Why the last write failed.
    virtual QString writeError() const = 0;
};

std::unique_ptr<ReportWriter> MakePdfReportWriter();
// One line per driver (transfer columns, then the driver's), and one line with
// empty driver columns per transfer without a driver in the selection.
std::unique_ptr<ReportWriter> MakeCsvReportWriter();

// Writes the report of `selection` from `store` to `path`, headed with `batch`
// (the batch or order number, may be empty). `progress`, when given, is told the
// drivers written so far and how many there are. False with `error` set when the
// records cannot be read or the file cannot be written; then no new file is there.
bool WriteBatchReport(RecordsStore &store, const ReportSelection &selection, ReportWriter &writer,
                      const QString &path, QString *error, ReportTotals *totals = nullptr,
                      const ExportProgress &progress = {}, const QString &batch = QString());

// "Nominal current: 500 mA": a value of a transfer's settings record named and
// measured as the editor shows it ("DC level: off" for the DC-off marker).
QString LabelledTransferValue(const ReportTransfer &transfer, const QString &column);
