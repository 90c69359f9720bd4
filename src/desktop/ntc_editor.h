#pragma once
// The main window's NTC editor (external temperature sensor): the start, stop and
// cut-off temperatures, the level at the stop temperature, and the NTC graph.

#include <QChar>

class TForm1;

class NtcEditor {
public:
    explicit NtcEditor(TForm1 &window) : w(window) {}

    // The NTC parameter was entered: its small panel and the graph.
    void enter();
    // Temperature field `field` (an NtcTemperatureField) was left: checked against
    // the model's range and the order start < stop < cut-off.
    void temperatureExit(int field);
    void temperatureKeyPress(int field, QChar &key);
    // The stop level field was left.
    void stopLevelExit();
    void stopLevelKeyPress(QChar &key);
    // The graph from what the fields hold; redraw clears the canvases first.
    void drawRanges();
    void redraw();

private:
    TForm1 &w;
};
