#include "app/user_manual_opener.h"

#include "common/dialogs.h"
#include "common/user_manual.h"

#include <QDesktopServices>

QString ManualMissingText(const QString &place)
{
    return QStringLiteral("The user manual is not installed. It belongs here:\n\n%1").arg(place);
}

QString ManualNotOpenedText(const QString &page)
{
    return QStringLiteral("No web browser could be opened. The user manual is here; please open it yourself:\n\n%1")
        .arg(page);
}

bool OpenUserManual(const QString &programFolder, const std::function<bool(const QUrl &)> &opener)
{
    const QString page = FindUserManual(programFolder);
    if (page.isEmpty()) {
        dialogs().message(QStringLiteral("Error"), ManualMissingText(UserManualPlace(programFolder)), MsgButtons::OK,
                          MsgIcon::Warning);
        return false;
    }
    const QUrl url = QUrl::fromLocalFile(page);
    const bool opened = opener ? opener(url) : QDesktopServices::openUrl(url);
    if (!opened)
        dialogs().message(QStringLiteral("Error"), ManualNotOpenedText(page), MsgButtons::OK, MsgIcon::Warning);
    return opened;
}
