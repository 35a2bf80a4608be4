#include "app/Keys.h"
#include "app/Layout.h"

#include <gtest/gtest.h>

namespace {

TEST(Layout, UnitFollowsTheClientHeightInWholeRows) {
    const struct {
        std::int32_t heightPx;
        std::int32_t unit;
    } cases[] = {{448, 28}, {447, 27}, {640, 40}, {320, 20}, {500, 31}, {16, 1}, {15, 0}, {0, 0}, {-32, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(unitFromClientHeight(c.heightPx), c.unit) << "height " << c.heightPx;
    }
    EXPECT_FALSE(isUsableUnit(0));
    EXPECT_FALSE(isUsableUnit(-3));
    EXPECT_TRUE(isUsableUnit(1));
}

TEST(Layout, SizeKeysChooseTheirUnits) {
    EXPECT_EQ(unitForKey(U'S'), 20);
    EXPECT_EQ(unitForKey(U'M'), 28);
    EXPECT_EQ(unitForKey(U'L'), 40);
    // Lower-case letters are other keys on Windows ('s' is F4's code).
    EXPECT_EQ(unitForKey(U's'), 0);
    EXPECT_EQ(unitForKey(U'X'), 0);
}

// A frame of 16 × 39 pixels around the client area; the window stands at (100, 50).
constexpr std::int32_t frameW = 16;
constexpr std::int32_t frameH = 39;

PixelRect windowWithClient(std::int32_t clientW, std::int32_t clientH) {
    return {100, 50, 100 + frameW + clientW, 50 + frameH + clientH};
}

// A side drag sets the height from the width (150 / 7 = 21 units: 336 high);
// every other drag sets the width from the height (500 / 16 = 31 units: 217
// wide), the left corners moving the left edge and the rest the right one;
// unknown edges change nothing.
TEST(Layout, DragsKeepTheGrid) {
    struct Case {
        std::int32_t edge;
        std::int32_t clientW, clientH;
        std::int32_t expectedW, expectedH;
        bool rightEdgeFixed;
    };
    const Case cases[] = {
        {SizingLeft, 150, 448, 150, 336, false},       {SizingRight, 150, 448, 150, 336, false},
        {SizingTopLeft, 300, 500, 217, 500, true},     {SizingBottomLeft, 300, 500, 217, 500, true},
        {SizingTop, 300, 500, 217, 500, false},        {SizingTopRight, 300, 500, 217, 500, false},
        {SizingBottom, 300, 500, 217, 500, false},     {SizingBottomRight, 300, 500, 217, 500, false},
        {0, 150, 500, 150, 500, false},                {9, 150, 500, 150, 500, false},
        {-1, 150, 500, 150, 500, false},
    };
    for (const Case& c : cases) {
        PixelRect rect = windowWithClient(c.clientW, c.clientH);
        const PixelRect before = rect;
        constrainSizing(c.edge, rect, frameW, frameH);
        EXPECT_EQ(rect.right - rect.left - frameW, c.expectedW) << "edge " << c.edge;
        EXPECT_EQ(rect.bottom - rect.top - frameH, c.expectedH) << "edge " << c.edge;
        EXPECT_EQ(rect.top, before.top) << "edge " << c.edge;
        if (c.rightEdgeFixed) {
            EXPECT_EQ(rect.right, before.right) << "edge " << c.edge;
        } else {
            EXPECT_EQ(rect.left, before.left) << "edge " << c.edge;
        }
    }
    // A window dragged smaller than its frame gets an empty client area, never a
    // negative one.
    PixelRect rect{100, 50, 105, 60};
    constrainSizing(SizingRight, rect, frameW, frameH);
    EXPECT_EQ(rect.bottom, 50 + frameH);
    rect = {100, 50, 105, 60};
    constrainSizing(SizingBottomRight, rect, frameW, frameH);
    EXPECT_EQ(rect.right, 100 + frameW);
}

TEST(Layout, FinishedSizeChangesSnapLikeDrags) {
    const PixelSize start{196, 448};
    const struct {
        PixelSize proposed;
        PixelSize snapped;
    } cases[] = {
        {{150, 448}, {150, 336}},  // width alone: height from width
        {{196, 500}, {217, 500}},  // height alone: width from height
        {{300, 500}, {217, 500}},  // both: width from height
        {{196, 448}, {196, 448}},  // a move without a size change
        {{196, 10}, {0, 10}},      // under one row: no whole unit
    };
    for (const auto& c : cases) {
        EXPECT_EQ(snapClientSize(start, c.proposed), c.snapped)
            << c.proposed.width << " × " << c.proposed.height;
    }
    // A size already off the grid is left alone by an event that does not change it.
    EXPECT_EQ(snapClientSize({150, 400}, {150, 400}), (PixelSize{150, 400}));
}

}  // namespace
