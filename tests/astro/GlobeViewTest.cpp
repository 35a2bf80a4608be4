#include "astro/GlobeBody.h"
#include "astro/GlobeView.h"
#include "astro/Scene.h"
#include "astro/SurfaceShading.h"
#include "image/Image.h"
#include "raster/Camera.h"
#include "raster/Canvas.h"

#include "GlobeTestMaps.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

namespace {

// A three-channel map with a different colour in nearly every pixel, so that a
// sample taken at a slightly different place shows.
std::unique_ptr<Image> busyMap(std::int32_t width, std::int32_t height) {
    return globetest::makeMap(width, height, [height](std::int32_t x, std::int32_t y, std::uint8_t* p) {
        const std::int32_t row = height - 1 - y;
        p[0] = static_cast<std::uint8_t>(37 * x + 11 * row);
        p[1] = static_cast<std::uint8_t>(x * row + 5);
        p[2] = static_cast<std::uint8_t>(255 - 3 * x - 7 * row);
    });
}

// The picture the way the tracing loop is meant to draw it, one pixel at a time
// through the camera's own ray, the plain intersection, the shading, the map
// lookup and plot: the loop's row stages and hoisted constants must give exactly
// this.
void renderPixelByPixel(Camera& camera, Canvas& canvas, const GlobeView& view, const GlobeBody& body,
                        const Image* texture) {
    canvas.clear();
    const Vector3 sun = sunDirectionInBody(body);
    for (std::int32_t row = view.firstRow; row <= view.lastRow; ++row) {
        for (std::int32_t column = view.firstColumn; column <= view.lastColumn; ++column) {
            Vector3 origin, direction, hit;
            camera.pixelRay(column, row, origin, direction);
            if (!(intersectRay(body, origin, direction, &hit) > 0.0) || texture == nullptr) {
                continue;
            }
            const double length = std::sqrt(hit.x * hit.x + hit.y * hit.y + hit.z * hit.z);
            const Vector3 normal = length != 0.0 ? Vector3{hit.x / length, hit.y / length, hit.z / length} : hit;
            const auto grey = static_cast<std::uint8_t>(surfaceShade(normal, sun) * 255.5);
            const TexturePoint point = textureCoordinates(hit, texture->width, texture->height);
            Color shade = Color::bytes(grey, grey, grey, 0);
            Color texel;
            texture->sampleBilinear(point.x, point.y, texel);
            shade.modulate(texel);
            canvas.plot(column, row, shade, DepthOff, 0.0);
        }
    }
}

struct Case {
    const char* name;
    double tMillennia;      // Julian millennia since J2000.0
    std::int32_t unit;      // layout unit, pixels
    bool moon;              // the Moon from the Earth's centre, else the Earth from the Sun's
    std::int32_t clipHalfWidthUnits;  // 0: no clip shape; else an ellipse this many units wide each way, whose box is the camera's viewport
    bool withoutViewport;   // the camera has no canvas: every ray starts at the viewport centre
};

class TracedGlobe : public ::testing::TestWithParam<Case> {};

TEST_P(TracedGlobe, MatchesThePixelByPixelTracing) {
    const Case& c = GetParam();
    GlobeBody earth;
    earth.radiusKm = earthRadiusKm;
    GlobeBody moon;
    moon.radiusKm = moonRadiusKm;
    assembleScene(c.tMillennia, earth, moon);
    const GlobeBody& body = c.moon ? moon : earth;
    const Vector3 eye = c.moon ? earth.position : Vector3{};
    const auto map = c.moon ? busyMap(1024, 512) : busyMap(2048, 1024);

    Canvas fast;
    Canvas reference;
    for (Canvas* canvas : {&fast, &reference}) {
        canvas->pixelFormat = PixelFormatRgbBytes;
        ASSERT_EQ(canvas->create(14 * c.unit, 14 * c.unit, 1), 1);
        if (c.clipHalfWidthUnits > 0) {
            canvas->clipShape = ClipEllipse;
            canvas->clipCenterX = 7 * c.unit - 3;
            canvas->clipCenterY = 7 * c.unit + 2;
            canvas->clipHalfWidth = c.clipHalfWidthUnits * c.unit;
            canvas->clipHalfHeight = 6 * c.unit;
        }
    }
    const GlobeView view = globeView(fast, GlobeSize{7 * c.unit, 5 * c.unit});
    ASSERT_TRUE(view.usable);
    Camera camera;
    camera.canvas = c.withoutViewport ? nullptr : &fast;
    camera.fov = view.clientWidthPx * body.radiusKm * 2.0 / view.discRadiusPx;
    // Traced in two bands, split off the middle, as the minute's work spreads it.
    fast.clear();
    const std::int32_t split = (view.firstRow + view.lastRow) / 2 - 3;
    renderBody(camera, fast, view, body, map.get(), eye, view.firstRow - 5, split);
    renderBody(camera, fast, view, body, map.get(), eye, split + 1, view.lastRow + 5);
    // renderBody leaves the camera as it was given.
    EXPECT_EQ(camera.projection, ProjectionPerspective);
    EXPECT_EQ(camera.toWorld.at(0, 0), 1.0);
    EXPECT_EQ(camera.toWorld.at(1, 3), 0.0);
    // The reference's camera is set at the eye and aimed at the body.
    camera.canvas = c.withoutViewport ? nullptr : &reference;
    camera.projection = ProjectionOrthographic;
    camera.toWorld.at(0, 3) = eye.x;
    camera.toWorld.at(1, 3) = eye.y;
    camera.toWorld.at(2, 3) = eye.z;
    inverse(camera.toWorld, camera.toCamera);
    camera.lookAt(body.position);
    renderPixelByPixel(camera, reference, view, body, map.get());

    const std::size_t bytes = static_cast<std::size_t>(fast.width) * fast.height * 3;
    std::size_t litPixels = 0;
    for (std::size_t i = 0; i < bytes; i += 3) {
        litPixels += reference.pixels[i] != 0 || reference.pixels[i + 1] != 0 || reference.pixels[i + 2] != 0;
    }
    EXPECT_GT(litPixels, c.withoutViewport ? 0u : static_cast<std::size_t>(c.unit * c.unit));
    for (std::size_t i = 0; i < bytes; ++i) {
        ASSERT_EQ(fast.pixels[i], reference.pixels[i])
            << "pixel " << (i / 3) % static_cast<std::size_t>(fast.width) << ", "
            << (i / 3) / static_cast<std::size_t>(fast.width) << " channel " << i % 3;
    }
}

// Moments: J2000.0, a full Moon (2000-01-21 04:40 UT), a moment in 2026 and one
// two centuries back; odd units give the wider store and the off-centre disc. A
// clip box narrower than the canvas shrinks the disc, a wider one enlarges it
// beyond the canvas's own five units.
INSTANTIATE_TEST_SUITE_P(
    Bodies, TracedGlobe,
    ::testing::Values(Case{"EarthJ2000", 0.0, 6, false, 0, false},
                      Case{"MoonFull", 0.0000552361, 6, true, 0, false},
                      Case{"EarthOddUnit", 0.0269319, 7, false, 0, false},
                      Case{"MoonOddUnit", 0.0269319, 5, true, 0, false},
                      Case{"MoonLongAgo", -0.2123, 4, true, 0, false},
                      Case{"EarthNarrowClipViewport", 0.0269319, 6, false, 5, false},
                      Case{"EarthWideClipViewport", 0.0269319, 6, false, 9, false},
                      Case{"EarthWithoutViewport", 0.0, 3, false, 0, true}),
    [](const ::testing::TestParamInfo<Case>& param) { return std::string(param.param.name); });

}  // namespace
