// The batch report as PDF: Qt's own PDF writer. The pages are laid out first into
// a spool file in the system's temporary folder (one text piece
// per record), so that a report of many drivers needs no more memory than one
// line and the footers can say "Page x of N"; the pages are drawn from the spool
// once the number of pages is known.

#include "profile/parameter_table.h"
#include "report/batch_report.h"


#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTemporaryFile>

namespace {

constexpr int kResolution = 300; // dots per inch of the page coordinates

// The type faces of the report; kept in the spool by number.
enum class Face : quint8 { Body, Small, Bold, Title };

const QColor kFailColour(0xB0, 0x10, 0x10);

class PdfReportWriter : public ReportWriter {
public:
    bool begin(const QString &path, const QString &store, const ReportSelection &selection, QString *error) override
    {
        file_.setFileName(path);
        if (!file_.open(QIODevice::WriteOnly) || !spool_.open()) {
            if (error)
                *error = writeError();
            return false;
        }
        stream_.setDevice(&spool_);
        pdf_ = std::make_unique<QPdfWriter>(&file_);
        pdf_->setResolution(kResolution);
        pdf_->setPageSize(QPageSize(QPageSize::A4));
        pdf_->setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        pdf_->setTitle(QStringLiteral("Batch report"));
        pdf_->setCreator(QStringLiteral("tavel-nfc"));
        QFont body(QStringLiteral("DejaVu Sans"));
        body.setStyleHint(QFont::SansSerif);
        body.setPointSizeF(9);
        // No ligatures ("fi" stays two letters), so that the text found in the
        // PDF is the text written.
        body.setStyleStrategy(QFont::PreferNoShaping);
        QFont small = body;
        small.setPointSizeF(8);
        QFont bold = body;
        bold.setBold(true);
        QFont title = bold;
        title.setPointSizeF(15);
        fonts_ = {body, small, bold, title};
        const double width = pdf_->width();
        // Serial number, time, repeat, verify result.
        columns_ = {0, width * 0.26, width * 0.50, width * 0.60};

        text(Face::Title, QStringLiteral("Batch report"));
        QStringList chosen;
        if (!selection.from.isEmpty())
            chosen << QStringLiteral("from %1").arg(selection.from);
        if (!selection.to.isEmpty())
            chosen << QStringLiteral("to %1").arg(selection.to);
        if (!selection.programmerId.isEmpty())
            chosen << QStringLiteral("programmer %1").arg(selection.programmerId);
        if (!selection.station.isEmpty())
            chosen << QStringLiteral("station %1").arg(selection.station);
        storeLine_ = QStringLiteral("Records: %1").arg(QDir::toNativeSeparators(store));
        selectionLine_ = QStringLiteral("Selection: %1")
                             .arg(chosen.isEmpty() ? QStringLiteral("all records")
                                                   : chosen.join(QStringLiteral(", ")) + QStringLiteral(" (UTC)"));
        return ok();
    }

    bool heading(const ReportHeading &h) override
    {
        batch_ = h.batch.trimmed();
        if (!batch_.isEmpty())
            text(Face::Bold, QStringLiteral("Batch / order: %1").arg(batch_));
        text(Face::Body, (h.stations.size() == 1 ? QStringLiteral("Station: %1") : QStringLiteral("Stations: %1"))
                             .arg(h.stations.isEmpty() ? QStringLiteral("none") : h.stations.join(QStringLiteral(", "))));
        text(Face::Body, storeLine_);
        text(Face::Body, selectionLine_);
        text(Face::Body, QStringLiteral("Written: %1 UTC")
                             .arg(QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
        return ok();
    }

    bool transfer(const ReportTransfer &t, bool drivers) override
    {
        gap(1.0);
        if (t.id.isEmpty()) {
            room(4);
            text(Face::Bold, QStringLiteral("Drivers without a settings record"));
        } else {
            room(9);
            auto v = [&t](const char *column) { return TransferValue(t, QLatin1String(column)); };
            // The parameters in record order: the CLO levels on a line of their
            // own, the NTC values after the others, each as many to a line as fit.
            QStringList others, levels, ntc;
            for (const ParameterGroup *group : RecordParameterGroups()) {
                const QString part = LabelledTransferValue(t, QLatin1String(group->recordColumn));
                (group->coding == TagCoding::CloLevel ? levels : group->block == ParameterBlock::Ntc ? ntc : others)
                    << part;
            }
            text(Face::Bold, QStringLiteral("Transfer %1 UTC, programmer %2 (firmware %3)")
                                 .arg(t.datetime, v("enOcean_HandHeldID"), v("programmer_NFC_FW")));
            text(Face::Body, QStringLiteral("Family: %1   Type: %2   Reference: %3")
                                 .arg(v("familyName"), v("type"), v("ref_number")));
            text(Face::Body, QStringLiteral("GTIN: %1   Firmware: %2   Hardware: %3   Serial field: %4")
                                 .arg(v("editGTIN"), v("editFW"), v("editHW"), v("editSerial")));
            filled(Face::Body, QString(), others);
            filled(Face::Body, QStringLiteral("CLO levels: "), levels);
            filled(Face::Body, QString(), ntc);
        }
        if (!drivers) {
            text(Face::Body, QStringLiteral("No driver of this transfer in the selection."));
        } else {
            gap(0.3);
            row(Face::Bold, false, {QStringLiteral("Serial number"), QStringLiteral("Time (UTC)"),
                                    QStringLiteral("Repeat"), QStringLiteral("Verify (UTC)")});
        }
        return ok();
    }

    bool driver(const ReportDriver &d) override
    {
        const bool failed = d.verifyResult == QLatin1String("FAIL");
        QString verify = VerifyResultText(d);
        if (!d.verifyResult.isEmpty() && !d.verifyTime.isEmpty())
            verify += QStringLiteral("  ") + d.verifyTime;
        // A failed driver stands out: bold and red, its differences below it.
        row(failed ? Face::Bold : Face::Body, failed,
            {d.serial, d.datetime, d.repeat ? QStringLiteral("REPEAT") : QString(), verify});
        if (failed)
            for (const QString &difference : d.verifyDifferences.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
                text(Face::Small, difference, columns_[1], true);
        return ok();
    }

    bool finish(const ReportTotals &totals, QString *error) override
    {
        gap(1.0);
        room(8);
        text(Face::Bold, QStringLiteral("Totals"));
        text(Face::Body, QStringLiteral("Transfers: %1").arg(totals.transfers));
        text(Face::Body, QStringLiteral("Drivers: %1").arg(totals.drivers));
        text(Face::Body, QStringLiteral("Repeats: %1").arg(totals.repeats));
        text(Face::Body, QStringLiteral("Verified: %1").arg(totals.verified));
        text(Face::Bold, QStringLiteral("Failed: %1").arg(totals.failed), 0, totals.failed > 0);
        text(Face::Body, QStringLiteral("Not verified: %1").arg(totals.notVerified()));
        if (ok() && spool_.flush() && draw() && ok()) {
            pdf_.reset();
            if (file_.error() == QFileDevice::NoError && file_.commit())
                return true;
        }
        if (error)
            *error = writeError();
        cancel();
        return false;
    }

    void cancel() override
    {
        if (painter_.isActive())
            painter_.end();
        pdf_.reset();
        file_.cancelWriting();
        spool_.close();
    }

    QString writeError() const override
    {
        QString why = file_.errorString();
        if (file_.error() == QFileDevice::NoError)
            why = spool_.error() != QFileDevice::NoError ? QStringLiteral("the temporary folder: ") + spool_.errorString()
                                                         : QStringLiteral("the PDF could not be made");
        return QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(file_.fileName()), why);
    }

private:
    bool ok() const
    {
        return file_.error() == QFileDevice::NoError && spool_.error() == QFileDevice::NoError
               && stream_.status() == QDataStream::Ok;
    }

    const QFont &font(Face face) const { return fonts_[size_t(face)]; }
    double lineHeight(Face face) const { return QFontMetricsF(font(face), pdf_.get()).lineSpacing(); }
    // The lowest line of a page: the footer keeps two small lines.
    double bottom() const { return pdf_->height() - lineHeight(Face::Small) * 2; }

    // A new page when fewer than `lines` body lines fit on this one.
    void room(double lines)
    {
        if (y_ + lines * lineHeight(Face::Body) > bottom()) {
            ++pages_;
            y_ = 0;
        }
    }
    void gap(double lines) { y_ += lines * lineHeight(Face::Body); }

    // One piece of text at `x` on the current line of the current page, into the spool.
    void put(Face face, double x, bool red, const QString &piece)
    {
        stream_ << quint32(pages_) << quint8(face) << red << x << y_ << piece;
    }

    void text(Face face, const QString &line, double x = 0, bool red = false)
    {
        room(1);
        const QFontMetricsF metrics(font(face), pdf_.get());
        put(face, x, red, metrics.elidedText(line, Qt::ElideRight, pdf_->width() - x));
        y_ += metrics.lineSpacing();
    }

    // `parts` after `lead`, three spaces apart, on as many lines as they need.
    void filled(Face face, const QString &lead, const QStringList &parts)
    {
        const QFontMetricsF metrics(font(face), pdf_.get());
        QString line = lead;
        bool empty = true;
        for (const QString &part : parts) {
            const QString longer = empty ? line + part : line + QStringLiteral("   ") + part;
            if (!empty && metrics.horizontalAdvance(longer) > pdf_->width()) {
                text(face, line);
                line = part;
            } else {
                line = longer;
            }
            empty = false;
        }
        if (!empty)
            text(face, line);
    }

    void row(Face face, bool red, const QStringList &cells)
    {
        room(1);
        const QFontMetricsF metrics(font(face), pdf_.get());
        for (int i = 0; i < cells.size() && i < int(columns_.size()); ++i) {
            const double right = i + 1 < int(columns_.size()) ? columns_[size_t(i + 1)] : pdf_->width();
            put(face, columns_[size_t(i)], red,
                metrics.elidedText(cells[i], Qt::ElideRight, right - columns_[size_t(i)] - 20));
        }
        y_ += metrics.lineSpacing();
    }

    // Draws the spooled pages, each with its footer.
    bool draw()
    {
        if (!painter_.begin(pdf_.get()))
            return false;
        spool_.seek(0);
        QDataStream in(&spool_);
        const int total = pages_;
        int page = 1;
        while (!in.atEnd()) {
            quint32 onPage = 0;
            quint8 face = 0;
            bool red = false;
            double x = 0, y = 0;
            QString piece;
            in >> onPage >> face >> red >> x >> y >> piece;
            if (in.status() != QDataStream::Ok || face > quint8(Face::Title) || int(onPage) > total
                || int(onPage) < page) {
                painter_.end();
                return false;
            }
            for (; page < int(onPage); ++page) {
                footer(page, total);
                pdf_->newPage();
            }
            painter_.setFont(font(Face(face)));
            painter_.setPen(red ? kFailColour : QColor(Qt::black));
            painter_.drawText(QPointF(x, y + QFontMetricsF(font(Face(face)), pdf_.get()).ascent()), piece);
        }
        for (; page <= total; ++page) {
            footer(page, total);
            if (page < total)
                pdf_->newPage();
        }
        return painter_.end();
    }

    void footer(int page, int total)
    {
        painter_.setFont(font(Face::Small));
        painter_.setPen(Qt::black);
        const QFontMetricsF metrics(font(Face::Small), pdf_.get());
        QString line = QStringLiteral("Page %1 of %2").arg(page).arg(total);
        if (!batch_.isEmpty())
            line = QStringLiteral("Batch / order %1   ").arg(batch_) + line;
        painter_.drawText(QPointF(0, pdf_->height() - metrics.descent()), line);
    }

    QSaveFile file_;
    QTemporaryFile spool_;
    QDataStream stream_;
    std::unique_ptr<QPdfWriter> pdf_;
    QPainter painter_;
    std::vector<QFont> fonts_;
    std::vector<double> columns_;
    QString storeLine_, selectionLine_, batch_;
    double y_ = 0;
    int pages_ = 1;
};

} // namespace

std::unique_ptr<ReportWriter> MakePdfReportWriter() { return std::make_unique<PdfReportWriter>(); }
