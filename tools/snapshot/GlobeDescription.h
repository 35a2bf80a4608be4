#pragma once

#include "raster/Vector3.h"

#include <string>

// The geometry behind the globe pictures at one moment.
struct GlobeGeometry {
    double julianDayUtc = 0.0;           // Julian day, universal time
    double tMillennia = 0.0;             // Julian millennia since J2000.0
    Vector3 earthKm;                     // the Earth's centre from the Sun, km, equatorial frame of J2000.0
    Vector3 moonKm;                      // the Moon's centre from the Earth's, km, same frame
    double subsolarLongitudeDeg = 0.0;   // the Earth's point with the Sun in the zenith: east longitude, [−180, 180)
    double subsolarLatitudeDeg = 0.0;    // its latitude, degrees
    double moonPhaseAngleDeg = 0.0;      // Sun–Moon–Earth angle at the Moon, 0 (full) … 180 (new), degrees
    double moonIlluminatedFraction = 0.0;  // lit share of the Moon's disc as seen from the Earth, 0 … 1
    double subEarthLongitudeDeg = 0.0;   // the Moon's point facing the Earth: east longitude, [−180, 180)
    double subEarthLatitudeDeg = 0.0;    // its latitude, degrees
    double moonSubsolarLongitudeDeg = 0.0;  // the Moon's point with the Sun in the zenith: east longitude, [−180, 180)
    double moonSubsolarLatitudeDeg = 0.0;   // its latitude, degrees
};

// The geometry at a Julian day (universal time), each longitude and latitude in
// its body's own frame, counted as the texture maps count them.
GlobeGeometry globeGeometry(double julianDayUtc);

// The geometry as one JSON object on one line. Every number is written in the
// shortest form that reads back as the same double.
std::string describeGlobes(const GlobeGeometry& geometry);
