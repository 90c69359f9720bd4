#include "programming/summary_report.h"

#include "profile/atomic_file.h"
#include "profile/parameter_table.h"
#include "profile/profile_defaults.h"

#include <QLocale>
#include <algorithm>

QStringList WriteSumarryInformation(int slotNumber, const STRUCT_XML_FILE_VARIABLES &r,
                                    const SummaryOptions &options)
{
    auto now = [&options] { return options.clock ? options.clock() : QDateTime::currentDateTime(); };
    const QLocale locale = QLocale::system();
    const QString dateFormat =
        options.dateFormat.isEmpty() ? locale.dateFormat(QLocale::ShortFormat) : options.dateFormat;
    const QString timeFormat =
        options.timeFormat.isEmpty() ? locale.timeFormat(QLocale::LongFormat) : options.timeFormat;

    QStringList lines;
    lines << QStringLiteral("NFC configuration software Tavel");
    lines << QStringLiteral("Summary information");
    lines << QStringLiteral("Config no ") + QString::number(slotNumber);
    lines << QString();
    // Date and time are two readings of the clock.
    lines << QStringLiteral("Date ") + locale.toString(now().date(), dateFormat);
    lines << QStringLiteral("Time ") + locale.toString(now().time(), timeFormat);
    lines << QStringLiteral("Family Name ") + r.familyName;
    lines << QStringLiteral("Type ") + r.type;
    lines << QStringLiteral("Ref.number ") + r.ref_number;
    lines << QStringLiteral("GTIN ") + r.editGTIN;
    lines << QStringLiteral("Serial ") + r.editSerial;
    lines << QStringLiteral("FW ") + r.editFW;
    lines << QStringLiteral("HW ") + r.editHW;
    // A block's lines, when its parameters are adjusted, in the block's own line order.
    for (const ParameterBlock block :
         {ParameterBlock::Current, ParameterBlock::Clo, ParameterBlock::DcLevel, ParameterBlock::Ntc}) {
        if (r.*AdjustEnableFlag(block) == 0)
            continue;
        QList<const ParameterGroup *> groups;
        for (const ParameterGroup &g : ParameterGroups())
            if (g.block == block && g.summaryKey)
                groups << &g;
        std::stable_sort(groups.begin(), groups.end(),
                         [](const ParameterGroup *a, const ParameterGroup *b) { return a->summaryRank < b->summaryRank; });
        for (const ParameterGroup *g : groups) {
            const QString key = QString::fromLatin1(g->summaryKey);
            const QString &value = g->field.of(r).defaultValue;
            if (g->coding == TagCoding::DcLevel && value == defaultDcLevelOff)
                lines << key + QStringLiteral("  OFF");
            else
                lines << key + QLatin1Char(' ') + value;
        }
    }
    return lines;
}

QStringList WriteSumarryInformation(const SummaryOptions &options)
{
    return WriteSumarryInformation(activeSlot(), activeProfile(), options);
}

void SaveSummaryTextFile(const QString &path, const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toUtf8() + "\r\n";
    WriteFileAtomically(path, bytes);
}
