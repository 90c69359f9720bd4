#include "common/programmer_id.h"

#include <QRegularExpression>

bool IsEnOceanIdText(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^0[xX][0-9A-Fa-f]{8}$"));
    return re.match(text.trimmed()).hasMatch();
}

QString NormalizedEnOceanId(const QString &text)
{
    if (!IsEnOceanIdText(text))
        return text;
    return QStringLiteral("0x") + text.trimmed().mid(2).toUpper();
}
