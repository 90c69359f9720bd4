#pragma once
// The maker's three web pages, opened in the system's browser. They are kept here
// and nowhere else; change them in this one place.

#include <QString>

inline const QString kCompanyWebPage = QStringLiteral("https://www.tavel.example/");
inline const QString kProductWebPage = QStringLiteral("https://www.tavel.example/nfc-configuration-software/");
inline const QString kProgrammerManualWebPage =
    QStringLiteral("https://www.tavel.example/downloads/nfc-programmer-manual-en.pdf");
