#pragma once

#include "app/AppState.h"
#include "app/WindowHost.h"
#include "platform/Clock.h"
#include "platform/PaintTarget.h"

#include <cstdint>

// What the clock does with each thing that happens to its window. The window
// code of each system turns its own messages into these calls.

// Rebuilds every surface for the current unit and invalidates the window. With
// resizeWindow the window first gets the client area 7U × 16U.
void rebuildWindow(AppState& state, WindowHost& host, const platform::Clock& clock,
                   bool resizeWindow);

// The window exists and its client area is this high: the unit follows the
// height (unless that leaves no room for a canvas) and everything is rebuilt.
void handleCreated(AppState& state, WindowHost& host, const platform::Clock& clock,
                   std::int32_t clientHeightPx);

// The client area changed size: a new unit rebuilds everything. A height under
// one grid row (a minimised window) keeps the last unit.
void handleSize(AppState& state, WindowHost& host, const platform::Clock& clock,
                std::int32_t clientHeightPx);

// A key went down (upper-case letters): S, M and L choose the unit, resize the
// window and rebuild, even when the unit stays the same. True for those keys.
bool handleKey(AppState& state, WindowHost& host, const platform::Clock& clock,
               char32_t upperCaseKey);

// The 250 ms timer: the clock face is drawn again and the window invalidated.
void handleTimer(AppState& state, WindowHost& host, const platform::Clock& clock);

// Paints the clock face at the top of the client area and the calendar below it;
// nothing while the canvases are missing.
void paintWindow(AppState& state, platform::PaintTarget& target);
