#include "app/WindowEvents.h"

#include "app/Keys.h"
#include "app/Layout.h"
#include "app/SurfaceRebuild.h"
#include "clockface/ClockFace.h"

void rebuildWindow(AppState& state, WindowHost& host, const platform::Clock& clock,
                   bool resizeWindow) {
    FaceState& face = state.face;
    if (resizeWindow) {
        face.setUnit(face.unit);
        // The window may answer with a size event that rebuilds on its own; the
        // rebuild below then uses whatever unit that left.
        host.resizeClient(gridColumns * face.unit, gridRows * face.unit);
    }
    rebuildSurfaces(face, clock);
    host.invalidate(true);
}

void handleCreated(AppState& state, WindowHost& host, const platform::Clock& clock,
                   std::int32_t clientHeightPx) {
    const std::int32_t unit = unitFromClientHeight(clientHeightPx);
    if (isUsableUnit(unit)) {
        state.face.setUnit(unit);
    }
    rebuildWindow(state, host, clock, false);
}

void handleSize(AppState& state, WindowHost& host, const platform::Clock& clock,
                std::int32_t clientHeightPx) {
    const std::int32_t unit = unitFromClientHeight(clientHeightPx);
    if (!isUsableUnit(unit) || unit == state.face.unit) {
        return;
    }
    state.face.setUnit(unit);
    rebuildWindow(state, host, clock, false);
}

bool handleKey(AppState& state, WindowHost& host, const platform::Clock& clock,
               char32_t upperCaseKey) {
    const std::int32_t unit = unitForKey(upperCaseKey);
    if (unit == 0) {
        return false;
    }
    state.face.setUnit(unit);
    rebuildWindow(state, host, clock, true);
    return true;
}

void handleTimer(AppState& state, WindowHost& host, const platform::Clock& clock) {
    if (surfacesReady(state.face)) {
        drawClockFace(state.face, clock);
    }
    host.invalidate(false);
}

void paintWindow(AppState& state, platform::PaintTarget& target) {
    FaceState& face = state.face;
    if (!surfacesReady(face)) {
        return;
    }
    face.clockCanvas->blit(target, 0);
    face.calendarCanvas->blit(target, face.halfHeight);
}
