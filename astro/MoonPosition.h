#pragma once

#include "raster/Vector3.h"

// The geocentric position of the Moon's centre, km, on the mean equator and
// equinox of J2000.0, at tMillennia Julian millennia since J2000.0.
Vector3 moonGeocentricEquatorialKm(double tMillennia);
