#include "app/Textures.h"
#include "astro/PeriodicSeries.h"
#include "astro/SurfaceShading.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace {

const std::filesystem::path assets = HORAVEL_TEST_ASSET_DIR;

// The tests run in the build's test folder, which holds no textures, so the
// program folder is where they must come from.
TEST(Textures, FoundInTheProgramFolderWhenNotInTheCurrentOne) {
    ASSERT_FALSE(std::filesystem::exists("Earth.png"));
    FaceState face;
    loadTextures(face, {}, {}, assets, {});
    EXPECT_EQ(face.earthTexture.valid, 1);
    EXPECT_EQ(face.moonTexture.valid, 1);
    EXPECT_EQ(face.earthTexture.width, 2 * face.earthTexture.height) << "equirectangular";
}

// The mean grey of the map over a square of ±halfWidthDeg around a point of
// the surface, placed by the globe renderer's own mapping from body-frame
// directions to map pixels.
double meanGreyAround(const Image& map, double latitudeDeg, double longitudeDeg, double halfWidthDeg) {
    const double lat = latitudeDeg * radiansPerDegree;
    const double lon = longitudeDeg * radiansPerDegree;
    const Vector3 point{std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
    const TexturePoint centre = textureCoordinates(point, map.width, map.height);
    const auto half = static_cast<std::int32_t>(std::lround(halfWidthDeg / 360.0 * map.width));
    const auto cx = static_cast<std::int32_t>(centre.x);
    const auto cy = static_cast<std::int32_t>(centre.y);
    double sum = 0.0;
    std::int32_t count = 0;
    for (std::int32_t y = cy - half; y <= cy + half; ++y) {
        for (std::int32_t x = cx - half; x <= cx + half; ++x) {
            Color c;
            map.getPixel(x, y, c);
            sum += c.r;
            ++count;
        }
    }
    return sum / count;
}

// Lunar features of known selenographic coordinates must fall where the
// renderer looks for them: the maria dark, the young ray craters bright. A map
// mirrored east to west or north to south, or turned half a revolution, puts
// highland or mare under several of these points; so does a shift of its
// longitudes by two degrees, for the small bright craters.
TEST(Textures, TheMoonMapShowsLunarFeaturesWhereTheRendererLooksForThem) {
    FaceState face;
    loadTextures(face, {}, {}, assets, {});
    const Image& moon = face.moonTexture;
    ASSERT_EQ(moon.valid, 1);
    EXPECT_EQ(moon.channels, 1) << "grey";
    ASSERT_EQ(moon.width, 2 * moon.height) << "equirectangular";

    double total = 0.0;
    for (std::int32_t y = 0; y < moon.height; ++y) {
        for (std::int32_t x = 0; x < moon.width; ++x) {
            Color c;
            moon.getPixel(x, y, c);
            total += c.r;
        }
    }
    const double mapMean = total / (static_cast<double>(moon.width) * moon.height);

    struct Feature {
        const char* name;
        double latitudeDeg, longitudeDeg, halfWidthDeg;
    };
    const Feature dark[] = {
        {"Mare Crisium", 17.0, 59.0, 4.0},
        {"Mare Imbrium", 33.0, -16.0, 5.0},
        {"Mare Orientale", -19.4, -92.8, 2.0},
        {"Mare Moscoviense", 27.0, 148.0, 2.0},
        {"Plato", 51.6, -9.4, 0.8},
        {"Grimaldi", -5.2, -68.6, 1.2},
    };
    const Feature bright[] = {
        {"Tycho", -43.3, -11.4, 0.6},
        {"Copernicus", 9.6, -20.1, 0.6},
        {"Aristarchus", 23.7, -47.4, 0.4},
    };
    for (const Feature& f : dark) {
        EXPECT_LT(meanGreyAround(moon, f.latitudeDeg, f.longitudeDeg, f.halfWidthDeg), mapMean - 20.0)
            << f.name << " should be dark (map mean " << mapMean << ")";
    }
    for (const Feature& f : bright) {
        EXPECT_GT(meanGreyAround(moon, f.latitudeDeg, f.longitudeDeg, f.halfWidthDeg), mapMean + 10.0)
            << f.name << " should be bright (map mean " << mapMean << ")";
    }
}

// Installed, the program stands in bin/ and the maps in share/horavel/.
TEST(Textures, FoundInAnInstalledTree) {
    const std::filesystem::path tree = std::filesystem::temp_directory_path() / "horavel-installed-tree";
    std::filesystem::remove_all(tree);
    std::filesystem::create_directories(tree / "bin");
    std::filesystem::create_directories(tree / "share" / "horavel");
    std::filesystem::copy_file(assets / "Moon.png", tree / "share" / "horavel" / "Moon.png");
    FaceState face;
    loadTextures(face, {}, {}, tree / "bin", {});
    EXPECT_EQ(face.earthTexture.valid, 0);
    EXPECT_EQ(face.moonTexture.valid, 1);
    std::filesystem::remove_all(tree);
}

TEST(Textures, MissingEverywhereLeavesThemEmpty) {
    FaceState face;
    loadTextures(face, {}, {}, std::filesystem::temp_directory_path() / "horavel-no-textures-here", {});
    EXPECT_EQ(face.earthTexture.valid, 0);
    EXPECT_EQ(face.moonTexture.valid, 0);
    loadTextures(face, {}, {}, {}, {});
    EXPECT_EQ(face.earthTexture.valid, 0);
}

// A file given by name is the only one tried: it is not searched for elsewhere.
TEST(Textures, AGivenFileIsTheOnlyOneTried) {
    FaceState face;
    loadTextures(face, assets / "Moon.png", assets / "missing.png", assets, {});
    EXPECT_EQ(face.earthTexture.valid, 1);
    EXPECT_EQ(face.earthTexture.channels, 1) << "the Moon map, given for the Earth";
    EXPECT_EQ(face.moonTexture.valid, 0);
}

}  // namespace
