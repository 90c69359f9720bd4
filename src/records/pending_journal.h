#pragma once
// The pending-records journal: records that could not be written to their
// database wait here, beside the databases, until a later write moves them in.
//
// A plain text file, one record per line, fields separated by tabs; a tab, a
// line break, a carriage return and a backslash inside a field are written as
// \t, \n, \r and \\. Each record carries an id made when it was recorded; the
// database that takes a journal record also stores that id in the same
// transaction, so a record moved in just before the program stopped (and still
// in the journal) is recognised and never written twice.
//
// Appending opens the file for appending, writes one whole line, syncs it to the
// disk and closes it before the caller reports anything as done. Removing records
// that were moved in rewrites the whole file through a temporary file that
// replaces it only when complete. Appends, reads and rewrites of one process
// never overlap (the records writer rewrites while the radio path appends).

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

struct PendingRecord {
    enum class Kind { Settings, Driver, Verification };
    QString id;       // unique, made when the record was made
    Kind kind = Kind::Settings;
    QString created;  // "yyyy-MM-dd HH:mm:ss" UTC, as SQLite's datetime('now') writes it
    // A driver record whose settings lookup could not run (the settings file was
    // busy) looks its settings up when it is moved in, among the settings records
    // made up to `created`.
    bool lookupDeferred = false;
    // A driver record: its place among the records of one report of the programmer
    // (one per matching slot): 0 for the first, 1, 2 for the others. The records of
    // one report are written one after the other, so the record at place k is a
    // repeat only when more than k records of its serial number are there before it.
    int reportRecord = 0;
    QStringList values; // the insert's values in column order (without datetime)

    // A new record with a fresh id and the present time.
    static PendingRecord make(Kind kind, const QStringList &values);
    // One line of text without the line break; parse() reads it back.
    QString toLine() const;
    static bool parse(const QString &line, PendingRecord *out);
    // "settings" / "driver" / "verification" and a short description for listings.
    QString describe() const;
    // A driver record's values with `settingTexts`, looked up when it is moved in,
    // in place of the setting texts it was queued with.
    QStringList withSettingTexts(const QStringList &settingTexts) const;
};

class PendingJournal {
public:
    explicit PendingJournal(const QString &path) : path_(path) {}
    const QString &path() const { return path_; }

    // Appends one record. False with the reason when it could not be written.
    bool append(const PendingRecord &record, QString *error);
    // Every record in the file, oldest first; a line that cannot be read (cut off
    // by a stop in the middle of an append) is skipped. An absent file holds none.
    bool read(QList<PendingRecord> *records, QString *error) const;
    // Replaces the file's content by `records` (removes it when there are none).
    bool rewrite(const QList<PendingRecord> &records, QString *error);
    // Removes the records with these ids, keeping every other one (also those
    // appended since the caller read the file).
    bool remove(const QSet<QString> &ids, QString *error);
    // Number of records in the file (0 when there is none or it cannot be read).
    int count() const;

private:
    QString path_;
};
