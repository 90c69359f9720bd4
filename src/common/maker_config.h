#pragma once
// The maker's settings a maker may change without rebuilding the program: the
// three web pages the "about" buttons open and the USB vendor ID by which the
// handheld programmer's serial port is found. They are read from the small file
// "tavel-nfc.conf" (beside the program, else in the installed configuration
// folder); a missing file, key or unusable value keeps the built-in value.
//
//   # comment
//   company_web_page = https://www.tavel.example/
//   product_web_page = https://www.tavel.example/nfc-configuration-software/
//   programmer_manual_web_page = https://www.tavel.example/downloads/nfc-programmer-manual-en.pdf
//   programmer_usb_vendor_id = 0x1209

#include <QString>
#include <QStringList>

inline const QString kMakerConfigFileName = QStringLiteral("tavel-nfc.conf");
// The programmer's USB vendor ID when the file does not set it.
inline constexpr quint16 kDefaultProgrammerUsbVendorId = 0x1209;

struct MakerConfig {
    QString companyWebPage = QStringLiteral("https://www.tavel.example/");
    QString productWebPage = QStringLiteral("https://www.tavel.example/nfc-configuration-software/");
    QString programmerManualWebPage =
        QStringLiteral("https://www.tavel.example/downloads/nfc-programmer-manual-en.pdf");
    quint16 programmerUsbVendorId = kDefaultProgrammerUsbVendorId;

    QString origin;       // the file read, or empty when the built-in values are used
    QStringList problems; // "FILE:LINE: reason" for every line not taken over
};

// Reads the text of a configuration file over the built-in values. `origin` names
// the file in the problems.
MakerConfig ParseMakerConfig(const QByteArray &text, const QString &origin);
// Reads `path`; a file that does not exist gives the built-in values without a
// problem, one that cannot be read gives them with a problem.
MakerConfig LoadMakerConfig(const QString &path);

// The configuration of this run: read once, on first use, from the first
// configuration folder that has the file. Its problems are written once to the
// program's warning output (standard error).
const MakerConfig &CurrentMakerConfig();
// Tests: makes `config` the configuration of this run (nullptr: read again on next use).
void SetMakerConfigForTesting(const MakerConfig *config);
