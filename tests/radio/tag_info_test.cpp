#include "common/convert.h"
#include "profile/profile_defaults.h"
#include "radio/tag_image.h"
#include "radio/tag_info.h"

#include <QLocale>
#include <functional>
#include <gtest/gtest.h>

namespace {

// A tag read with RW start 256 and a profile with the default addresses
// (current 262-263, lifetime 264, levels 265-269, DC 270).
struct TagFixture {
    TagBuffers tag;
    STRUCT_XML_FILE_VARIABLES profile;
    TagFixture()
    {
        ApplyDefaultProfile(profile);
        profile.current.size = "2";
        const QByteArray ident = TagIdentBytes(TagImage{});
        std::copy(ident.begin(), ident.end(), tag.ident.begin());
        tag.ident[2] = 0x00;
        tag.ident[3] = 0x01;
        tag.ident[4] = 30; // the read-write area the tag announces: 30 bytes
        tag.ident[5] = 0;
    }
    void rw(int address, uint8_t value) { tag.rw[size_t(address - 256)] = value; }
};

TEST(TagInfo, IdentityTextsAndRawLines)
{
    TagImage image;
    image.gtin = QByteArray::fromHex("001122334455");
    image.fw = QByteArray::fromHex("0A1b");
    image.serial = QByteArray::fromHex("0000000000003039");
    image.hw = QByteArray::fromHex("00FF");
    image.rwData = QByteArray(30, '\0');
    TagBuffers tag;
    const QByteArray ident = TagIdentBytes(image);
    std::copy(ident.begin(), ident.end(), tag.ident.begin());
    const TagIdentityTexts t = TagIdentity(tag);
    EXPECT_EQ(t.gtin, "001122334455");
    EXPECT_EQ(t.fw, "0A1B");
    EXPECT_EQ(t.serial, "0000000000012345");
    EXPECT_EQ(t.hw, "00FF");
    const QStringList raw = TagIdentRawLines(tag);
    ASSERT_EQ(raw.size(), 8);
    EXPECT_EQ(raw[1], "1E 00 00 00 "); // bytes 4-7: RW size 30, R start 0
    EXPECT_EQ(raw[2], "00 00 00 11 ");
    EXPECT_EQ(TagAreaSizeText(30), "0x001E");

    // The identity compares as text.
    STRUCT_XML_FILE_VARIABLES p;
    p.editGTIN = "001122334455";
    p.editFW = "0A1B";
    p.editHW = "00FF";
    EXPECT_TRUE(TagIdentityMatchesProfile(t, p));
    p.editGTIN = "1122334455";
    EXPECT_FALSE(TagIdentityMatchesProfile(t, p));
    p.editGTIN = "001122334455";
    p.editFW = "0a1b";
    EXPECT_FALSE(TagIdentityMatchesProfile(t, p));
}

TEST(TagInfo, AreaLinesListChecksumAndDataClampedToTheBuffer)
{
    std::array<uint8_t, kTagAreaBufferSize> area{};
    area[0] = 0xAB;
    area[511] = 0x5A;
    EXPECT_EQ(TagAreaLines(0x0100, 0, area), QStringList({"0x0100  AB", "0x0101  00"}));
    EXPECT_EQ(TagAreaLines(0x0100, 30, area).size(), 32);
    const QStringList all = TagAreaLines(0xFFFF, 0xFFFF, area);
    ASSERT_EQ(all.size(), kTagAreaBufferSize);
    EXPECT_EQ(all.last(), "0x01FE  5A"); // addresses wrap at 16 bits, bytes stop at the buffer
}

TEST(TagInfo, DecodedLinesFromTheReadWriteArea)
{
    TagFixture f;
    f.rw(262, 0x5E);
    f.rw(263, 0x01);
    f.rw(264, 255);
    const uint8_t levels[] = {200, 199, 100, 1, 0};
    for (int i = 0; i < 5; ++i)
        f.rw(265 + i, levels[i]);
    f.rw(270, 255);
    QStringList lines;
    AppendUserFriendlyLines(f.tag, f.profile, lines);
    const QString half = QStringLiteral("99") + QLocale().decimalPoint() + QStringLiteral("5");
    EXPECT_EQ(lines, QStringList({"Current = 350", "LifeTime = 127500", "Level0 = 100", "Level1 = " + half,
                                  "Level2 = 50", QStringLiteral("Level3 = 0") + QLocale().decimalPoint() + "5",
                                  "Level4 = 0", "DCLevel = OFF"}));
}

TEST(TagInfo, DcLevelAndCopyIntoTheProfile)
{
    struct Case { uint8_t byte; const char *line; const char *copied; bool active; };
    const Case cases[] = {
        {255, "DCLevel = OFF", "255", false},
        {254, "DCLevel = 100", "100", true},
        {229, "DCLevel = 51", "51", true},
        {1, "DCLevel = 0", "0", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.byte);
        TagFixture f;
        f.rw(270, c.byte);
        QStringList lines;
        AppendUserFriendlyLines(f.tag, f.profile, lines);
        EXPECT_EQ(lines.last(), c.line);
        EXPECT_EQ(CopyTagValuesToProfile(f.tag, f.profile), c.active);
        EXPECT_EQ(f.profile.dcLevel.defaultValue, c.copied);
    }
}

TEST(TagInfo, CopyUsesTheLifetimeStepAndChangesNothingElse)
{
    TagFixture f;
    f.profile.lifeTime.step = "1000";
    f.rw(262, 0x5E);
    f.rw(263, 0x01);
    f.rw(264, 100);
    f.rw(265, 199);
    f.rw(266, 200);
    QStringList lines;
    AppendUserFriendlyLines(f.tag, f.profile, lines);
    EXPECT_EQ(lines[1], "LifeTime = 50000");
    STRUCT_XML_FILE_VARIABLES before = f.profile;
    CopyTagValuesToProfile(f.tag, f.profile);
    EXPECT_EQ(f.profile.lifeTime.defaultValue, "100000");
    EXPECT_EQ(f.profile.current.defaultValue, "350");
    EXPECT_EQ(f.profile.Level[0].defaultValue, QStringLiteral("99") + QLocale().decimalPoint() + "5");
    EXPECT_EQ(f.profile.Level[1].defaultValue, "100");
    // Everything but the eight values stays.
    before.current.defaultValue = f.profile.current.defaultValue;
    before.lifeTime.defaultValue = f.profile.lifeTime.defaultValue;
    for (size_t level = 0; level < before.Level.size(); ++level)
        before.Level[level].defaultValue = f.profile.Level[level].defaultValue;
    before.dcLevel.defaultValue = f.profile.dcLevel.defaultValue;
    EXPECT_EQ(before, f.profile);
}

TEST(TagInfo, TheDefaultProfileWithoutACurrentSizeReadsTheTwoCurrentBytes)
{
    TagFixture f;
    f.profile = STRUCT_XML_FILE_VARIABLES{};
    ApplyDefaultProfile(f.profile); // no current.size, as at program start
    ASSERT_TRUE(f.profile.current.size.isEmpty());
    f.rw(262, 0x5E);
    f.rw(263, 0x01);
    f.rw(264, 0xFF); // lifetime count, a step of 500 h
    QStringList lines;
    ASSERT_NO_THROW(AppendUserFriendlyLines(f.tag, f.profile, lines));
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines[0], "Current = 350");
    CopyTagValuesToProfile(f.tag, f.profile);
    EXPECT_EQ(f.profile.current.defaultValue, "350");
}

TEST(TagInfo, ParametersOutsideTheAnnouncedAreaAreNotOnTheTagAndNeverCopied)
{
    struct Case {
        const char *name;
        std::function<void(TagFixture &)> setUp;
        QStringList notOnTag;
    };
    const Case cases[] = {
        {"beyond the 512 bytes held", [](TagFixture &f) { f.profile.Level[2].address = "1000"; }, {"Level2"}},
        {"below the start address", [](TagFixture &f) { f.profile.current.address = "100"; }, {"Current"}},
        {"inside the buffer but beyond the 30 bytes announced",
         [](TagFixture &f) { f.profile.dcLevel.address = "300"; }, {"DCLevel"}},
        {"a 4-byte area after a larger one",
         [](TagFixture &f) {
             f.tag.ident[4] = 4;
             for (int a = 256; a < 290; ++a)
                 f.rw(a, 0x55); // bytes a longer tag left behind must not show
         },
         // none of the default profile's parameters lies in its first four bytes
         {"Current", "LifeTime", "Level0", "Level1", "Level2", "Level3", "Level4", "DCLevel"}},
        {"a current size no number of bytes can have",
         [](TagFixture &f) { f.profile.current.size = "-2147483648"; }, {"Current"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TagFixture f;
        c.setUp(f);
        QStringList lines, notShown;
        AppendUserFriendlyLines(f.tag, f.profile, lines, &notShown);
        EXPECT_EQ(notShown, c.notOnTag);
        ASSERT_EQ(lines.size(), 8);
        for (const QString &name : c.notOnTag)
            EXPECT_TRUE(lines.contains(TagParameterNotOnTagText(name))) << name.toStdString();
        const STRUCT_XML_FILE_VARIABLES before = f.profile;
        QStringList notCopied;
        CopyTagValuesToProfile(f.tag, f.profile, &notCopied);
        EXPECT_EQ(notCopied, c.notOnTag);
        if (c.notOnTag.contains("DCLevel"))
            EXPECT_EQ(f.profile.dcLevel.defaultValue, before.dcLevel.defaultValue);
        if (c.notOnTag.contains("Current"))
            EXPECT_EQ(f.profile.current.defaultValue, before.current.defaultValue);
        if (c.notOnTag.contains("Level4"))
            EXPECT_EQ(f.profile.Level[4].defaultValue, before.Level[4].defaultValue);
    }
}

TEST(TagInfo, NonIntegersStopAtThatParameter)
{
    {
        TagFixture f;
        f.profile.current.size = "two";
        QStringList lines;
        EXPECT_THROW(AppendUserFriendlyLines(f.tag, f.profile, lines), EConvertError);
        EXPECT_TRUE(lines.isEmpty());
    }
    {
        TagFixture f;
        f.profile.lifeTime.step = "x";
        const QString before = f.profile.Level[0].defaultValue;
        EXPECT_THROW(CopyTagValuesToProfile(f.tag, f.profile), EConvertError);
        EXPECT_EQ(f.profile.current.defaultValue, "0"); // written before the step failed
        EXPECT_EQ(f.profile.Level[0].defaultValue, before);
    }
    {
        TagFixture f;
        f.profile.dcLevel.address = QString::number(256 + 511); // the last byte held
        QStringList lines;
        EXPECT_NO_THROW(AppendUserFriendlyLines(f.tag, f.profile, lines));
    }
}

} // namespace
