#pragma once
// Moving the outbox's records into the active store in the test's own thread, as
// the records writer does on its thread.

#include "records/records_database.h"
#include "records/records_writer.h"

#include <QStringList>

struct OutboxDrain {
    int written = 0;
    int left = 0;
    QStringList repeats; // the serial numbers found recorded before
    RecordsStoreState state;
};

inline OutboxDrain DrainOutbox()
{
    OutboxDrain d;
    RecordsWriter writer(activeRecordsStore().clone(), PendingRecordsJournalPath());
    QObject::connect(&writer, &RecordsWriter::recordWritten, [&d] { ++d.written; });
    QObject::connect(&writer, &RecordsWriter::repeatFound, [&d](const QString &serial) { d.repeats << serial; });
    writer.start();
    d.left = writer.pending();
    d.state = writer.state();
    return d;
}
