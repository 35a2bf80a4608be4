#include "clockface/ClockHands.h"

#include "raster/Primitives.h"

void drawHand(Canvas& clockCanvas, const DialGeometry& dial, std::int32_t lengthPx,
              const Color& color, double angleDeg, std::int32_t halfWidthPx) {
    const auto tip = dial.at(lengthPx, angleDeg);
    const auto left = dial.at(halfWidthPx, angleDeg - 135.0);
    const auto right = dial.at(halfWidthPx, angleDeg + 135.0);
    triangle(clockCanvas, tip.x, tip.y, left.x, left.y, right.x, right.y, color, 1);
    triangle(clockCanvas, tip.x, tip.y, left.x, left.y, right.x, right.y, color, 0);
}

void drawHands(Canvas& clockCanvas, const DialGeometry& dial, double hours, double minutes,
               double seconds) {
    const std::int32_t u = dial.unit;
    // The minute and second hands reach the inner end of the tick marks (5U); the
    // hour hand stops at two thirds of that.
    drawHand(clockCanvas, dial, 10 * u / 3, Color::bytes(255, 255, 0), hours * 30.0, 2 * u / 3);
    drawHand(clockCanvas, dial, 5 * u, Color::bytes(0, 255, 255), minutes * 6.0, 2 * u / 5);
    drawHand(clockCanvas, dial, 5 * u, Color::bytes(255, 0, 0), seconds * 6.0, 2 * u / 6);
}
