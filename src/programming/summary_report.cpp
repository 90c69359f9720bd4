#include "programming/summary_report.h"

#include "profile/atomic_file.h"
#include "profile/profile_defaults.h"

#include <QLocale>

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
    if (r.currentAdjustEnable != 0)
        lines << QStringLiteral("Nominal_current ") + r.current.defaultValue;
    if (r.cloAdjustEnable != 0) {
        lines << QStringLiteral("LifeTime ") + r.lifeTime.defaultValue;
        lines << QStringLiteral("Level1 ") + r.Level0.defaultValue;
        lines << QStringLiteral("Level2 ") + r.Level1.defaultValue;
        lines << QStringLiteral("Level3 ") + r.Level2.defaultValue;
        lines << QStringLiteral("Level4 ") + r.Level3.defaultValue;
        lines << QStringLiteral("Level5 ") + r.Level4.defaultValue;
        lines << QStringLiteral("LEDTime ") + r.LEDTime.defaultValue;
    }
    if (r.dclevelAdjustEnable != 0) {
        if (r.dcLevel.defaultValue == defaultDcLevelOff)
            lines << QStringLiteral("DCLevel  OFF");
        else
            lines << QStringLiteral("DCLevel ") + r.dcLevel.defaultValue;
    }
    if (r.ExtNTCAdjustEnable != 0) {
        lines << QStringLiteral("ExtNTCLevel1 ") + r.ExtNTCLevel1.defaultValue;
        lines << QStringLiteral("ExtNTCLevel2 ") + r.ExtNTCLevel2.defaultValue;
        lines << QStringLiteral("Temp1 ") + r.Temp1.defaultValue;
        lines << QStringLiteral("Temp2 ") + r.Temp2.defaultValue;
        lines << QStringLiteral("CutOffTemp ") + r.CutOffTemp.defaultValue;
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
