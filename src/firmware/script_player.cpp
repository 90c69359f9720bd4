#include "firmware/script_player.h"

#include "common/dialogs.h"
#include "common/hex_text.h"
#include "firmware/firmware_script.h"
#include "serial/tcom_class.h"

#include <QElapsedTimer>
#include <QLocale>
#include <QThread>

namespace {

quint16 be16(const QByteArray &s, qint64 at)
{
    return quint16((quint8(s[at]) << 8) | quint8(s[at + 1]));
}
} // namespace

FirmwareScriptPlayer::FirmwareScriptPlayer(Hooks hooks) : hooks_(std::move(hooks))
{
    if (!hooks_.nowMs) {
        auto clock = std::make_shared<QElapsedTimer>();
        clock->start();
        hooks_.nowMs = [clock] { return double(clock->nsecsElapsed()) / 1e6; };
    }
    if (!hooks_.sleepMs)
        hooks_.sleepMs = [](int ms) { QThread::msleep(ulong(qMax(0, ms))); };
}

void FirmwareScriptPlayer::log(const QString &line)
{
    if (hooks_.log)
        hooks_.log(line);
}

void FirmwareScriptPlayer::truncated(char marker, qint64 position)
{
    // A record that runs past the end of the script is not played at all.
    log(QStringLiteral("Error while reading the file"));
    log(QStringLiteral("Record %1 at Position 0x%2 runs past the end of the file")
            .arg(QLatin1Char(marker))
            .arg(HexDigits(quint64(position), 4)));
}

void FirmwareScriptPlayer::waitWithCountdown(int w)
{
    // Measured from this wait's own start, so the wait is never shorter than w,
    // whatever the clock read before it.
    const double start = hooks_.nowMs();
    const QLocale locale;
    for (double remaining = w; remaining > 0; remaining = w - (hooks_.nowMs() - start)) {
        log(QStringLiteral("... ") + locale.toString(remaining / 1000.0, 'f', 3) + QStringLiteral("s left"));
        if (remaining > kCountdownSliceMs)
            hooks_.sleepMs(kCountdownSliceMs);
        else if (remaining > 1.1)
            hooks_.sleepMs(int(remaining / 1.1));
        else
            hooks_.sleepMs(1); // the last fraction of a millisecond: sleep, do not spin
    }
}

FirmwareScriptPlayer::Outcome FirmwareScriptPlayer::play(const QByteArray &script, TComClass &port)
{
    const qint64 size = script.size();
    log(QStringLiteral("Filesize: ") + QString::number(size));
    qint64 p = 0;
    while (p < size) {
        const char marker = script[p];
        qint64 next = p + 1;
        bool stop = false;
        bool error = false;
        switch (marker) {
        case kMarkerVersion: {
            if (p + 2 > size) {
                truncated(marker, p);
                return Outcome::Stopped;
            }
            const quint8 version = quint8(script[p + 1]);
            log(QStringLiteral("Version found ") + QString::number(version));
            if (version != 0)
                log(QStringLiteral("wrong File-Version"));
            next = p + 2;
            break;
        }
        case kMarkerClear:
            log(QStringLiteral("Clear marker found"));
            port.ClearCom();
            break;
        case kMarkerSend: {
            if (p + 3 > size) {
                truncated(marker, p);
                return Outcome::Stopped;
            }
            const quint16 n = be16(script, p + 1);
            log(QStringLiteral("data found, anzahl") + QString::number(n));
            if (n == 0) {
                log(QStringLiteral("Length Null!"));
                stop = error = true;
                next = p + 3;
                break;
            }
            if (p + 3 + n > size) {
                truncated(marker, p);
                return Outcome::Stopped;
            }
            log(QStringLiteral("...Send data"));
            if (port.WriteCom(script.constData() + p + 3, n) == TComClass::kError) {
                dialogs().message(QStringLiteral("Error"),
                                  QStringLiteral("Error during Firmware Transfer!\nPlease check cable connection and retry!"),
                                  MsgButtons::OK, MsgIcon::Error);
                stop = error = true;
            }
            next = p + 3 + n;
            break;
        }
        case kMarkerDelay: {
            if (p + 3 > size) {
                truncated(marker, p);
                return Outcome::Stopped;
            }
            log(QStringLiteral("Delay marker found"));
            const int w = be16(script, p + 1) + kDelayExtraMs;
            log(QStringLiteral("...delay ") + QString::number(w));
            waitWithCountdown(w);
            next = p + 3;
            break;
        }
        case kMarkerRead: {
            // Parameter byte, then the accepted replies ended by 0x00.
            const qint64 listStart = p + 2;
            const qint64 terminator = listStart <= size ? script.indexOf('\0', listStart) : -1;
            if (terminator < 0) {
                truncated(marker, p);
                return Outcome::Stopped;
            }
            log(QStringLiteral("Read marker found"));
            const int parameter = quint8(script[p + 1]);
            char reply = 0;
            int count = 0;
            const int rc = port.ReadCom(parameter * 11, &reply, 1, count);
            next = terminator + 1;
            if (rc != TComClass::kDone || count < 1) {
                log(QStringLiteral("nothing to read"));
                stop = error = true;
                break;
            }
            // The terminator takes part in the comparison, so a reply 0x00 matches too.
            bool matched = false;
            for (qint64 i = listStart; i <= terminator; ++i) {
                if (script[i] == reply) {
                    log(QStringLiteral("Matching ACK received :-)"));
                    matched = true;
                }
            }
            if (!matched) {
                log(QStringLiteral("No Matching ACK received 0x") + HexByte(quint8(reply)));
                stop = error = true;
            }
            break;
        }
        case kMarkerEnd:
            log(QStringLiteral("EOF marker found"));
            stop = true;
            break;
        default:
            log(QStringLiteral("Error while reading the file"));
            log(QStringLiteral("Character 0x") + HexByte(quint8(marker)) + QStringLiteral(" at Position 0x")
                + HexDigits(quint64(p), 4));
            stop = error = true;
            break;
        }
        p = next;
        if (hooks_.progress)
            hooks_.progress(int(qMin(p, size) * 100 / size));
        if (stop)
            return error ? Outcome::Stopped : Outcome::Finished;
    }
    return Outcome::Finished;
}
