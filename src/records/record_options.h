#pragma once
// Which records are written when the handheld programmer confirms its work. The
// options live only in the running program; each start begins with all ticked.

#include <QString>
#include <array>

struct RecordOptions {
    // "Write to drivers database"
    bool writeDrivers = true;
    // "Setting 1 ProgrammerId added" ... "Setting 3 ProgrammerId added"
    std::array<bool, 3> slotFilter = {true, true, true};
    // "Write to settings database"
    bool writeSettings = true;

    // Ticking "Write to drivers database" ticks the three filters again, whatever
    // they were; unticking it unticks them, so no driver record is written.
    void setWriteDrivers(bool on);
};

// The process-wide options the decoder and the record options panel share.
RecordOptions &recordOptions();

// A driver was reported programmed by `programmerId`: for slot 1, 2, 3 in turn,
// when its filter is ticked and its programmer ID equals `programmerId` exactly,
// one driver record with that slot's programmer firmware, appended to the outbox
// (records_outbox.h). Returns the number of records kept (a lost record is
// reported and not counted). Whether the driver was recorded before is decided
// when the records writer moves the record in (its repeatFound signal).
int RecordProgrammedDriver(const QString &ownId, const QString &programmerId, const QString &serial,
                           const RecordOptions &options = recordOptions());

// A transfer was confirmed: a settings record of the active slot, appended to the
// outbox, when "Write to settings database" is ticked. Returns whether one was kept.
bool RecordConfirmedTransfer(const RecordOptions &options = recordOptions());
