#pragma once
// Writing a whole file so that a failure never leaves it half written.

#include <QByteArray>
#include <QString>

// Writes `bytes` to a temporary file beside `path`, checks that every byte reached
// it and only then puts it in place of the old file. Throws EFCreateError naming
// the file and the reason; the old file then stays as it was.
void WriteFileAtomically(const QString &path, const QByteArray &bytes);
