#include "app/Textures.h"

#include <gtest/gtest.h>

namespace {

// The tests run in the build's test folder, which holds no textures, so the
// program folder is where they must come from.
TEST(Textures, FoundInTheProgramFolderWhenNotInTheCurrentOne) {
    ASSERT_FALSE(std::filesystem::exists("Earth.png"));
    FaceState face;
    loadTextures(face, HORAVEL_TEST_ASSET_DIR);
    EXPECT_EQ(face.earthTexture.valid, 1);
    EXPECT_EQ(face.moonTexture.valid, 1);
    EXPECT_EQ(face.earthTexture.width, 2 * face.earthTexture.height) << "equirectangular";
}

TEST(Textures, MissingEverywhereLeavesThemEmpty) {
    FaceState face;
    loadTextures(face, std::filesystem::temp_directory_path() / "horavel-no-textures-here");
    EXPECT_EQ(face.earthTexture.valid, 0);
    EXPECT_EQ(face.moonTexture.valid, 0);
    loadTextures(face, {});
    EXPECT_EQ(face.earthTexture.valid, 0);
}

}  // namespace
