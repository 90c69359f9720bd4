// Verify mode on a radio link over the fake stick: the programmer switched to
// reading, every tag that arrives compared and reported, the link held busy until
// the mode ends; the records of the results.
#include "default_profiles.h"
#include "driver_tags.h"
#include "radio/tag_buffers.h"
#include "radio/tag_reception.h"
#include "radio_test_util.h"
#include "outbox_drain.h"
#include "records/records_database.h"
#include "station/verification_records.h"
#include "verify/verify_session.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr uint32_t kOwn = 0x0180A2B3;
constexpr uint32_t kProgrammer = 0x01A2B3C4;
constexpr int kLevel0 = 265; // tag address of Level0 in the paired profile

class VerifySessionTest : public RadioLinkTest {
protected:
    QTemporaryDir dir;
    STRUCT_XML_FILE_VARIABLES slot = PairedDriverProfile();
    VerifySession session{link};
    QList<TagVerification> results;
    QList<bool> activity;

    void SetUp() override
    {
        setDatabaseFolder(dir.path());
        tagBuffers = TagBuffers();
        tagReadState = TagReadState();
        slot.cloAdjustEnable = 1;
        slot.Level[0].defaultValue = "80";
        openStick();
        link.ownId = kOwn;
        link.setSendDelay(false); // no waits for the stick's acknowledgements
        link.setReceiverId(QStringLiteral("0x01A2B3C4"));
        InstallTagReception(link);
        QObject::connect(&session, &VerifySession::driverVerified, &session,
                         [this](const TagVerification &r) { results << r; });
        QObject::connect(&session, &VerifySession::activeChanged, &session, [this](bool on) { activity << on; });
    }
    void TearDown() override { setDatabaseFolder(QString()); }

    // The Tavel frame ID of the last telegram written to the stick.
    int lastFrameId() const
    {
        const QByteArray &w = fake.state->writes.last();
        return w.size() > 7 ? quint8(w[7]) : -1;
    }
    void hold(const TagImage &t, const char *endMarker = "19E0")
    {
        QList<QByteArray> frames = TagReadFrames(t);
        frames.last() = QByteArray::fromHex(endMarker);
        for (const QByteArray &f : frames) {
            fake.state->incoming.append(telegramFrom(f, kProgrammer, kOwn));
            link.Timer1Timer();
        }
    }
    TagImage driver(quint64 serial) const
    {
        TagImage t = PairedDriverTagProgrammedWith(slot);
        for (int i = 0; i < 8; ++i)
            t.serial[i] = char(serial >> (8 * (7 - i)));
        return t;
    }
};

TEST_F(VerifySessionTest, EveryTagIsComparedUntilTheModeEnds)
{
    QString why;
    ASSERT_TRUE(session.start(slot, 2, &why)) << why.toStdString();
    EXPECT_EQ(lastFrameId(), 0x13); // switched to reading
    EXPECT_TRUE(link.busy());
    EXPECT_TRUE(session.active());

    TagImage changed = driver(2);
    changed.rwData[kLevel0 - 256 - 2] = char(150);
    hold(driver(1));
    hold(changed);
    hold(driver(3)); // after a failing tag the next one is read afresh
    hold(driver(4), "19E1");
    ASSERT_EQ(results.size(), 4);
    EXPECT_TRUE(results[0].passed) << results[0].differences.join('\n').toStdString();
    EXPECT_EQ(results[0].serial, "0000000000000001");
    EXPECT_EQ(results[0].slot, 2);
    EXPECT_EQ(results[0].programmerId, "0x01A2B3C4");
    EXPECT_FALSE(results[1].passed);
    EXPECT_EQ(results[1].differences, QStringList{"L1: expected 80 %, found 75 %"});
    EXPECT_TRUE(results[2].passed) << results[2].differences.join('\n').toStdString();
    EXPECT_FALSE(results[3].passed);
    EXPECT_EQ(results[3].differences, QStringList{"tag read incomplete: wrong end tag frame (0xE1)"});
    EXPECT_EQ(session.passedCount(), 2);
    EXPECT_EQ(session.failedCount(), 2);
    EXPECT_TRUE(link.busy()); // still on for the next driver

    session.end();
    EXPECT_EQ(lastFrameId(), 0x14); // back to programming
    EXPECT_FALSE(link.busy());
    EXPECT_EQ(activity, QList<bool>({true, false}));
    hold(driver(5)); // a tag after the end is not verified
    EXPECT_EQ(results.size(), 4);
}

TEST_F(VerifySessionTest, RefusedWithoutAPortWhileBusyOrForAProfileThatCannotBeSent)
{
    QString why;
    {
        RadioLink::BusyGuard other(link);
        EXPECT_FALSE(session.start(slot, 1, &why));
        EXPECT_EQ(why, RadioLink::busyRefusalText());
    }
    STRUCT_XML_FILE_VARIABLES broken = slot;
    broken.lifeTime.step = "0";
    EXPECT_FALSE(session.start(broken, 1, &why));
    EXPECT_TRUE(why.startsWith("The profile cannot be verified: ")) << why.toStdString();
    link.CloseCom();
    EXPECT_FALSE(session.start(slot, 1, &why));
    EXPECT_EQ(why, kComPortNotOpened);
    EXPECT_TRUE(fake.state->writes.isEmpty()); // nothing was sent
    EXPECT_FALSE(link.busy());
    EXPECT_TRUE(activity.isEmpty());
}

TEST_F(VerifySessionTest, ThePortClosingEndsTheMode)
{
    ASSERT_TRUE(session.start(slot, 1, nullptr));
    link.CloseCom();
    EXPECT_FALSE(session.active());
    EXPECT_FALSE(link.busy());
    EXPECT_EQ(activity, QList<bool>({true, false}));
}

TEST_F(VerifySessionTest, EachResultBecomesAVerificationRecord)
{
    VerificationRecords records(session);
    ASSERT_TRUE(session.start(slot, 3, nullptr));
    TagImage shortArea = driver(7);
    shortArea.rwData.truncate(8); // Level0 is the last byte on the tag
    shortArea.rwData[kLevel0 - 256 - 2] = char(150);
    hold(driver(6));
    hold(shortArea);
    session.end();

    struct Expected {
        const char *serial;
        const char *result;
        const char *differences;
    };
    const Expected expected[] = {{"0000000000000006", "PASS", ""},
                                 {"0000000000000007", "FAIL",
                                  "L1: expected 80 %, found 75 %\nL2: not on the tag\nL3: not on the tag\n"
                                  "L4: not on the tag\nL5: not on the tag\nDC level: not on the tag"}};
    const OutboxDrain drained = DrainOutbox(); // the records writer's work, here in the test's thread
    ASSERT_EQ(drained.left, 0) << drained.state.reason.toStdString();
    ASSERT_EQ(drained.written, 2);
    for (const Expected &e : expected) {
        VerificationRecord record;
        QString time, error;
        ASSERT_TRUE(NewestVerification(e.serial, &record, &time, &error)) << error.toStdString();
        EXPECT_EQ(record.result, e.result);
        EXPECT_EQ(record.differences, e.differences);
        EXPECT_EQ(record.slot, "3");
        EXPECT_EQ(record.programmerId, "0x01A2B3C4");
        EXPECT_FALSE(time.isEmpty());
    }
}

} // namespace
