#include "app/Textures.h"

#include <gtest/gtest.h>

namespace {

const std::filesystem::path assets = HORAVEL_TEST_ASSET_DIR;

// The tests run in the build's test folder, which holds no textures, so the
// program folder is where they must come from.
TEST(Textures, FoundInTheProgramFolderWhenNotInTheCurrentOne) {
    ASSERT_FALSE(std::filesystem::exists("Earth.png"));
    FaceState face;
    loadTextures(face, {}, {}, assets);
    EXPECT_EQ(face.earthTexture.valid, 1);
    EXPECT_EQ(face.moonTexture.valid, 1);
    EXPECT_EQ(face.earthTexture.width, 2 * face.earthTexture.height) << "equirectangular";
}

TEST(Textures, MissingEverywhereLeavesThemEmpty) {
    FaceState face;
    loadTextures(face, {}, {}, std::filesystem::temp_directory_path() / "horavel-no-textures-here");
    EXPECT_EQ(face.earthTexture.valid, 0);
    EXPECT_EQ(face.moonTexture.valid, 0);
    loadTextures(face, {}, {}, {});
    EXPECT_EQ(face.earthTexture.valid, 0);
}

// A file given by name is the only one tried: it is not searched for elsewhere.
TEST(Textures, AGivenFileIsTheOnlyOneTried) {
    FaceState face;
    loadTextures(face, assets / "Moon.png", assets / "missing.png", assets);
    EXPECT_EQ(face.earthTexture.valid, 1);
    EXPECT_EQ(face.earthTexture.channels, 1) << "the Moon map, given for the Earth";
    EXPECT_EQ(face.moonTexture.valid, 0);
}

}  // namespace
