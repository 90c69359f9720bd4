#pragma once
// The one written form of an EnOcean ID: "0x" followed by eight upper-case
// hexadecimal digits. Programmer IDs are compared as text (case-sensitive), so
// every ID is brought to this form where it enters the program: the command
// line, a settings file, the radio window's field and the pairing frame.

#include <QString>

// True for "0x"/"0X" and eight hexadecimal digits of either case (spaces around allowed).
bool IsEnOceanIdText(const QString &text);
// The written form of an ID text IsEnOceanIdText accepts; any other text is
// returned unchanged, so that the check before sending names it as it was given.
QString NormalizedEnOceanId(const QString &text);
