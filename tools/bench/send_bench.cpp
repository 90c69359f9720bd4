// Sends the default profile to tavel-devsim (immediate acknowledgements) through
// the radio link and prints the time from the first frame to the programmer's
// transfer-complete frame, per run and as the median. Target: at most 2 s.
//
//   send_bench [--runs N] [--devsim PATH]

#include "common/dialogs.h"
#include "devsim_process.h"
#include "profile/profile_defaults.h"
#include "programming/programming_data.h"
#include "radio/radio_link.h"
#include "radio/tavel_frames.h"
#include "wait_for.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
int fail(const char *what)
{
    std::fprintf(stderr, "send_bench: %s\n", what);
    return 1;
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int runs = 5;
    QString devsim = QCoreApplication::applicationDirPath() + QStringLiteral("/tavel-devsim");
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--runs") && i + 1 < args.size())
            runs = std::max(1, args[++i].toInt());
        else if (args[i] == QLatin1String("--devsim") && i + 1 < args.size())
            devsim = args[++i];
        else {
            std::fprintf(stderr, "usage: send_bench [--runs N] [--devsim PATH]\n");
            return 2;
        }
    }

    DevsimProcess sim({}, devsim);
    if (!sim.ready())
        return fail(qPrintable(sim.error()));
    const QString pty = sim.pty();

    RadioLink link;
    link.startReceiveTick();
    QElapsedTimer clock;
    qint64 completeAt = -1;
    QObject::connect(&link, &RadioLink::frameReceived, &link, [&](quint8 id, const QByteArray &, quint32) {
        if (id == tavel::kFrameTransferComplete)
            completeAt = clock.elapsed();
    });
    if (link.TogglePort(pty) != QLatin1String("Close port") || !waitFor([&] { return link.ownId != 0; }, 3000))
        return fail("the simulated stick does not answer");
    link.SendPairingRequest();
    if (!waitFor([&] { return link.receiverIdText() == QLatin1String("0x01A2B3C4"); }, 3000))
        return fail("the simulated programmer does not pair");

    STRUCT_XML_FILE_VARIABLES profile;
    ApplyDefaultProfile(profile);
    QStringList items;
    GenerateProgrammingData(profile, DcLevelActiveForSlot(profile), items);
    const IdentityFields identity{profile.editGTIN, profile.editFW, profile.editSerial, profile.editHW};

    std::printf("default profile: %d frames (3 identity + %d programming data), receive tick 110 ms\n",
                int(3 + items.size()), int(items.size()));
    std::vector<qint64> times;
    for (int r = 0; r < runs; ++r) {
        completeAt = -1;
        clock.start();
        link.SendCurrentDataPackage(identity, items);
        const qint64 sentAt = clock.elapsed();
        if (!waitFor([&] { return completeAt >= 0; }, 5000))
            return fail("no transfer-complete frame");
        std::printf("run %d: frames sent in %lld ms, first frame to transfer complete %lld ms\n", r + 1,
                    static_cast<long long>(sentAt), static_cast<long long>(completeAt));
        times.push_back(completeAt);
        link.stickAcknowledged = true;
        link.lastFrameSentMs = 0;
    }
    std::sort(times.begin(), times.end());
    const qint64 median = times[times.size() / 2];
    std::printf("median %lld ms (target at most 2000 ms): %s\n", static_cast<long long>(median),
                median <= 2000 ? "met" : "NOT met");
    link.CloseCom();
    return 0;
}
