// Fuzz target: the firmware script player against a fake bootloader. The first
// byte n says how many of the following bytes are the bootloader's answers; the
// rest is the script. Every write of the player is answered with the next answer
// byte (cycling; none when there are no answers, so reads time out): a bootloader
// that answers the acknowledgement a script expects, or garbage. Delays run on a
// clock that moves only when the player sleeps.
#include "fuzz_targets.h"

#include "fake_serial_port.h"
#include "firmware/script_player.h"
#include "serial/tcom_class.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

int FuzzFirmwarePlayer(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const size_t answerCount = std::min<size_t>(data[0], size - 1);
    const QByteArray answers(reinterpret_cast<const char *>(data + 1), qsizetype(answerCount));
    const QByteArray script(reinterpret_cast<const char *>(data + 1 + answerCount), qsizetype(size - 1 - answerCount));

    FakePortInstaller fake;
    qsizetype nextAnswer = 0;
    fake.state->onWrite = [&](const QByteArray &) {
        if (answers.isEmpty())
            return;
        fake.state->incoming.append(QByteArray(1, answers[nextAnswer % answers.size()]));
        ++nextAnswer;
    };
    TComClass port(QStringLiteral("bootloader"));
    if (port.GetComState() != 0) {
        std::fprintf(stderr, "the fake bootloader's port did not open\n");
        std::abort();
    }

    double now = 0;
    int lastProgress = -1;
    FirmwareScriptPlayer::Hooks hooks;
    hooks.nowMs = [&] { return now; };
    hooks.sleepMs = [&](int ms) {
        if (ms < 0) {
            std::fprintf(stderr, "sleep of %d ms\n", ms);
            std::abort();
        }
        now += ms;
    };
    hooks.progress = [&](int percent) {
        if (percent < 0 || percent > 100 || percent < lastProgress) {
            std::fprintf(stderr, "progress %d after %d\n", percent, lastProgress);
            std::abort();
        }
        lastProgress = percent;
    };
    FirmwareScriptPlayer player(hooks);
    (void)player.play(script, port);
    // Everything the player sent is a part of the script's send records.
    qsizetype sent = 0;
    for (const QByteArray &w : fake.state->writes)
        sent += w.size();
    if (sent > script.size()) {
        std::fprintf(stderr, "sent %lld bytes of a %lld-byte script\n", static_cast<long long>(sent),
                     static_cast<long long>(script.size()));
        std::abort();
    }
    return 0;
}
