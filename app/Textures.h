#pragma once

#include "clockface/FaceState.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// Loads the two maps into the face: each from the file given, or else Earth.png
// and Moon.png from the first of these that holds them: the current folder, the
// program's own folder, and share/horavel beside the program's folder (where an
// installation puts them, the program being in bin/). A map found nowhere or
// unreadable leaves its texture empty, and that globe is drawn black; the
// answer holds a sentence for the user about each such map. Each is loaded
// through the decoded maps kept in cacheFolder (see PixelCache.h), or decoded
// into memory when cacheFolder is empty.
std::vector<std::string> loadTextures(FaceState& face, const std::optional<std::filesystem::path>& earthFile,
                  const std::optional<std::filesystem::path>& moonFile,
                  const std::filesystem::path& programFolder, const std::filesystem::path& cacheFolder);
