#include "station/programmer_records.h"

#include "radio/radio_link.h"
#include "records/record_options.h"

ProgrammerRecords::ProgrammerRecords(RadioLink &link, QObject *parent) : QObject(parent)
{
    connect(&link, &RadioLink::driverProgrammed, this,
            [](const QString &ownId, const QString &programmerId, const QString &serial) {
                recordProgrammedDriver(ownId, programmerId, serial);
            });
    connect(&link, &RadioLink::transferConfirmed, this, [] { recordConfirmedTransfer(); });
}

int ProgrammerRecords::recordProgrammedDriver(const QString &ownId, const QString &programmerId,
                                              const QString &serial)
{
    return RecordProgrammedDriver(ownId, programmerId, serial);
}

bool ProgrammerRecords::recordConfirmedTransfer() { return RecordConfirmedTransfer(); }
