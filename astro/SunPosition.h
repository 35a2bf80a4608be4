#pragma once

struct GlobeBody;

// Writes into body's position the heliocentric centre of the Earth–Moon
// barycentre, km, in the equatorial frame of J2000.0, at tMillennia Julian
// millennia since J2000.0. Nothing else of the body changes.
void barycentrePosition(GlobeBody& body, double tMillennia);
