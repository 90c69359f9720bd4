#pragma once
// The main window's DC level editor: the emergency (DC) level, switched on by its
// box, set with the field or with the vertical bar whose top is the highest level.

#include <QChar>

class TForm1;

class DcLevelEditor {
public:
    explicit DcLevelEditor(TForm1 &window) : w(window) {}

    // The DC parameter was entered: the stored level of the active slot is shown
    // again (unsaved DC edits are dropped) in the DC panel.
    void enter();
    // The panel where the current graph stands, without reloading the level.
    void showPanel();
    // The bar's range, its labels, the box and the level from slot `slotIndex`.
    void loadFromSlot(int slotIndex);
    // The bar moved: the field shows its level.
    void scrollBarChange();
    // The box was clicked: on starts at the highest level.
    void activeClick();
    // The field was left: the level is kept within the bar's range and the bar follows.
    void levelExit();
    void levelKeyPress(QChar &key);

private:
    // The field and the bar; off also empties the field.
    void enableControls(bool on);

    TForm1 &w;
};
