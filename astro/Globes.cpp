#include "astro/Globes.h"

#include "astro/GlobeBody.h"
#include "astro/GlobeView.h"
#include "astro/Scene.h"
#include "astro/TimeScale.h"
#include "image/Image.h"
#include "raster/Camera.h"
#include "raster/Canvas.h"

GlobePictures::GlobePictures() = default;
GlobePictures::~GlobePictures() = default;
GlobePictures::GlobePictures(GlobePictures&&) noexcept = default;
GlobePictures& GlobePictures::operator=(GlobePictures&&) noexcept = default;

void renderGlobes(Canvas& globeCanvas, std::int32_t unit, const Image* earthTexture,
                  const Image* moonTexture, const platform::Clock& clock, GlobePictures& pictures) {
    // The old pictures go first: should nothing be drawn, none is left standing
    // for a moment it does not show.
    pictures.earthGlobe.reset();
    pictures.moonGlobe.reset();
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
    pictures.earthGlobe = Image::fromCanvas(globeCanvas);

    // The Moon from the centre of the Earth: its phase and its tilt on the sky.
    camera.fov = view.clientWidthPx * moonRadiusKm * 2.0 / view.discRadiusPx;
    renderBody(camera, globeCanvas, view, moon, moonTexture, earth.position);
    pictures.moonGlobe = Image::fromCanvas(globeCanvas);
}
