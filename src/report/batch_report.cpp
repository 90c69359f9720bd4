#include "report/batch_report.h"

#include "profile/parameter_table.h"
#include "records/csv_export.h"
#include "records/record_columns.h"

#include <QDateTime>
#include <QDir>
#include <QRegularExpression>
#include <QSaveFile>

QString ReportTotalsText(const ReportTotals &totals)
{
    return QStringLiteral("%1 transfer(s), %2 driver(s), %3 repeat(s), %4 verified, %5 failed, %6 not verified")
        .arg(totals.transfers)
        .arg(totals.drivers)
        .arg(totals.repeats)
        .arg(totals.verified)
        .arg(totals.failed)
        .arg(totals.notVerified());
}

bool ParseReportDate(const QString &text, bool endOfDay, QString *time, QString *error)
{
    static const QRegularExpression form(
        QStringLiteral("^(\\d{4}-\\d{2}-\\d{2})(?:[ T](\\d{2}):(\\d{2})(?::(\\d{2}))?)?$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    const QDate day = m.hasMatch() ? QDate::fromString(m.captured(1), QStringLiteral("yyyy-MM-dd")) : QDate();
    QTime at;
    if (day.isValid()) {
        if (m.captured(2).isEmpty())
            at = endOfDay ? QTime(23, 59, 59) : QTime(0, 0, 0);
        else
            at = QTime(m.captured(2).toInt(), m.captured(3).toInt(),
                       m.captured(4).isEmpty() ? (endOfDay ? 59 : 0) : m.captured(4).toInt());
    }
    if (!day.isValid() || !at.isValid()) {
        if (error)
            *error = QStringLiteral("'%1' is no date: write YYYY-MM-DD or YYYY-MM-DD HH:MM[:SS] (UTC)").arg(text);
        return false;
    }
    *time = day.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') + at.toString(QStringLiteral("HH:mm:ss"));
    return true;
}

QString VerifyResultText(const ReportDriver &driver)
{
    return driver.verifyResult.isEmpty() ? QStringLiteral("not verified") : driver.verifyResult;
}

QString TransferValue(const ReportTransfer &transfer, const QString &column)
{
    const qsizetype at = SettingsRecordColumns().mid(1).indexOf(column);
    return at < 0 ? QString() : transfer.values.value(at);
}

QString LabelledTransferValue(const ReportTransfer &transfer, const QString &column)
{
    const ParameterName *named = ParameterByRecordColumn(column);
    const QString value = TransferValue(transfer, column);
    if (!named)
        return column + QStringLiteral(": ") + value;
    if (column == QLatin1String("DC_level") && value == QLatin1String("255"))
        return named->label + QStringLiteral(": off");
    return named->label + QStringLiteral(": ") + ValueWithUnit(value, named->unit);
}

namespace {

// The order of the transfers: time, then id (records of the same second).
bool earlier(const ReportTransfer &a, const ReportTransfer &b)
{
    if (a.datetime != b.datetime)
        return a.datetime < b.datetime;
    return a.id.toLongLong() < b.id.toLongLong();
}

// ---- CSV ---------------------------------------------------------------------------

class CsvReportWriter : public ReportWriter {
public:
    bool begin(const QString &path, const QString &, const ReportSelection &, QString *error) override
    {
        file_.setFileName(path);
        if (!file_.open(QIODevice::WriteOnly | QIODevice::Text)) {
            if (error)
                *error = QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), file_.errorString());
            return false;
        }
        QStringList header = {QStringLiteral("transfer_id"), QStringLiteral("transfer_datetime")};
        header << SettingsRecordColumns().mid(1);
        header << QStringLiteral("driver_datetime") << QStringLiteral("driver_programmerID")
               << QStringLiteral("serialNumber") << QStringLiteral("repeat") << QStringLiteral("verify_result")
               << QStringLiteral("verify_datetime") << QStringLiteral("verify_differences");
        return line(header);
    }
    bool heading(const ReportHeading &) override { return true; }
    bool transfer(const ReportTransfer &transfer, bool drivers) override
    {
        transfer_ = QStringList{transfer.id, transfer.datetime} + transfer.values;
        while (transfer_.size() < SettingsRecordColumns().size() + 1)
            transfer_ << QString();
        return drivers || line(transfer_ + QStringList(7, QString()));
    }
    bool driver(const ReportDriver &d) override
    {
        return line(transfer_ + QStringList{d.datetime, d.programmerId, d.serial,
                                            d.repeat ? QStringLiteral("1") : QStringLiteral("0"),
                                            VerifyResultText(d), d.verifyTime, d.verifyDifferences});
    }
    bool finish(const ReportTotals &, QString *error) override
    {
        if (file_.commit())
            return true;
        if (error)
            *error = QStringLiteral("Cannot write %1: %2")
                         .arg(QDir::toNativeSeparators(file_.fileName()), file_.errorString());
        return false;
    }
    void cancel() override { file_.cancelWriting(); }
    QString writeError() const override
    {
        return QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(file_.fileName()), file_.errorString());
    }

private:
    bool line(const QStringList &fields)
    {
        QStringList quoted;
        for (const QString &f : fields)
            quoted << CsvField(f);
        const QByteArray bytes = quoted.join(QLatin1Char(',')).toUtf8() + '\n';
        return file_.write(bytes) == bytes.size();
    }

    QSaveFile file_;
    QStringList transfer_;
};

} // namespace

std::unique_ptr<ReportWriter> MakeCsvReportWriter() { return std::make_unique<CsvReportWriter>(); }

bool WriteBatchReport(RecordsStore &store, const ReportSelection &selection, ReportWriter &writer,
                      const QString &path, QString *error, ReportTotals *totalsOut, const ExportProgress &progress,
                      const QString &batch)
{
    if (!writer.begin(path, store.location(), selection, error))
        return false;
    QList<ReportTransfer> transfers;
    qsizetype next = 0; // the first selected transfer not written yet
    ReportTotals totals;
    qint64 total = 0;
    bool started = false, written = true;
    QString group;
    ReportHeading heading{batch, {}};
    bool stationsTold = false, headed = false;
    // The heading goes first, once the store has named its stations (the local
    // files are this PC's).
    auto head = [&] {
        if (headed)
            return;
        headed = true;
        if (!stationsTold)
            heading.stations = QStringList{selection.station.isEmpty() ? RecordsStation() : selection.station};
        written = written && writer.heading(heading);
    };
    ReportSink sink;
    sink.stations = [&](const QStringList &stations) {
        heading.stations = stations;
        stationsTold = true;
    };
    sink.total = [&](qint64 drivers) {
        total = drivers;
        if (progress)
            progress(0, total);
    };
    sink.driver = [&](const ReportDriver &d) {
        head();
        if (!started || d.transfer.id != group) {
            // The selected transfers before this one have no driver in the selection.
            if (!d.transfer.id.isEmpty()) {
                for (; written && next < transfers.size() && earlier(transfers[next], d.transfer); ++next) {
                    written = writer.transfer(transfers[next], false);
                    ++totals.transfers;
                }
                if (next < transfers.size() && transfers[next].id == d.transfer.id)
                    ++next;
                ++totals.transfers;
            }
            written = written && writer.transfer(d.transfer, true);
            group = d.transfer.id;
            started = true;
        }
        written = written && writer.driver(d);
        ++totals.drivers;
        totals.repeats += d.repeat;
        totals.verified += !d.verifyResult.isEmpty();
        totals.failed += d.verifyResult == QLatin1String("FAIL");
        if (progress && written)
            progress(totals.drivers, total);
        return written;
    };
    QString readError;
    if (!store.readReport(selection, &transfers, sink, &readError)) {
        writer.cancel();
        if (error)
            *error = readError;
        return false;
    }
    head();
    for (; written && next < transfers.size(); ++next) {
        written = writer.transfer(transfers[next], false);
        ++totals.transfers;
    }
    if (!written) {
        if (error)
            *error = writer.writeError();
        writer.cancel();
        return false;
    }
    if (totalsOut)
        *totalsOut = totals;
    return writer.finish(totals, error);
}
