#include "app/ScreenPlacement.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>

namespace {

constexpr std::array<PixelRect, 2> screens{PixelRect{0, 0, 1024, 768},
                                            PixelRect{1024, -200, 2944, 880}};

TEST(ScreenPlacement, WindowsOnAnyScreenStayPut) {
    const struct {
        std::int32_t left, top;
    } kept[] = {{0, 0}, {312, 140}, {-200, -400}, {1023, 767}, {2900, 800}, {1500, -250}};
    for (const auto& c : kept) {
        std::int32_t left = c.left;
        std::int32_t top = c.top;
        bringOntoScreen(left, top, 212, 487, screens);
        EXPECT_EQ(left, c.left);
        EXPECT_EQ(top, c.top);
    }
}

TEST(ScreenPlacement, WindowsOffEveryScreenMoveToTheFirst) {
    const std::int32_t big = std::numeric_limits<std::int32_t>::max();
    const struct {
        std::int32_t left, top;
    } moved[] = {{-212, 0}, {0, -487}, {0, 768}, {2944, 0}, {1024, 880}, {-300, 800},
                 {big - 100, big - 100}, {-big, -big}};
    for (const auto& c : moved) {
        std::int32_t left = c.left;
        std::int32_t top = c.top;
        bringOntoScreen(left, top, 212, 487, screens);
        EXPECT_EQ(left, 0) << c.left << ", " << c.top;
        EXPECT_EQ(top, 0) << c.left << ", " << c.top;
    }
}

TEST(ScreenPlacement, NoScreensKnownKeepsThePosition) {
    std::int32_t left = -5000;
    std::int32_t top = 9000;
    bringOntoScreen(left, top, 212, 487, {});
    EXPECT_EQ(left, -5000);
    EXPECT_EQ(top, 9000);
}

}  // namespace
