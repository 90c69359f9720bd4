#pragma once
// A file that could not be created or written. The text names the file and the
// reason the platform gave; the application's general error report shows it.

#include <QString>
#include <stdexcept>

class EFCreateError : public std::runtime_error {
public:
    explicit EFCreateError(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }

    // The file `path` could not be created or written for `reason`.
    static EFCreateError forFile(const QString &path, const QString &reason)
    {
        return EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, reason));
    }
};
