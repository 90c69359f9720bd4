#pragma once
// The "Programmed Drivers" window: the newest driver records, one line each, under
// a header line that names the columns.

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class RecordsTask;
class SQLiteAnswerClass;

class TProgrammedDrivers : public QDialog {
    Q_OBJECT
public:
    explicit TProgrammedDrivers(QWidget *parent = nullptr);

    QPlainTextEdit *ProgrammedDriversMemo = nullptr;
    // The header line above the memo's text; it scrolls sideways with the lines.
    QLabel *ColumnHeader = nullptr;

    // Shows the window (not modal) and reads the newest 500 driver records on a
    // thread of its own; meanwhile the memo says "Reading the records …". Then
    // the memo holds them, newest first; the line of a driver recorded before ends
    // with kRepeatLineMark and is shaded. The header names the report's columns in
    // the order of the line ("#" for the line number). While a reading runs,
    // another ShowReport only brings the window to the front.
    void ShowReport();
    // Whether a reading of the records is under way.
    bool Reading() const;

    // The memo's text while the records are read.
    static const QString kReadingText;

private:
    void showAnswer(bool read, const SQLiteAnswerClass &answer, const QString &reason);

    RecordsTask *Reader = nullptr;
};
