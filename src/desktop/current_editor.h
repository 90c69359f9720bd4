#pragma once
// The main window's current editor: the nominal current field between the
// model's minimum and maximum, and the current graph on which a click or a drag
// with the left button sets the current.

#include <QChar>
#include <Qt>

class TForm1;

class CurrentEditor {
public:
    explicit CurrentEditor(TForm1 &window) : w(window) {}

    // The current parameter was entered: its panel and graph with the nominal line.
    void enter();
    // The nominal current field was left (or Enter pressed in it).
    void nominalCurrentExit();
    void nominalCurrentKeyPress(QChar &key);
    // The graph's ranges and the nominal line at `current` mA.
    void drawRanges();
    void drawNominalLine(int current);
    void mouseDown(Qt::MouseButton button, int y);
    void mouseMove(Qt::MouseButtons buttons, int y);

private:
    void setCurrentFromMouse(int y);

    TForm1 &w;
};
