#pragma once

#include "raster/PaintTarget.h"

#include <vector>

// What waits to be painted in a shell's client area since its last paint: the
// whole area, or some rectangles of it. A shell without an update region of the
// window system's own keeps one and empties it when it paints.
class PaintQueue {
public:
    // The whole client area waits.
    void addAll() {
        waiting = true;
        everything = true;
    }
    // This part of the client area waits.
    void add(const PixelRect& area) {
        waiting = true;
        areas.push_back(area);
    }
    bool pending() const { return waiting; }

    // Empties the queue and gives what to paint: the whole client area when all
    // of it waits, or when nothing does and a paint is asked for all the same;
    // else the waiting parts in the order they came.
    std::vector<PixelRect> take(const PixelRect& whole) {
        std::vector<PixelRect> result;
        if (everything || !waiting) {
            result.push_back(whole);
        } else {
            result.swap(areas);
        }
        areas.clear();
        waiting = false;
        everything = false;
        return result;
    }

private:
    bool waiting = false;
    bool everything = false;                 // the whole client area waits, not just areas
    std::vector<PixelRect> areas;  // the parts that wait
};
