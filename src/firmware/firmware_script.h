#pragma once
// The firmware script of the handheld programmer: a byte stream of records that
// send data blocks to its bootloader, wait, check its one-byte replies, clear the
// input and end. The program carries the format only; the script itself is the
// device maker's file, placed beside the program or embedded at build time.

#include <QByteArray>
#include <QString>
#include <array>

// Four bytes that make the running programmer restart into its bootloader.
inline constexpr std::array<char, 4> kMagicCode = {'\x5C', '\x03', '\x09', '\xD1'};

// Record markers.
inline constexpr char kMarkerVersion = 'V';
inline constexpr char kMarkerClear = 'C';
inline constexpr char kMarkerSend = 'S';
inline constexpr char kMarkerDelay = 'D';
inline constexpr char kMarkerRead = 'R';
inline constexpr char kMarkerEnd = 'E';

// The script file's fixed name, beside the program and inside the embedded resource.
inline constexpr const char *kFirmwareScriptFileName = "nfc_programmer_firmware.bin";

// Where the script was looked for and what came of it. `error` is empty on success,
// otherwise one of "Cannot find resource", "Cannot load resource",
// "Cannot get size of resource", "Cannot lock resource".
struct FirmwareScriptLoad {
    QByteArray data;
    QString error;
    QString origin; // the file path or resource path the script came from
};

// Loads the script: the file named kFirmwareScriptFileName in the script folder
// (the program's folder unless set otherwise), else the script embedded at build
// time, else "Cannot find resource".
FirmwareScriptLoad LoadFirmwareScript();
// Loads a script from a given file (the command line's --script).
FirmwareScriptLoad LoadFirmwareScriptFile(const QString &path);

// Walks the script's records without sending anything: empty when every record is
// whole and known and a send record carries data, otherwise what is wrong and at
// which position. A script that fails here would stop part-way, after the
// programmer had left its running firmware.
QString CheckFirmwareScript(const QByteArray &script);

// The folder searched for the script file; an empty text restores the program's folder.
void setFirmwareScriptFolder(const QString &folder);
QString firmwareScriptFolder();
// Whether a script was embedded when the program was built.
bool hasEmbeddedFirmwareScript();
