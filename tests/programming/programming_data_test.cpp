#include "common/convert.h"
#include "default_profiles.h"
#include "profile/profile_defaults.h"
#include "programming/programming_data.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <functional>

namespace {

QString generate(const STRUCT_XML_FILE_VARIABLES &r, bool dcActive)
{
    QStringList memo;
    GenerateProgrammingData(r, dcActive, memo);
    return ProgrammingDataText(memo);
}

} // namespace

TEST(ProgrammingData, DefaultProfileGivesTheNineItemsInOrder)
{
    QStringList memo{QStringLiteral("stale line")};
    GenerateProgrammingData(DefaultProfile(), true, memo);
    EXPECT_EQ(memo, (QStringList{"00E65E", "00E701", "00E8FF", "00E9C8", "00EAC8", "00EBC8", "00ECC8",
                                 "00EDC8", "00EEFE"}));
    EXPECT_EQ(ProgrammingDataText(memo), "00E65E;00E701;00E8FF;00E9C8;00EAC8;00EBC8;00ECC8;00EDC8;00EEFE");
}

TEST(ProgrammingData, SlotIndexFormReadsThatSlot)
{
    LoadDefaultProfileIntoSlots();
    settingsVariablesField[2].current.defaultValue = QStringLiteral("300");
    QStringList memo;
    GenerateProgrammingData(2, false, memo);
    EXPECT_EQ(memo.first(), "00E62C");
    EXPECT_EQ(memo.last(), "00EEFF");
    GenerateProgrammingData(0, true, memo);
    EXPECT_EQ(memo.first(), "00E65E");
    EXPECT_THROW(GenerateProgrammingData(3, true, memo), std::out_of_range);
    LoadDefaultProfileIntoSlots();
}

struct EncodeCase {
    const char *name;
    std::function<void(STRUCT_XML_FILE_VARIABLES &)> change;
    bool dcActive;
    const char *expected;
};

class EncodeCases : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(EncodeCases, GiveTheExpectedText)
{
    auto r = DefaultProfile();
    GetParam().change(r);
    EXPECT_EQ(generate(r, GetParam().dcActive), QString::fromLatin1(GetParam().expected));
}

auto onlyCurrent = [](STRUCT_XML_FILE_VARIABLES &r, const char *mA) {
    r.current.defaultValue = QString::fromLatin1(mA);
    r.cloAdjustEnable = 0;
    r.dclevelAdjustEnable = 0;
};
auto onlyClo = [](STRUCT_XML_FILE_VARIABLES &r) {
    r.currentAdjustEnable = 0;
    r.dclevelAdjustEnable = 0;
};
auto onlyDc = [](STRUCT_XML_FILE_VARIABLES &r, const char *value) {
    r.currentAdjustEnable = 0;
    r.cloAdjustEnable = 0;
    r.dcLevel.defaultValue = QString::fromLatin1(value);
};

INSTANTIATE_TEST_SUITE_P(
    Edges, EncodeCases,
    ::testing::Values(
        EncodeCase{"Current300", [](auto &r) { onlyCurrent(r, "300"); }, true, "00E62C;00E701"},
        EncodeCase{"Current4095", [](auto &r) { onlyCurrent(r, "4095"); }, true, "00E6FF;00E70F"},
        EncodeCase{"Current256", [](auto &r) { onlyCurrent(r, "256"); }, true, "00E600;00E701"},
        EncodeCase{"LifetimeClampedNotWrapped",
                   [](auto &r) { onlyClo(r); r.lifeTime.defaultValue = "130000"; }, true,
                   "00E8FF;00E9C8;00EAC8;00EBC8;00ECC8;00EDC8"},
        EncodeCase{"Lifetime127499",
                   [](auto &r) { onlyClo(r); r.lifeTime.defaultValue = "127499"; }, true,
                   "00E8FE;00E9C8;00EAC8;00EBC8;00ECC8;00EDC8"},
        EncodeCase{"Lifetime50000", [](auto &r) { onlyClo(r); r.lifeTime.defaultValue = "50000"; }, true,
                   "00E864;00E9C8;00EAC8;00EBC8;00ECC8;00EDC8"},
        EncodeCase{"LifetimeBelowOneStep", [](auto &r) { onlyClo(r); r.lifeTime.defaultValue = "499"; }, true,
                   "00E800;00E9C8;00EAC8;00EBC8;00ECC8;00EDC8"},
        EncodeCase{"LevelsHalfPercentUnits",
                   [](auto &r) {
                       onlyClo(r);
                       r.Level[0].defaultValue = "50.5";
                       r.Level[1].defaultValue = "0";
                       r.Level[2].defaultValue = "100";
                       r.Level[3].defaultValue = "50,5"; // written on a PC with a comma locale
                       r.Level[4].defaultValue = "82.75"; // truncated, not rounded
                   },
                   true, "00E8FF;00E965;00EA00;00EBC8;00EC65;00EDA5"},
        EncodeCase{"DcOffIgnoresTheValue", [](auto &r) { onlyDc(r, "abc"); }, false, "00EEFF"},
        EncodeCase{"DcOffMarkerUnticked", [](auto &r) { onlyDc(r, "255"); }, false, "00EEFF"},
        // A window still ticked from the slot shown before: the marker says off.
        EncodeCase{"DcOffMarkerStillTicked", [](auto &r) { onlyDc(r, "255"); }, true, "00EEFF"},
        EncodeCase{"DcZero", [](auto &r) { onlyDc(r, "0"); }, true, "00EE00"},
        EncodeCase{"Dc99", [](auto &r) { onlyDc(r, "99"); }, true, "00EEFE"},
        EncodeCase{"Dc1", [](auto &r) { onlyDc(r, "1"); }, true, "00EE55"},
        EncodeCase{"Dc50", [](auto &r) { onlyDc(r, "50"); }, true, "00EEE5"},
        EncodeCase{"NtcEnabledAddsNothing",
                   [](auto &r) {
                       r.ExtNTCAdjustEnable = 1;
                       r.Temp1.address = "280";
                       r.LEDTime.defaultValue = "7";
                   },
                   true, "00E65E;00E701;00E8FF;00E9C8;00EAC8;00EBC8;00ECC8;00EDC8;00EEFE"},
        EncodeCase{"AllDisabledIsEmpty",
                   [](auto &r) { r.currentAdjustEnable = r.cloAdjustEnable = r.dclevelAdjustEnable = 0; }, true,
                   ""},
        EncodeCase{"AvailabilityIsNotConsulted",
                   [](auto &r) {
                       onlyCurrent(r, "350");
                       r.currentAvailable = 0;
                   },
                   true, "00E65E;00E701"},
        EncodeCase{"AddressBeyondOneByte", [](auto &r) { onlyCurrent(r, "300"); r.current.address = "300"; },
                   true, "010C2C;010D01"},
        EncodeCase{"SameAddressTwiceIsKept",
                   [](auto &r) {
                       onlyDc(r, "100");
                       r.currentAdjustEnable = 1;
                       r.dcLevel.address = "262";
                   },
                   true, "00E65E;00E701;00E6FE"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ProgrammingData, DcByteFollowsTheDimmingCurveForEveryPercent)
{
    // Reference: single-precision evaluation rounded half to even, computed apart
    // from this program for 0 ... 100 %.
    const int expected[101] = {
        0,   85,  111, 126, 136, 144, 151, 157, 161, 166, 170, 173, 176, 179, 182, 185, 187,
        189, 191, 193, 195, 197, 199, 200, 202, 203, 205, 206, 207, 209, 210, 211, 212, 213,
        214, 216, 217, 218, 219, 220, 220, 221, 222, 223, 224, 225, 226, 226, 227, 228, 229,
        229, 230, 231, 231, 232, 233, 233, 234, 235, 235, 236, 236, 237, 238, 238, 239, 239,
        240, 240, 241, 241, 242, 242, 243, 243, 244, 244, 245, 245, 246, 246, 247, 247, 248,
        248, 248, 249, 249, 250, 250, 251, 251, 251, 252, 252, 253, 253, 253, 254, 254};
    for (int v = 0; v <= 100; ++v)
        EXPECT_EQ(DcLevelByte(v), expected[v]) << v << " %";
}

TEST(ProgrammingData, DcByteDoesNotDependOnTheCallersRoundingMode)
{
    const int saved = std::fegetround();
    for (int mode : {FE_DOWNWARD, FE_UPWARD, FE_TOWARDZERO}) {
        std::fesetround(mode);
        EXPECT_EQ(DcLevelByte(96), 253); // 252.505 in single precision
        EXPECT_EQ(DcLevelByte(8), 161);  // 161.494
        EXPECT_EQ(std::fegetround(), mode) << "the caller's mode is restored";
    }
    std::fesetround(saved);
}

struct FailureCase {
    const char *name;
    std::function<void(STRUCT_XML_FILE_VARIABLES &)> change;
    const char *itemsKept;
    bool divByZero;
};

class FailureCases : public ::testing::TestWithParam<FailureCase> {};

TEST_P(FailureCases, StopWithTheItemsAlreadyProducedKept)
{
    auto r = DefaultProfile();
    GetParam().change(r);
    QStringList memo;
    if (GetParam().divByZero)
        EXPECT_THROW(GenerateProgrammingData(r, true, memo), EDivByZero);
    else
        EXPECT_THROW(GenerateProgrammingData(r, true, memo), EConvertError);
    EXPECT_EQ(ProgrammingDataText(memo), QString::fromLatin1(GetParam().itemsKept));
}

INSTANTIATE_TEST_SUITE_P(
    Errors, FailureCases,
    ::testing::Values(
        FailureCase{"EmptyLifetimeStep", [](auto &r) { r.lifeTime.step = ""; }, "00E65E;00E701", false},
        FailureCase{"ZeroLifetimeStep", [](auto &r) { r.lifeTime.step = "0"; }, "00E65E;00E701", true},
        FailureCase{"NonNumericCurrent", [](auto &r) { r.current.defaultValue = "35O"; }, "", false},
        FailureCase{"EmptyCurrentAddress", [](auto &r) { r.current.address = ""; }, "", false},
        FailureCase{"BadThirdLevel", [](auto &r) { r.Level[2].defaultValue = "x"; },
                    "00E65E;00E701;00E8FF;00E9C8;00EAC8", false},
        FailureCase{"BadDcValue", [](auto &r) { r.dcLevel.defaultValue = ""; },
                    "00E65E;00E701;00E8FF;00E9C8;00EAC8;00EBC8;00ECC8;00EDC8", false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ProgrammingData, EncodersAppendWithoutClearing)
{
    const auto r = DefaultProfile();
    QStringList memo{QStringLiteral("00E62C")};
    ProgrammingDataCalculation_DClevel(r, false, memo);
    ProgrammingDataCalculation_NTC(r, memo);
    EXPECT_EQ(memo, (QStringList{"00E62C", "00EEFF"}));
}

TEST(ProgrammingData, CurrentDataPackageUsesTheFixedAddresses)
{
    EXPECT_EQ(CurrentDataPackageMemoFill(300), (QStringList{"00E62C", "00E701"}));
    EXPECT_EQ(CurrentDataPackageMemoFill(4095), (QStringList{"00E6FF", "00E70F"}));
    EXPECT_EQ(CurrentDataPackageMemoFill(0), (QStringList{"00E600", "00E700"}));
}

TEST(ProgrammingData, TextSplitsBackIntoItems)
{
    EXPECT_EQ(ProgrammingDataItems(QStringLiteral("00E62C;00E701")), (QStringList{"00E62C", "00E701"}));
    EXPECT_TRUE(ProgrammingDataItems(QString()).isEmpty());
    EXPECT_EQ(ProgrammingDataText({}), QString());
    EXPECT_EQ(FormatProgrammingDataItem(QStringLiteral("270"), 0xFE), "00EEFE");
    EXPECT_THROW(FormatProgrammingDataItem(QStringLiteral(""), 1), EConvertError);
}

TEST(ProgrammingData, DcActiveStateOfAShownSlot)
{
    auto r = DefaultProfile();
    EXPECT_TRUE(DcLevelActiveForSlot(r));
    r.dcLevel.defaultValue = QStringLiteral("255");
    EXPECT_FALSE(DcLevelActiveForSlot(r));
    r.dcLevel.defaultValue = QStringLiteral("0255");
    EXPECT_TRUE(DcLevelActiveForSlot(r)); // a text comparison, as in the editors
}

// Values that their item's byte(s) cannot hold stop the generation with a message
// naming the parameter, the value and its range; the items made before stay.
struct RangeCase {
    const char *name;
    std::function<void(STRUCT_XML_FILE_VARIABLES &)> change;
    const char *itemsKept;
    const char *message;
};

class RangeCases : public ::testing::TestWithParam<RangeCase> {};

TEST_P(RangeCases, StopWithAMessageNamingParameterValueAndRange)
{
    auto r = DefaultProfile();
    GetParam().change(r);
    QStringList memo;
    try {
        GenerateProgrammingData(r, true, memo);
        FAIL() << "generated " << ProgrammingDataText(memo).toStdString();
    } catch (const EValueRangeError &e) {
        EXPECT_EQ(e.message(), QString::fromLatin1(GetParam().message));
    }
    EXPECT_EQ(ProgrammingDataText(memo), QString::fromLatin1(GetParam().itemsKept));
}

constexpr const char *kCurrentAndClo = "00E65E;00E701;00E8FF;00E9C8;00EAC8;00EBC8;00ECC8;00EDC8";

INSTANTIATE_TEST_SUITE_P(
    Edges, RangeCases,
    ::testing::Values(
        RangeCase{"Dc105", [](auto &r) { r.dcLevel.defaultValue = "105"; }, kCurrentAndClo,
                  "dcLevel.defaultValue = 105 is out of range: it must lie in 0 ... 100"},
        RangeCase{"Dc254", [](auto &r) { r.dcLevel.defaultValue = "254"; }, kCurrentAndClo,
                  "dcLevel.defaultValue = 254 is out of range: it must lie in 0 ... 100"},
        RangeCase{"Dc256", [](auto &r) { r.dcLevel.defaultValue = "256"; }, kCurrentAndClo,
                  "dcLevel.defaultValue = 256 is out of range: it must lie in 0 ... 100"},
        RangeCase{"DcNegative", [](auto &r) { r.dcLevel.defaultValue = "-1"; }, kCurrentAndClo,
                  "dcLevel.defaultValue = -1 is out of range: it must lie in 0 ... 100"},
        RangeCase{"Level128", [](auto &r) { r.Level[0].defaultValue = "128"; }, "00E65E;00E701;00E8FF",
                  "Level0.defaultValue = 128 is out of range: it must lie in 0 ... 127.5"},
        RangeCase{"LevelHuge", [](auto &r) { r.Level[3].defaultValue = "1e10"; },
                  "00E65E;00E701;00E8FF;00E9C8;00EAC8;00EBC8",
                  "Level3.defaultValue = 1e10 is out of range: it must lie in 0 ... 127.5"},
        RangeCase{"LevelNegative", [](auto &r) { r.Level[1].defaultValue = "-1"; }, "00E65E;00E701;00E8FF;00E9C8",
                  "Level1.defaultValue = -1 is out of range: it must lie in 0 ... 127.5"},
        RangeCase{"Current65536", [](auto &r) { r.current.defaultValue = "65536"; }, "",
                  "current.defaultValue = 65536 is out of range: it must lie in 0 ... 65535"},
        RangeCase{"Current70000", [](auto &r) { r.current.defaultValue = "70000"; }, "",
                  "current.defaultValue = 70000 is out of range: it must lie in 0 ... 65535"},
        RangeCase{"CurrentNegative", [](auto &r) { r.current.defaultValue = "-1"; }, "",
                  "current.defaultValue = -1 is out of range: it must lie in 0 ... 65535"},
        RangeCase{"NegativeLifetimeStep", [](auto &r) { r.lifeTime.step = "-500"; }, "00E65E;00E701",
                  "lifeTime.step = -500 is out of range: it must lie in 1 ... 2147483647"},
        RangeCase{"NegativeLifetime", [](auto &r) { r.lifeTime.defaultValue = "-500"; }, "00E65E;00E701",
                  "lifeTime.defaultValue = -500 is out of range: it must lie in 0 ... 2147483647"},
        RangeCase{"CurrentAddressBelow", [](auto &r) { r.current.address = "31"; }, "",
                  "current.address = 31 is out of range: it must lie in 32 ... 65566"},
        RangeCase{"CurrentAddressAbove", [](auto &r) { r.current.address = "65567"; }, "",
                  "current.address = 65567 is out of range: it must lie in 32 ... 65566"},
        RangeCase{"LevelAddressAbove", [](auto &r) { r.Level[4].address = "65568"; },
                  "00E65E;00E701;00E8FF;00E9C8;00EAC8;00EBC8;00ECC8",
                  "Level4.address = 65568 is out of range: it must lie in 32 ... 65567"},
        RangeCase{"DcAddressBelow", [](auto &r) { r.dcLevel.address = "0"; }, kCurrentAndClo,
                  "dcLevel.address = 0 is out of range: it must lie in 32 ... 65567"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ProgrammingData, ValuesAtTheEdgesOfTheRangesKeepTheirExactBytes)
{
    auto r = DefaultProfile();
    r.current.defaultValue = "65535";
    r.current.address = "65566";
    r.lifeTime.defaultValue = "0";
    r.lifeTime.step = "1";
    r.lifeTime.address = "32";
    r.Level[0].defaultValue = "127.5";
    r.Level[1].defaultValue = "0";
    r.Level[2].defaultValue = "-0";
    r.Level[4].address = "65567";
    r.dcLevel.defaultValue = "100";
    EXPECT_EQ(generate(r, true), "FFFEFF;FFFFFF;000000;00E9FF;00EA00;00EB00;00ECC8;FFFFC8;00EEFE");
    r.dcLevel.defaultValue = "0";
    EXPECT_TRUE(generate(r, true).endsWith("00EE00"));
}
