#pragma once
// What the records writer last found of the records store, for the status strip
// and the command line's messages.

#include "records/records_store.h"

#include <QDateTime>
#include <QMetaType>
#include <QString>

struct RecordsStoreState {
    enum class Kind {
        Unknown,     // nothing tried yet
        Reachable,   // the last record went in
        Unreachable, // the server cannot be reached
        Locked,      // another program or session holds the records locked
        Failing,     // the store refuses the records (damaged file, full disk, ...)
    };
    Kind kind = Kind::Unknown;
    QDateTime since;     // when this state began (local time)
    QString reason;      // the store's own words
    bool server = false; // a store several stations share (else the station's own files)

    // The state after a failed record: `since` kept while the kind stays the same
    // (one outage, one start time), `now` for a new kind.
    static RecordsStoreState afterFailure(const RecordsStoreState &before, const StoreResult &failure, bool server,
                                          const QDateTime &now);
    bool failing() const { return kind == Kind::Unreachable || kind == Kind::Locked || kind == Kind::Failing; }
    // "server unreachable since 14:02", "tables locked since 14:02", "records cannot
    // be written: <reason>"; empty while nothing failed.
    QString text() const;
    bool operator==(const RecordsStoreState &other) const = default;
};

Q_DECLARE_METATYPE(RecordsStoreState)
