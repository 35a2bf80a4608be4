#include "app/BufferDamage.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const PixelRect whole{0, 0, 196, 448};
const PixelRect hand{80, 90, 110, 150};
const PixelRect seconds{30, 200, 170, 220};

using Areas = std::vector<PixelRect>;

bool operator==(const Areas& a, const Areas& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const PixelRect& x, const PixelRect& y) {
                          return x.left == y.left && x.top == y.top && x.right == y.right && x.bottom == y.bottom;
                      });
}

TEST(BufferDamage, ABufferTakenInTurnGetsWhatChangedSinceItWasLastPainted) {
    BufferDamage damage(2);
    // New buffers lack everything.
    EXPECT_TRUE(damage.paintInto(0, {hand}, whole) == Areas{whole});
    EXPECT_TRUE(damage.paintInto(1, {seconds}, whole) == Areas{whole});
    // Buffer 0 missed the seconds, then the hand moves again.
    EXPECT_TRUE(damage.paintInto(0, {hand}, whole) == (Areas{seconds, hand}));
    EXPECT_TRUE(damage.paintInto(1, {}, whole) == Areas{hand});
    // Nothing changed since buffer 0 was painted.
    EXPECT_TRUE(damage.paintInto(0, {}, whole) == Areas{});
}

TEST(BufferDamage, AForgottenLayoutOrALongListPaintsEverything) {
    BufferDamage damage(2);
    static_cast<void>(damage.paintInto(0, {}, whole));
    static_cast<void>(damage.paintInto(1, {}, whole));
    damage.forgetAll();
    EXPECT_TRUE(damage.paintInto(0, {hand}, whole) == Areas{whole});
    // Buffer 1 is held by the screen while buffer 0 is painted tick after tick.
    for (int tick = 0; tick < 40; ++tick) {
        static_cast<void>(damage.paintInto(0, {hand}, whole));
    }
    EXPECT_TRUE(damage.paintInto(1, {}, whole) == Areas{whole});
}

}  // namespace
