#include "app/editor_rules.h"

#include "common/convert.h"
#include "profile/profile_defaults.h"

#include "print_qt.h"

#include <gtest/gtest.h>

namespace {

ParameterDescriptor descriptor(const QString &min, const QString &max, const QString &value)
{
    ParameterDescriptor d;
    d.min = min;
    d.max = max;
    d.defaultValue = value;
    return d;
}

struct Expect {
    FieldCheckOutcome::Kind kind;
    QString text;    // final / replacement text
    QString message; // rejection message, or the start of the conversion message
    QString caption;
};

void expectOutcome(const FieldCheckOutcome &o, const Expect &e, const QString &what)
{
    SCOPED_TRACE(what.toStdString());
    ASSERT_EQ(o.kind, e.kind);
    if (e.kind == FieldCheckOutcome::ConversionError) {
        EXPECT_TRUE(o.message.contains(e.message)) << o.message.toStdString();
        return;
    }
    EXPECT_EQ(o.text, e.text);
    EXPECT_EQ(o.message, e.message);
    EXPECT_EQ(o.caption, e.caption);
}

} // namespace

TEST(NominalCurrentCheck, TableOfCases)
{
    struct Case {
        QString text, min, max;
        Expect e;
    } cases[] = {
        {"350", "350", "700", {FieldCheckOutcome::Accepted, "350", "", ""}},
        {"700", "350", "700", {FieldCheckOutcome::Accepted, "700", "", ""}},
        {"500", "350", "700", {FieldCheckOutcome::Accepted, "500", "", ""}},
        // Too high goes to the minimum, not the maximum.
        {"800", "350", "700", {FieldCheckOutcome::Rejected, "350", "number is out of range", "Error"}},
        {"349", "350", "700", {FieldCheckOutcome::Rejected, "350", "number is out of range", "Error"}},
        {"0", "350", "700", {FieldCheckOutcome::Rejected, "350", "number is out of range", "Error"}},
        {"", "350", "700", {FieldCheckOutcome::ConversionError, "", "''", ""}},
        {"99999999999", "350", "700", {FieldCheckOutcome::ConversionError, "", "99999999999", ""}},
        // A label that does not convert is a conversion error as well.
        {"400", "", "700", {FieldCheckOutcome::ConversionError, "", "not a valid integer", ""}},
    };
    for (const auto &c : cases)
        expectOutcome(CheckNominalCurrent(c.text, c.min, c.max), c.e, c.text + "/" + c.min + "/" + c.max);
}

TEST(LifeTimeCheck, TableOfCases)
{
    const ParameterDescriptor lt = descriptor("0", "127500", "127500");
    const QString msg = "wrong value, should by in interval 0 h - 127500 h";
    struct Case {
        QString text;
        ParameterDescriptor d;
        Expect e;
    } cases[] = {
        {"0", lt, {FieldCheckOutcome::Accepted, "0", "", ""}},
        {"127500", lt, {FieldCheckOutcome::Accepted, "127500", "", ""}},
        {"50000", lt, {FieldCheckOutcome::Accepted, "50000", "", ""}},
        {"200000", lt, {FieldCheckOutcome::Rejected, "127500", msg, "Info"}},
        {"127501", lt, {FieldCheckOutcome::Rejected, "127500", msg, "Info"}},
        // Compared as numbers, not as texts: "99999" > "127500" as text but is in range.
        {"99999", lt, {FieldCheckOutcome::Accepted, "99999", "", ""}},
        {"400", descriptor("500", "100000", "50000"),
         {FieldCheckOutcome::Rejected, "50000", "wrong value, should by in interval 500 h - 100000 h", "Info"}},
        {"", lt, {FieldCheckOutcome::ConversionError, "", "''", ""}},
    };
    for (const auto &c : cases)
        expectOutcome(CheckLifeTime(c.text, c.d), c.e, c.text);
}

TEST(LifeTimeHourLabels, QuartersInSinglePrecisionTruncated)
{
    struct Case {
        int s;
        std::array<QString, 5> labels;
    } cases[] = {
        {127500, {"0", "31875", "63750", "95625", "127500"}},
        {1, {"0", "0", "0", "0", "1"}},
        {3, {"0", "0", "1", "2", "3"}},
        {0, {"0", "0", "0", "0", "0"}},
        // Single precision: 16777217 is not representable and becomes 16777216 before scaling.
        {16777217, {"0", "4194304", "8388608", "12582912", "16777217"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(LifeTimeHourLabels(c.s), c.labels) << c.s;
}

TEST(CloLevelRounding, HalfPercentStepsWithinZeroToHundred)
{
    SetLevelDecimalSeparatorForTest(QLatin1Char('.'));
    struct Case {
        QString in, out;
    } cases[] = {
        {"33.2", "33"}, {"33.3", "33.5"}, {"33.8", "34"}, {"150", "100"}, {"-5", "0"},
        {"49.8", "50"}, {"49.7", "49.5"}, {"120", "100"}, {"100", "100"}, {"0", "0"},
        {"0.0", "0"},   {"10.25", "10.5"}, {"10.75", "11"}, {"10.74", "10.5"}, {"10.24", "10"},
        {"99.9", "100"}, {"0.1", "0"},    {"50,5", "50.5"}, {"1e3", "100"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CLO_LxFloatToString(c.in), c.out) << c.in.toStdString();
    EXPECT_THROW(CLO_LxFloatToString("abc"), EConvertError);
    EXPECT_THROW(CLO_LxFloatToString(""), EConvertError);

    // Halves are written with the user's decimal separator and convert back.
    SetLevelDecimalSeparatorForTest(QLatin1Char(','));
    EXPECT_EQ(CLO_LxFloatToString("33.3"), "33,5");
    EXPECT_DOUBLE_EQ(StrToFloat(CLO_LxFloatToString("33.3")), 33.5);
    SetLevelDecimalSeparatorForTest(QChar());
}

TEST(CloLevelCheck, RoundsThenChecksTheDescriptorBounds)
{
    SetLevelDecimalSeparatorForTest(QLatin1Char('.'));
    const ParameterDescriptor lv = descriptor("50", "100", "100");
    const QString msg = "wrong value, should by in interval 50% - 100%";
    struct Case {
        QString text;
        ParameterDescriptor d;
        Expect e;
    } cases[] = {
        {"49.8", lv, {FieldCheckOutcome::Accepted, "50", "", ""}},
        {"49.7", lv, {FieldCheckOutcome::Rejected, "100", msg, "Info"}},
        {"120", lv, {FieldCheckOutcome::Accepted, "100", "", ""}},
        {"-3", lv, {FieldCheckOutcome::Rejected, "100", msg, "Info"}},
        {"75.3", lv, {FieldCheckOutcome::Accepted, "75.5", "", ""}},
        {"0", descriptor("0", "100", "80"), {FieldCheckOutcome::Accepted, "0", "", ""}},
        // Fractional bounds are compared in single precision.
        {"60.2", descriptor("60.5", "90.5", "70"),
         {FieldCheckOutcome::Rejected, "70", "wrong value, should by in interval 60.5% - 90.5%", "Info"}},
        {"90.6", descriptor("60.5", "90.5", "70"), {FieldCheckOutcome::Accepted, "90.5", "", ""}},
        {"5O", lv, {FieldCheckOutcome::ConversionError, "", "5O", ""}},
        {"", lv, {FieldCheckOutcome::ConversionError, "", "''", ""}},
    };
    for (const auto &c : cases)
        expectOutcome(CheckCloLevel(c.text, c.d), c.e, c.text);
    SetLevelDecimalSeparatorForTest(QChar());
}

TEST(NtcTemperatureCheck, OrderFirstThenRange)
{
    const ParameterDescriptor t1 = descriptor("0", "120", "50");
    const ParameterDescriptor t2 = descriptor("0", "120", "80");
    const ParameterDescriptor t3 = descriptor("0", "120", "90");
    using F = NtcTemperatureField;
    struct Case {
        F field;
        QString start, stop, cut;
        ParameterDescriptor d;
        Expect e;
        bool order;
    } cases[] = {
        {F::Start, "50", "80", "90", t1, {FieldCheckOutcome::Accepted, "50", "", ""}, false},
        {F::Start, "80", "80", "80", t1, {FieldCheckOutcome::Accepted, "80", "", ""}, false},
        {F::Start, "85", "80", "90", t1, {FieldCheckOutcome::Rejected, "50", kMsgNtcOrder, "Error"}, true},
        {F::Stop, "50", "95", "90", t2, {FieldCheckOutcome::Rejected, "80", kMsgNtcOrder, "Error"}, true},
        {F::CutOff, "50", "80", "70", t3, {FieldCheckOutcome::Rejected, "90", kMsgNtcOrder, "Error"}, true},
        // In order but out of range: the stop temperature has its own wording.
        {F::CutOff, "50", "80", "130", t3,
         {FieldCheckOutcome::Rejected, "90", "number is out of min max range", "Error"}, false},
        {F::Start, "10", "80", "90", descriptor("20", "120", "50"),
         {FieldCheckOutcome::Rejected, "50", "number is out of min max range", "Error"}, false},
        {F::Stop, "50", "80", "90", descriptor("0", "70", "60"),
         {FieldCheckOutcome::Rejected, "60", "number in out of min max range", "Error"}, false},
        // Only the checked field is range-checked.
        {F::Start, "50", "80", "130", t1, {FieldCheckOutcome::Accepted, "50", "", ""}, false},
        {F::Start, "50", "", "90", t1, {FieldCheckOutcome::ConversionError, "", "''", ""}, false},
    };
    for (const auto &c : cases) {
        const auto o = CheckNtcTemperature(c.field, c.start, c.stop, c.cut, c.d);
        expectOutcome(o, c.e, c.start + "/" + c.stop + "/" + c.cut);
        EXPECT_EQ(o.orderViolation, c.order) << c.start.toStdString() << "/" << c.stop.toStdString();
    }
}

TEST(NtcStopLevelCheck, FixedBoundsZeroToHundred)
{
    // The descriptor's own max (50 here) plays no part.
    const ParameterDescriptor l2 = descriptor("0", "50", "20");
    struct Case {
        QString text;
        Expect e;
    } cases[] = {
        {"0", {FieldCheckOutcome::Accepted, "0", "", ""}},
        {"100", {FieldCheckOutcome::Accepted, "100", "", ""}},
        {"101", {FieldCheckOutcome::Rejected, "20", "wrong value, should by in interval 0%-100%", "Error"}},
        {"", {FieldCheckOutcome::ConversionError, "", "''", ""}},
    };
    for (const auto &c : cases)
        expectOutcome(CheckNtcStopLevel(c.text, l2), c.e, c.text);
}

TEST(DcLevel, ClampsSilentlyAndInvertsTheBar)
{
    struct Case {
        QString text;
        bool setText;
        QString newText;
        int position;
    } cases[] = {
        {"120", true, "100", 50}, // the top of the bar (its minimum position)
        {"100", true, "100", 50},
        {"10", true, "50", 100}, // the bottom of the bar
        {"50", true, "50", 100},
        {"80", false, "", 70},
        {"51", false, "", 99},
    };
    for (const auto &c : cases) {
        const auto a = ClampDcLevel(c.text, 50, 100);
        EXPECT_EQ(a.setText, c.setText) << c.text.toStdString();
        if (c.setText) {
            EXPECT_EQ(a.text, c.newText);
        }
        EXPECT_EQ(a.position, c.position) << c.text.toStdString();
    }
    EXPECT_THROW(ClampDcLevel("", 50, 100), EConvertError);

    for (int level = 50; level <= 100; ++level)
        EXPECT_EQ(DcLevelForScrollPosition(50, 100, DcScrollPositionForLevel(50, 100, level)), level);
    EXPECT_EQ(DcLevelForScrollPosition(50, 100, 50), 100);
    EXPECT_EQ(DcLevelForScrollPosition(0, 100, 0), 100);
}

TEST(DcLevel, EditorFromSlot)
{
    auto s = DcEditorFromSlot(descriptor("50", "100", "080"));
    EXPECT_TRUE(s.active);
    EXPECT_EQ(s.text, "80"); // written back as a plain integer
    EXPECT_EQ(s.position, 70);
    EXPECT_EQ(s.minimum, 50);
    EXPECT_EQ(s.maximum, 100);
    EXPECT_EQ(s.minLabel, "50");
    EXPECT_EQ(s.maxLabel, "100");

    s = DcEditorFromSlot(descriptor("50", "100", "255"));
    EXPECT_FALSE(s.active);
    EXPECT_EQ(s.text, "");

    // "255" is the off marker only as exactly that text.
    EXPECT_TRUE(DcEditorFromSlot(descriptor("50", "100", "0255")).active);
    EXPECT_THROW(DcEditorFromSlot(descriptor("", "100", "80")), EConvertError);
    EXPECT_THROW(DcEditorFromSlot(descriptor("50", "100", "")), EConvertError);
    // Off needs no level to convert.
    EXPECT_NO_THROW(DcEditorFromSlot(descriptor("50", "100", "255")));
}

TEST(FieldKeys, EnterChecksDigitsOnlyFiltersOthersPass)
{
    struct Case {
        QChar key;
        bool digitsOnly;
        FieldKeyAction action;
    } cases[] = {
        {QChar(13), true, FieldKeyAction::RunCheck},
        {QChar(13), false, FieldKeyAction::RunCheck},
        {QLatin1Char('7'), true, FieldKeyAction::Pass},
        {QLatin1Char('a'), true, FieldKeyAction::Swallow},
        {QLatin1Char('.'), true, FieldKeyAction::Swallow},
        {QLatin1Char('-'), true, FieldKeyAction::Swallow},
        {QChar(8), true, FieldKeyAction::Pass}, // backspace
        {QLatin1Char('.'), false, FieldKeyAction::Pass},
        {QLatin1Char('a'), false, FieldKeyAction::Pass},
        {QChar(10), false, FieldKeyAction::Pass},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ClassifyFieldKey(c.key, c.digitsOnly), c.action) << int(c.key.unicode());
}

TEST(SaveNtcOrder, TestedOnlyWhenASlotEnablesNtc)
{
    std::array<STRUCT_XML_FILE_VARIABLES, kSlotCount> profiles{};
    // No slot enables NTC: even a broken order (and unconvertible texts) saves.
    EXPECT_TRUE(NtcOrderAllowsSave(profiles, "85", "80", "90"));
    EXPECT_TRUE(NtcOrderAllowsSave(profiles, "", "", ""));

    profiles[2].ExtNTCAdjustEnable = 1; // any slot, not only the active one
    EXPECT_FALSE(NtcOrderAllowsSave(profiles, "85", "80", "90"));
    EXPECT_FALSE(NtcOrderAllowsSave(profiles, "50", "80", "70"));
    EXPECT_TRUE(NtcOrderAllowsSave(profiles, "50", "80", "90"));
    EXPECT_TRUE(NtcOrderAllowsSave(profiles, "80", "80", "80"));
    EXPECT_THROW(NtcOrderAllowsSave(profiles, "50", "", "90"), EConvertError);
}

TEST(CloRangeMessages, BuiltFromTheSlotTexts)
{
    EXPECT_EQ(CLO_LifeTimeRangeMessage(descriptor("0", "127500", "")),
              "wrong value, should by in interval 0 h - 127500 h");
    EXPECT_EQ(CLO_LevelRangeMessage(descriptor("50", "100", "")),
              "wrong value, should by in interval 50% - 100%");
}
