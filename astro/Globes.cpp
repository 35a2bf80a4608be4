#include "astro/Globes.h"

#include "astro/Earthlight.h"
#include "astro/GlobeBody.h"
#include "astro/GlobeView.h"
#include "astro/Scene.h"
#include "astro/TimeScale.h"
#include "image/Image.h"
#include "raster/Camera.h"
#include "raster/Canvas.h"

#include <algorithm>
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

struct GlobeTracing::Scene {
    GlobeView view;
    GlobeBody earth;
    GlobeBody moon;
    Camera camera;
    double earthlight = 0.0;  // the Earth's light on the body's night side, shade scale 0 … 1
};

GlobeTracing::GlobeTracing(Globe globe, const Canvas& globeCanvas, const GlobeSize& size,
                           const platform::Clock& clock, bool earthshine)
    : scene(std::make_unique<Scene>()), body(globe) {
    scene->view = globeView(globeCanvas, size);
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
    if (earthshine && body == Globe::Moon) {
        scene->earthlight = earthlightShade(earthPhaseAngleDeg(scene->earth.position, scene->moon.position));
    }
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
    renderBody(scene->camera, globeCanvas, view, target, texture, eye, nextRow, lastRow, scene->earthlight);
    const std::int64_t traced = (lastRow - nextRow + 1) * widthPx;
    nextRow = lastRow + 1;
    if (nextRow > view.lastRow) {
        globeCanvas.present();
        // A picture of the same size takes the new pixels in its store: a new
        // store for every rendering would hand the memory of the pictures back
        // to the system and take it again each minute.
        picture = Image::fromCanvas(globeCanvas, std::move(picture));
        ++generation;
        finished = true;
        // The map is mostly not read again before the next minute: a map read
        // in place gives its pages back to the system until then.
        if (texture != nullptr) {
            texture->releaseResidentPages();
        }
    }
    return traced;
}

void renderGlobes(Canvas& globeCanvas, const GlobeSize& size, const Image* earthTexture,
                  const Image* moonTexture, const platform::Clock& clock, GlobePictures& pictures,
                  bool earthshine) {
    constexpr std::int64_t wholeSquare = std::numeric_limits<std::int64_t>::max();
    GlobeTracing earth(Globe::Earth, globeCanvas, size, clock);
    while (!earth.done()) {
        earth.advance(globeCanvas, earthTexture, wholeSquare, pictures);
    }
    GlobeTracing moon(Globe::Moon, globeCanvas, size, clock, earthshine);
    while (!moon.done()) {
        moon.advance(globeCanvas, moonTexture, wholeSquare, pictures);
    }
}
