#include "profile/settings_file.h"

#include "common/convert.h"
#include "common/dialogs.h"
#include "common/programmer_id.h"
#include "profile/atomic_file.h"
#include "profile/file_error.h"
#include "profile/profile_defaults.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

// Values are decoded by this file (UTF-8, else Latin-1); SimpleIni only stores bytes.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION // the templates are instantiated here; no SimpleIni library is linked
#include <SimpleIni.h>

#include <string>

namespace {

// One key of a section with the way it is read and written.
struct SettingsKey {
    QString name;
    int32_t STRUCT_XML_FILE_VARIABLES::*integer = nullptr;
    QString STRUCT_XML_FILE_VARIABLES::*text = nullptr;
    ParameterDescriptor STRUCT_XML_FILE_VARIABLES::*group = nullptr;
    QString ParameterDescriptor::*member = nullptr;

    QString get(const STRUCT_XML_FILE_VARIABLES &r) const
    {
        if (integer)
            return QString::number(r.*integer);
        if (text)
            return r.*text;
        return (r.*group).*member;
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
        for (const auto &g : kDescriptorGroups) {
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
                k.group = g.field;
                k.member = m->field;
                v.push_back(k);
            }
        }
        return v;
    }();
    return keys;
}

QString decodeValue(const char *bytes)
{
    const QByteArray raw(bytes);
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

struct SettingsIniFile::Impl {
    QString path;
    CSimpleIniA ini{true /*UTF-8*/, false /*one value per key*/, false /*no multi-line*/};
    // The file exists but could not be read: writing it back would lose its content.
    QString readError;
};

SettingsIniFile::SettingsIniFile(const QString &path) : d(std::make_unique<Impl>())
{
    d->path = path;
    d->ini.SetSpaces(false);
    Reload();
}

SettingsIniFile::~SettingsIniFile() = default;

QString SettingsIniFile::FileName() const { return d->path; }

void SettingsIniFile::Reload()
{
    d->ini.Reset();
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
    if (d->ini.LoadData(data.constData(), size_t(data.size())) < 0) {
        d->ini.Reset();
        d->readError = QStringLiteral("The file is not a settings file");
    }
}

QString SettingsIniFile::ReadString(const QString &section, const QString &key,
                                    const QString &defaultValue) const
{
    const char *v = d->ini.GetValue(section.toUtf8().constData(), key.toUtf8().constData(), nullptr);
    return v ? decodeValue(v) : defaultValue;
}

void SettingsIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    d->ini.SetValue(section.toUtf8().constData(), key.toUtf8().constData(), value.toUtf8().constData());
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
    d->ini.Delete(section.toUtf8().constData(), key.toUtf8().constData());
}

void SettingsIniFile::EraseSection(const QString &section)
{
    d->ini.Delete(section.toUtf8().constData(), nullptr);
}

bool SettingsIniFile::SectionExists(const QString &section) const
{
    return d->ini.GetSectionSize(section.toUtf8().constData()) >= 0;
}

QStringList SettingsIniFile::Sections() const
{
    CSimpleIniA::TNamesDepend names;
    d->ini.GetAllSections(names);
    names.sort(CSimpleIniA::Entry::LoadOrder());
    QStringList out;
    for (const auto &n : names)
        out << decodeValue(n.pItem);
    return out;
}

QStringList SettingsIniFile::Keys(const QString &section) const
{
    CSimpleIniA::TNamesDepend names;
    d->ini.GetAllKeys(section.toUtf8().constData(), names);
    names.sort(CSimpleIniA::Entry::LoadOrder());
    QStringList out;
    for (const auto &n : names)
        out << decodeValue(n.pItem);
    return out;
}

QByteArray SettingsIniFile::ToBytes() const
{
    std::string text;
    d->ini.Save(text, false /*no byte-order mark*/);
    return QByteArray::fromStdString(text);
}

void SettingsIniFile::UpdateFile()
{
    if (!d->readError.isEmpty())
        throw EFCreateError::forFile(d->path, d->readError);
    WriteFileAtomically(d->path, ToBytes());
}

// ---- Writing and reading the three profiles --------------------------------------

bool DownloadSettingsToIniFile(SettingsIniFile &ini, const ProfileSlots &profiles)
{
    try {
        ini.Reload();
        const auto &keys = settingsKeys();
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
                } else if (k.text) {
                    r.*(k.text) = k.text == &STRUCT_XML_FILE_VARIABLES::enOcean_HandHeldID ? NormalizedEnOceanId(value) : value;
                } else {
                    (r.*(k.group)).*(k.member) = value;
                    if (k.group == &STRUCT_XML_FILE_VARIABLES::dcLevel
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
