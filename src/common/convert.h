#pragma once
// Text-to-number conversions with the program's single failure mode: a text that
// does not convert raises EConvertError, which ends the user action and is shown
// by the application's general error report.

#include <QString>
#include <stdexcept>

class EConvertError : public std::runtime_error {
public:
    explicit EConvertError(const QString &message);
    QString message() const { return QString::fromUtf8(what()); }
};

// Division by zero in an integer computation on profile values.
class EDivByZero : public std::runtime_error {
public:
    EDivByZero() : std::runtime_error("Division by zero") {}
    QString message() const { return QString::fromUtf8(what()); }
};

// Decimal integer with an optional sign; surrounding blanks are not allowed.
// Throws EConvertError("'<text>' is not a valid integer value").
int StrToInt(const QString &text);
qint64 StrToInt64(const QString &text);
bool TryStrToInt(const QString &text, int &value);

// Decimal number; both "." and "," are accepted as the decimal separator, so a
// value written on a PC with either locale reads back everywhere.
// Throws EConvertError("'<text>' is not a valid floating point value").
double StrToFloat(const QString &text);
bool TryStrToFloat(const QString &text, double &value);
