#include "profile/atomic_file.h"

#include "profile/file_error.h"

#include <QSaveFile>

void WriteFileAtomically(const QString &path, const QByteArray &bytes)
{
    auto fail = [&path](const QString &reason) { throw EFCreateError::forFile(path, reason); };
    QSaveFile file(path);
    // A folder that allows no new file (a read-only folder holding a writable file)
    // gets the file written in place; everywhere else the write stays atomic.
    file.setDirectWriteFallback(true);
    // Unbuffered, so that a short write (a full disk) shows in the count written.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fail(file.errorString());
    if (file.write(bytes) != bytes.size() || !file.flush() || file.size() != bytes.size()) {
        const QString reason =
            file.error() != QFileDevice::NoError ? file.errorString() : QStringLiteral("The data was not written completely");
        file.cancelWriting();
        fail(reason);
    }
    if (!file.commit())
        fail(file.errorString());
}
