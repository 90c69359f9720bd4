#include "common/maker_config.h"

#include "common/hex_text.h"
#include "common/program_files.h"

#include <QFile>
#include <QUrl>
#include <QtDebug>
#include <optional>

namespace {
// The longest file taken in: a handful of lines; anything much larger is not this file.
constexpr qint64 kMaxFileSize = 64 * 1024;

bool isWebAddress(const QString &value)
{
    const QUrl url(value, QUrl::StrictMode);
    return url.isValid() && !url.scheme().isEmpty() && !url.host().isEmpty()
           && (url.scheme() == QLatin1String("https") || url.scheme() == QLatin1String("http"));
}

std::optional<quint16> vendorIdOf(const QString &value)
{
    QString digits = value;
    if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        digits = digits.mid(2);
    if (digits.isEmpty() || digits.size() > 4)
        return std::nullopt;
    bool ok = false;
    const uint id = digits.toUInt(&ok, 16);
    if (!ok || id == 0)
        return std::nullopt;
    return quint16(id);
}


// The configuration of this run, once read (or set by a test).
std::optional<MakerConfig> g_current;
} // namespace

MakerConfig ParseMakerConfig(const QByteArray &text, const QString &origin)
{
    MakerConfig config;
    config.origin = origin;
    QStringList seen;
    const QList<QByteArray> lines = text.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = QString::fromUtf8(lines[i]).trimmed();
        const QString where = QStringLiteral("%1:%2: ").arg(origin).arg(i + 1);
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) || line.startsWith(QLatin1Char(';')))
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0) {
            config.problems << where + QStringLiteral("not \"key = value\"; the line is ignored");
            continue;
        }
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        if (seen.contains(key)) {
            config.problems << where + QStringLiteral("'%1' is given again; the first one counts").arg(key);
            continue;
        }
        QString *page = nullptr;
        if (key == QLatin1String("company_web_page"))
            page = &config.companyWebPage;
        else if (key == QLatin1String("product_web_page"))
            page = &config.productWebPage;
        else if (key == QLatin1String("programmer_manual_web_page"))
            page = &config.programmerManualWebPage;
        if (page) {
            if (!isWebAddress(value)) {
                config.problems << where + QStringLiteral("'%1' is not an http or https address; %2 is used")
                                               .arg(value, *page);
                continue;
            }
            *page = value;
        } else if (key == QLatin1String("programmer_usb_vendor_id")) {
            const auto id = vendorIdOf(value);
            if (!id) {
                config.problems << where
                                       + QStringLiteral("'%1' is not a USB vendor ID (1 to 4 hexadecimal digits, "
                                                        "not 0); 0x%2 is used")
                                             .arg(value, HexWord(config.programmerUsbVendorId));
                continue;
            }
            config.programmerUsbVendorId = *id;
        } else {
            config.problems << where + QStringLiteral("unknown key '%1'; the line is ignored").arg(key);
            continue;
        }
        seen << key;
    }
    return config;
}

MakerConfig LoadMakerConfig(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return MakerConfig();
    if (!file.open(QIODevice::ReadOnly)) {
        MakerConfig config;
        config.problems << QStringLiteral("%1: cannot be read (%2); the built-in values are used")
                               .arg(path, file.errorString());
        return config;
    }
    if (file.size() > kMaxFileSize) {
        MakerConfig config;
        config.problems << QStringLiteral("%1: larger than %2 bytes; the built-in values are used")
                               .arg(path)
                               .arg(kMaxFileSize);
        return config;
    }
    return ParseMakerConfig(file.readAll(), path);
}

const MakerConfig &CurrentMakerConfig()
{
    if (!g_current) {
        g_current = LoadMakerConfig(FindFileIn(ProgramConfigFolders(), kMakerConfigFileName));
        for (const QString &problem : g_current->problems)
            qWarning().noquote() << problem;
    }
    return *g_current;
}

void SetMakerConfigForTesting(const MakerConfig *config)
{
    if (config)
        g_current = *config;
    else
        g_current.reset();
}
