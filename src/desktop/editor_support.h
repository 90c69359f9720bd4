#pragma once
// What the main window's four parameter editors share: the key rule of their
// fields, applying a field check's outcome to a field, the graphs' information
// messages, and placing an editor's panel where the current graph's panel stands.

#include "app/editor_rules.h"

#include <QChar>
#include <QStringList>

class QFrame;
class TEdit;

// A key typed into an editor field: true when it is Enter, which runs the field's
// leave check. Digits-only fields refuse every other character but digits.
bool EditorEnterRunsCheck(QChar &key, bool digitsOnly);

// A field check that found a text that does not convert ends the user action with
// the conversion error (EConvertError); the field keeps what was typed.
void ThrowIfConversionError(const FieldCheckOutcome &o);

// A value the check rejected is reported, and the field gets the text the check
// put in its place. True when the value was rejected. Throws like
// ThrowIfConversionError.
bool ApplyFieldCheck(const FieldCheckOutcome &o, TEdit *edit);

// Every message one after the other, as information.
void ShowInfoMessages(const QStringList &messages);

// The CLO, DC and NTC panels stand where the current graph's panel stands, in its colour.
void TakePlaceAndColour(QFrame *panel, const QFrame *from);
