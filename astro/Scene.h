#pragma once

struct GlobeBody;

// Places the Earth and the Moon in the Sun-centred scene at tMillennia Julian
// millennia since J2000.0: heliocentric centres, km, equatorial frame of J2000.0,
// and their orientations. The radii stay as they are.
void assembleScene(double tMillennia, GlobeBody& earth, GlobeBody& moon);
