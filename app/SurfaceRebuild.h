#pragma once

#include "clockface/FaceState.h"
#include "platform/Clock.h"

#include <cstdint>

// Replaces the three canvases and the text renderer for the face's current unit
// and draws everything anew: the globes, the calendar, then the clock face, which
// shows the globe pictures. 1 when the surfaces are ready; 0 when a canvas could
// not be made (the unit below 1, or no memory for it): the face is then left with
// no canvases at all, so nothing draws on a canvas without buffers.
std::int32_t rebuildSurfaces(FaceState& face, const platform::Clock& clock);
