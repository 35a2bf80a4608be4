#pragma once

#include "astro/GlobeView.h"
#include "clockface/FaceGrid.h"
#include "raster/Angles.h"
#include "raster/PixelGeometry.h"

#include <cmath>
#include <cstdint>

// Where things stand on the dial, in drawing pixels of the clock canvas (its
// supersampling factor is 2, so every length shows on screen at half its value).
// Angles are degrees clockwise from 12 o'clock.
struct DialGeometry {
    std::int32_t unit = 0;     // layout unit U, screen pixels
    std::int32_t centerX = 0;  // 2 × floor(7U / 2): 7U rounded down to an even number
    std::int32_t centerY = 0;  // centerX + 2U

    static DialGeometry forUnit(std::int32_t unit) {
        DialGeometry dial;
        dial.unit = unit;
        dial.centerX = 2 * (gridColumns * unit / 2);
        dial.centerY = dial.centerX + 2 * unit;
        return dial;
    }

    // The side of the square globe picture that fills the dial: 14U drawing
    // pixels, twice the client width.
    std::int32_t globeSizePx() const { return 2 * gridColumns * unit; }

    // The point at radius radiusPx and angle angleDeg from the centre, each offset
    // cut toward zero before the centre is added.
    PixelPoint at(double radiusPx, double angleDeg) const {
        const double angleRad = angleDeg * radiansPerDegree;
        return {centerX + static_cast<std::int32_t>(radiusPx * std::sin(angleRad)),
                centerY + static_cast<std::int32_t>(radiusPx * std::cos(angleRad))};
    }
};

// The size the globes are traced for at a unit of U pixels: the client width 7U
// and the disc radius 5U.
inline GlobeSize globeSizeForUnit(std::int32_t unit) { return {7 * unit, 5 * unit}; }
