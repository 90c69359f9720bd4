#include "records/store_state.h"

RecordsStoreState RecordsStoreState::afterFailure(const RecordsStoreState &before, const StoreResult &failure,
                                                  bool server, const QDateTime &now)
{
    RecordsStoreState s;
    s.server = server;
    s.kind = failure.locked          ? Kind::Locked
             : failure.retryLater()  ? (server ? Kind::Unreachable : Kind::Locked)
                                     : Kind::Failing;
    s.since = before.kind == s.kind && before.since.isValid() ? before.since : now;
    // The server's first line (it may add the statement and a position marker).
    s.reason = failure.error.section(QLatin1Char('\n'), 0, 0).trimmed();
    return s;
}

QString RecordsStoreState::text() const
{
    const QString at = since.toString(QStringLiteral("HH:mm"));
    switch (kind) {
    case Kind::Unknown:
    case Kind::Reachable: return QString();
    case Kind::Unreachable: return QStringLiteral("server unreachable since %1").arg(at);
    case Kind::Locked:
        return (server ? QStringLiteral("tables locked since %1") : QStringLiteral("record files locked since %1")).arg(at);
    case Kind::Failing: return QStringLiteral("records cannot be written since %1").arg(at);
    }
    return QString();
}
