#include "profile/parameter_table.h"
#include "profile/profile_defaults.h"
#include "profile/profile_record.h"

#include <gtest/gtest.h>

#include <set>

TEST(ProfileTables, NameEveryGroupAndMemberOnceInRecordOrder)
{
    std::set<std::string> groups;
    for (const auto &g : kParameterGroups)
        EXPECT_TRUE(groups.insert(g.name).second) << g.name;
    EXPECT_STREQ(kParameterGroups.front().name, "current");
    EXPECT_STREQ(kParameterGroups[8].name, "dcLevel");
    EXPECT_STREQ(kParameterGroups.back().name, "NTCType");

    // Every group reaches a descriptor of its own, the CLO levels included.
    STRUCT_XML_FILE_VARIABLES r;
    std::set<const ParameterDescriptor *> descriptors;
    for (const auto &g : kParameterGroups)
        EXPECT_TRUE(descriptors.insert(&g.field.of(r)).second) << g.name;
    for (int level = 0; level < kCloLevelCount; ++level)
        EXPECT_EQ(&CloLevel(r, level), &r.Level[size_t(level)]) << level;

    // Every member pointer addresses a distinct field.
    ParameterDescriptor d;
    std::set<const QString *> fields;
    for (const auto &m : kDescriptorMembers)
        EXPECT_TRUE(fields.insert(&(d.*(m.field))).second) << m.name;
}

TEST(DefaultProfile, MatchesTheDefaultTable)
{
    STRUCT_XML_FILE_VARIABLES r;
    ApplyDefaultProfile(r);
    EXPECT_EQ(r.currentAvailable + r.cloAvailable + r.dclevelAvailable, 3);
    EXPECT_EQ(r.ExtNTCAvailable, 0);
    EXPECT_EQ(r.ExtNTCAdjustEnable, 0);
    EXPECT_EQ(r.current.defaultValue, "350");
    EXPECT_EQ(r.lifeTime.defaultValue, "127500");
    EXPECT_EQ(r.lifeTime.step, "500");
    EXPECT_EQ(r.Level[4].address, "269");
    EXPECT_EQ(r.dcLevel.defaultValue, "100");
    EXPECT_EQ(r.CutOffTemp.max, "120");
    EXPECT_EQ(r.editSerial, QString(16, QLatin1Char('0')));
    // Members the default profile does not set stay empty.
    EXPECT_TRUE(r.current.step.isEmpty());
    EXPECT_TRUE(r.Temp1.address.isEmpty());
    EXPECT_EQ(r.NTCType, ParameterDescriptor{});
}

TEST(DeleteProfile, ClearsWhatTheCatalogueFillsAndKeepsTheRest)
{
    LoadDefaultProfileIntoSlots();
    auto &r = settingsVariablesField[1];
    r.tag = 7;
    r.current.unit = QStringLiteral("mA");
    DeleteProfile(1, QStringLiteral("x"));
    EXPECT_EQ(r.tag, 7);
    EXPECT_EQ(r.currentAvailable + r.currentAdjustEnable + r.cloAvailable + r.ExtNTCAdjustEnable, 0);
    EXPECT_EQ(r.memoData, "x");
    EXPECT_EQ(r.current.max, "x");
    EXPECT_EQ(r.lifeTime.step, "x");
    EXPECT_EQ(r.LEDTime.defaultValue, "x");
    EXPECT_EQ(r.CutOffTemp.min, "x");
    EXPECT_EQ(r.current.unit, "mA");
    EXPECT_EQ(r.current.address, "262");
    EXPECT_EQ(r.Level[2].address, "267");
    EXPECT_EQ(r.LEDTime.address, "258");
    // The other slots are untouched.
    EXPECT_EQ(settingsVariablesField[0].memoData, "00E62C;00E701");
    LoadDefaultProfileIntoSlots();
}
