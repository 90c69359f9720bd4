#include "app/web_page_opener.h"

#include "common/dialogs.h"
#include "common/maker_config.h"

#include <QDesktopServices>

QString NoBrowserText(const QString &address)
{
    return QStringLiteral("No web browser could be opened. Please open this address yourself:\n\n%1").arg(address);
}

bool OpenWebAddress(const QString &address, const std::function<bool(const QUrl &)> &opener)
{
    const QUrl url(address, QUrl::StrictMode);
    const bool opened = url.isValid() && (opener ? opener(url) : QDesktopServices::openUrl(url));
    if (!opened)
        dialogs().message(QStringLiteral("Error"), NoBrowserText(address), MsgButtons::OK, MsgIcon::Warning);
    return opened;
}

QString CompanyWebPage() { return CurrentMakerConfig().companyWebPage; }
QString ProductWebPage() { return CurrentMakerConfig().productWebPage; }
QString ProgrammerManualWebPage() { return CurrentMakerConfig().programmerManualWebPage; }
