#pragma once

#include "astro/GlobeBody.h"
#include "astro/Scene.h"

namespace globetest {

// The Earth and the Moon with their mean radii, placed as the scene places
// them at J2000.0 (T = 0).
struct SceneAtJ2000 {
    GlobeBody earth;
    GlobeBody moon;

    SceneAtJ2000() {
        earth.radiusKm = 6371.0;
        moon.radiusKm = 1737.4;
        assembleScene(0.0, earth, moon);
    }
};

}  // namespace globetest
