#include "clockface/DialMarks.h"

#include "clockface/Numerals.h"
#include "raster/Primitives.h"
#include "text/DrawText.h"

namespace {

// The marks clockwise from one o'clock, each five-minute mark after what
// atNumeral(n, angleDeg) draws for numeral n, so that a numeral and the mark
// beside it are drawn in the order the face has always had.
template <class NumeralDrawing>
void drawMarksWith(Canvas& clockCanvas, const DialGeometry& dial, NumeralDrawing&& atNumeral) {
    const std::int32_t innerRadiusPx = 5 * dial.unit;
    const Color minuteMark = Color::bytes(0, 255, 255);
    const Color fiveMinuteMark = Color::bytes(255, 255, 0);
    // i = 5 is one o'clock (30°), i = 64 is the minute mark just before it.
    for (std::int32_t i = 5; i <= 64; ++i) {
        const double angleDeg = 30.0 + 6.0 * (i - 5);
        std::int32_t outerRadiusPx = innerRadiusPx + 4;
        Color color = minuteMark;
        if (i % 5 == 0) {
            atNumeral(i / 5, angleDeg);
            outerRadiusPx = innerRadiusPx + 8;
            color = fiveMinuteMark;
        }
        const auto inner = dial.at(innerRadiusPx, angleDeg);
        const auto outer = dial.at(outerRadiusPx, angleDeg);
        line(clockCanvas, inner.x, inner.y, outer.x, outer.y, color);
    }
}

}  // namespace

void drawMarksAndNumerals(Canvas& clockCanvas, const DialGeometry& dial, TextRenderer& textRenderer) {
    const std::int32_t u = dial.unit;
    const std::int32_t numeralRadiusPx = 6 * u;
    const std::int32_t numeralHeightPx = 8 * u / 9;
    // Lowers each numeral's anchor so the digits sit centred on their radius.
    const std::int32_t numeralDropPx = 2 * (u / 2) - 4;
    drawMarksWith(clockCanvas, dial, [&](std::int32_t numeral, double angleDeg) {
        Color hue;
        hue.fromHsv({monthHueDeg(numeral), 0.8, 1.0});  // numeral n in the hue of month n
        const auto anchor = dial.at(numeralRadiusPx, angleDeg);
        drawText(clockCanvas, anchor.x, anchor.y - numeralDropPx, decimal(numeral), textRenderer,
                 numeralHeightPx, hue);
    });
}

void drawMarks(Canvas& clockCanvas, const DialGeometry& dial) {
    drawMarksWith(clockCanvas, dial, [](std::int32_t, double) {});
}
