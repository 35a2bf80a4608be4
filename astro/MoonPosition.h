#pragma once

struct GlobeBody;

// Writes into body's position the geocentric centre of the Moon, km, in the
// equatorial frame of J2000.0, at tMillennia Julian millennia since J2000.0.
// Nothing else of the body changes.
void moonGeocentricPosition(GlobeBody& body, double tMillennia);
