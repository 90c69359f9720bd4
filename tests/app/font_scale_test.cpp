#include "app/font_scale.h"

#include "print_qt.h"

#include <gtest/gtest.h>

namespace {

TEST(FontScale, GrowsWithTheLargerOfWidthAndHeightNeverShrinksAndRoundsUp)
{
    const struct {
        const char *what;
        double designWidth, designHeight, actualWidth, actualHeight;
        double expected;
    } cases[] = {
        {"the design font itself", 300, 15, 300, 15, 1.0},
        {"a smaller font keeps the design", 300, 15, 240, 12, 1.0},
        {"a font a third wider", 300, 15, 400, 18, 1.35},      // 1.333 rounded up
        {"taller than it is wider", 300, 15, 310, 21, 1.4},
        {"wider than it is taller", 300, 15, 450, 16, 1.5},
        {"a hair wider is a twentieth more", 300, 15, 301, 15, 1.05},
        {"exactly a twentieth more stays", 200, 20, 210, 20, 1.05},
        {"unknown design width", 0, 15, 400, 20, 1.0},
        {"unknown design height", 300, -1, 400, 20, 1.0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_DOUBLE_EQ(FontScaleFactor(c.designWidth, c.designHeight, c.actualWidth, c.actualHeight), c.expected);
    }
}

TEST(FontScale, RectanglesScaleByTheirEdgesSoNeighboursNeitherOverlapNorPartAndNoLimitStays)
{
    // Two buttons side by side, touching at x = 145 (the right one starts where the
    // left one ends): at every factor they still touch.
    for (const double factor : {1.0, 1.05, 1.35, 1.5, 2.0}) {
        SCOPED_TRACE(factor);
        const QRect left = ScaledRect(QRect(8, 8, 137, 25), factor);
        const QRect right = ScaledRect(QRect(145, 8, 151, 25), factor);
        EXPECT_EQ(left.x() + left.width(), right.x());
        EXPECT_EQ(left.y(), right.y());
        EXPECT_EQ(left.height(), right.height());
    }
    EXPECT_EQ(ScaledRect(QRect(8, 8, 137, 25), 1.0), QRect(8, 8, 137, 25));
    EXPECT_EQ(ScaledRect(QRect(10, 20, 100, 30), 1.5), QRect(15, 30, 150, 45));
    EXPECT_EQ(ScaledSize(QSize(100, (1 << 24) - 1), 1.5), QSize(150, (1 << 24) - 1)) << "no maximum stays none";
    EXPECT_EQ(ScaledSize(QSize(1024, 758), 1.25), QSize(1280, 948));
    EXPECT_EQ(ScaledPixels(0, 2.0), 0);
}

} // namespace
