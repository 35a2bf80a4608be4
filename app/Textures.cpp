#include "app/Textures.h"

namespace {

void loadTexture(Image& texture, const char* fileName, const std::filesystem::path& programFolder) {
    if (texture.load(fileName) == 1 || programFolder.empty()) {
        return;
    }
    // A failed load leaves the image empty, which the globe renderer accepts.
    static_cast<void>(texture.load(programFolder / fileName));
}

}  // namespace

void loadTextures(FaceState& face, const std::filesystem::path& programFolder) {
    loadTexture(face.earthTexture, "Earth.png", programFolder);
    loadTexture(face.moonTexture, "Moon.png", programFolder);
}
