#include "clockface/ClockHands.h"

#include "raster/Primitives.h"

#include <algorithm>

namespace {

// The corners of a hand: its tip at lengthPx along angleDeg, its base corners at
// halfWidthPx, 135° either side of the tip.
struct HandCorners {
    PixelPoint tip, left, right;
};

HandCorners handCorners(const DialGeometry& dial, std::int32_t lengthPx, double angleDeg, std::int32_t halfWidthPx) {
    return {dial.at(lengthPx, angleDeg), dial.at(halfWidthPx, angleDeg - 135.0),
            dial.at(halfWidthPx, angleDeg + 135.0)};
}

// A hand's length, colour and half width, and the angle of each hand at a time.
struct HandStyle {
    std::int32_t lengthPx;
    Color color;
    std::int32_t halfWidthPx;
};

std::array<HandStyle, 3> handStyles(std::int32_t u) {
    // The minute and second hands reach the inner end of the tick marks (5U); the
    // hour hand stops at two thirds of that.
    return {{{10 * u / 3, Color::bytes(255, 255, 0), 2 * u / 3},
             {5 * u, Color::bytes(0, 255, 255), 2 * u / 5},
             {5 * u, Color::bytes(255, 0, 0), 2 * u / 6}}};
}

std::array<double, 3> handAngles(double hours, double minutes, double seconds) {
    return {hours * 30.0, minutes * 6.0, seconds * 6.0};
}

}  // namespace

void drawHand(Canvas& clockCanvas, const DialGeometry& dial, std::int32_t lengthPx,
              const Color& color, double angleDeg, std::int32_t halfWidthPx) {
    const HandCorners c = handCorners(dial, lengthPx, angleDeg, halfWidthPx);
    triangle(clockCanvas, c.tip.x, c.tip.y, c.left.x, c.left.y, c.right.x, c.right.y, color, 1);
    triangle(clockCanvas, c.tip.x, c.tip.y, c.left.x, c.left.y, c.right.x, c.right.y, color, 0);
}

void drawHands(Canvas& clockCanvas, const DialGeometry& dial, double hours, double minutes,
               double seconds) {
    const std::array<HandStyle, 3> styles = handStyles(dial.unit);
    const std::array<double, 3> angles = handAngles(hours, minutes, seconds);
    for (std::size_t i = 0; i < styles.size(); ++i) {
        drawHand(clockCanvas, dial, styles[i].lengthPx, styles[i].color, angles[i], styles[i].halfWidthPx);
    }
}

std::array<StoreRect, 3> handExtents(const DialGeometry& dial, double hours, double minutes, double seconds) {
    const std::array<HandStyle, 3> styles = handStyles(dial.unit);
    const std::array<double, 3> angles = handAngles(hours, minutes, seconds);
    std::array<StoreRect, 3> extents;
    for (std::size_t i = 0; i < styles.size(); ++i) {
        const HandCorners c = handCorners(dial, styles[i].lengthPx, angles[i], styles[i].halfWidthPx);
        extents[i] = {std::min({c.tip.x, c.left.x, c.right.x}) - 1, std::min({c.tip.y, c.left.y, c.right.y}) - 1,
                      std::max({c.tip.x, c.left.x, c.right.x}) + 2, std::max({c.tip.y, c.left.y, c.right.y}) + 2};
    }
    return extents;
}
