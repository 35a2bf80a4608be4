#pragma once

#include "clockface/FaceState.h"

#include <filesystem>
#include <optional>

// Loads the two maps into the face: each from the file given, or else Earth.png
// and Moon.png from the current folder or, when not there, from the program's
// own folder. A map found nowhere or unreadable leaves its texture empty, and
// that globe is drawn black.
void loadTextures(FaceState& face, const std::optional<std::filesystem::path>& earthFile,
                  const std::optional<std::filesystem::path>& moonFile,
                  const std::filesystem::path& programFolder);
