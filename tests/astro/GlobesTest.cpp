#include "astro/GlobeBody.h"
#include "astro/Globes.h"
#include "astro/Scene.h"
#include "astro/SurfaceShading.h"
#include "clockface/DialGeometry.h"
#include "image/Image.h"
#include "image/PixelCache.h"
#include "platform/ImageEncoder.h"
#include "raster/Angles.h"
#include "raster/Canvas.h"

#include "GlobeTestMaps.h"
#include "SceneAtJ2000.h"
#include "tests/support/Results.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

// Tick counts of the moments used below, from 1601-01-01 00:00 UT.
constexpr std::uint64_t j2000Ticks = 125912016000000000ull;     // 2000-01-01 12:00 UT
constexpr std::uint64_t fullMoonTicks = 125929032000000000ull;  // 2000-01-21 04:40 UT
constexpr std::uint64_t newMoonTicks = 125916560400000000ull;   // 2000-01-06 18:14 UT
// A day after the new Moon of 2026-12-09, the Moon's phase angle 168.79°, and
// the full Moon of 2026-12-24, 3.14° (horavel-snapshot --describe).
constexpr std::uint64_t crescentTicks = 134413344000000000ull;  // 2026-12-10 00:00 UT
constexpr std::uint64_t fullMoon2026Ticks = 134425548000000000ull;  // 2026-12-24 03:00 UT

platform::FixedClock clockAt(std::uint64_t ticks) {
    return platform::FixedClock(platform::FileTime::fromTicks(ticks), platform::FileTime::fromTicks(ticks));
}

using globetest::makeMap;

std::unique_ptr<Image> whiteMap(std::int32_t width, std::int32_t height) {
    return makeMap(width, height, [](std::int32_t, std::int32_t, std::uint8_t* p) { p[0] = p[1] = p[2] = 255; });
}

// Red tells the column in steps of 8 pixels, green the row in steps of 4: a
// 2048 × 1024 map reports where it was sampled.
std::unique_ptr<Image> coordinateMap() {
    return makeMap(2048, 1024, [](std::int32_t x, std::int32_t y, std::uint8_t* p) {
        p[0] = 255;
        p[1] = static_cast<std::uint8_t>(y / 4);
        p[2] = static_cast<std::uint8_t>(x / 8);
    });
}

struct Rendering {
    Canvas canvas;
    GlobePictures pictures;

    Rendering(std::int32_t unit, const Image* earthMap, const Image* moonMap, std::uint64_t ticks,
              bool earthshine = false) {
        canvas.pixelFormat = PixelFormatRgbBytes;
        EXPECT_EQ(canvas.create(14 * unit, 14 * unit, 1), 1);
        renderGlobes(canvas, globeSizeForUnit(unit), earthMap, moonMap, clockAt(ticks), pictures, earthshine);
    }
};

Color pixel(const std::unique_ptr<Image>& picture, std::int32_t x, std::int32_t y) {
    Color c;
    EXPECT_EQ(picture->getPixel(x, y, c), 1) << x << ", " << y;
    return c;
}

// At J2000.0 the sub-solar point is in the middle of the Earth view. The centre
// samples x ≈ 1030.47, y ≈ 381.00 (longitude +1.14°, latitude −23.03°); pixel
// (23, 14) samples longitude +67.1°, latitude −9.8° (worked by hand from the
// series and the rotation elements). The coordinate map's blue is full, so blue
// shows the grey level of the shading alone.
TEST(GlobeRendering, SmallEarthAtJ2000SamplesTheMapAtTheSubsolarPoint) {
    const auto map = coordinateMap();
    const auto moonWhite = whiteMap(1024, 512);
    Rendering r(2, map.get(), moonWhite.get(), j2000Ticks);
    ASSERT_TRUE(r.pictures.earthGlobe && r.pictures.moonGlobe);
    EXPECT_EQ(r.pictures.earthGlobe->width, 28);
    EXPECT_EQ(r.pictures.earthGlobe->height, 28);
    // At full light the colour is the map's: column 1030 / 8, row 381 / 4.
    const Color centre = pixel(r.pictures.earthGlobe, 14, 14);
    EXPECT_EQ(centre.r, 128);
    EXPECT_EQ(centre.g, 95);
    EXPECT_EQ(centre.b, 255);
    // Worked grey levels: 168 nine pixels east, west and north of the centre.
    EXPECT_EQ(pixel(r.pictures.earthGlobe, 14, 23).b, 168);
    EXPECT_EQ(pixel(r.pictures.earthGlobe, 5, 14).b, 168);
    // Grey 168 times the map at x ≈ 1405.7 (red 175), y ≈ 456.3 (green 114),
    // divided by 255; one level either way for the interpolation.
    const Color east = pixel(r.pictures.earthGlobe, 23, 14);
    EXPECT_NEAR(east.r, 168 * 175 / 255, 1);
    EXPECT_NEAR(east.g, 168 * 114 / 255, 1);
    EXPECT_EQ(east.b, 168);
    // The Moon is a waning crescent: its middle in the dark at the floor, the lit
    // limb toward the smaller columns.
    EXPECT_EQ(pixel(r.pictures.moonGlobe, 14, 14).r, 12);
    EXPECT_GT(pixel(r.pictures.moonGlobe, 5, 14).r, 100);
    EXPECT_EQ(pixel(r.pictures.moonGlobe, 23, 14).r, 12);
    // Outside the disc, and outside the traced square, everything stays black.
    for (const auto& [x, y] : {std::pair{4, 4}, std::pair{24, 24}, std::pair{0, 27}, std::pair{27, 0}}) {
        EXPECT_EQ(pixel(r.pictures.earthGlobe, x, y).b, 0);
        EXPECT_EQ(pixel(r.pictures.moonGlobe, x, y).g, 0);
    }
}


TEST(GlobeRendering, MoonFacesTheEarthWithItsWorkedSubEarthPoint) {
    // The middle of the Moon view looks along the line from the Earth's centre:
    // longitude +5.32°, latitude −6.77° of the Moon map at J2000.0.
    const globetest::SceneAtJ2000 scene;
    const GlobeBody& earth = scene.earth;
    const GlobeBody& moon = scene.moon;
    const Vector3 direction{moon.position.x - earth.position.x, moon.position.y - earth.position.y,
                            moon.position.z - earth.position.z};
    const double length = std::sqrt(direction.x * direction.x + direction.y * direction.y + direction.z * direction.z);
    Vector3 hit;
    ASSERT_GT(intersectRay(moon, earth.position, {direction.x / length, direction.y / length, direction.z / length}, &hit),
              0.0);
    const TexturePoint p = textureCoordinates(hit, 1024.0, 512.0);
    // 0.01°: the worked values are given to two decimals (this gives 5.3150°, −6.7731°).
    EXPECT_NEAR(p.x / 1024.0 * 360.0 - 180.0, 5.32, 0.01);
    EXPECT_NEAR((p.y / 512.0 - 0.5) * 180.0, -6.77, 0.01);
}

// Counts the pixels of a picture by grey level.
struct GreyCount {
    std::int32_t black = 0;
    std::int32_t floor = 0;
    std::int32_t lit = 0;
};

GreyCount countGreys(const Image& picture) {
    GreyCount count;
    for (std::int32_t y = 0; y < picture.height; ++y) {
        for (std::int32_t x = 0; x < picture.width; ++x) {
            Color c;
            picture.getPixel(x, y, c);
            if (c.r == 0) {
                ++count.black;
            } else if (c.r <= 12) {
                ++count.floor;
            } else {
                ++count.lit;
            }
        }
    }
    return count;
}

TEST(GlobeRendering, FullMoonIsLitAllOverAndNewMoonIsDark) {
    const auto earthMap = whiteMap(64, 32);
    const auto moonMap = whiteMap(1024, 512);
    {
        Rendering full(20, earthMap.get(), moonMap.get(), fullMoonTicks);
        const Image& moon = *full.pictures.moonGlobe;
        EXPECT_EQ(pixel(full.pictures.moonGlobe, 140, 140).r, 255);  // brightest in the middle
        const GreyCount count = countGreys(moon);
        // A disc of radius 100 pixels: about 31 400 pixels, almost none at the floor.
        EXPECT_NEAR(count.lit + count.floor, 31400, 200);
        EXPECT_LT(count.floor, 300);
    }
    {
        Rendering dark(20, earthMap.get(), moonMap.get(), newMoonTicks);
        const GreyCount count = countGreys(*dark.pictures.moonGlobe);
        EXPECT_NEAR(count.lit + count.floor, 31400, 200);
        EXPECT_LT(count.lit, 300);
    }
}

// The Earth's disc is five units across each way from the dial's centre; the
// Moon, without a map, stays black over its whole square.
TEST(GlobeRendering, EarthDiscHasTheRadiusOfFiveUnits) {
    const auto earthMap = whiteMap(64, 32);
    for (const std::int32_t unit : {20, 28, 40}) {
        Rendering r(unit, earthMap.get(), nullptr, j2000Ticks);
        EXPECT_EQ(countGreys(*r.pictures.moonGlobe).black, 14 * unit * 14 * unit) << unit;
        const std::int32_t centre = 7 * unit;
        const std::int32_t radius = 5 * unit;
        EXPECT_EQ(pixel(r.pictures.earthGlobe, centre, centre).r, 255) << unit;
        // The edge of the disc falls on the edge of the traced square.
        EXPECT_GT(pixel(r.pictures.earthGlobe, centre + radius - 1, centre).r, 0) << unit;
        EXPECT_GT(pixel(r.pictures.earthGlobe, centre - radius + 1, centre).r, 0) << unit;
        EXPECT_EQ(pixel(r.pictures.earthGlobe, centre + radius + 1, centre).r, 0) << unit;
        EXPECT_EQ(pixel(r.pictures.earthGlobe, centre, centre - radius - 1).r, 0) << unit;
    }
}

TEST(GlobeRendering, OddUnitTracesTheWholeProjectedDisc) {
    // U = 21: the store is 296 wide, the view centred on (148, 147) with a disc of
    // radius about 105.7 pixels, reaching columns 43 … 253 and rows 42 … 252.
    const auto earthMap = whiteMap(64, 32);
    Rendering r(21, earthMap.get(), nullptr, j2000Ticks);
    const Image& earth = *r.pictures.earthGlobe;
    EXPECT_EQ(earth.width, 296);
    EXPECT_EQ(earth.height, 294);
    EXPECT_GT(pixel(r.pictures.earthGlobe, 253, 147).r, 0);
    EXPECT_GT(pixel(r.pictures.earthGlobe, 43, 147).r, 0);
    EXPECT_GT(pixel(r.pictures.earthGlobe, 148, 252).r, 0);
    EXPECT_GT(pixel(r.pictures.earthGlobe, 148, 42).r, 0);
    // Lit pixels are symmetric about the view's centre row and column.
    for (std::int32_t d = 0; d < 110; ++d) {
        EXPECT_EQ(pixel(r.pictures.earthGlobe, 148 + d, 147).r > 0, pixel(r.pictures.earthGlobe, 148 - d, 147).r > 0) << d;
    }
}

// The bytes of a picture's store, with its layout.
struct StoredPicture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t stride = 0;
    std::int32_t channels = 0;
    std::int32_t kind = 0;
    std::int16_t valid = 0;
    std::vector<std::uint8_t> bytes;
    bool operator==(const StoredPicture&) const = default;
};

StoredPicture stored(const Image& picture) {
    const std::uint8_t* store = picture.pixelStore.get();
    return {picture.width, picture.height, picture.stride, picture.channels, picture.kind, picture.valid,
            std::vector<std::uint8_t>(store, store + static_cast<std::size_t>(picture.stride) * picture.height)};
}

// A rendering after one of the same size writes into the stores of the
// pictures it replaces: it must leave exactly the pictures a first rendering
// makes. After a new layout the pictures take the canvas's new size.
TEST(GlobeRendering, ReplacedPicturesAreThoseOfAFirstRendering) {
    const auto map = coordinateMap();
    Rendering r(6, map.get(), map.get(), j2000Ticks);
    const StoredPicture earthBefore = stored(*r.pictures.earthGlobe);
    const std::uint8_t* earthStore = r.pictures.earthGlobe->pixelStore.get();
    const std::uint64_t earthGeneration = r.pictures.earthGeneration;
    const std::uint64_t moonGeneration = r.pictures.moonGeneration;

    renderGlobes(r.canvas, globeSizeForUnit(6), map.get(), map.get(), clockAt(fullMoonTicks), r.pictures);
    EXPECT_GT(r.pictures.earthGeneration, earthGeneration);
    EXPECT_GT(r.pictures.moonGeneration, moonGeneration);
    EXPECT_EQ(r.pictures.earthGlobe->pixelStore.get(), earthStore);  // no new store for the same size
    Rendering fresh(6, map.get(), map.get(), fullMoonTicks);
    EXPECT_NE(stored(*r.pictures.earthGlobe), earthBefore);  // the moments show different pictures
    EXPECT_EQ(stored(*r.pictures.earthGlobe), stored(*fresh.pictures.earthGlobe));
    EXPECT_EQ(stored(*r.pictures.moonGlobe), stored(*fresh.pictures.moonGlobe));

    // U = 7: the canvas is 98 × 98, its byte store 100 pixels wide.
    ASSERT_EQ(r.canvas.create(14 * 7, 14 * 7, 1), 1);
    renderGlobes(r.canvas, globeSizeForUnit(7), map.get(), map.get(), clockAt(fullMoonTicks), r.pictures);
    Rendering larger(7, map.get(), map.get(), fullMoonTicks);
    EXPECT_EQ(r.pictures.earthGlobe->width, 100);
    EXPECT_EQ(r.pictures.earthGlobe->height, 98);
    EXPECT_EQ(stored(*r.pictures.earthGlobe), stored(*larger.pictures.earthGlobe));
    EXPECT_EQ(stored(*r.pictures.moonGlobe), stored(*larger.pictures.moonGlobe));
}

TEST(GlobeRendering, IsRepeatableAndNeedsAUsableCanvas) {
    const auto map = coordinateMap();
    Rendering first(4, map.get(), nullptr, j2000Ticks);
    Rendering second(4, map.get(), nullptr, j2000Ticks);
    const Image& a = *first.pictures.earthGlobe;
    const Image& b = *second.pictures.earthGlobe;
    ASSERT_EQ(a.stride * a.height, b.stride * b.height);
    EXPECT_EQ(std::memcmp(a.pixelStore.get(), b.pixelStore.get(), static_cast<std::size_t>(a.stride) * a.height), 0);

    // A second rendering replaces the pictures; a unit of 0 or a canvas without
    // pixels leaves none.
    first.canvas.release();
    renderGlobes(first.canvas, globeSizeForUnit(4), map.get(), nullptr, clockAt(j2000Ticks), first.pictures);
    EXPECT_FALSE(first.pictures.earthGlobe);
    renderGlobes(second.canvas, globeSizeForUnit(0), map.get(), nullptr, clockAt(j2000Ticks), second.pictures);
    EXPECT_FALSE(second.pictures.moonGlobe);
}

// Earthshine lights the Moon's night side as brightly as the Earth's phase seen
// from the Moon gives, and leaves alone every pixel the Sun lights.
TEST(GlobeRendering, EarthshineLightsTheNightSideByTheEarthsPhaseAndLeavesTheSunlitPartAlone) {
    const auto earthMap = whiteMap(64, 32);
    const auto moonMap = whiteMap(1024, 512);
    {
        // A day from new Moon: the Earth's phase angle is 180° − 168.79° = 11.21°
        // (less the 0.16° at most the two bodies make at the Sun), the Lambert
        // phase function (sin α + (π − α) cos α) / π = 0.9817, and the middle of
        // the disc, facing the Earth, grey 0.2 × 0.9817 × 255.5 = 50.2: 50.
        const Rendering dark(20, earthMap.get(), moonMap.get(), crescentTicks);
        const Rendering earthlit(20, earthMap.get(), moonMap.get(), crescentTicks, true);
        EXPECT_EQ(pixel(dark.pictures.moonGlobe, 140, 140).r, 12);
        EXPECT_EQ(pixel(earthlit.pictures.moonGlobe, 140, 140).r, 50);
        // Only pixels at the night side's floor change, and all but 1 % of them
        // do (99.7 % here): those left are at the limb, where the Earth's light
        // grazes, and beside the terminator. The Earth's picture is the same.
        std::int32_t floorPixels = 0;
        std::int32_t brighter = 0;
        for (std::int32_t y = 0; y < 280; ++y) {
            for (std::int32_t x = 0; x < 280; ++x) {
                const Color before = pixel(dark.pictures.moonGlobe, x, y);
                const Color after = pixel(earthlit.pictures.moonGlobe, x, y);
                if (before.r == 12) {
                    ++floorPixels;
                    brighter += after.r > 12;
                } else {
                    EXPECT_EQ(after.r, before.r) << x << ", " << y;
                }
            }
        }
        EXPECT_GT(brighter * 100, floorPixels * 99);
        EXPECT_EQ(stored(*earthlit.pictures.earthGlobe), stored(*dark.pictures.earthGlobe));
    }
    {
        // Full Moon: the Earth seen from the Moon is new, and lights nothing.
        const Rendering full(20, nullptr, moonMap.get(), fullMoon2026Ticks);
        const Rendering earthlit(20, nullptr, moonMap.get(), fullMoon2026Ticks, true);
        EXPECT_EQ(stored(*earthlit.pictures.moonGlobe), stored(*full.pictures.moonGlobe));
    }
    // Across the terminator, the Earth 168.79° from the Sun as that day, surfaces
    // turned from the Sun by the angle of cosine sunCosine, toward the Earth:
    // where the Sun is up, the shade is the Sun's alone, bit for bit, down to the
    // sliver held at the floor, though the Earth lights it too; below the
    // horizon the Earth lights the night side, no brighter than the day side as
    // far from the terminator, so that no band at the floor is left between.
    const Vector3 sun{1.0, 0.0, 0.0};
    const double earthAngleRad = 168.79 * radiansPerDegree;
    const Vector3 earth{std::cos(earthAngleRad), std::sin(earthAngleRad), 0.0};
    for (const double sunCosine : {1.0, 0.3, 0.0025, 0.001, 1e-9, 0.0, -1e-9, -0.001, -0.0025, -0.01, -0.3, -1.0}) {
        const double sine = std::sqrt(1.0 - sunCosine * sunCosine);
        const Vector3 normal{sunCosine, sine, 0.0};
        const double shade = earthlitShadeOf<double>({normal.x, normal.y, normal.z}, sun, earth, 0.2);
        if (sunCosine > 0.0) {
            EXPECT_EQ(shade, surfaceShade(normal, sun)) << sunCosine;
        } else {
            EXPECT_GE(shade, 0.05) << sunCosine;
            EXPECT_LE(shade, std::max(0.05, surfaceShade({-sunCosine, sine, 0.0}, sun))) << sunCosine;
        }
    }
}

// The globes trace the map once a minute; a map read in place from its cache
// file gives its pages back after each tracing. The pictures are those of the
// same map in memory, the first time and after the pages went back.
TEST(GlobeRendering, AMapReadInPlaceGivesThePicturesOfTheMapInMemory) {
    const auto map = makeMap(512, 256, [](std::int32_t x, std::int32_t y, std::uint8_t* p) {
        p[0] = static_cast<std::uint8_t>(x * 7 + y);
        p[1] = static_cast<std::uint8_t>(y * 3);
        p[2] = static_cast<std::uint8_t>(x / 2);
    });
    const testsupport::ScratchFolder scratch("horavel-astro-");
    const std::filesystem::path& folder = scratch.path;
    const std::filesystem::path file = folder / "Map.png";
    ASSERT_TRUE(testsupport::succeeded(
        platform::writePngBgr(file, map->width, map->height, map->stride, map->pixelStore.get())));
    {
        Image inPlace;
        ASSERT_EQ(loadThroughCache(inPlace, file, folder), 1);
        ASSERT_TRUE(inPlace.rows() != nullptr && !inPlace.pixelStore) << "the map is read in place";

        const Rendering inMemory(6, map.get(), map.get(), fullMoonTicks);
        for (int time = 0; time < 2; ++time) {
            const Rendering fromFile(6, &inPlace, &inPlace, fullMoonTicks);
            EXPECT_EQ(stored(*fromFile.pictures.earthGlobe), stored(*inMemory.pictures.earthGlobe)) << time;
            EXPECT_EQ(stored(*fromFile.pictures.moonGlobe), stored(*inMemory.pictures.moonGlobe)) << time;
        }
    }
}

}  // namespace
