#pragma once

#include <string>

// The geometry behind the globe pictures at a Julian day (universal time), as one
// JSON object on one line: the Earth's heliocentric and the Moon's geocentric
// position (km, equatorial frame of J2000.0), the points with the Sun in the
// zenith on both bodies, the point of the Moon facing the Earth (east longitude
// in [−180, 180) and latitude, degrees, in each body's own frame) and the Moon's
// phase.
std::string describeGlobes(double julianDayUtc);
