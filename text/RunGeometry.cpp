#include "text/RunGeometry.h"

#include <cstdlib>

RunGeometry runGeometry(std::int32_t heightPx, std::int16_t level) {
    const int steps = std::abs(static_cast<int>(level));
    double step = 1.0;          // 1, 0.6, 0.36…: the size of the level being stepped through
    double offsetFactor = 0.0;  // the run's shift as a fraction of the text height
    for (int i = 0; i < steps; ++i) {
        // Each step moves half the step's size down; a raised run then comes back
        // up by 0.6 of it, which leaves it 0.1 of the step higher.
        offsetFactor += 0.5 * step;
        if (level > 0) {
            offsetFactor -= 0.6 * step;
        }
        step *= 0.6;
    }
    const double sizeFactor = step;  // 0.6 to the power |level|
    RunGeometry geometry;
    // The font height is kept as a 16-bit value, as the font cache keys it.
    geometry.fontHeightPx =
        static_cast<std::int16_t>(static_cast<std::int32_t>(heightPx * sizeFactor + 0.5));
    geometry.offsetPx = static_cast<std::int32_t>(heightPx * offsetFactor);
    return geometry;
}
