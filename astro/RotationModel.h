#pragma once

#include "astro/GlobeBody.h"

// The rotation elements of the Earth at tMillennia Julian millennia since J2000.0:
// the pole held on the celestial pole, the prime meridian turning 360.9856235° a day.
RotationElements earthOrientation(double tMillennia);
// The rotation elements of the Moon at tMillennia, with the first of the periodic
// terms of its physical libration, the one in the argument E1.
RotationElements moonOrientation(double tMillennia);
