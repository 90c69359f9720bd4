#pragma once
// The records of what the handheld programmer reports over the radio link: when it
// reports a driver programmed, a driver record for every slot whose programmer ID
// it is (as the record options filter them); when it confirms a transfer, a
// settings record of the active slot (when "Write to settings database" is
// ticked). A driver recorded before is recorded again, marked as a repeat, and the
// radio log says so. A record that cannot be written goes into the pending-records journal
// and is moved in by a later write; the observer of pending records hears of it.
// The desktop program and the command line each connect one object to their link.

#include <QObject>
#include <QString>

class RadioLink;

class ProgrammerRecords : public QObject {
    Q_OBJECT
public:
    // Writes the records of `link`'s reports from now on.
    explicit ProgrammerRecords(RadioLink &link, QObject *parent = nullptr);

    // The records of one report (also for callers that decode frames themselves).
    // The number of driver records written or kept pending; `repeat` is set when
    // the driver was recorded before (the radio log then says so, RepeatLogLine).
    static int recordProgrammedDriver(const QString &ownId, const QString &programmerId, const QString &serial,
                                      bool *repeat = nullptr);
    static QString RepeatLogLine(const QString &serial);
    // Whether a settings record was written or kept pending.
    static bool recordConfirmedTransfer();
};
