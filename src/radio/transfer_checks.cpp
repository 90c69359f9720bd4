// The checks a transfer passes before its first frame goes out: a frame the
// radio layer would refuse half-way would leave the programmer with part of a
// transfer and the user with a wrong reason.
#include "radio/radio_link.h"

#include <QRegularExpression>

namespace {
bool hexDigits(const QString &text, int count)
{
    static const QRegularExpression re(QStringLiteral("^[0-9A-Fa-f]*$"));
    return text.size() == count && re.match(text).hasMatch();
}
} // namespace

QString RadioLink::TransferRefusal(const IdentityFields &identity) const
{
    const QString &receiverIdText = receiverIdText_;
    static const QRegularExpression id(QStringLiteral("^0x[0-9A-Fa-f]{8}$"));
    if (!id.match(receiverIdText).hasMatch())
        return QStringLiteral("Nothing sent: the receiver ID '%1' is not 0x and eight hexadecimal digits.")
            .arg(receiverIdText);
    struct Field {
        const char *name;
        const QString &text;
        int digits;
    };
    const Field fields[] = {{"GTIN", identity.gtin, 12}, {"FW", identity.fw, 4}, {"Serial", identity.serial, 16}, {"HW", identity.hw, 4}};
    for (const Field &f : fields)
        if (!hexDigits(f.text, f.digits))
            return QStringLiteral("Nothing sent: the identity field %1 '%2' must hold %3 hexadecimal digits.")
                .arg(QLatin1String(f.name), f.text)
                .arg(f.digits);
    return QString();
}
