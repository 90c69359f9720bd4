#include "station/programmer_records.h"

#include "radio/radio_link.h"
#include "records/record_options.h"
#include "records/records_writer.h"

ProgrammerRecords::ProgrammerRecords(RadioLink &link, QObject *parent) : QObject(parent), link_(link)
{
    connect(&link, &RadioLink::driverProgrammed, this,
            [](const QString &ownId, const QString &programmerId, const QString &serial) {
                recordProgrammedDriver(ownId, programmerId, serial);
            });
    connect(&link, &RadioLink::transferConfirmed, this, [] { recordConfirmedTransfer(); });
}

void ProgrammerRecords::followWriter(RecordsWriterThread &writer)
{
    connect(&writer, &RecordsWriterThread::repeatFound, this, &ProgrammerRecords::logRepeat);
}

void ProgrammerRecords::logRepeat(const QString &serial) { link_.OutputLog(RepeatLogLine(serial)); }

int ProgrammerRecords::recordProgrammedDriver(const QString &ownId, const QString &programmerId,
                                              const QString &serial)
{
    return RecordProgrammedDriver(ownId, programmerId, serial, recordOptions());
}

QString ProgrammerRecords::RepeatLogLine(const QString &serial)
{
    return QStringLiteral("<- Driver %1 was programmed before: recorded as a repeat").arg(serial);
}

bool ProgrammerRecords::recordConfirmedTransfer() { return RecordConfirmedTransfer(); }
