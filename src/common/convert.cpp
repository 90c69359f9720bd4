#include "common/convert.h"

#include <QRegularExpression>

EConvertError::EConvertError(const QString &message)
    : std::runtime_error(message.toStdString())
{
}

namespace {
bool parseInt64(const QString &text, qint64 &value)
{
    static const QRegularExpression pattern(QStringLiteral("^[+-]?[0-9]+$"));
    if (!pattern.match(text).hasMatch())
        return false;
    bool ok = false;
    value = text.toLongLong(&ok);
    return ok;
}
} // namespace

bool TryStrToInt(const QString &text, int &value)
{
    qint64 v = 0;
    if (!parseInt64(text, v) || v < INT32_MIN || v > INT32_MAX)
        return false;
    value = static_cast<int>(v);
    return true;
}

int StrToInt(const QString &text)
{
    int v = 0;
    if (!TryStrToInt(text, v))
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return v;
}

qint64 StrToInt64(const QString &text)
{
    qint64 v = 0;
    if (!parseInt64(text, v))
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return v;
}

bool TryStrToFloat(const QString &text, double &value)
{
    static const QRegularExpression pattern(
        QStringLiteral("^[+-]?([0-9]+([.,][0-9]*)?|[.,][0-9]+)([eE][+-]?[0-9]+)?$"));
    if (!pattern.match(text).hasMatch())
        return false;
    QString normalized = text;
    normalized.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    value = normalized.toDouble(&ok);
    return ok;
}

double StrToFloat(const QString &text)
{
    double v = 0;
    if (!TryStrToFloat(text, v))
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return v;
}
