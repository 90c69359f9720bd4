#include "profile/parameter_table.h"

#include <gtest/gtest.h>

namespace {
// Every group's present value set to its group name.
STRUCT_XML_FILE_VARIABLES named()
{
    STRUCT_XML_FILE_VARIABLES r;
    for (const auto &g : kParameterGroups)
        g.field.of(r).defaultValue = QString::fromLatin1(g.name);
    return r;
}
} // namespace

// The levels a person numbers L1 ... L5 are the record's Level0 ... Level4, in the
// record, the records' columns and the texts alike.
TEST(ParameterTable, CloLevelsAreNumberedFromL1)
{
    STRUCT_XML_FILE_VARIABLES r = named();
    struct Case {
        int level;
        const char *member, *label, *column;
    };
    const Case cases[] = {{0, "Level0", "L1", "CLO_L1"}, {2, "Level2", "L3", "CLO_L3"}, {4, "Level4", "L5", "CLO_L5"}};
    for (const Case &c : cases) {
        EXPECT_EQ(CloLevel(r, c.level).defaultValue, c.member) << c.level;
        EXPECT_STREQ(CloLevelGroup(c.level).label, c.label);
        EXPECT_STREQ(CloLevelGroup(c.level).recordColumn, c.column);
        CloLevel(r, c.level).defaultValue = QStringLiteral("written");
        EXPECT_EQ(ParameterGroupNamed(QLatin1String(c.member))->field.of(r).defaultValue, "written") << c.member;
    }
    EXPECT_THROW(CloLevel(r, kCloLevelCount), std::out_of_range);
}

// A record's parameter values go to the column that names them.
TEST(ParameterTable, RecordValuesLineUpWithTheirColumns)
{
    const QStringList columns = RecordParameterColumns();
    const QStringList values = RecordParameterValues(named());
    ASSERT_EQ(columns.size(), values.size());
    struct Case {
        const char *column, *group;
    };
    const Case cases[] = {{"nomCurrent", "current"},       {"lifeTime", "lifeTime"},
                          {"CLO_L1", "Level0"},            {"CLO_L5", "Level4"},
                          {"DC_level", "dcLevel"},         {"extNTC_Temp1", "Temp1"},
                          {"extNTC_Level1", "ExtNTCLevel1"}, {"extNTC_Temp2", "Temp2"},
                          {"extNTC_Level2", "ExtNTCLevel2"}, {"extNTC_CutOffTemp", "CutOffTemp"}};
    for (const Case &c : cases) {
        const qsizetype at = columns.indexOf(QLatin1String(c.column));
        ASSERT_GE(at, 0) << c.column;
        EXPECT_EQ(values.at(at), c.group) << c.column;
    }
    // The LED time and the NTC type are kept in settings files only.
    EXPECT_FALSE(values.contains(QStringLiteral("LEDTime")));
    EXPECT_FALSE(values.contains(QStringLiteral("NTCType")));
    EXPECT_EQ(columns.size(), 13);
}
