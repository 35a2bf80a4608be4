#pragma once

#include <filesystem>
#include <optional>

class Image;

// Loads a texture map into texture: the given file, or else fileName in the
// current folder and then beside the program. When no file could be read the
// texture stays empty, after a warning on standard error; the body is then drawn
// black.
void loadTexture(Image& texture, const std::optional<std::filesystem::path>& given, const char* fileName);
