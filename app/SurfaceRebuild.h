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

// The face takes a new unit and shows it at once with what is at hand: a new
// clock and calendar canvas, the calendar drawn at the new size, and the clock
// face with the old globe picture scaled onto the new dial under new marks,
// numerals, hands and date. The globes for the new size and their backgrounds
// are made next by the minute's work (MinuteWork::relayout), on ticks and in
// idle slices, which drops whatever was under way for the size left. A face
// without surfaces yet (the first start) has no old picture to show: it is
// rebuilt whole, as rebuildSurfaces does. 1 when the surfaces are ready; 0 as
// rebuildSurfaces.
std::int32_t changeLayout(FaceState& face, const platform::Clock& clock);
