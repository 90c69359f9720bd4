#include "profile/settings_file.h"

#include "common/convert.h"
#include "common/dialogs.h"
#include "common/programmer_id.h"
#include "profile/atomic_file.h"
#include "profile/file_error.h"
#include "profile/parameter_table.h"
#include "profile/profile_defaults.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStringDecoder>

#include <string>
#include <vector>

namespace {

// One key of a section with the way it is read and written.
struct SettingsKey {
    QString name;
    int32_t STRUCT_XML_FILE_VARIABLES::*integer = nullptr;
    QString STRUCT_XML_FILE_VARIABLES::*text = nullptr;
    const ParameterGroup *group = nullptr;
    QString ParameterDescriptor::*member = nullptr;

    QString get(const STRUCT_XML_FILE_VARIABLES &r) const
    {
        if (integer)
            return QString::number(r.*integer);
        if (text)
            return r.*text;
        return group->field.of(r).*member;
    }
};

const IntegerField &integerField(const char *name)
{
    for (const auto &f : kIntegerFields)
        if (qstrcmp(f.name, name) == 0)
            return f;
    throw std::logic_error("unknown integer field");
}

const TextField &identityField(const char *name)
{
    for (const auto &f : kIdentityFields)
        if (qstrcmp(f.name, name) == 0)
            return f;
    throw std::logic_error("unknown identity field");
}

const std::vector<SettingsKey> &settingsKeys()
{
    static const std::vector<SettingsKey> keys = [] {
        std::vector<SettingsKey> v;
        for (const char *name : {"tag", "currentAdjustEnable", "cloAdjustEnable", "dclevelAdjustEnable",
                                 "ExtNTCAdjustEnable"}) {
            SettingsKey k;
            k.name = QLatin1String(name);
            k.integer = integerField(name).field;
            v.push_back(k);
        }
        // The version marker is written ahead of the handheld ID.
        std::vector<const TextField *> texts{&identityField("programmer_Nfc_FW"),
                                             &identityField("enOcean_HandHeldID")};
        for (const auto &f : kIdentityFields)
            if (&f != texts[0] && &f != texts[1])
                texts.push_back(&f);
        for (const TextField *f : texts) {
            SettingsKey k;
            k.name = QLatin1String(f->name);
            k.text = f->field;
            v.push_back(k);
        }
        for (const ParameterGroup &g : kParameterGroups) {
            std::vector<const DescriptorMember *> members;
            for (const auto &m : kDescriptorMembers)
                members.push_back(&m);
            // The current group writes its offset before its factor.
            if (qstrcmp(g.name, "current") == 0) {
                auto at = [&](const char *n) {
                    for (size_t i = 0; i < members.size(); ++i)
                        if (qstrcmp(members[i]->name, n) == 0)
                            return i;
                    throw std::logic_error("unknown member");
                };
                std::swap(members[at("factor")], members[at("offset")]);
            }
            for (const DescriptorMember *m : members) {
                SettingsKey k;
                k.name = QLatin1String(g.name) + QLatin1Char('.') + QLatin1String(m->name);
                k.group = &g;
                k.member = m->field;
                v.push_back(k);
            }
        }
        return v;
    }();
    return keys;
}

QString decodeValue(const QByteArray &raw)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(raw);
    if (utf8.hasError())
        return QString::fromLatin1(raw);
    return text;
}

} // namespace

QString SettingsSectionName(int slotIndex)
{
    return QStringLiteral("settings%1_variables").arg(slotIndex + 1);
}

const QStringList &SettingsKeyOrder()
{
    static const QStringList names = [] {
        QStringList l;
        for (const auto &k : settingsKeys())
            l << k.name;
        return l;
    }();
    return names;
}

// ---- SettingsIniFile ---------------------------------------------------------

// The file is held as its lines, so that everything the program does not write
// (comments, blank lines, lines without "=", other sections and keys) is written
// back where it was. Section and key names are compared without regard to case;
// where a section or key appears twice, the first one counts, as on Windows.
struct SettingsIniFile::Impl {
    struct Line {
        enum Kind { Other, Section, Key } kind = Other;
        QByteArray text;  // the line as it is written back (without the line end)
        QByteArray name;  // section or key name, blanks removed
        QByteArray value; // a key's value, blanks removed
    };
    QString path;
    std::vector<Line> lines;
    // Lower-case names -> line index: the first header of each section (index of the
    // line after it) and the first line of each key ("section\0key"). Rebuilt when
    // lines have moved, so a large file is not searched line by line for every key.
    mutable QHash<QByteArray, qsizetype> sectionIndex;
    mutable QHash<QByteArray, qsizetype> keyIndex;
    mutable bool indexValid = false;

    void buildIndex() const
    {
        if (indexValid)
            return;
        sectionIndex.clear();
        keyIndex.clear();
        QByteArray section; // lines before any header belong to the section ""
        bool counts = true; // within the first header of its name
        for (size_t i = 0; i < lines.size(); ++i) {
            const Line &l = lines[i];
            if (l.kind == Line::Section) {
                section = l.name.toLower();
                counts = !sectionIndex.contains(section);
                if (counts)
                    sectionIndex.insert(section, qsizetype(i) + 1);
            } else if (l.kind == Line::Key && counts) {
                const QByteArray k = section + '\0' + l.name.toLower();
                if (!keyIndex.contains(k))
                    keyIndex.insert(k, qsizetype(i));
            }
        }
        indexValid = true;
    }
    void linesMoved() { indexValid = false; }
    // The file exists but could not be read or is no settings file: writing it
    // back would lose its content.
    QString readError;

    static bool sameName(const QByteArray &a, const QByteArray &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

    void parse(QByteArray data)
    {
        if (data.startsWith("\xEF\xBB\xBF"))
            data.remove(0, 3);
        if (data.endsWith('\n'))
            data.chop(1);
        if (data.isEmpty())
            return;
        for (QByteArray raw : data.split('\n')) {
            if (raw.endsWith('\r'))
                raw.chop(1);
            Line line;
            line.text = raw;
            const QByteArray t = raw.trimmed();
            const qsizetype close = t.indexOf(']');
            const qsizetype eq = t.indexOf('=');
            if (t.startsWith('[') && close > 0) {
                line.kind = Line::Section;
                line.name = t.mid(1, close - 1).trimmed();
            } else if (!t.startsWith(';') && !t.startsWith('#') && eq > 0) {
                line.kind = Line::Key;
                line.name = t.left(eq).trimmed();
                line.value = t.mid(eq + 1).trimmed();
            }
            lines.push_back(line);
        }
    }

    // The first line of the first section `name` (one past its header), or -1. The
    // lines before any section header form the section "".
    qsizetype sectionStart(const QByteArray &name) const
    {
        if (name.isEmpty())
            return 0;
        buildIndex();
        return sectionIndex.value(name.toLower(), -1);
    }
    qsizetype sectionEnd(qsizetype start) const
    {
        qsizetype i = start;
        while (i < qsizetype(lines.size()) && lines[size_t(i)].kind != Line::Section)
            ++i;
        return i;
    }
    const Line *find(const QByteArray &section, const QByteArray &key) const
    {
        buildIndex();
        const qsizetype i = keyIndex.value(section.toLower() + '\0' + key.toLower(), -1);
        return i < 0 ? nullptr : &lines[size_t(i)];
    }
    void set(const QByteArray &section, const QByteArray &key, const QByteArray &value)
    {
        Line line;
        line.kind = Line::Key;
        line.name = key;
        line.value = value;
        line.text = key + '=' + value;
        qsizetype start = sectionStart(section);
        if (start < 0) {
            // A new section goes to the end of the file, after a blank line.
            if (!lines.empty() && !lines.back().text.trimmed().isEmpty())
                lines.push_back(Line{});
            Line header;
            header.kind = Line::Section;
            header.name = section;
            header.text = '[' + section + ']';
            lines.push_back(header);
            lines.push_back(line);
            if (indexValid) { // nothing moved: the index only grows
                sectionIndex.insert(section.toLower(), qsizetype(lines.size()) - 1);
                keyIndex.insert(section.toLower() + '\0' + key.toLower(), qsizetype(lines.size()) - 1);
            }
            return;
        }
        if (const Line *existing = find(section, key)) {
            Line &l = lines[size_t(existing - lines.data())];
            line.name = l.name; // the name keeps its spelling
            line.text = l.name + '=' + value;
            l = line;
            return;
        }
        const qsizetype end = sectionEnd(start);
        qsizetype afterLastKey = start;
        for (qsizetype i = start; i < end; ++i)
            if (lines[size_t(i)].kind == Line::Key)
                afterLastKey = i + 1;
        // A new key follows the section's last key; comments after it stay after it.
        lines.insert(lines.begin() + afterLastKey, line);
        if (indexValid && afterLastKey == qsizetype(lines.size()) - 1)
            keyIndex.insert(section.toLower() + '\0' + key.toLower(), afterLastKey); // nothing moved
        else
            linesMoved();
    }
};

SettingsIniFile::SettingsIniFile(const QString &path) : d(std::make_unique<Impl>())
{
    d->path = path;
    Reload();
}

SettingsIniFile::~SettingsIniFile() = default;

QString SettingsIniFile::FileName() const { return d->path; }

QString SettingsIniFile::ReadError() const { return d->readError; }

void SettingsIniFile::Reload()
{
    if (d->path.isEmpty())
        return; // an object without a file keeps what it was given
    d->lines.clear();
    d->linesMoved();
    d->readError.clear();
    QFileInfo info(d->path);
    if (!info.exists())
        return;
    QFile file(d->path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
        d->readError = info.isDir() ? QStringLiteral("Is a directory") : file.errorString();
        return;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        d->readError = file.errorString();
        return;
    }
    LoadFromBytes(data);
}

void SettingsIniFile::LoadFromBytes(const QByteArray &data)
{
    d->lines.clear();
    d->linesMoved();
    d->readError.clear();
    // A text file holds no NUL byte; what follows one would be lost on reading and
    // then on writing back.
    if (const qsizetype nul = data.indexOf('\0'); nul >= 0) {
        d->readError = QStringLiteral("the file holds a NUL byte at offset %1, so it is no settings file").arg(nul);
        return;
    }
    d->parse(data);
}

QString SettingsIniFile::ReadString(const QString &section, const QString &key,
                                    const QString &defaultValue) const
{
    const Impl::Line *line = d->find(section.toUtf8(), key.toUtf8());
    return line ? decodeValue(line->value) : defaultValue;
}

void SettingsIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    d->set(section.toUtf8(), key.toUtf8(), value.toUtf8());
}

int SettingsIniFile::ReadInteger(const QString &section, const QString &key, int defaultValue) const
{
    return StrToInt(ReadString(section, key, QString::number(defaultValue)));
}

void SettingsIniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, QString::number(value));
}

void SettingsIniFile::DeleteKey(const QString &section, const QString &key)
{
    const qsizetype start = d->sectionStart(section.toUtf8());
    if (start < 0)
        return;
    const QByteArray name = key.toUtf8();
    for (qsizetype i = d->sectionEnd(start) - 1; i >= start; --i)
        if (d->lines[size_t(i)].kind == Impl::Line::Key && Impl::sameName(d->lines[size_t(i)].name, name)) {
            d->lines.erase(d->lines.begin() + i);
            d->linesMoved();
        }
}

void SettingsIniFile::EraseSection(const QString &section)
{
    for (qsizetype start; (start = d->sectionStart(section.toUtf8())) > 0;) {
        d->lines.erase(d->lines.begin() + (start - 1), d->lines.begin() + d->sectionEnd(start));
        d->linesMoved();
    }
}

bool SettingsIniFile::SectionExists(const QString &section) const
{
    return d->sectionStart(section.toUtf8()) > 0;
}

QStringList SettingsIniFile::Sections() const
{
    QStringList out;
    for (const auto &l : d->lines) {
        if (l.kind != Impl::Line::Section)
            continue;
        const QString name = decodeValue(l.name);
        if (!out.contains(name, Qt::CaseInsensitive))
            out << name;
    }
    return out;
}

QStringList SettingsIniFile::Keys(const QString &section) const
{
    QStringList out;
    const qsizetype start = d->sectionStart(section.toUtf8());
    if (start < 0)
        return out;
    for (qsizetype i = start, end = d->sectionEnd(start); i < end; ++i) {
        const auto &l = d->lines[size_t(i)];
        if (l.kind != Impl::Line::Key)
            continue;
        const QString name = decodeValue(l.name);
        if (!out.contains(name, Qt::CaseInsensitive))
            out << name;
    }
    return out;
}

QByteArray SettingsIniFile::ToBytes() const
{
    QByteArray text;
    for (const auto &l : d->lines)
        text += l.text + '\n';
    return text;
}

void SettingsIniFile::UpdateFile()
{
    if (!d->readError.isEmpty())
        throw EFCreateError::forFile(d->path, d->readError);
    WriteFileAtomically(d->path, ToBytes());
}

QString UnstorableTextReason(const QString &text)
{
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return QStringLiteral("it holds a line break or another control character");
    if (!text.isEmpty() && (text.front() == QLatin1Char(' ') || text.back() == QLatin1Char(' ')))
        return QStringLiteral("it begins or ends with a blank");
    return {};
}

// ---- Writing and reading the three profiles --------------------------------------

bool DownloadSettingsToIniFile(SettingsIniFile &ini, const ProfileSlots &profiles)
{
    const auto &keys = settingsKeys();
    for (int s = 0; s < kSlotCount; ++s) {
        for (const auto &k : keys) {
            if (k.integer)
                continue;
            const QString reason = UnstorableTextReason(k.get(profiles[s]));
            if (reason.isEmpty())
                continue;
            dialogs().message(QStringLiteral("Error"),
                              kSettingsSaveErrorMessage
                                  + QStringLiteral("\nThe text of %1 in slot %2 cannot be stored: %3.")
                                        .arg(k.name)
                                        .arg(s + 1)
                                        .arg(reason),
                              MsgButtons::OK);
            return false;
        }
    }
    try {
        ini.Reload();
        for (int s = 0; s < kSlotCount; ++s) {
            const QString section = SettingsSectionName(s);
            for (const auto &k : keys)
                ini.WriteString(section, k.name, k.get(profiles[s]));
        }
        ini.UpdateFile();
        return true;
    } catch (const std::exception &) {
        dialogs().message(QStringLiteral("Error"), kSettingsSaveErrorMessage, MsgButtons::OK);
        return false;
    }
}

bool DownloadSettingsToIniFile(SettingsIniFile &ini)
{
    return DownloadSettingsToIniFile(ini, settingsVariablesField);
}

void CheckDcLevelValues(const STRUCT_XML_FILE_VARIABLES &slot)
{
    StrToInt(slot.dcLevel.min);
    StrToInt(slot.dcLevel.max);
    if (slot.dcLevel.defaultValue != defaultDcLevelOff)
        StrToInt(slot.dcLevel.defaultValue);
}

SettingsLoadResult UploadSettingsFromIniFile(SettingsIniFile &ini, ProfileSlots &profiles,
                                             const SettingsLoadOptions &options)
{
    const QString absent = QStringLiteral("0");
    ini.Reload();
    if (!ini.ReadError().isEmpty()) {
        dialogs().message(QStringLiteral("Error"), kSettingsUnreadableMessage + QStringLiteral(":\n") + ini.ReadError(),
                          MsgButtons::OK);
        if (options.errorDetail)
            *options.errorDetail = ini.ReadError();
        return SettingsLoadResult::Unreadable;
    }
    if (ini.ReadString(SettingsSectionName(0), QStringLiteral("programmer_Nfc_FW"), absent) == absent) {
        dialogs().message(QStringLiteral("Error"), kSettingsOldVersionMessage, MsgButtons::OK);
        return SettingsLoadResult::OldVersion;
    }
    try {
        for (int s = 0; s < kSlotCount; ++s) {
            STRUCT_XML_FILE_VARIABLES &r = profiles[s];
            const QString section = SettingsSectionName(s);
            for (const auto &k : settingsKeys()) {
                const QString value = ini.ReadString(section, k.name, absent);
                if (k.integer) {
                    r.*(k.integer) = StrToInt(value);
                    if (k.integer == &STRUCT_XML_FILE_VARIABLES::ExtNTCAdjustEnable) {
                        // Availability is not stored: a parameter is available when enabled.
                        r.currentAvailable = r.currentAdjustEnable;
                        r.cloAvailable = r.cloAdjustEnable;
                        r.dclevelAvailable = r.dclevelAdjustEnable;
                        r.ExtNTCAvailable = r.ExtNTCAdjustEnable;
                    }
                } else {
                    if (const QString reason = UnstorableTextReason(value); !reason.isEmpty())
                        throw EConvertError(QStringLiteral("%1 of %2: %3").arg(k.name, section, reason));
                }
                if (k.text) {
                    r.*(k.text) = k.text == &STRUCT_XML_FILE_VARIABLES::enOcean_HandHeldID ? NormalizedEnOceanId(value) : value;
                } else if (!k.integer) {
                    k.group->field.of(r).*(k.member) = value;
                    if (k.group->field == &STRUCT_XML_FILE_VARIABLES::dcLevel
                        && k.member == &ParameterDescriptor::defaultValue) {
                        CheckDcLevelValues(r);
                        if (options.dcLevelAdjust)
                            options.dcLevelAdjust(s);
                    }
                }
            }
        }
    } catch (const std::exception &e) {
        if (options.errorDetail)
            *options.errorDetail = QString::fromUtf8(e.what());
        dialogs().message(QStringLiteral("Error"), kSettingsFormatErrorMessage, MsgButtons::OK);
        if (!options.fallbackToDefaults)
            return SettingsLoadResult::FormatError;
        for (auto &slot : profiles)
            ApplyDefaultProfile(slot);
        return SettingsLoadResult::FormatErrorDefaultsLoaded;
    }
    return SettingsLoadResult::Loaded;
}

SettingsLoadResult UploadSettingsFromIniFile(SettingsIniFile &ini, const SettingsLoadOptions &options)
{
    return UploadSettingsFromIniFile(ini, settingsVariablesField, options);
}
