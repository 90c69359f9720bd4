// The batch report as PDF: Qt's own PDF writer, drawn line by line so that a
// report of many drivers needs no more memory than one page.

#include "report/batch_report.h"

#include <QDateTime>
#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace {

constexpr int kResolution = 300; // dots per inch of the page coordinates

class PdfReportWriter : public ReportWriter {
public:
    bool begin(const QString &path, const QString &store, const ReportSelection &selection, QString *error) override
    {
        file_.setFileName(path);
        if (!file_.open(QIODevice::WriteOnly)) {
            if (error)
                *error = writeError();
            return false;
        }
        pdf_ = std::make_unique<QPdfWriter>(&file_);
        pdf_->setResolution(kResolution);
        pdf_->setPageSize(QPageSize(QPageSize::A4));
        pdf_->setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        pdf_->setTitle(QStringLiteral("Batch report"));
        pdf_->setCreator(QStringLiteral("tavel-nfc"));
        if (!painter_.begin(pdf_.get())) {
            if (error)
                *error = writeError();
            return false;
        }
        body_ = QFont(QStringLiteral("DejaVu Sans"));
        body_.setStyleHint(QFont::SansSerif);
        body_.setPointSizeF(9);
        // No ligatures ("fi" stays two letters), so that the text found in the
        // PDF is the text written.
        body_.setStyleStrategy(QFont::PreferNoShaping);
        small_ = body_;
        small_.setPointSizeF(8);
        bold_ = body_;
        bold_.setBold(true);
        title_ = bold_;
        title_.setPointSizeF(15);
        const double width = pdf_->width();
        // Serial number, time, repeat, verify result.
        columns_ = {0, width * 0.30, width * 0.58, width * 0.72};

        text(title_, QStringLiteral("Batch report"));
        QStringList chosen;
        if (!selection.from.isEmpty())
            chosen << QStringLiteral("from %1").arg(selection.from);
        if (!selection.to.isEmpty())
            chosen << QStringLiteral("to %1").arg(selection.to);
        if (!selection.programmerId.isEmpty())
            chosen << QStringLiteral("programmer %1").arg(selection.programmerId);
        if (!selection.station.isEmpty())
            chosen << QStringLiteral("station %1").arg(selection.station);
        text(body_, QStringLiteral("Records: %1").arg(QDir::toNativeSeparators(store)));
        text(body_, QStringLiteral("Selection: %1")
                        .arg(chosen.isEmpty() ? QStringLiteral("all records") : chosen.join(QStringLiteral(", "))
                                                                                  + QStringLiteral(" (UTC)")));
        text(body_, QStringLiteral("Written: %1 UTC")
                        .arg(QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
        return true;
    }

    bool transfer(const ReportTransfer &t, bool drivers) override
    {
        gap(1.0);
        if (t.id.isEmpty()) {
            room(4);
            text(bold_, QStringLiteral("Drivers without a settings record"));
        } else {
            room(8);
            auto v = [&t](const char *column) { return TransferValue(t, QLatin1String(column)); };
            text(bold_, QStringLiteral("Transfer %1 UTC, programmer %2 (firmware %3)")
                            .arg(t.datetime, v("enOcean_HandHeldID"), v("programmer_NFC_FW")));
            text(body_, QStringLiteral("Family: %1   Type: %2   Reference: %3")
                            .arg(v("familyName"), v("type"), v("ref_number")));
            text(body_, QStringLiteral("GTIN: %1   Firmware: %2   Hardware: %3   Serial field: %4")
                            .arg(v("editGTIN"), v("editFW"), v("editHW"), v("editSerial")));
            const QString dc = v("DC_level") == QLatin1String("255") ? QStringLiteral("off") : v("DC_level");
            text(body_, QStringLiteral("Nominal current: %1   Lifetime: %2   DC level: %3")
                            .arg(v("nomCurrent"), v("lifeTime"), dc));
            text(body_, QStringLiteral("CLO levels L1-L5: %1 / %2 / %3 / %4 / %5")
                            .arg(v("CLO_L1"), v("CLO_L2"), v("CLO_L3"), v("CLO_L4"), v("CLO_L5")));
            text(body_, QStringLiteral("NTC: Temp1 %1, Level1 %2, Temp2 %3, Level2 %4, cut-off %5")
                            .arg(v("extNTC_Temp1"), v("extNTC_Level1"), v("extNTC_Temp2"), v("extNTC_Level2"),
                                 v("extNTC_CutOffTemp")));
        }
        if (!drivers) {
            text(body_, QStringLiteral("No driver of this transfer in the selection."));
        } else {
            gap(0.3);
            row(bold_, {QStringLiteral("Serial number"), QStringLiteral("Time (UTC)"), QStringLiteral("Repeat"),
                        QStringLiteral("Verify")});
        }
        return ok();
    }

    bool driver(const ReportDriver &d) override
    {
        row(body_, {d.serial, d.datetime, d.repeat ? QStringLiteral("REPEAT") : QString(), VerifyResultText(d)});
        if (d.verifyResult == QLatin1String("FAIL"))
            for (const QString &difference : d.verifyDifferences.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
                text(small_, QStringLiteral("        ") + difference, columns_[1]);
        return ok();
    }

    bool finish(const ReportTotals &totals, QString *error) override
    {
        gap(1.0);
        room(6);
        text(bold_, QStringLiteral("Totals"));
        text(body_, QStringLiteral("Transfers: %1").arg(totals.transfers));
        text(body_, QStringLiteral("Drivers: %1").arg(totals.drivers));
        text(body_, QStringLiteral("Repeats: %1").arg(totals.repeats));
        text(body_, QStringLiteral("Verified: %1").arg(totals.verified));
        text(body_, QStringLiteral("Failed: %1").arg(totals.failed));
        footer();
        painter_.end();
        pdf_.reset();
        if (file_.error() == QFileDevice::NoError && file_.commit())
            return true;
        if (error)
            *error = writeError();
        file_.cancelWriting();
        return false;
    }

    void cancel() override
    {
        if (painter_.isActive())
            painter_.end();
        pdf_.reset();
        file_.cancelWriting();
    }

    QString writeError() const override
    {
        return QStringLiteral("Cannot write %1: %2")
            .arg(QDir::toNativeSeparators(file_.fileName()),
                 file_.errorString().isEmpty() ? QStringLiteral("the PDF could not be made") : file_.errorString());
    }

private:
    bool ok() const { return file_.error() == QFileDevice::NoError; }

    double lineHeight(const QFont &font) const { return QFontMetricsF(font, pdf_.get()).lineSpacing(); }

    // A new page when fewer than `lines` body lines fit on this one.
    void room(double lines)
    {
        if (y_ + lines * lineHeight(body_) > pdf_->height() - lineHeight(small_) * 2) {
            footer();
            pdf_->newPage();
            y_ = 0;
        }
    }
    void gap(double lines) { y_ += lines * lineHeight(body_); }

    void text(const QFont &font, const QString &line, double x = 0)
    {
        room(1);
        painter_.setFont(font);
        const QFontMetricsF metrics(font, pdf_.get());
        painter_.drawText(QPointF(x, y_ + metrics.ascent()),
                          metrics.elidedText(line, Qt::ElideRight, pdf_->width() - x));
        y_ += metrics.lineSpacing();
    }

    void row(const QFont &font, const QStringList &cells)
    {
        room(1);
        painter_.setFont(font);
        const QFontMetricsF metrics(font, pdf_.get());
        for (int i = 0; i < cells.size() && i < int(columns_.size()); ++i) {
            const double right = i + 1 < int(columns_.size()) ? columns_[size_t(i + 1)] : pdf_->width();
            painter_.drawText(QPointF(columns_[size_t(i)], y_ + metrics.ascent()),
                              metrics.elidedText(cells[i], Qt::ElideRight, right - columns_[size_t(i)] - 20));
        }
        y_ += metrics.lineSpacing();
    }

    void footer()
    {
        ++page_;
        painter_.setFont(small_);
        const QFontMetricsF metrics(small_, pdf_.get());
        painter_.drawText(QPointF(0, pdf_->height() - metrics.descent()), QStringLiteral("Page %1").arg(page_));
    }

    QSaveFile file_;
    std::unique_ptr<QPdfWriter> pdf_;
    QPainter painter_;
    QFont body_, small_, bold_, title_;
    std::vector<double> columns_;
    double y_ = 0;
    int page_ = 0;
};

} // namespace

std::unique_ptr<ReportWriter> MakePdfReportWriter() { return std::make_unique<PdfReportWriter>(); }
