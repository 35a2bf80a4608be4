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

WindowRect windowWithClient(std::int32_t clientW, std::int32_t clientH) {
    return {100, 50, 100 + frameW + clientW, 50 + frameH + clientH};
}

TEST(Layout, HorizontalDragSetsTheHeightFromTheWidth) {
    for (const std::int32_t edge : {SizingLeft, SizingRight}) {
        WindowRect rect = windowWithClient(150, 448);
        constrainSizing(edge, rect, frameW, frameH);
        // 150 / 7 = 21 units: the client becomes 150 × 336, its width untouched.
        EXPECT_EQ(rect.bottom - rect.top - frameH, 336) << "edge " << edge;
        EXPECT_EQ(rect.right - rect.left - frameW, 150) << "edge " << edge;
        EXPECT_EQ(rect.top, 50);
        EXPECT_EQ(rect.left, 100);
    }
}

TEST(Layout, LeftCornersMoveTheLeftEdge) {
    for (const std::int32_t edge : {SizingTopLeft, SizingBottomLeft}) {
        WindowRect rect = windowWithClient(300, 500);
        const std::int32_t right = rect.right;
        constrainSizing(edge, rect, frameW, frameH);
        // 500 / 16 = 31 units: 217 pixels wide, the right edge fixed.
        EXPECT_EQ(rect.right, right) << "edge " << edge;
        EXPECT_EQ(rect.right - rect.left - frameW, 217) << "edge " << edge;
        EXPECT_EQ(rect.bottom - rect.top - frameH, 500) << "edge " << edge;
    }
}

TEST(Layout, OtherDragsMoveTheRightEdge) {
    for (const std::int32_t edge : {SizingTop, SizingTopRight, SizingBottom, SizingBottomRight}) {
        WindowRect rect = windowWithClient(300, 500);
        constrainSizing(edge, rect, frameW, frameH);
        EXPECT_EQ(rect.left, 100) << "edge " << edge;
        EXPECT_EQ(rect.right - rect.left - frameW, 217) << "edge " << edge;
        EXPECT_EQ(rect.bottom - rect.top - frameH, 500) << "edge " << edge;
    }
}

TEST(Layout, UnknownEdgesAndCollapsedWindowsStaySound) {
    for (const std::int32_t edge : {0, 9, -1}) {
        WindowRect rect = windowWithClient(150, 500);
        constrainSizing(edge, rect, frameW, frameH);
        EXPECT_EQ(rect.right - rect.left - frameW, 150) << "edge " << edge;
        EXPECT_EQ(rect.bottom - rect.top - frameH, 500) << "edge " << edge;
    }
    // A window dragged smaller than its frame gets an empty client area, never a
    // negative one.
    WindowRect rect{100, 50, 105, 60};
    constrainSizing(SizingRight, rect, frameW, frameH);
    EXPECT_EQ(rect.bottom, 50 + frameH);
    rect = {100, 50, 105, 60};
    constrainSizing(SizingBottomRight, rect, frameW, frameH);
    EXPECT_EQ(rect.right, 100 + frameW);
}

TEST(Layout, FinishedSizeChangesSnapLikeDrags) {
    const ClientSize start{196, 448};
    const struct {
        ClientSize proposed;
        ClientSize snapped;
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
    EXPECT_EQ(snapClientSize({150, 400}, {150, 400}), (ClientSize{150, 400}));
}

}  // namespace
