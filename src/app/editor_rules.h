#pragma once
// The rules of the parameter editors without widgets: every field check, the
// rounding of the CLO levels, the lifetime hour labels, the inverted DC scroll bar
// and the NTC order test of Save. The window reads the field texts and bounds each
// time and applies the outcome (message box, replacement text, redraw).

#include "profile/parameter_table.h"
#include "profile/profile_record.h"

#include <QChar>
#include <QString>
#include <array>

// The result of one field check.
struct FieldCheckOutcome {
    enum Kind {
        Accepted,        // `text` is the field's final text (possibly normalised)
        Rejected,        // show `message` with `caption`, then the field gets `text`
        ConversionError, // a text did not convert: report `message`, leave the field as typed
    };
    Kind kind = Accepted;
    QString text;
    QString message;
    QString caption;
    // The NTC temperatures: the rejection came from the order test (the panel is reopened).
    bool orderViolation = false;

    bool accepted() const { return kind == Accepted; }
    bool rejected() const { return kind == Rejected; }
    bool conversionError() const { return kind == ConversionError; }
};

// Fixed texts of the editors.
inline const QString kMsgNumberOutOfRange = QStringLiteral("number is out of range");
inline const QString kMsgNtcOrder =
    QStringLiteral("Start Temperature <= Stop Temperature <= cut-off Temperature");
inline const QString kMsgNtcOutOfMinMax = QStringLiteral("number is out of min max range");
inline const QString kMsgNtcStopOutOfMinMax = QStringLiteral("number in out of min max range");
inline const QString kMsgNtcStopLevel = QStringLiteral("wrong value, should by in interval 0%-100%");
inline const QString kMsgConfigurationsMade = QStringLiteral("Configurations are made");
inline const QString kCaptionError = QStringLiteral("Error");
inline const QString kCaptionInfo = QStringLiteral("Info");

// The nominal current: an integer between the two label texts (both as integers).
// Rejected: "number is out of range" ("Error"), the field becomes the minimum label's text.
FieldCheckOutcome CheckNominalCurrent(const QString &text, const QString &minLabel,
                                      const QString &maxLabel);

// The range message of the lifetime and of the CLO levels.
QString CLO_LifeTimeRangeMessage(const ParameterDescriptor &lifeTime);
QString CLO_LevelRangeMessage(const ParameterDescriptor &level);

// The LED lifetime: an integer within lifeTime.min ... lifeTime.max.
// Rejected: the lifetime range message ("Info"), the field becomes lifeTime.defaultValue.
FieldCheckOutcome CheckLifeTime(const QString &text, const ParameterDescriptor &lifeTime);

// The CLO levels' hour labels for a lifetime S: "0", the even shares of S between
// (S*0.25, S*0.5, S*0.75 for five levels; single precision, truncated toward zero) and S.
std::array<QString, kCloLevelCount> LifeTimeHourLabels(int lifeTime);

// Rounds a CLO level text to a multiple of 0.5 within 0 ... 100 and writes it as the
// shortest decimal text (33.2 -> "33", 33.3 -> "33.5", 150 -> "100", -5 -> "0").
// Throws EConvertError when the text is not a number.
QString CLO_LxFloatToString(const QString &text);

// The decimal separator the level texts are written with (the user's locale, where it
// is "." or ","; both convert back with the program's number conversion).
QChar LevelDecimalSeparator();
void SetLevelDecimalSeparatorForTest(QChar separator); // QChar() restores the locale

// A CLO level: rounded first, then within min ... max of its descriptor (bounds at
// single precision). Accepted: `text` is the rounded text. Rejected: the level range
// message ("Info"), the field becomes the descriptor's defaultValue.
FieldCheckOutcome CheckCloLevel(const QString &text, const ParameterDescriptor &level);

// The three NTC temperature fields.
enum class NtcTemperatureField { Start, Stop, CutOff };
// First the order start <= stop <= cut-off over the three texts, then the checked
// field's integer within its descriptor's min ... max. Rejected with the descriptor's
// defaultValue as replacement; orderViolation tells that the order test failed.
FieldCheckOutcome CheckNtcTemperature(NtcTemperatureField field, const QString &startText,
                                      const QString &stopText, const QString &cutText,
                                      const ParameterDescriptor &descriptor);

// The NTC stop level: an integer 0 ... 100 (fixed bounds). Rejected with
// ExtNTCLevel2.defaultValue as replacement.
FieldCheckOutcome CheckNtcStopLevel(const QString &text, const ParameterDescriptor &extNtcLevel2);

// ---- DC emergency level ------------------------------------------------------------

// The DC scroll bar is inverted: its minimum position stands for the highest level.
int DcScrollPositionForLevel(int minimum, int maximum, int level);
int DcLevelForScrollPosition(int minimum, int maximum, int position);

// Leaving the DC level field: never rejected, clamped silently to the bar's range.
struct DcLevelAdjustment {
    bool setText = false; // the field gets `text` (only when the value was clamped)
    QString text;
    int position = 0; // the scroll-bar position to set
};
// Throws EConvertError when the field text is not an integer.
DcLevelAdjustment ClampDcLevel(const QString &text, int minimum, int maximum);

// The DC editor as loaded from a slot.
struct DcEditorState {
    int minimum = 0;
    int maximum = 0;
    QString minLabel;
    QString maxLabel;
    bool active = false; // false: DC emergency operation off ("255")
    QString text;        // the level field ("" when off)
    int position = 0;    // the bar position (only meaningful when active)
};
// Throws EConvertError when dcLevel.min, .max or (unless "255") .defaultValue is not an integer.
DcEditorState DcEditorFromSlot(const ParameterDescriptor &dcLevel);

// ---- Keys --------------------------------------------------------------------------

enum class FieldKeyAction {
    RunCheck, // Enter: run the field's leave check
    Pass,     // leave the key to the field
    Swallow,  // a digits-only field refuses the key
};
// `digitsOnly` fields accept digits and the editing keys (backspace, control keys).
FieldKeyAction ClassifyFieldKey(QChar key, bool digitsOnly);

// ---- Save --------------------------------------------------------------------------

// Save's NTC order test: runs only when one of the slots enables NTC. True when Save
// may go on. Throws EConvertError when a temperature text is not an integer.
bool NtcOrderAllowsSave(const std::array<STRUCT_XML_FILE_VARIABLES, kSlotCount> &profiles,
                        const QString &startText, const QString &stopText,
                        const QString &cutText);
