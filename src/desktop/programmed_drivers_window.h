#pragma once
// The "Programmed Drivers" window: the newest driver records, one line each, under
// a header line that names the columns.

#include <QDialog>

class QLabel;
class QPlainTextEdit;

class TProgrammedDrivers : public QDialog {
    Q_OBJECT
public:
    explicit TProgrammedDrivers(QWidget *parent = nullptr);

    QPlainTextEdit *ProgrammedDriversMemo = nullptr;
    // The header line above the memo's text; it scrolls sideways with the lines.
    QLabel *ColumnHeader = nullptr;

    // Shows the window (not modal), clears the memo and fills it with the newest
    // 500 driver records, newest first; the line of a driver recorded before ends
    // with kRepeatLineMark and is shaded. The header names the report's columns in
    // the order of the line ("#" for the line number).
    void ShowReport();
};
