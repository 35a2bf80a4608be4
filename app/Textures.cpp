#include "app/Textures.h"

#include "image/PixelCache.h"

namespace {

void loadTexture(Image& texture, const std::optional<std::filesystem::path>& given, const char* fileName,
                 const std::filesystem::path& programFolder, const std::filesystem::path& cacheFolder) {
    const auto load = [&](const std::filesystem::path& path) { return loadThroughCache(texture, path, cacheFolder); };
    if (given) {
        static_cast<void>(load(*given));
        return;
    }
    if (load(fileName) == 1 || programFolder.empty()) {
        return;
    }
    if (load(programFolder / fileName) == 1) {
        return;
    }
    // Installed: the programs in bin/, the maps in share/horavel/. A failed load
    // leaves the image empty, which the globe renderer accepts.
    static_cast<void>(load(programFolder.parent_path() / "share" / "horavel" / fileName));
}

}  // namespace

void loadTextures(FaceState& face, const std::optional<std::filesystem::path>& earthFile,
                  const std::optional<std::filesystem::path>& moonFile,
                  const std::filesystem::path& programFolder, const std::filesystem::path& cacheFolder) {
    loadTexture(face.earthTexture, earthFile, "Earth.png", programFolder, cacheFolder);
    loadTexture(face.moonTexture, moonFile, "Moon.png", programFolder, cacheFolder);
}
