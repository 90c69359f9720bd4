#pragma once
// Whole files as bytes, for tests that check what was written byte for byte.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <gtest/gtest.h>

// The bytes of the file, or "<unreadable>" when it cannot be read.
inline QByteArray ReadFileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// Replaces the file's content with `bytes`.
inline void WriteFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
}
