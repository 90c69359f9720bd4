// The radio link against the device simulator over a pseudo-terminal: the real
// serial port class, the real timing, the simulated stick and programmer.
#include "devsim_process.h"
#include "records/records_database.h"
#include "profile/profile_defaults.h"
#include "programming/programming_data.h"
#include "radio/radio_link.h"
#include "radio/tavel_frames.h"
#include "radio_test_util.h"
#include "scripted_dialogs.h"
#include "wait_for.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
constexpr uint32_t kChipId = 0x0180A2B3;
const QString kProgrammerId = QStringLiteral("0x01A2B3C4");

class DevsimTest : public ::testing::Test {
public:
    ScriptedDialogs dialogs;
    std::unique_ptr<DevsimProcess> sim;
    std::unique_ptr<RadioLink> link;
    std::unique_ptr<NoticesInDialogs> notices;
    std::unique_ptr<LinkStateRecorder> seen; // what the window would show
    QStringList log;
    QList<QByteArray> frames; // frames the decoder accepted, in order

    QTemporaryDir appData; // the records a transfer writes stay here

    void SetUp() override
    {
        if (!kHaveDevsim)
            GTEST_SKIP() << "tavel-devsim needs a POSIX system";
        setDatabaseFolder(appData.path());
    }
    void start(const QStringList &args = {})
    {
        sim = std::make_unique<DevsimProcess>(args);
        ASSERT_TRUE(sim->ready());
        link = std::make_unique<RadioLink>();
        link->sendDelayLimitMs = 2000;
        seen = std::make_unique<LinkStateRecorder>(*link);
        notices = std::make_unique<NoticesInDialogs>(*link);
        QObject::connect(link.get(), &RadioLink::logLine, link.get(), [this](const QString &l) { log << l; });
        QObject::connect(link.get(), &RadioLink::frameReceived, link.get(),
                         [this](quint8, const QByteArray &f, quint32) { frames << f; });
        link->startReceiveTick();
    }
    void TearDown() override
    {
        link.reset();
        seen.reset();
        sim.reset();
        setDatabaseFolder(QString());
    }
    bool open(int timeoutMs = kWaitLimitMs)
    {
        if (link->TogglePort(sim->pty()) != QLatin1String("Close port"))
            return false;
        return waitFor([this] { return link->ownId != 0; }, timeoutMs);
    }
    bool pair(int timeoutMs = kWaitLimitMs)
    {
        link->SendPairingRequest();
        return waitFor([this] { return link->receiverIdText() == kProgrammerId; }, timeoutMs);
    }
    static QStringList defaultItems()
    {
        STRUCT_XML_FILE_VARIABLES profile;
        ApplyDefaultProfile(profile);
        QStringList items;
        GenerateProgrammingData(profile, DcLevelActiveForSlot(profile), items);
        return items;
    }
    void sendDefaultProfile()
    {
        STRUCT_XML_FILE_VARIABLES profile;
        ApplyDefaultProfile(profile);
        link->SendCurrentDataPackage({profile.editGTIN, profile.editFW, profile.editSerial, profile.editHW},
                                     defaultItems());
    }
    bool transferCompleted(int timeoutMs = kWaitLimitMs)
    {
        return waitFor(
            [this] {
                for (const QByteArray &f : frames)
                    if (!f.isEmpty() && quint8(f[0]) == tavel::kFrameTransferComplete)
                        return true;
                return false;
            },
            timeoutMs);
    }
    QByteArray transferCompleteFrame() const
    {
        for (const QByteArray &f : frames)
            if (!f.isEmpty() && quint8(f[0]) == tavel::kFrameTransferComplete)
                return f;
        return {};
    }
    bool logContains(const QString &start) const
    {
        for (const QString &l : log)
            if (l.startsWith(start))
                return true;
        return false;
    }
};
} // namespace

TEST_F(DevsimTest, OpenPairAndSendTheDefaultProfileByteForByte)
{
    start();
    ASSERT_TRUE(open());
    EXPECT_EQ(link->ownId, kChipId);
    EXPECT_EQ(seen->stickInfo, QStringLiteral("USB300 Stick info: APP Version: 2.6.3b0 API Version: 2.6.0b0"));
    EXPECT_TRUE(seen->dutyCycleButtonEnabled);
    ASSERT_TRUE(pair());
    EXPECT_EQ(seen->receiverFwText, QStringLiteral("2.10"));

    ASSERT_EQ(defaultItems().join(QLatin1Char(';')),
              QStringLiteral("00E65E;00E701;00E8FF;00E9C8;00EAC8;00EBC8;00ECC8;00EDC8;00EEFE"));
    sendDefaultProfile();
    ASSERT_TRUE(transferCompleted());
    EXPECT_EQ(quint8(transferCompleteFrame()[1]), link->transferChecksum);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.texts().join(QLatin1Char('|')).toStdString();

    // What the stick received, byte for byte.
    const QString head = QStringLiteral("55 00 0F 07 01 2B D1 ");
    const QString tail = QStringLiteral(" 01 80 A2 B3 00 03 01 A2 B3 C4 FF 00 C9");
    const QStringList frameTexts = {
        "0E 00 12 34 56 78 90 12 C6", "0E 01 00 00 00 00 00 00 2D", "0E 02 00 00 00 00 00 00 4B",
        "0F 00 09 00 00 00 E6 5E 27", "0F 00 09 00 01 00 E7 01 BE", "0F 00 09 00 02 00 E8 FF B3",
        "0F 00 09 00 03 00 E9 C8 35", "0F 00 09 00 04 00 EA C8 68", "0F 00 09 00 05 00 EB C8 6B",
        "0F 00 09 00 06 00 EC C8 3A", "0F 00 09 00 07 00 ED C8 39", "0F 00 09 00 08 00 EE FE 56",
    };
    QStringList expected = {QStringLiteral("55 00 01 00 05 70 03 09"),
                            QStringLiteral("55 00 07 07 01 7A D1 10 01 80 A2 B3 00 03 FF FF FF FF FF 00 B3")};
    for (const QString &f : frameTexts)
        expected << head + f + tail;
    EXPECT_EQ(sim->received(), expected);
}

// The simulator (stick and programmer) killed in the middle of a send: the send
// ends without waiting for acknowledgements, with one message that says how many
// frames went out, the port closed and nothing recorded; started again on the same
// port, the stick is opened again and the next send goes through.
TEST_F(DevsimTest, KilledMidSendThenBackTheLinkRecovers)
{
    QTemporaryDir dir;
    const QString stick = dir.filePath(QStringLiteral("stick"));
    start({QStringLiteral("--link"), stick});
    ASSERT_TRUE(link->TogglePort(stick) == QLatin1String("Close port"));
    ASSERT_TRUE(waitFor([this] { return link->ownId != 0; }, kWaitLimitMs));
    ASSERT_TRUE(pair());
    int confirmed = 0;
    QObject::connect(link.get(), &RadioLink::transferConfirmed, link.get(), [&] { ++confirmed; });
    QStringList lost;
    QObject::connect(link.get(), &RadioLink::linkLost, link.get(),
                     [&](const QString &port, const QString &) { lost << port; });
    // The simulator goes away once the fourth frame is out.
    bool killAtFour = true;
    QObject::connect(link.get(), &RadioLink::transferProgress, link.get(), [&](int sent, int) {
        if (killAtFour && sent == 4)
            sim->stop();
    });
    dialogs.clear();
    sendDefaultProfile();
    EXPECT_FALSE(link->isPortOpen());
    // The pairing's notice may come up during the send; about the link, one message.
    QList<RecordedMessage> comErrors;
    for (const RecordedMessage &m : dialogs.messages)
        if (m.caption == QLatin1String("COM Error") || m.caption == QLatin1String("Fehler"))
            comErrors << m;
    ASSERT_EQ(comErrors.size(), 1) << dialogs.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(comErrors[0].caption, QStringLiteral("COM Error"));
    // The fifth frame may still have been on its way when the port went.
    const int total = 3 + int(defaultItems().size());
    const QString text = comErrors[0].text;
    EXPECT_TRUE(text.startsWith(TransferLostText(4, total)) || text.startsWith(TransferLostText(5, total)))
        << text.toStdString();
    EXPECT_EQ(lost, QStringList{stick});
    EXPECT_EQ(confirmed, 0);
    EXPECT_FALSE(link->transferAwaitingConfirmation);
    EXPECT_FALSE(link->ReopenLostPort()) << "the stick is not back yet";

    // Back on the same port: opened again without a word, the stick answers.
    killAtFour = false;
    sim = std::make_unique<DevsimProcess>(QStringList{QStringLiteral("--link"), stick});
    ASSERT_TRUE(sim->ready());
    ASSERT_TRUE(waitFor([this] { return link->ReopenLostPort(); }, kWaitLimitMs));
    ASSERT_TRUE(waitFor([this] { return link->ownId != 0; }, kWaitLimitMs));
    ASSERT_TRUE(pair());
    dialogs.clear();
    frames.clear();
    sendDefaultProfile();
    EXPECT_TRUE(transferCompleted());
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.texts().join(QLatin1Char('|')).toStdString();
}

TEST_F(DevsimTest, FaultsEndInTheSystemsMessagesNeverInAHang)
{
    struct Case {
        const char *name;
        QStringList args;
        std::function<void(DevsimTest &)> check;
    };
    const QList<Case> cases = {
        {"no acknowledgement: every frame waits the limit, the transfer still goes out",
         {"--no-ack"},
         [](DevsimTest &t) {
             t.link->sendDelayLimitMs = 150;
             ASSERT_TRUE(t.open());
             ASSERT_TRUE(t.pair());
             QElapsedTimer timer;
             timer.start();
             t.sendDefaultProfile();
             EXPECT_GE(timer.elapsed(), 11 * 150);
             EXPECT_TRUE(t.transferCompleted());
             EXPECT_EQ(t.sim->received().size(), 14);
             EXPECT_FALSE(t.logContains(QStringLiteral("<- ok")));
         }},
        {"a wrong ESP3 CRC: logged, dropped, no own ID",
         {"--wrong-crc", "esp3"},
         [](DevsimTest &t) {
             EXPECT_FALSE(t.open(700));
             EXPECT_TRUE(t.logContains(QStringLiteral("Error: Data CRC8 wrong! calc: 0x")));
             EXPECT_EQ(t.link->ownId, 0u);
         }},
        {"a wrong pairing CRC: logged, the pairing unchanged",
         {"--wrong-crc", "pairing"},
         [](DevsimTest &t) {
             ASSERT_TRUE(t.open());
             EXPECT_FALSE(t.pair(700));
             EXPECT_TRUE(t.logContains(QStringLiteral("Error: CRC8 calculated: 0x")));
             EXPECT_EQ(t.link->receiverIdText(), QStringLiteral("0x12345678"));
         }},
        {"a wrong transfer checksum: the mismatch line",
         {"--wrong-crc", "transfer"},
         [](DevsimTest &t) {
             ASSERT_TRUE(t.open());
             ASSERT_TRUE(t.pair());
             t.sendDefaultProfile();
             ASSERT_TRUE(t.transferCompleted());
             EXPECT_NE(quint8(t.transferCompleteFrame()[1]), t.link->transferChecksum);
             EXPECT_TRUE(t.logContains(QStringLiteral("Error: CRC8 of transfered data wrong! calculated: 0x")));
         }},
        {"noise between packets",
         {"--noise", "7"},
         [](DevsimTest &t) {
             ASSERT_TRUE(t.open());
             ASSERT_TRUE(t.pair());
             t.sendDefaultProfile();
             EXPECT_TRUE(t.transferCompleted());
         }},
        {"packets split over reads",
         {"--split", "150"},
         [](DevsimTest &t) {
             ASSERT_TRUE(t.open());
             ASSERT_TRUE(t.pair());
             EXPECT_TRUE(t.logContains(QStringLiteral("Warning: Not enough chars in buffer for complete frame!")));
         }},
        {"slow answers",
         {"--slow", "400"},
         [](DevsimTest &t) {
             ASSERT_TRUE(t.open());
             ASSERT_TRUE(t.pair());
         }},
        {"the port vanishes mid-transfer",
         {"--vanish-after", "4"},
         [](DevsimTest &t) {
             ASSERT_TRUE(t.open());
             ASSERT_TRUE(t.pair());
             // (That no wait for an acknowledgement outlasts the port is shown by the
             // radio link's own tests on a clock of their own.)
             t.sendDefaultProfile();
             waitFor([&t] { return !t.link->isPortOpen(); }, kWaitLimitMs);
             EXPECT_FALSE(t.link->isPortOpen());
             // One message, naming how far the transfer got and what to do.
             ASSERT_EQ(t.dialogs.messages.size(), 1) << t.dialogs.texts().join(QLatin1Char('|')).toStdString();
             EXPECT_EQ(t.dialogs.messages[0].caption, QStringLiteral("COM Error"));
             EXPECT_TRUE(t.dialogs.messages[0].text.contains(
                 QStringLiteral(" of %1 frames sent; the transfer is incomplete and was not recorded")
                     .arg(3 + defaultItems().size())))
                 << t.dialogs.messages[0].text.toStdString();
             EXPECT_FALSE(t.link->transferAwaitingConfirmation);
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.clear();
        log.clear();
        frames.clear();
        start(c.args);
        c.check(*this);
        link.reset();
        seen.reset();
        sim.reset();
    }
}
