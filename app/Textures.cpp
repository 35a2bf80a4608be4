#include "app/Textures.h"

namespace {

void loadTexture(Image& texture, const std::optional<std::filesystem::path>& given,
                 const char* fileName, const std::filesystem::path& programFolder) {
    if (given) {
        static_cast<void>(texture.load(*given));
        return;
    }
    if (texture.load(fileName) == 1 || programFolder.empty()) {
        return;
    }
    if (texture.load(programFolder / fileName) == 1) {
        return;
    }
    // Installed: the programs in bin/, the maps in share/horavel/. A failed load
    // leaves the image empty, which the globe renderer accepts.
    static_cast<void>(texture.load(programFolder.parent_path() / "share" / "horavel" / fileName));
}

}  // namespace

void loadTextures(FaceState& face, const std::optional<std::filesystem::path>& earthFile,
                  const std::optional<std::filesystem::path>& moonFile,
                  const std::filesystem::path& programFolder) {
    loadTexture(face.earthTexture, earthFile, "Earth.png", programFolder);
    loadTexture(face.moonTexture, moonFile, "Moon.png", programFolder);
}
