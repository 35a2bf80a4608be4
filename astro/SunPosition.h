#pragma once

#include "raster/Vector3.h"

// The heliocentric position of the Earth–Moon barycentre, km, on the mean
// equator and equinox of J2000.0 (x toward the equinox, z toward the celestial
// north pole), at tMillennia Julian millennia since J2000.0.
Vector3 barycentreHeliocentricEquatorialKm(double tMillennia);
