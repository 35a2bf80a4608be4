#pragma once

#include "platform/Result.h"

#include <filesystem>

class Image;

// Writes a three-channel picture as an RGB PNG file, pixel for pixel. Fails,
// saying why, when the picture is missing or not three bytes per pixel, or the
// file could not be written.
Result<> writeImagePng(const Image* image, const std::filesystem::path& path);
