#pragma once
// The settings file (".set"): all three profile slots in one INI text file with the
// sections "settings1_variables" ... "settings3_variables" of 181 keys each.

#include "profile/profile_record.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// Message texts of the settings file.
inline const QString kSettingsOldVersionMessage = QStringLiteral(
    "Settings file was created in old version of software.\nIs not compatible with actual version.");
inline const QString kSettingsFormatErrorMessage =
    QStringLiteral("wrong format of settings data, program load defauld number");
inline const QString kSettingsSaveErrorMessage = QStringLiteral("Some problem during save of data");
inline const QString kSettingsUnreadableMessage = QStringLiteral("The settings file cannot be read");

// "settings1_variables" for slotIndex 0, ...
QString SettingsSectionName(int slotIndex);

// The 181 key names of one section in the order they are written: tag, the four
// enable flags, programmer_Nfc_FW before enOcean_HandHeldID, the other identity texts,
// then group.member for the parameter groups ("current.offset" before "current.factor").
const QStringList &SettingsKeyOrder();

// Why `text` cannot be stored as a settings-file value and read back the same (a
// line break or another control character, a blank at either end), or empty when it
// can.
QString UnstorableTextReason(const QString &text);

// The INI-file object bound to one path. Reads and writes go to an in-memory copy
// of the file; UpdateFile puts it on disk. Every line the program does not write
// (other sections and keys, comments, blank lines, lines without "=") stays where it
// was; a key that exists gets its new value in place, a new key follows the last key
// of its section. Names are compared without regard to case; of a section or key that
// appears twice the first counts. Values are stored as UTF-8; a file that is not
// valid UTF-8 (an older file in the Windows code page) reads as Latin-1. A file that
// holds a NUL byte is no settings file: it reads as having no keys, with ReadError()
// saying why, and is never written over.
class SettingsIniFile {
public:
    // Binds to `path` and reads the file if it exists (a missing or unreadable file
    // reads as having no keys).
    explicit SettingsIniFile(const QString &path);
    ~SettingsIniFile();
    SettingsIniFile(const SettingsIniFile &) = delete;
    SettingsIniFile &operator=(const SettingsIniFile &) = delete;

    QString FileName() const;

    // Re-reads the file from disk, dropping unsaved writes. An object bound to the
    // empty path has no file and keeps what it holds.
    void Reload();
    // Takes `data` as the file's content (as Reload does with the file on disk).
    void LoadFromBytes(const QByteArray &data);
    // Why the existing file could not be read, or empty.
    QString ReadError() const;

    // The stored text, or `defaultValue` when the section or key is absent.
    QString ReadString(const QString &section, const QString &key, const QString &defaultValue) const;
    // Creates the section or key as needed; replaces an existing value in place.
    void WriteString(const QString &section, const QString &key, const QString &value);
    int ReadInteger(const QString &section, const QString &key, int defaultValue) const; // throws EConvertError
    void WriteInteger(const QString &section, const QString &key, int value);

    void DeleteKey(const QString &section, const QString &key);
    void EraseSection(const QString &section);

    bool SectionExists(const QString &section) const;
    QStringList Sections() const;          // in file order
    QStringList Keys(const QString &section) const; // in file order

    // Writes the whole file atomically: a temporary file beside it is written,
    // flushed and then put in place of the old one, so a failing write never leaves
    // a half-written file. Throws EFCreateError on failure (the old file stays as it was),
    // also when the file exists but could not be read, so that its content is never
    // replaced by the program's keys alone.
    void UpdateFile();

    // The file's text as UpdateFile would write it.
    QByteArray ToBytes() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

using ProfileSlots = std::array<STRUCT_XML_FILE_VARIABLES, kSlotCount>;

// Writes all three slots (keys in write order, integers in decimal), then UpdateFile.
// The file is re-read from disk first so that foreign keys written by others stay.
// On failure shows "Some problem during save of data" (caption "Error") through
// dialogs() and returns false; the file on disk is then unchanged. A text that the
// file cannot hold (UnstorableTextReason) is refused before anything is written,
// with that message and a line naming the slot, the key and the reason.
// The atomic write falls back to writing the file in place when its folder does not
// allow a temporary file beside it.
bool DownloadSettingsToIniFile(SettingsIniFile &ini, const ProfileSlots &profiles);
bool DownloadSettingsToIniFile(SettingsIniFile &ini); // the process-wide slots

enum class SettingsLoadResult {
    Loaded,                    // all three slots read; the caller selects slot 1
    Unreadable,                // the file could not be read or is no settings file; message shown, nothing changed
    OldVersion,                // version marker absent or "0"; message shown, nothing changed
    FormatErrorDefaultsLoaded, // format error; message shown, defaults loaded over what was read
    FormatError,               // format error with fallback off; the slots hold what was read so far
};

struct SettingsLoadOptions {
    // Load the default profile into all three slots after a format error. The
    // command line turns this off and reports the error instead.
    bool fallbackToDefaults = true;
    // Called right after a slot's dcLevel.defaultValue is read and its DC values are
    // converted (min, max and, unless "255", defaultValue): the main window moves
    // its DC level controls here. An exception it throws counts as a format error.
    std::function<void(int slotIndex)> dcLevelAdjust;
    // Receives the text of the error behind a format error (e.g. "'abc' is not a
    // valid integer value"), for callers that report more than the message.
    QString *errorDetail = nullptr;
};

// Reads all three slots from the file (re-read from disk first):
// - a file that exists but cannot be read, or holds a NUL byte, shows
//   kSettingsUnreadableMessage and the reason (caption "Error") and returns
//   Unreadable without touching any slot;
// - version rule: "programmer_Nfc_FW" of section 1 absent or "0" shows the old-version
//   message (caption "Error") and returns OldVersion without touching any slot;
// - absent keys read as "0"; tag and the enable flags are converted to integers;
//   the availability flags are set to the enable flags;
// - a text holding a control character counts as a format error naming the key;
// - a conversion failure shows "wrong format of settings data, program load defauld
//   number" (caption "Error") and, with the fallback on, loads the default profile
//   over what was read.
// Selecting slot 1 afterwards is the caller's job; after FormatErrorDefaultsLoaded the
// main window also runs its own default-loading steps for its controls.
SettingsLoadResult UploadSettingsFromIniFile(SettingsIniFile &ini, ProfileSlots &profiles,
                                             const SettingsLoadOptions &options = {});
SettingsLoadResult UploadSettingsFromIniFile(SettingsIniFile &ini, const SettingsLoadOptions &options = {});

// The conversions the DC level controls need for a slot: dcLevel.min, dcLevel.max
// and, unless it is "255", dcLevel.defaultValue. Throws EConvertError.
void CheckDcLevelValues(const STRUCT_XML_FILE_VARIABLES &slot);
