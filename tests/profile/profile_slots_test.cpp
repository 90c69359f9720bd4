#include "default_profiles.h"
#include "profile/parameter_table.h"
#include "profile/profile_defaults.h"
#include "profile/profile_record.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {
// Every member of every group set to a text naming it, every flag and the tag non-zero.
STRUCT_XML_FILE_VARIABLES labelled()
{
    STRUCT_XML_FILE_VARIABLES r;
    for (const auto &f : kIntegerFields)
        r.*(f.field) = 5;
    for (const auto &f : kIdentityFields)
        r.*(f.field) = QString::fromLatin1(f.name);
    for (const auto &g : kParameterGroups)
        for (const auto &m : kDescriptorMembers)
            g.field.of(r).*(m.field) = QStringLiteral("%1.%2").arg(g.name, m.name);
    return r;
}
} // namespace

TEST(ProfileSlots, StartUpLoadsTheDefaultProfileIntoAllThreeSlots)
{
    for (auto &slot : settingsVariablesField)
        slot = STRUCT_XML_FILE_VARIABLES{};
    LoadDefaultProfileIntoSlots();
    const STRUCT_XML_FILE_VARIABLES expected = DefaultProfile();
    for (const auto &slot : settingsVariablesField) {
        EXPECT_EQ(slot, expected);
        EXPECT_EQ(slot.ExtNTCAvailable, 0) << "NTC can never be ticked in a default slot";
        EXPECT_EQ(slot.ExtNTCAdjustEnable, 0);
        EXPECT_EQ(slot.dcLevel.defaultValue, "100");
    }
    EXPECT_EQ(activeSlot(), 1);
}

TEST(ProfileSlots, DefaultProfileLeavesTheMembersItDoesNotSet)
{
    STRUCT_XML_FILE_VARIABLES r = labelled();
    ApplyDefaultProfile(r);
    EXPECT_EQ(r.tag, 5);
    // The members the default table does not name keep their texts.
    const std::set<std::string> untouched = {
        "current.list", "current.unit", "current.size", "current.step", "current.factor", "current.offset",
        "current.convform", "LEDTime.min", "LEDTime.max", "Temp1.address", "Temp2.address",
        "ExtNTCLevel1.address", "ExtNTCLevel2.address", "CutOffTemp.address", "NTCType.min",
        "NTCType.defaultValue", "NTCType.address", "Level3.unit", "dcLevel.convform"};
    for (const auto &g : kParameterGroups)
        for (const auto &m : kDescriptorMembers) {
            const std::string key = std::string(g.name) + "." + m.name;
            if (untouched.count(key))
                EXPECT_EQ(g.field.of(r).*(m.field), QString::fromStdString(key)) << key;
        }
    EXPECT_EQ(r.lifeTime.min, "0");
    EXPECT_EQ(r.lifeTime.step, "500");
    EXPECT_EQ(r.LEDTime.address, "258");
    EXPECT_EQ(r.memoData, "00E62C;00E701");
    EXPECT_EQ(r.programmer_Nfc_FW, "0.0");
}

TEST(ProfileSlots, DeleteProfileSetsExactlyTheNamedMembers)
{
    // The members clearing sets, per group; every other member keeps its text.
    const std::set<std::string> cleared = [] {
        std::set<std::string> s;
        for (const char *g : {"current", "lifeTime", "Level0", "Level1", "Level2", "Level3", "Level4", "dcLevel",
                              "ExtNTCLevel1", "ExtNTCLevel2", "Temp1", "Temp2", "CutOffTemp"})
            for (const char *m : {"min", "max", "defaultValue"})
                s.insert(std::string(g) + "." + m);
        s.insert("lifeTime.step");
        s.insert("LEDTime.defaultValue");
        return s;
    }();
    for (const QString &fill : {QString(), QStringLiteral("x")}) {
        settingsVariablesField[2] = labelled();
        DeleteProfile(2, fill);
        const auto &r = settingsVariablesField[2];
        EXPECT_EQ(r.tag, 5);
        for (const auto &f : kIntegerFields)
            if (std::string(f.name) != "tag")
                EXPECT_EQ(r.*(f.field), 0) << f.name;
        for (const auto &f : kIdentityFields)
            EXPECT_EQ(r.*(f.field), fill) << f.name;
        for (const auto &g : kParameterGroups)
            for (const auto &m : kDescriptorMembers) {
                const std::string key = std::string(g.name) + "." + m.name;
                const QString expected = cleared.count(key) ? fill : QString::fromStdString(key);
                EXPECT_EQ(g.field.of(r).*(m.field), expected) << key;
            }
    }
    EXPECT_THROW(DeleteProfile(3, QString()), std::out_of_range);
    LoadDefaultProfileIntoSlots();
}
