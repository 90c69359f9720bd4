// A driver's tag compared with its profile slot: every parameter a transfer
// writes, the lossy DC byte, parameters outside the tag's area, identity and
// read faults.
#include "default_profiles.h"
#include "driver_tags.h"
#include "verify/tag_verification.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

// Tag address of each parameter in the paired profile (descriptor addresses).
constexpr int kCurrentLow = 262, kCurrentHigh = 263, kLifeTime = 264, kLevel0 = 265, kDc = 270;

class TagVerificationTest : public ::testing::Test {
protected:
    STRUCT_XML_FILE_VARIABLES slot;
    TagBuffers tag;
    TagReadState state;

    // Also run again by the table tests before each case.
    void SetUp() override
    {
        slot = PairedDriverProfile();
        state = TagReadState();
        slot.currentAdjustEnable = slot.cloAdjustEnable = slot.dclevelAdjustEnable = 1;
        slot.lifeTime.defaultValue = "50000";
        slot.Level[0].defaultValue = "80";
        slot.Level[1].defaultValue = "82.5";
        slot.Level[2].defaultValue = "70";
        slot.Level[3].defaultValue = "60";
        slot.Level[4].defaultValue = "50";
        slot.dcLevel.defaultValue = "51";
        state.identComplete = state.identChecksumOk = state.rwComplete = state.rwChecksumOk = state.rComplete =
            state.rChecksumOk = true;
        program();
    }

    // The tag as the programmer writes a transfer of `slot` into it.
    void program(int rwStart = 256, int rwSize = 30)
    {
        LoadTagIntoBuffers(PairedDriverTagProgrammedWith(slot, rwStart, rwSize), tag);
    }
    void setByte(int address, uint8_t value) { tag.rw[size_t(address - tag.rwStart())] = value; }
    TagVerification verify() const { return VerifyTag(tag, state, slot); }
};

TEST_F(TagVerificationTest, ATagHoldingWhatWasSentPasses)
{
    const TagVerification r = verify();
    EXPECT_TRUE(r.passed);
    EXPECT_TRUE(r.differences.isEmpty()) << r.differences.join('\n').toStdString();
    EXPECT_EQ(r.serial, "0000000000012345");
    EXPECT_EQ(VerificationLines(r), QStringList({"PASS 0000000000012345"}));
}

TEST_F(TagVerificationTest, EachChangedParameterFailsNamingExactlyIt)
{
    const QString half = QStringLiteral("40") + QLocale().decimalPoint() + "5";
    struct Case {
        int address;
        uint8_t value;
        QString difference;
    };
    // Named and measured as the editor shows them: the CLO levels are L1 ... L5.
    const Case cases[] = {
        {kCurrentLow, 0xF5, "Nominal current: expected 500 mA, found 501 mA"},
        {kCurrentHigh, 0x02, "Nominal current: expected 500 mA, found 756 mA"},
        {kLifeTime, 99, "Lifetime: expected 50000 h, found 49500 h"},
        {kLevel0, 150, "L1: expected 80 %, found 75 %"},
        {kLevel0 + 1, 81, "L2: expected 82" + QString(QLocale().decimalPoint()) + "5 %, found " + half + " %"},
        {kLevel0 + 2, 0, "L3: expected 70 %, found 0 %"},
        {kLevel0 + 3, 200, "L4: expected 60 %, found 100 %"},
        {kLevel0 + 4, 101, "L5: expected 50 %, found 50" + QString(QLocale().decimalPoint()) + "5 %"},
        {kDc, 0xE4, "DC level: expected 51 % (byte E5), found 49 % (byte E4)"},
        {kDc, 0xFF, "DC level: expected 51 % (byte E5), found OFF (byte FF)"},
    };
    for (const Case &c : cases) {
        SetUp();
        setByte(c.address, c.value);
        const TagVerification r = verify();
        EXPECT_FALSE(r.passed) << c.address;
        EXPECT_EQ(r.differences, QStringList{c.difference}) << r.differences.join('\n').toStdString();
        EXPECT_EQ(VerificationLines(r), QStringList({"FAIL 0000000000012345", "    " + c.difference}));
    }
}

TEST_F(TagVerificationTest, DcLevelsComparedInTheStoredByte)
{
    // The DC curve is lossy: what counts is the byte a transfer writes.
    struct Case {
        const char *slotValue;
        uint8_t tagByte;
        bool passes;
    };
    const Case cases[] = {
        {"99", 0xFE, true},  // 99 % and 100 % are both byte FE
        {"100", 0xFE, true},
        {"50", 0xE5, true},  // 50 % is stored as E5, which reads back as 51 %
        {"51", 0xE5, true},
        {"50", 0xE4, false},
        {"0", 0x00, true},
        {"255", 0xFF, true}, // DC off
        {"255", 0xFE, false},
    };
    for (const Case &c : cases) {
        SetUp();
        slot.dcLevel.defaultValue = c.slotValue;
        setByte(kDc, c.tagByte);
        const TagVerification r = verify();
        EXPECT_EQ(r.passed, c.passes) << c.slotValue << " " << int(c.tagByte) << " "
                                      << r.differences.join('\n').toStdString();
    }
    slot.dcLevel.defaultValue = "255";
    setByte(kDc, 0xFE);
    EXPECT_EQ(verify().differences, QStringList{"DC level: expected OFF (byte FF), found 100 % (byte FE)"});
}

TEST_F(TagVerificationTest, ParametersOutsideTheTagsAreaAreNotOnTheTag)
{
    // Eight data bytes from 258: current, lifetime and Level0 are on the tag
    // (265 is the last byte), the other levels and DC are not.
    program(256, 8);
    TagVerification r = verify();
    EXPECT_FALSE(r.passed);
    EXPECT_EQ(r.differences, QStringList({"L2: not on the tag", "L3: not on the tag", "L4: not on the tag",
                                          "L5: not on the tag", "DC level: not on the tag"}));
    // The bytes beyond the announced size are never taken, whatever the buffer holds.
    tag.rw[size_t(kLevel0 + 1 - 256)] = 165;
    EXPECT_EQ(verify().differences.first(), "L2: not on the tag");

    // The current's high byte is the first byte of the area: its low byte lies before it.
    program(kCurrentHigh - 2, 30);
    r = verify();
    EXPECT_EQ(r.differences, QStringList{"Nominal current: not on the tag"});

    // An area starting above every parameter: nothing of the slot is on the tag.
    program(400, 30);
    EXPECT_EQ(verify().differences.size(), 8);
    EXPECT_FALSE(verify().passed);
}

TEST_F(TagVerificationTest, OnlyWhatTheSlotWritesIsCompared)
{
    slot.currentAdjustEnable = 0;
    setByte(kCurrentLow, 0x00);
    EXPECT_TRUE(verify().passed);
    slot.cloAdjustEnable = 0;
    setByte(kLevel0, 0x00);
    EXPECT_TRUE(verify().passed);
    slot.dclevelAdjustEnable = 0;
    setByte(kDc, 0x00);
    EXPECT_TRUE(verify().passed);
    // Nothing written, but still the identity.
    tag.ident[10] = 0x99;
    EXPECT_FALSE(verify().passed);
}

TEST_F(TagVerificationTest, AnotherIdentityFailsWithoutComparingTheParameters)
{
    struct Case {
        int identByte; // tag ident byte changed
        QString difference;
    };
    const Case cases[] = {
        {10, "GTIN: expected 001122334455, found FF1122334455"},
        {16, "FW: expected 0102, found FE02"},
        {27, "HW: expected 0A0B, found 0AF4"},
    };
    for (const Case &c : cases) {
        SetUp();
        tag.ident[size_t(c.identByte)] ^= 0xFF;
        setByte(kLevel0, 0); // not compared
        const TagVerification r = verify();
        EXPECT_FALSE(r.passed);
        EXPECT_EQ(r.differences, QStringList({c.difference, "parameters not compared: the driver's identity is not "
                                                            "the profile's"}));
    }
    // FW and HW count only where the slot holds them; the GTIN always.
    SetUp();
    slot.editFW.clear();
    slot.editHW.clear();
    tag.ident[16] = tag.ident[27] = 0x77;
    EXPECT_TRUE(verify().passed);
    slot.editGTIN.clear();
    EXPECT_FALSE(verify().passed);
}

TEST_F(TagVerificationTest, AnIncompleteOrDamagedReadFailsWithItsReason)
{
    struct Case {
        bool TagReadState::*flag;
        QString reason;
    };
    const Case cases[] = {
        {&TagReadState::identComplete, "tag read incomplete: identity block 1 of 5 expected"},
        {&TagReadState::identChecksumOk, "Error: TAG Ident CRC16 wrong"},
        {&TagReadState::rwComplete, "tag read incomplete: 0 of 0 RW blocks"},
        {&TagReadState::rwChecksumOk, "Error: TAG RW CRC16 wrong"},
        {&TagReadState::rComplete, "tag read incomplete: 0 of 0 R blocks"},
        {&TagReadState::rChecksumOk, "Error: TAG R CRC16 wrong"},
    };
    for (const Case &c : cases) {
        SetUp();
        state.*c.flag = false;
        const TagVerification r = verify(); // the bytes themselves are right
        EXPECT_FALSE(r.passed);
        EXPECT_EQ(r.differences, QStringList{c.reason});
        EXPECT_EQ(r.serial, "0000000000012345");
    }
}

TEST_F(TagVerificationTest, AProfileThatCannotBeSentCannotPass)
{
    slot.lifeTime.step = "0";
    EXPECT_THROW(ExpectedTagParameters(slot), std::exception);
    const TagVerification r = verify();
    EXPECT_FALSE(r.passed);
    ASSERT_EQ(r.differences.size(), 1);
    EXPECT_TRUE(r.differences[0].startsWith("profile cannot be compared: ")) << r.differences[0].toStdString();
}

} // namespace
