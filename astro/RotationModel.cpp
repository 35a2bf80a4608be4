#include "astro/RotationModel.h"

#include "raster/Angles.h"

#include <cmath>

// The rotation elements recommended by the International Astronomical Union's
// working group on cartographic coordinates and rotational elements, with the
// daily rates written per Julian millennium (365 250 days).

RotationElements earthOrientation(double tMillennia) {
    RotationElements elements;
    elements.primeMeridianDeg = 190.147 + 131849998.983375 * tMillennia;  // 360.9856235° per day
    elements.poleRightAscensionDeg = 0.0;
    elements.poleDeclinationDeg = 90.0;
    return elements;
}

RotationElements moonOrientation(double tMillennia) {
    // E1, the node of the lunar orbit, regressing 0.0529921° per day.
    const double e1Rad = (125.045 - 19355.364525 * tMillennia) * radiansPerDegree;
    RotationElements elements;
    elements.primeMeridianDeg = 38.3213 + 4812664.8142875 * tMillennia + 3.561 * std::sin(e1Rad);  // 13.17635815° per day
    elements.poleRightAscensionDeg = 269.9949 - 3.8787 * std::sin(e1Rad);
    elements.poleDeclinationDeg = 66.5392 + 1.5419 * std::cos(e1Rad);
    return elements;
}
