#pragma once

#include <cstdint>

// Size and vertical place of a text run at a markup level: each level up or down
// shrinks the font by 0.6; a raised run moves up, a lowered one down.
struct RunGeometry {
    std::int16_t fontHeightPx = 0;  // cell height of the run's font; 1 or less skips the run
    std::int32_t offsetPx = 0;      // downward shift from the text's top, pixels (negative raises)
};

// The geometry of a run at markup level (0 plain, +1 superscript, −1 subscript…)
// in a text of heightPx pixels.
RunGeometry runGeometry(std::int32_t heightPx, std::int16_t level);
