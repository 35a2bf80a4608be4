#include "astro/Scene.h"

#include "astro/GlobeBody.h"
#include "astro/MoonPosition.h"
#include "astro/RotationModel.h"
#include "astro/SunPosition.h"

namespace {

// The Moon's share of the Earth–Moon mass, 1 / (1 + 81.30056…): the barycentre
// lies this fraction of the Moon vector away from the Earth's centre.
constexpr double moonMassFraction = 0.012150584269994106;

}  // namespace

void assembleScene(double tMillennia, GlobeBody& earth, GlobeBody& moon) {
    const Vector3 barycentreKm = barycentreHeliocentricEquatorialKm(tMillennia);
    const Vector3 moonFromEarthKm = moonGeocentricEquatorialKm(tMillennia);
    earth.position = barycentreKm - moonMassFraction * moonFromEarthKm;
    moon.position = earth.position + moonFromEarthKm;
    const RotationElements earthElements = earthOrientation(tMillennia);
    setOrientation(earth, earthElements.primeMeridianDeg, earthElements.poleRightAscensionDeg,
                   earthElements.poleDeclinationDeg);
    const RotationElements moonElements = moonOrientation(tMillennia);
    setOrientation(moon, moonElements.primeMeridianDeg, moonElements.poleRightAscensionDeg,
                   moonElements.poleDeclinationDeg);
}
