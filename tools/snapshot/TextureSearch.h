#pragma once

#include <filesystem>
#include <memory>
#include <optional>

class Image;

// Loads a texture map: the given file, or else fileName in the current folder and
// then beside the program. Null, after a warning on standard error, when no file
// could be read; the body is then drawn black.
std::unique_ptr<Image> loadTexture(const std::optional<std::filesystem::path>& given, const char* fileName);
