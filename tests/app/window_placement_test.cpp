#include "app/window_placement.h"

#include "print_qt.h"

#include <gtest/gtest.h>

namespace {

// A 1280 x 1024 screen with a 30-pixel panel at the top.
const QRect kArea(0, 30, 1280, 994);

struct PlaceCase {
    const char *what;
    QSize size;
    QRect owner;
    QRect area;
    QRect expected;
};

TEST(WindowPlacement, CentredOnTheOwnerAndInsideTheArea)
{
    const PlaceCase cases[] = {
        {"centred on the owner", {400, 200}, {100, 100, 800, 600}, kArea, {300, 300, 400, 200}},
        {"odd sizes keep the centre", {401, 201}, {100, 100, 801, 601}, kArea, {300, 300, 401, 201}},
        {"no owner: centred on the area", {400, 200}, {}, kArea, {440, 427, 400, 200}},
        {"owner at the bottom left: pushed up", {960, 460}, {0, 900, 300, 120}, kArea, {0, 564, 960, 460}},
        {"owner near the right edge: pushed left", {600, 300}, {1100, 400, 150, 100}, kArea, {680, 300, 600, 300}},
        {"owner partly off the screen: pushed in", {400, 300}, {-300, -200, 400, 300}, kArea, {0, 30, 400, 300}},
        {"never under the top panel", {400, 600}, {100, 0, 400, 100}, kArea, {100, 30, 400, 600}},
        {"expert layout from a small owner near the bottom", {920, 650}, {423, 442, 435, 210}, kArea,
         {180, 222, 920, 650}},
        {"wider than the area: cut, at the left edge", {1380, 400}, {100, 100, 800, 600}, kArea,
         {0, 200, 1280, 400}},
        {"taller than the area: cut, at the top edge", {400, 1100}, {100, 100, 800, 600}, kArea,
         {300, 30, 400, 994}},
        {"a second screen to the right", {400, 200}, {1500, 100, 600, 400}, {1280, 0, 1920, 1080},
         {1600, 200, 400, 200}},
        {"no area known: at the owner's corner", {400, 200}, {50, 60, 100, 100}, {}, {50, 60, 400, 200}},
    };
    for (const PlaceCase &c : cases) {
        SCOPED_TRACE(c.what);
        const QRect placed = PlaceWindow(c.size, c.owner, c.area);
        EXPECT_EQ(placed, c.expected);
        if (!c.area.isEmpty()) {
            EXPECT_TRUE(c.area.contains(placed));
        }
    }
}

TEST(WindowPlacement, AGrownWindowMovesOnlyWhenItWouldLeaveTheArea)
{
    const QRect owner(129, 160, 1024, 780);
    const struct {
        const char *what;
        QRect current;
        QRect expected;
    } cases[] = {
        {"still inside: stays where the user left it", {20, 40, 435, 290}, {20, 40, 435, 290}},
        {"touching the edges is inside", {0, 30, 1280, 994}, {0, 30, 1280, 994}},
        {"grown beyond the bottom: centred on the owner", {423, 442, 920, 650}, {181, 225, 920, 650}},
        {"grown beyond the right edge: centred on the owner", {700, 100, 920, 400}, {181, 350, 920, 400}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(KeepWindowInside(c.current, owner, kArea), c.expected);
    }
}

TEST(WindowPlacement, TheMinimumSizeIsTheDesignWhereTheScreenHasRoom)
{
    const QSize design(1024, 758);
    const QMargins frame(1, 24, 1, 4);
    const struct {
        const char *what;
        QRect area;
        QSize expected;
    } cases[] = {
        {"a 1280 x 1024 screen", kArea, design},
        {"exactly the room", {0, 0, 1026, 786}, design},
        {"the same screen at scale 1.5", {0, 0, 853, 683}, {851, 655}},
        {"narrow but tall", {0, 0, 800, 1200}, {798, 758}},
        {"no screen known", {}, design},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FittingMinimumSize(design, c.area, frame), c.expected);
    }
}

} // namespace
