#include "app/editor_rules.h"

#include "common/convert.h"
#include "profile/profile_defaults.h"

#include <QLocale>
#include <cmath>

namespace {

FieldCheckOutcome accepted(const QString &text)
{
    FieldCheckOutcome o;
    o.kind = FieldCheckOutcome::Accepted;
    o.text = text;
    return o;
}

FieldCheckOutcome rejected(const QString &message, const QString &caption, const QString &replacement)
{
    FieldCheckOutcome o;
    o.kind = FieldCheckOutcome::Rejected;
    o.message = message;
    o.caption = caption;
    o.text = replacement;
    return o;
}

FieldCheckOutcome conversionError(const EConvertError &e)
{
    FieldCheckOutcome o;
    o.kind = FieldCheckOutcome::ConversionError;
    o.message = e.message();
    return o;
}

QChar g_separatorOverride;

} // namespace

FieldCheckOutcome CheckNominalCurrent(const QString &text, const QString &minLabel,
                                      const QString &maxLabel)
{
    try {
        const int value = StrToInt(text);
        const int minimum = StrToInt(minLabel);
        const int maximum = StrToInt(maxLabel);
        if (value < minimum || value > maximum)
            return rejected(kMsgNumberOutOfRange, kCaptionError, minLabel);
        return accepted(text);
    } catch (const EConvertError &e) {
        return conversionError(e);
    }
}

QString CLO_LifeTimeRangeMessage(const ParameterDescriptor &lifeTime)
{
    return QStringLiteral("wrong value, should by in interval ") + lifeTime.min + QStringLiteral(" h - ")
           + lifeTime.max + QStringLiteral(" h");
}

QString CLO_LevelRangeMessage(const ParameterDescriptor &level)
{
    return QStringLiteral("wrong value, should by in interval ") + level.min + QStringLiteral("% - ")
           + level.max + QStringLiteral("%");
}

FieldCheckOutcome CheckLifeTime(const QString &text, const ParameterDescriptor &lifeTime)
{
    try {
        const int value = StrToInt(text);
        const int minimum = StrToInt(lifeTime.min);
        const int maximum = StrToInt(lifeTime.max);
        if (value < minimum || value > maximum)
            return rejected(CLO_LifeTimeRangeMessage(lifeTime), kCaptionInfo, lifeTime.defaultValue);
        return accepted(text);
    } catch (const EConvertError &e) {
        return conversionError(e);
    }
}

std::array<QString, kCloLevelCount> LifeTimeHourLabels(int lifeTime)
{
    // The levels share the lifetime evenly: the first at 0 h, the last at its end,
    // the ones between at their share in single precision, truncated.
    std::array<QString, kCloLevelCount> labels;
    const float s = static_cast<float>(lifeTime);
    for (int k = 0; k < kCloLevelCount; ++k) {
        const float share = static_cast<float>(k) / static_cast<float>(kCloLevelCount - 1);
        labels[size_t(k)] = QString::number(static_cast<qint64>(std::trunc(s * share)));
    }
    labels.front() = QStringLiteral("0");
    labels.back() = QString::number(lifeTime);
    return labels;
}

QChar LevelDecimalSeparator()
{
    if (!g_separatorOverride.isNull())
        return g_separatorOverride;
    const QString point = QLocale().decimalPoint();
    return point == QStringLiteral(",") ? QLatin1Char(',') : QLatin1Char('.');
}

void SetLevelDecimalSeparatorForTest(QChar separator) { g_separatorOverride = separator; }

QString CLO_LxFloatToString(const QString &text)
{
    const float p = static_cast<float>(StrToFloat(text));
    float result;
    if (p <= 0.0f) {
        result = 0.0f;
    } else if (p >= 100.0f) {
        result = 100.0f;
    } else {
        const float whole = std::trunc(p);
        const float fraction = p - whole;
        if (fraction < 0.25f)
            result = whole;
        else if (fraction < 0.75f)
            result = whole + 0.5f;
        else
            result = whole + 1.0f;
    }
    const int halves = static_cast<int>(result * 2.0f);
    QString out = QString::number(halves / 2);
    if (halves % 2 != 0)
        out += LevelDecimalSeparator() + QStringLiteral("5");
    return out;
}

FieldCheckOutcome CheckCloLevel(const QString &text, const ParameterDescriptor &level)
{
    try {
        const QString rounded = CLO_LxFloatToString(text);
        const float value = static_cast<float>(StrToFloat(rounded));
        const float minimum = static_cast<float>(StrToFloat(level.min));
        const float maximum = static_cast<float>(StrToFloat(level.max));
        if (value < minimum || value > maximum)
            return rejected(CLO_LevelRangeMessage(level), kCaptionInfo, level.defaultValue);
        return accepted(rounded);
    } catch (const EConvertError &e) {
        return conversionError(e);
    }
}

FieldCheckOutcome CheckNtcTemperature(NtcTemperatureField field, const QString &startText,
                                      const QString &stopText, const QString &cutText,
                                      const ParameterDescriptor &descriptor)
{
    try {
        const int start = StrToInt(startText);
        const int stop = StrToInt(stopText);
        const int cut = StrToInt(cutText);
        if (!(start <= stop && stop <= cut)) {
            FieldCheckOutcome o = rejected(kMsgNtcOrder, kCaptionError, descriptor.defaultValue);
            o.orderViolation = true;
            return o;
        }
        const int value = field == NtcTemperatureField::Start  ? start
                          : field == NtcTemperatureField::Stop ? stop
                                                               : cut;
        const int minimum = StrToInt(descriptor.min);
        const int maximum = StrToInt(descriptor.max);
        if (value < minimum || value > maximum)
            return rejected(field == NtcTemperatureField::Stop ? kMsgNtcStopOutOfMinMax : kMsgNtcOutOfMinMax,
                            kCaptionError, descriptor.defaultValue);
        const QString &own = field == NtcTemperatureField::Start  ? startText
                             : field == NtcTemperatureField::Stop ? stopText
                                                                  : cutText;
        return accepted(own);
    } catch (const EConvertError &e) {
        return conversionError(e);
    }
}

FieldCheckOutcome CheckNtcStopLevel(const QString &text, const ParameterDescriptor &extNtcLevel2)
{
    try {
        const int value = StrToInt(text);
        if (value < 0 || value > 100)
            return rejected(kMsgNtcStopLevel, kCaptionError, extNtcLevel2.defaultValue);
        return accepted(text);
    } catch (const EConvertError &e) {
        return conversionError(e);
    }
}

int DcScrollPositionForLevel(int minimum, int maximum, int level)
{
    return static_cast<int>(static_cast<qint64>(minimum) + maximum - level);
}

int DcLevelForScrollPosition(int minimum, int maximum, int position)
{
    return static_cast<int>(static_cast<qint64>(minimum) + maximum - position);
}

DcLevelAdjustment ClampDcLevel(const QString &text, int minimum, int maximum)
{
    const int value = StrToInt(text);
    DcLevelAdjustment a;
    if (value >= maximum) {
        a.setText = true;
        a.text = QString::number(maximum);
        a.position = minimum;
    } else if (value <= minimum) {
        a.setText = true;
        a.text = QString::number(minimum);
        a.position = maximum;
    } else {
        a.position = DcScrollPositionForLevel(minimum, maximum, value);
    }
    return a;
}

DcEditorState DcEditorFromSlot(const ParameterDescriptor &dcLevel)
{
    DcEditorState s;
    s.minimum = StrToInt(dcLevel.min);
    s.maximum = StrToInt(dcLevel.max);
    s.minLabel = dcLevel.min;
    s.maxLabel = dcLevel.max;
    if (dcLevel.defaultValue == defaultDcLevelOff) {
        s.active = false;
        s.text.clear();
        s.position = s.minimum;
    } else {
        const int level = StrToInt(dcLevel.defaultValue);
        s.active = true;
        s.text = QString::number(level);
        s.position = DcScrollPositionForLevel(s.minimum, s.maximum, level);
    }
    return s;
}

FieldKeyAction ClassifyFieldKey(QChar key, bool digitsOnly)
{
    if (key == QChar(13))
        return FieldKeyAction::RunCheck;
    if (!digitsOnly)
        return FieldKeyAction::Pass;
    if ((key >= QLatin1Char('0') && key <= QLatin1Char('9')) || key.unicode() < 32 || key.unicode() == 127)
        return FieldKeyAction::Pass;
    return FieldKeyAction::Swallow;
}

bool NtcOrderAllowsSave(const std::array<STRUCT_XML_FILE_VARIABLES, kSlotCount> &profiles,
                        const QString &startText, const QString &stopText, const QString &cutText)
{
    bool anyNtc = false;
    for (const auto &profile : profiles)
        anyNtc = anyNtc || profile.ExtNTCAdjustEnable == 1;
    if (!anyNtc)
        return true;
    const int start = StrToInt(startText);
    const int stop = StrToInt(stopText);
    const int cut = StrToInt(cutText);
    return start <= stop && stop <= cut;
}
