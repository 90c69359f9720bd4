#include "station/programmer_records.h"

#include "radio/radio_link.h"
#include "records/record_options.h"

ProgrammerRecords::ProgrammerRecords(RadioLink &link, QObject *parent) : QObject(parent)
{
    connect(&link, &RadioLink::driverProgrammed, this,
            [&link](const QString &ownId, const QString &programmerId, const QString &serial) {
                bool repeat = false;
                recordProgrammedDriver(ownId, programmerId, serial, &repeat);
                if (repeat)
                    link.OutputLog(RepeatLogLine(serial));
            });
    connect(&link, &RadioLink::transferConfirmed, this, [] { recordConfirmedTransfer(); });
}

int ProgrammerRecords::recordProgrammedDriver(const QString &ownId, const QString &programmerId,
                                              const QString &serial, bool *repeat)
{
    return RecordProgrammedDriver(ownId, programmerId, serial, recordOptions(), repeat);
}

QString ProgrammerRecords::RepeatLogLine(const QString &serial)
{
    return QStringLiteral("<- Driver %1 was programmed before: recorded as a repeat").arg(serial);
}

bool ProgrammerRecords::recordConfirmedTransfer() { return RecordConfirmedTransfer(); }
