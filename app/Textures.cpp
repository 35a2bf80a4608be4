#include "app/Textures.h"

#include "image/PixelCache.h"
#include "platform/Messages.h"
#include "platform/Result.h"

#include <system_error>

namespace {

// What went wrong with the first of the places that holds a file, or that none does.
std::string lossOf(const std::vector<std::filesystem::path>& places, const char* fileName) {
    for (const std::filesystem::path& place : places) {
        std::error_code error;
        const std::filesystem::file_status status = std::filesystem::status(place, error);
        if (status.type() == std::filesystem::file_type::regular) {
            return "The map " + platform::utf8FromPath(place) +
                   " could not be read as a picture; that globe is drawn black.";
        }
        if (std::filesystem::exists(status)) {
            return "The map " + platform::utf8FromPath(place) +
                   " is not a regular file and was left unread; that globe is drawn black.";
        }
    }
    return std::string("The map ") + fileName + " was found nowhere (" +
           (places.size() == 1 ? platform::utf8FromPath(places[0])
                               : "the current folder, the program's folder or share/horavel beside it") +
           "); that globe is drawn black.";
}

// Loads the map from the first of its places that gives a usable picture; a
// failure is the sentence for the user about it.
Result<> loadTexture(Image& texture, const std::optional<std::filesystem::path>& given, const char* fileName,
                        const std::filesystem::path& programFolder, const std::filesystem::path& cacheFolder) {
    std::vector<std::filesystem::path> places;
    if (given) {
        places = {*given};
    } else {
        places = {fileName};
        if (!programFolder.empty()) {
            // Installed: the programs in bin/, the maps in share/horavel/.
            places.push_back(programFolder / fileName);
            places.push_back(programFolder.parent_path() / "share" / "horavel" / fileName);
        }
    }
    for (const std::filesystem::path& place : places) {
        if (loadThroughCache(texture, place, cacheFolder) == 1) {
            return {};
        }
    }
    // A failed load leaves the image empty, which the globe renderer accepts.
    return failure(lossOf(places, fileName));
}

}  // namespace

std::vector<std::string> loadTextures(FaceState& face, const std::optional<std::filesystem::path>& earthFile,
                                      const std::optional<std::filesystem::path>& moonFile,
                                      const std::filesystem::path& programFolder,
                                      const std::filesystem::path& cacheFolder) {
    std::vector<std::string> losses;
    for (const Result<>& loaded : {loadTexture(face.earthTexture, earthFile, "Earth.png", programFolder, cacheFolder),
                                   loadTexture(face.moonTexture, moonFile, "Moon.png", programFolder, cacheFolder)}) {
        if (!loaded) {
            losses.push_back(loaded.error());
        }
    }
    return losses;
}
