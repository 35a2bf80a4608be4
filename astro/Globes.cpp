#include "astro/Globes.h"

#include "astro/GlobeBody.h"
#include "astro/GlobeView.h"
#include "astro/Scene.h"
#include "astro/TimeScale.h"
#include "image/Image.h"
#include "image/ImageKind.h"
#include "raster/Camera.h"
#include "raster/Canvas.h"

#include <cstddef>
#include <cstring>
#include <utility>

GlobePictures::GlobePictures() = default;
GlobePictures::~GlobePictures() = default;
GlobePictures::GlobePictures(GlobePictures&&) noexcept = default;
GlobePictures& GlobePictures::operator=(GlobePictures&&) noexcept = default;

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

void renderGlobes(Canvas& globeCanvas, std::int32_t unit, const Image* earthTexture,
                  const Image* moonTexture, const platform::Clock& clock, GlobePictures& pictures) {
    // The old pictures go first: should nothing be drawn, none is left standing
    // for a moment it does not show. One of the canvas's present size keeps its
    // store for its successor.
    std::unique_ptr<Image> previousEarth = reusable(std::move(pictures.earthGlobe), globeCanvas);
    std::unique_ptr<Image> previousMoon = reusable(std::move(pictures.moonGlobe), globeCanvas);
    ++pictures.generation;
    const GlobeView view = globeView(globeCanvas, unit);
    if (!view.usable) {
        return;
    }

    const double tMillennia = millenniaSinceJ2000(currentJulianDayUtc(clock));
    GlobeBody earth;
    earth.radiusKm = earthRadiusKm;
    GlobeBody moon;
    moon.radiusKm = moonRadiusKm;
    assembleScene(tMillennia, earth, moon);

    Camera camera;
    camera.canvas = &globeCanvas;

    // The Earth from the centre of the Sun: the day side fills the disc.
    camera.fov = view.clientWidthPx * earthRadiusKm * 2.0 / view.discRadiusPx;
    renderBody(camera, globeCanvas, view, earth, earthTexture, Vector3{0.0, 0.0, 0.0});
    pictures.earthGlobe = pictureOf(globeCanvas, std::move(previousEarth));

    // The Moon from the centre of the Earth: its phase and its tilt on the sky.
    camera.fov = view.clientWidthPx * moonRadiusKm * 2.0 / view.discRadiusPx;
    renderBody(camera, globeCanvas, view, moon, moonTexture, earth.position);
    pictures.moonGlobe = pictureOf(globeCanvas, std::move(previousMoon));
}
