#pragma once
// The summary: a short plain-text report of one profile slot for people, shown in
// the main window's summary view and saved as a text file ("Print file").

#include "profile/profile_record.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

struct SummaryOptions {
    // The clock; empty = QDateTime::currentDateTime. The date and the time are two
    // separate readings.
    std::function<QDateTime()> clock;
    // Empty = the user's short date format / long time format (QLocale::system()).
    QString dateFormat;
    QString timeFormat;
};

// The summary lines of `slot`, shown as configuration `slotNumber` (1-3): title,
// "Config no N", date and time, identity, then the values of the enabled parameters.
QStringList WriteSumarryInformation(int slotNumber, const STRUCT_XML_FILE_VARIABLES &slot,
                                    const SummaryOptions &options = {});
// The active slot.
QStringList WriteSumarryInformation(const SummaryOptions &options = {});

// Saves the lines as a text file (UTF-8), each line ended by CR LF, replacing an
// existing file. Written atomically; throws EFCreateError when it cannot be written.
void SaveSummaryTextFile(const QString &path, const QStringList &lines);
