#pragma once
// The "Programmed Drivers" window: the newest driver records, one line each.

#include <QDialog>

class QPlainTextEdit;

class TProgrammedDrivers : public QDialog {
    Q_OBJECT
public:
    explicit TProgrammedDrivers(QWidget *parent = nullptr);

    QPlainTextEdit *ProgrammedDriversMemo = nullptr;

    // Shows the window (not modal), clears the memo and fills it with the newest
    // 500 driver records, newest first; the line of a driver recorded before ends
    // with kRepeatLineMark and is shaded.
    void ShowReport();
};

