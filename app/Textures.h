#pragma once

#include "clockface/FaceState.h"

#include <filesystem>

// Loads Earth.png and Moon.png, each from the current directory or, when it is not
// there, from the program's own folder. A texture found in neither stays empty
// and its globe is drawn black.
void loadTextures(FaceState& face, const std::filesystem::path& programFolder);
