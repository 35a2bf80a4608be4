#include "astro/Globes.h"

#include "astro/GlobeBody.h"
#include "astro/GlobeView.h"
#include "astro/Scene.h"
#include "astro/TimeScale.h"
#include "image/Image.h"
#include "image/ImageKind.h"
#include "raster/Camera.h"
#include "raster/Canvas.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <limits>
#include <utility>

GlobePictures::GlobePictures() = default;
GlobePictures::~GlobePictures() = default;
GlobePictures::GlobePictures(GlobePictures&&) noexcept = default;
GlobePictures& GlobePictures::operator=(GlobePictures&&) noexcept = default;

const Image* GlobePictures::picture(Globe globe) const {
    return globe == Globe::Earth ? earthGlobe.get() : moonGlobe.get();
}

std::uint64_t GlobePictures::generation(Globe globe) const {
    return globe == Globe::Earth ? earthGeneration : moonGeneration;
}

namespace {

// Where the rows of the canvas's display picture go in a picture made by
// Image::fromCanvas: three bytes per pixel, rows widened to a multiple of four
// bytes.
struct PictureLayout {
    std::int32_t width = 0;   // pixels
    std::int32_t height = 0;  // rows
    std::int64_t rowBytes = 0;
    std::int64_t strideBytes = 0;
};

PictureLayout layoutOf(const Canvas& canvas) {
    PictureLayout layout;
    if (canvas.scale > 0) {
        layout.width = canvas.width / canvas.scale;
        layout.height = canvas.height / canvas.scale;
    }
    layout.rowBytes = 3 * static_cast<std::int64_t>(layout.width);
    layout.strideBytes = (layout.rowBytes + 3) & ~std::int64_t{3};
    return layout;
}

// The previous picture when Image::fromCanvas would give the canvas's next
// picture the very same layout, so that its store can take the new pixels;
// otherwise null, the previous picture freed.
std::unique_ptr<Image> reusable(std::unique_ptr<Image> previous, const Canvas& canvas) {
    const PictureLayout layout = layoutOf(canvas);
    if (previous && previous->valid != 0 && previous->kind == ImagePixels && previous->channels == 3 &&
        previous->pixelStore && layout.width > 0 && layout.height > 0 &&
        previous->width == layout.width && previous->height == layout.height &&
        previous->stride == layout.strideBytes) {
        return previous;
    }
    return nullptr;
}

// The canvas's display picture. A reusable previous picture receives it in
// its store, row for row as Image::fromCanvas lays it out (the display buffer
// is bottom row first, the store top row first); otherwise fromCanvas makes a
// new one. Allocating a new store for every rendering would hand the memory of
// two pictures back to the system and take it again each minute.
std::unique_ptr<Image> pictureOf(const Canvas& canvas, std::unique_ptr<Image> previous) {
    if (!previous || !canvas.display) {
        return Image::fromCanvas(canvas);
    }
    const PictureLayout layout = layoutOf(canvas);
    const std::uint8_t* display = canvas.display.get();
    for (std::int32_t i = 0; i < layout.height; ++i) {
        std::memcpy(previous->pixelStore.get() + static_cast<std::ptrdiff_t>(i) * layout.strideBytes,
                    display + static_cast<std::ptrdiff_t>(layout.height - 1 - i) * layout.rowBytes,
                    static_cast<std::size_t>(layout.rowBytes));
    }
    return previous;
}

}  // namespace

struct GlobeTracing::Scene {
    GlobeView view;
    GlobeBody earth;
    GlobeBody moon;
    Camera camera;
};

GlobeTracing::GlobeTracing(Globe globe, const Canvas& globeCanvas, std::int32_t unit,
                           const platform::Clock& clock)
    : scene(std::make_unique<Scene>()), body(globe) {
    scene->view = globeView(globeCanvas, unit);
    nextRow = scene->view.firstRow;
    if (!scene->view.usable) {
        return;
    }
    const double tMillennia = millenniaSinceJ2000(currentJulianDayUtc(clock));
    scene->earth.radiusKm = earthRadiusKm;
    scene->moon.radiusKm = moonRadiusKm;
    assembleScene(tMillennia, scene->earth, scene->moon);
    // The Earth from the centre of the Sun: the day side fills the disc. The
    // Moon from the centre of the Earth: its phase and its tilt on the sky.
    const double radiusKm = body == Globe::Earth ? earthRadiusKm : moonRadiusKm;
    scene->camera.fov = scene->view.clientWidthPx * radiusKm * 2.0 / scene->view.discRadiusPx;
}

GlobeTracing::~GlobeTracing() = default;

std::int64_t GlobeTracing::advance(Canvas& globeCanvas, const Image* texture, std::int64_t pixelBudget,
                                   GlobePictures& pictures) {
    if (finished) {
        return 0;
    }
    std::unique_ptr<Image>& picture = body == Globe::Earth ? pictures.earthGlobe : pictures.moonGlobe;
    std::uint64_t& generation = body == Globe::Earth ? pictures.earthGeneration : pictures.moonGeneration;
    const GlobeView& view = scene->view;
    if (!view.usable) {
        picture.reset();
        ++generation;
        finished = true;
        return 0;
    }
    if (nextRow == view.firstRow) {
        globeCanvas.clear();
    }
    const std::int64_t widthPx = view.lastColumn - view.firstColumn + 1;
    const std::int64_t rows = std::clamp<std::int64_t>(pixelBudget / std::max<std::int64_t>(widthPx, 1), 1,
                                                       view.lastRow - nextRow + 1);
    const auto lastRow = static_cast<std::int32_t>(nextRow + rows - 1);
    scene->camera.canvas = &globeCanvas;
    const GlobeBody& target = body == Globe::Earth ? scene->earth : scene->moon;
    const Vector3 eye = body == Globe::Earth ? Vector3{0.0, 0.0, 0.0} : scene->earth.position;
    renderBody(scene->camera, globeCanvas, view, target, texture, eye, nextRow, lastRow);
    const std::int64_t traced = (lastRow - nextRow + 1) * widthPx;
    nextRow = lastRow + 1;
    if (nextRow > view.lastRow) {
        globeCanvas.present();
        picture = pictureOf(globeCanvas, reusable(std::move(picture), globeCanvas));
        ++generation;
        finished = true;
    }
    return traced;
}

void renderGlobes(Canvas& globeCanvas, std::int32_t unit, const Image* earthTexture,
                  const Image* moonTexture, const platform::Clock& clock, GlobePictures& pictures) {
    constexpr std::int64_t wholeSquare = std::numeric_limits<std::int64_t>::max();
    GlobeTracing earth(Globe::Earth, globeCanvas, unit, clock);
    while (!earth.done()) {
        earth.advance(globeCanvas, earthTexture, wholeSquare, pictures);
    }
    GlobeTracing moon(Globe::Moon, globeCanvas, unit, clock);
    while (!moon.done()) {
        moon.advance(globeCanvas, moonTexture, wholeSquare, pictures);
    }
}
