#include "firmware/script_generator.h"

#include "firmware/firmware_script.h"

namespace {
void put16(QByteArray &out, int v)
{
    out.append(char((v >> 8) & 0xFF));
    out.append(char(v & 0xFF));
}

// A small linear congruential generator: the same seed gives the same script.
quint8 nextByte(quint32 &state)
{
    state = state * 1664525u + 1013904223u;
    return quint8(state >> 24);
}

QByteArray build(const FirmwareScriptShape &shape, int zeroLengthGroup)
{
    QByteArray out;
    out.reserve(int(FirmwareScriptSize(shape)));
    out.append(kMarkerVersion);
    out.append(char(shape.version));
    quint32 state = shape.seed;
    for (int g = 0; g < shape.groups; ++g) {
        out.append(kMarkerClear);
        const int n = g == zeroLengthGroup ? 0 : shape.payloadBytes;
        out.append(kMarkerSend);
        put16(out, n);
        for (int i = 0; i < n; ++i)
            out.append(char(nextByte(state)));
        out.append(kMarkerDelay);
        put16(out, g == 0 ? shape.firstDelay : shape.delay);
        out.append(kMarkerRead);
        out.append(char(shape.readParameter));
        out.append(shape.acceptedReplies);
        out.append('\0');
    }
    if (shape.endRecord)
        out.append(kMarkerEnd);
    return out;
}
} // namespace

qint64 FirmwareScriptSize(const FirmwareScriptShape &shape)
{
    const qint64 group = 1 + (3 + shape.payloadBytes) + 3 + (2 + shape.acceptedReplies.size() + 1);
    return 2 + group * shape.groups + (shape.endRecord ? 1 : 0);
}

QByteArray GenerateFirmwareScript(const FirmwareScriptShape &shape) { return build(shape, -1); }

QByteArray GenerateFaultyFirmwareScript(FirmwareScriptFault fault, FirmwareScriptShape shape)
{
    switch (fault) {
    case FirmwareScriptFault::ZeroLength:
        return build(shape, shape.groups - 1);
    case FirmwareScriptFault::UnknownMarker: {
        QByteArray s = build(shape, -1);
        s.insert(s.size() - (shape.endRecord ? 1 : 0), 'X');
        return s;
    }
    case FirmwareScriptFault::NoEndRecord:
        shape.endRecord = false;
        return build(shape, -1);
    case FirmwareScriptFault::WrongVersion:
        shape.version = 1;
        return build(shape, -1);
    case FirmwareScriptFault::TruncatedRecord: {
        shape.endRecord = false;
        QByteArray s = build(shape, -1);
        // Cut the last send record in the middle of its payload.
        const int tail = 3 + (2 + int(shape.acceptedReplies.size()) + 1) + shape.payloadBytes / 2;
        s.chop(qMin<qsizetype>(tail, s.size() - 2));
        return s;
    }
    }
    return {};
}

FirmwareScriptCost MeasureFirmwareScript(const QByteArray &s)
{
    FirmwareScriptCost cost;
    qint64 p = 0;
    const qint64 size = s.size();
    auto be16 = [&](qint64 at) { return (int(quint8(s[at])) << 8) | quint8(s[at + 1]); };
    while (p < size) {
        switch (s[p]) {
        case kMarkerVersion:
            p += 2;
            break;
        case kMarkerClear:
            p += 1;
            break;
        case kMarkerSend: {
            if (p + 3 > size)
                return cost;
            const int n = be16(p + 1);
            cost.payloadBytes += n;
            p += 3 + n;
            break;
        }
        case kMarkerDelay:
            if (p + 3 > size)
                return cost;
            cost.waitMs += be16(p + 1) + 25;
            p += 3;
            break;
        case kMarkerRead: {
            const qint64 t = p + 2 <= size ? s.indexOf('\0', p + 2) : -1;
            if (t < 0)
                return cost;
            p = t + 1;
            break;
        }
        default:
            return cost;
        }
    }
    return cost;
}
