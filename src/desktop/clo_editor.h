#pragma once
// The main window's CLO editor (constant light output): the enable box, the
// lifetime in hours, the levels with the hours they start at, and the CLO
// graph.

#include <QChar>
#include <QString>

class TForm1;

class CloEditor {
public:
    explicit CloEditor(TForm1 &window) : w(window) {}

    // The CLO parameter was entered: its two small panels and the graph.
    void enter();
    // The lifetime field was left: checked against the model's range, the hour
    // labels follow it; a lifetime of 0 switches CLO off.
    void lifeTimeExit();
    void lifeTimeKeyPress(QChar &key);
    // Level field `level` (0 is L1) was left: checked against the model's range.
    void levelExit(int level);
    // The level fields take any text, so that a fraction can be typed.
    void levelKeyPress(int level, QChar &key);
    // The enable box was clicked: the lifetime and level fields follow it.
    void enableClick();
    // The range messages for the lifetime and for level `level` (0 is L1).
    void lifeTimeRangeMessage(int slotIndex);
    void levelRangeMessage(int slotIndex, int level);
    // The graph from what the fields hold; redraw clears the canvases first.
    void drawRanges();
    void redraw();

private:
    TForm1 &w;
};
