#include "astro/RotationModel.h"

#include "raster/Angles.h"

#include <cmath>

// The rotation elements recommended by the IAU Working Group on Cartographic
// Coordinates and Rotational Elements: the report for 2009 (Archinal et al.,
// Celestial Mechanics and Dynamical Astronomy 109, 101–135, 2011), Table 1 for
// the Earth and Table 2 for the Moon; the values used here stand unchanged in
// the report for 2006 before it. The reports count d in days and T in Julian
// centuries from J2000.0 in dynamical time (TDB); here the daily rates are
// written per Julian millennium (365 250 days) of the clock's universal time,
// and no correction from universal to dynamical time is applied.

RotationElements earthOrientation(double tMillennia) {
    // W = 190.147° + 360.9856235°·d. The report's pole, α0 = 0.00° − 0.641°·T and
    // δ0 = 90.00° − 0.557°·T, follows the precession; its T terms are dropped,
    // which holds the pole on the celestial pole of J2000.0.
    RotationElements elements;
    elements.primeMeridianDeg = 190.147 + 131849998.983375 * tMillennia;  // 360.9856235° per day
    elements.poleRightAscensionDeg = 0.0;
    elements.poleDeclinationDeg = 90.0;
    return elements;
}

RotationElements moonOrientation(double tMillennia) {
    // The report's Moon carries periodic terms in thirteen arguments, E1 … E13;
    // only those in the first, E1 = 125.045° − 0.0529921°·d (the node of the
    // lunar orbit, regressing), are kept, with the constants and the daily rate of W.
    // Also dropped: the secular terms of the pole, +0.0031°·T in α0 and
    // +0.0130°·T in δ0, and the −1.4·10⁻¹²°·d² of W.
    const double e1Rad = (125.045 - 19355.364525 * tMillennia) * radiansPerDegree;
    RotationElements elements;
    elements.primeMeridianDeg = 38.3213 + 4812664.8142875 * tMillennia + 3.561 * std::sin(e1Rad);  // 13.17635815° per day
    elements.poleRightAscensionDeg = 269.9949 - 3.8787 * std::sin(e1Rad);
    elements.poleDeclinationDeg = 66.5392 + 1.5419 * std::cos(e1Rad);
    return elements;
}
