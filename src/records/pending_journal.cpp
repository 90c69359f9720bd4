#include "records/pending_journal.h"

#include "profile/parameter_table.h"
#include "records/durable_file.h"
#include "records/record_columns.h"

#include <QDateTime>
#include <QFile>
#include <QMutex>
#include <QSaveFile>
#include <QSet>
#include <QUuid>

#include <algorithm>

namespace {

const QString kLineTag = QStringLiteral("R1");
const QString kSettingsKind = QStringLiteral("settings");
const QString kDriverKind = QStringLiteral("driver");
const QString kVerificationKind = QStringLiteral("verification");
// A settings record: nine identity texts, then the parameter columns; a driver
// record: own ID, firmware, programmer ID and serial, then the same parameter columns.
constexpr int kSettingsIdentityValues = 9;
constexpr int kDriverIdentityValues = 4;
constexpr int kVerificationValues = 5;

QString kindName(PendingRecord::Kind kind)
{
    switch (kind) {
    case PendingRecord::Kind::Settings: return kSettingsKind;
    case PendingRecord::Kind::Driver: return kDriverKind;
    case PendingRecord::Kind::Verification: return kVerificationKind;
    }
    return QString();
}

QString escaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\': out += QLatin1String("\\\\"); break;
        case '\t': out += QLatin1String("\\t"); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': out += QLatin1String("\\r"); break;
        default: out += c;
        }
    }
    return out;
}

bool unescaped(const QString &text, QString *out)
{
    out->clear();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\\')) {
            *out += c;
            continue;
        }
        if (++i >= text.size())
            return false;
        switch (text[i].unicode()) {
        case '\\': *out += QLatin1Char('\\'); break;
        case 't': *out += QLatin1Char('\t'); break;
        case 'n': *out += QLatin1Char('\n'); break;
        case 'r': *out += QLatin1Char('\r'); break;
        default: return false;
        }
    }
    return true;
}

// The records writer removes the records it moved in while other threads append:
// one lock over every change and read of the file, so that a record appended
// between the writer's read and its rewrite is never dropped. It is held only
// for the file work itself (an append, a read, a rewrite), never for a database.
QMutex &journalLock()
{
    static QMutex lock;
    return lock;
}

bool readUnlocked(const QString &path, QList<PendingRecord> *records, QString *error)
{
    records->clear();
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray &line : lines) {
        PendingRecord r;
        if (!line.trimmed().isEmpty() && PendingRecord::parse(QString::fromUtf8(line), &r))
            records->append(r);
    }
    return true;
}

bool rewriteUnlocked(const QString &path, const QList<PendingRecord> &records, QString *error)
{
    if (records.isEmpty()) {
        if (!QFile::exists(path) || QFile::remove(path))
            return true;
        // A file that cannot be removed is emptied instead.
    }
    // QSaveFile syncs the new file to the disk before it takes the old one's place.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    for (const PendingRecord &r : records)
        file.write(r.toLine().toUtf8() + '\n');
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace

QStringList PendingRecord::withSettingTexts(const QStringList &settingTexts) const
{
    // The driver's own columns come first (datetime is not among the values).
    const qsizetype own = DriverRecordColumns().size() - 1 - SettingTextCount();
    return values.mid(0, own) + settingTexts;
}

PendingRecord PendingRecord::make(Kind kind, const QStringList &values)
{
    PendingRecord r;
    r.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    r.kind = kind;
    r.created = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    r.values = values;
    return r;
}

QString PendingRecord::toLine() const
{
    // The flags field: "-" for none, else flags joined by "," (earlier versions
    // wrote only "-" and "deferred").
    QStringList flags;
    if (lookupDeferred)
        flags << QStringLiteral("deferred");
    if (reportRecord > 0)
        flags << QStringLiteral("report-record=%1").arg(reportRecord);
    QStringList fields = {kLineTag, id, kindName(kind), created,
                          flags.isEmpty() ? QStringLiteral("-") : flags.join(QLatin1Char(','))};
    fields += values;
    for (auto &f : fields)
        f = escaped(f);
    return fields.join(QLatin1Char('\t'));
}

bool PendingRecord::parse(const QString &line, PendingRecord *out)
{
    const QStringList raw = line.split(QLatin1Char('\t'));
    if (raw.size() < 5 || raw[0] != kLineTag)
        return false;
    QStringList fields;
    for (const QString &f : raw) {
        QString text;
        if (!unescaped(f, &text))
            return false;
        fields << text;
    }
    PendingRecord r;
    r.id = fields[1];
    if (fields[2] == kSettingsKind)
        r.kind = Kind::Settings;
    else if (fields[2] == kDriverKind)
        r.kind = Kind::Driver;
    else if (fields[2] == kVerificationKind)
        r.kind = Kind::Verification;
    else
        return false;
    r.created = fields[3];
    for (const QString &flag : fields[4].split(QLatin1Char(','))) {
        if (flag == QLatin1String("deferred"))
            r.lookupDeferred = true;
        else if (flag.startsWith(QLatin1String("report-record=")))
            r.reportRecord = std::max(0, flag.mid(14).toInt());
    }
    r.values = fields.mid(5);
    static const int parameters = int(RecordParameterColumns().size());
    const int expected = r.kind == Kind::Settings ? kSettingsIdentityValues + parameters
                         : r.kind == Kind::Driver ? kDriverIdentityValues + parameters
                                                  : kVerificationValues;
    if (r.id.isEmpty() || r.values.size() != expected)
        return false;
    *out = r;
    return true;
}

QString PendingRecord::describe() const
{
    if (kind == Kind::Settings)
        return QStringLiteral("%1 settings record of programmer %2 (%3 %4)")
            .arg(created, values.value(0), values.value(2), values.value(4));
    if (kind == Kind::Verification)
        return QStringLiteral("%1 verification record: serial %2 %3 (programmer %4, slot %5)")
            .arg(created, values.value(0), values.value(3), values.value(1), values.value(2));
    return QStringLiteral("%1 driver record: serial %2 from programmer %3")
        .arg(created, values.value(3), values.value(2));
}

bool PendingJournal::append(const PendingRecord &record, QString *error)
{
    const QMutexLocker locked(&journalLock());
    QFile file(path_);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    QByteArray line = record.toLine().toUtf8() + '\n';
    // A line cut off by an earlier stop must not swallow this one.
    if (file.size() > 0 && file.seek(file.size() - 1) && file.read(1) != "\n")
        line.prepend('\n');
    file.seek(file.size());
    // On the disk, not only in the system's cache, before anyone is told the record is kept.
    const bool written = file.write(line) == line.size();
    const bool ok = written && SyncToDisk(file);
    QString reason = file.errorString();
    if (written && !ok && file.error() == QFileDevice::NoError)
        reason = QStringLiteral("the record could not be synced to the disk");
    file.close();
    if (!ok && error)
        *error = reason;
    return ok && file.error() == QFileDevice::NoError;
}

bool PendingJournal::read(QList<PendingRecord> *records, QString *error) const
{
    const QMutexLocker locked(&journalLock());
    return readUnlocked(path_, records, error);
}

bool PendingJournal::rewrite(const QList<PendingRecord> &records, QString *error)
{
    const QMutexLocker locked(&journalLock());
    return rewriteUnlocked(path_, records, error);
}

bool PendingJournal::remove(const QSet<QString> &ids, QString *error)
{
    if (ids.isEmpty())
        return true;
    const QMutexLocker locked(&journalLock());
    QList<PendingRecord> records;
    if (!readUnlocked(path_, &records, error))
        return false;
    const qsizetype before = records.size();
    records.removeIf([&ids](const PendingRecord &r) { return ids.contains(r.id); });
    return records.size() == before || rewriteUnlocked(path_, records, error);
}

int PendingJournal::count() const
{
    QList<PendingRecord> records;
    return read(&records, nullptr) ? int(records.size()) : 0;
}
