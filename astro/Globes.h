#pragma once

#include "astro/GlobeView.h"
#include "platform/Clock.h"

#include <cstdint>
#include <memory>

class Canvas;
class Image;

// The two bodies a globe picture shows.
enum class Globe : std::int32_t { Earth = 0, Moon = 1 };

// The two rendered globe pictures, null before the first rendering. Each is a copy
// of the globe canvas: 2W × 2W, or (2W + 2) × 2W for an odd W (W the size's
// clientWidthPx), whose canvas rows are widened to a multiple of four bytes.
struct GlobePictures {
    std::unique_ptr<Image> earthGlobe;  // the Earth seen from the centre of the Sun
    std::unique_ptr<Image> moonGlobe;   // the Moon seen from the centre of the Earth
    // Each raised when its picture is replaced, so that whoever keeps something
    // drawn from a picture can tell without comparing pixels. Code that replaces
    // a picture by other means raises its generation too.
    std::uint64_t earthGeneration = 0;
    std::uint64_t moonGeneration = 0;

    const Image* picture(Globe globe) const;
    std::uint64_t generation(Globe globe) const;

    GlobePictures();
    ~GlobePictures();
    GlobePictures(GlobePictures&&) noexcept;
    GlobePictures& operator=(GlobePictures&&) noexcept;
};

// Ray-traces the Earth and the Moon for the clock's present universal time into
// globeCanvas (2W × 2W, three-byte pixels) and replaces both pictures. A texture
// may be null or invalid: that body's disc then stays black. For a size below 1 or
// a canvas without pixels both pictures are dropped and nothing is drawn. With
// earthshine the Moon's night side is lit faintly by the Earth, as strongly as
// the Earth's phase seen from the Moon gives (Earthlight.h); the sunlit part and
// the Earth's picture are the same either way.
void renderGlobes(Canvas& globeCanvas, const GlobeSize& size, const Image* earthTexture,
                  const Image* moonTexture, const platform::Clock& clock, GlobePictures& pictures,
                  bool earthshine = false);

// One body's rendering spread over as many calls as it takes, so that the work
// of a large unit can be shared out between timer ticks: the scene is assembled
// once for the clock's moment, and each advance traces the next rows of the
// square. The picture is the one renderGlobes makes for that moment, pixel for
// pixel. Every call must be given the same globe canvas, unchanged in size.
class GlobeTracing {
public:
    // earthshine: as for renderGlobes; only the Moon's tracing reads it.
    GlobeTracing(Globe globe, const Canvas& globeCanvas, const GlobeSize& size, const platform::Clock& clock,
                 bool earthshine = false);
    ~GlobeTracing();
    GlobeTracing(const GlobeTracing&) = delete;
    GlobeTracing& operator=(const GlobeTracing&) = delete;

    // Traces whole rows of the square, at least one, as many as stay within
    // pixelBudget pixels; the first call clears the canvas. After the last row
    // the canvas is presented and the body's picture replaced (dropped when the
    // view is unusable). Returns the pixels of the rows traced, culled ones
    // included; 0 once done.
    std::int64_t advance(Canvas& globeCanvas, const Image* texture, std::int64_t pixelBudget,
                         GlobePictures& pictures);
    bool done() const { return finished; }

private:
    struct Scene;
    std::unique_ptr<Scene> scene;
    Globe body;
    std::int32_t nextRow = 0;
    bool finished = false;
};
