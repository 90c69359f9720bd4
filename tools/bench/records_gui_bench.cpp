// Records and the window's event loop: a send of the default profile to
// tavel-devsim, which reports 6 drivers, through the desktop program's own
// objects (main window with its records writer, radio link, programmer records;
// offscreen, message boxes answered at once), with the records going to
//   - the SQLite files,
//   - a PostgreSQL server that accepts connections and never answers,
//   - a PostgreSQL server whose record tables another session holds locked,
//   - a PostgreSQL server that was stopped.
// For each it prints the worst lateness of a 10 ms timer of the window's event
// loop from the first frame to the sixth driver (target: at most 50 ms) and the
// records left pending. With --direct the records are written as they were
// before the outbox, on the window's thread in the slot of the driver report
// (the figures before the change; the same time-outs apply).
//
// usage: records_gui_bench [--direct] [--devsim PATH] [--only sqlite|silent|locked|stopped]

#include "common/dialogs.h"
#include "default_profiles.h"
#include "desktop/main_window.h"
#include "devsim_process.h"
#include "outbox_append_timing.h"
#include "pg_table_lock.h"
#include "pg_test_server.h"
#include "profile/profile_record.h"
#include "programming/programming_data.h"
#include "radio/radio_link.h"
#include "records/records_database.h"
#include "records/records_writer.h"
#include "scripted_dialogs.h"
#include "silent_listener.h"
#include "station/programmer_records.h"
#include "wait_for.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace {

struct Outcome {
    bool ok = false;
    QString error;
    qint64 worstLatenessMs = 0;
    qint64 sendMs = 0;
    int drivers = 0;
    int pending = 0;
};

Outcome sendSixDrivers(const QString &devsim, const QString &store, bool direct, const QString &folder)
{
    Outcome o;
    setDatabaseFolder(folder);
    QString error;
    if (!setRecordsLocation(store, &error)) {
        o.error = error;
        return o;
    }
    DevsimProcess sim({"--drivers", "6"}, devsim);
    if (!sim.ready()) {
        o.error = sim.error();
        return o;
    }
    auto form = std::make_unique<TForm1>(QStringList{QStringLiteral("tavel-nfc-config")});
    // After the window, which loads the default profile into the three slots.
    settingsVariablesField = DefaultSlots();
    settingsVariablesField[0] = PairedDriverProfile();
    setActiveSlot(1);
    RadioLink link;
    std::unique_ptr<ProgrammerRecords> records;
    if (direct) {
        QObject::connect(&link, &RadioLink::driverProgrammed, &link,
                         [](const QString &ownId, const QString &programmerId, const QString &serial) {
                             int place = 0;
                             for (const STRUCT_XML_FILE_VARIABLES &p : settingsVariablesField)
                                 if (p.enOcean_HandHeldID == programmerId)
                                     WriteDriversToDatabaseInAppdataWithSettings(p.programmer_Nfc_FW, ownId,
                                                                                 programmerId, serial, nullptr, place++);
                         });
        QObject::connect(&link, &RadioLink::transferConfirmed, &link, [] { WriteSettingsToDatabaseInAppdata(); });
    } else {
        records = std::make_unique<ProgrammerRecords>(link);
        QObject::connect(form.get(), &TForm1::repeatRecorded, records.get(), &ProgrammerRecords::logRepeat);
    }
    QObject::connect(&link, &RadioLink::driverProgrammed, &link, [&o] { ++o.drivers; });
    if (qEnvironmentVariableIsSet("RECORDS_BENCH_LOG"))
        QObject::connect(&link, &RadioLink::logLine, &link,
                         [](const QString &line) { std::fprintf(stderr, "%s\n", qPrintable(line)); });
    link.startReceiveTick();
    if (link.TogglePort(sim.pty()) != QLatin1String("Close port") || !waitFor([&] { return link.ownId != 0; }, 5000)) {
        o.error = QStringLiteral("the simulated stick does not answer");
        return o;
    }
    link.SendPairingRequest();
    if (!waitFor([&] { return link.receiverIdText() == settingsVariablesField[0].enOcean_HandHeldID; }, 5000)) {
        o.error = QStringLiteral("the simulated programmer does not pair");
        return o;
    }
    QStringList items;
    GenerateProgrammingData(settingsVariablesField[0], DcLevelActiveForSlot(settingsVariablesField[0]), items);
    const STRUCT_XML_FILE_VARIABLES &p = settingsVariablesField[0];
    const IdentityFields identity{p.editGTIN, p.editFW, p.editSerial, p.editHW};

    // The probe: a 10 ms timer of the window's event loop, and how late it comes.
    QElapsedTimer since;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(10);
    QObject::connect(&probe, &QTimer::timeout, &probe, [&] {
        o.worstLatenessMs = std::max(o.worstLatenessMs, since.restart() - 10);
    });
    QElapsedTimer send;
    send.start();
    since.start();
    probe.start();
    link.SendCurrentDataPackage(identity, items);
    const bool all = waitFor([&] { return o.drivers >= 6; }, 60000);
    probe.stop();
    o.sendMs = send.elapsed();
    if (!all) {
        o.error = QStringLiteral("%1 of 6 drivers reported").arg(o.drivers);
        return o;
    }
    o.pending = PendingRecordCount();
    o.ok = true;
    link.TogglePort(sim.pty());
    form.reset(); // stops the writer; the records stay in the folder's outbox
    return o;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ScriptedDialogs dialogs; // every message box answered at once
    bool direct = false;
    QString only;
    QString devsim = QCoreApplication::applicationDirPath() + QStringLiteral("/tavel-devsim");
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--direct"))
            direct = true;
        else if (args[i] == QLatin1String("--devsim") && i + 1 < args.size())
            devsim = args[++i];
        else if (args[i] == QLatin1String("--only") && i + 1 < args.size())
            only = args[++i];
        else {
            std::fprintf(stderr, "usage: records_gui_bench [--direct] [--devsim PATH] [--only sqlite|silent|locked|stopped]\n");
            return 2;
        }
    }
    std::printf("records written %s; 6 drivers per send\n",
                direct ? "directly on the window's thread (the path before the outbox)"
                       : "through the outbox and the records writer");
    PgTestServer server(true);
    SilentListener silent;
    bool allMet = true;
    const char *names[] = {"sqlite", "silent", "locked", "stopped"};
    for (const char *name : names) {
        if (!only.isEmpty() && only != QLatin1String(name))
            continue;
        QTemporaryDir folder;
        QString store = folder.path();
        std::unique_ptr<PgTableLock> lock;
        if (qstrcmp(name, "silent") == 0) {
            store = QStringLiteral("postgresql://127.0.0.1:%1/records?user=tavel").arg(silent.port());
        } else if (qstrcmp(name, "locked") == 0 || qstrcmp(name, "stopped") == 0) {
            if (!server.ok()) {
                std::printf("%-8s skipped: %s\n", name, qPrintable(server.error()));
                continue;
            }
            store = server.freshDatabase();
            QString error;
            setRecordsLocation(store, nullptr);
            PrepareRecordDatabases(&error); // the tables, so that they can be locked
            if (qstrcmp(name, "locked") == 0)
                lock = std::make_unique<PgTableLock>(store);
            else
                server.pause();
        }
        const Outcome o = sendSixDrivers(devsim, store, direct, folder.path());
        if (qstrcmp(name, "stopped") == 0)
            server.resume();
        if (!o.ok) {
            std::printf("%-8s failed: %s\n", name, qPrintable(o.error));
            allMet = false;
            continue;
        }
        const bool met = o.worstLatenessMs <= 50;
        allMet = allMet && met;
        std::printf("%-8s event loop blocked at most %5lld ms (target at most 50 ms): %-7s  send to 6th driver %6lld ms, "
                    "%d records pending\n",
                    name, static_cast<long long>(o.worstLatenessMs), met ? "met" : "NOT met",
                    static_cast<long long>(o.sendMs), o.pending);
        std::fflush(stdout);
    }
    setRecordsLocation(QString(), nullptr);
    // The append the radio path makes for every record, in a folder of its own on this disk.
    QTemporaryDir appendFolder(QDir::current().filePath(QStringLiteral("records_gui_bench-XXXXXX")));
    setDatabaseFolder(appendFolder.path());
    const OutboxAppendTimes appends = TimeOutboxAppends(500, 0);
    if (appends.ok)
        PrintOutboxAppendTimes(appends);
    else
        std::printf("outbox appends failed\n");
    allMet = allMet && appends.ok && appends.met();
    setDatabaseFolder(QString());
    return allMet ? 0 : 1;
}
