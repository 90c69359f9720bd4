#pragma once
// The records of what the handheld programmer reports over the radio link: when it
// reports a driver programmed, a driver record for every slot whose programmer ID
// it is (as the record options filter them); when it confirms a transfer, a
// settings record of the active slot (when "Write to settings database" is
// ticked). Each record is appended to the outbox and nothing more: the records
// writer moves it into the store. A driver recorded before is recorded again,
// marked as a repeat; the radio log says so once the writer found it (a moment
// after the driver's own line). The desktop program and the command line each
// connect one object to their link and their writer.

#include <QObject>
#include <QString>

class RadioLink;
class RecordsWriterThread;

class ProgrammerRecords : public QObject {
    Q_OBJECT
public:
    // Records `link`'s reports from now on; with `writer`, the radio log names the
    // repeats the writer finds.
    explicit ProgrammerRecords(RadioLink &link, QObject *parent = nullptr);
    void followWriter(RecordsWriterThread &writer);
    // The radio log's line for a repeat the writer found.
    void logRepeat(const QString &serial);

    // The records of one report (also for callers that decode frames themselves).
    // The number of driver records kept in the outbox.
    static int recordProgrammedDriver(const QString &ownId, const QString &programmerId, const QString &serial);
    static QString RepeatLogLine(const QString &serial);
    // Whether a settings record was kept in the outbox.
    static bool recordConfirmedTransfer();

private:
    RadioLink &link_;
};
