#pragma once
// Readable failure output for Qt texts and rectangles in assertions.
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList &l, std::ostream *os) { *os << '[' << l.join("|").toStdString() << ']'; }
inline void PrintTo(const QRect &r, std::ostream *os)
{
    *os << '(' << r.x() << ',' << r.y() << ' ' << r.width() << 'x' << r.height() << ')';
}
inline void PrintTo(const QSize &s, std::ostream *os) { *os << s.width() << 'x' << s.height(); }
