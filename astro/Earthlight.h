#pragma once

#include "raster/Vector3.h"

// The Earth's light on the Moon's night side, as the Moon's picture shows it
// when earthshine is asked for. docs/earthshine.md gives the model and what it
// leaves out.

// The brightness, on the shade scale 0 … 1 of surfaceShade, of a spot of the
// Moon facing a full Earth squarely: four times the night side's floor of
// 0.05, a faint glow against a sunlit part that reaches 1, yet a night side
// that reads as more than black on a screen. The Earth really lights the Moon
// some ten thousand times more faintly than the Sun does, which no screen
// shows.
inline constexpr double earthlightGain = 0.2;

// The Earth's phase angle seen from the Moon, degrees 0 … 180: the angle
// Sun–Earth–Moon at the Earth's centre, from the heliocentric centres of the
// two, km, the Sun at the origin. 0 is a full Earth, at new Moon. It is
// 180° less the Moon's phase angle (Sun–Moon–Earth) and less the angle the two
// bodies make at the Sun, at most 0.16°.
double earthPhaseAngleDeg(const Vector3& earthKm, const Vector3& moonKm);

// The earthlight for the Earth at that phase angle, degrees: earthlightGain
// times the phase function of a Lambert sphere, (sin α + (π − α) cos α) / π,
// 1 for a full Earth, 0 for a new one.
double earthlightShade(double earthPhaseAngleDeg);
