#pragma once

#include <filesystem>
#include <string>

class Image;

// Writes a three-channel picture as an RGB PNG file, pixel for pixel. false when
// the picture is missing or not three bytes per pixel, or the file could not be
// written; failure then says why.
bool writeImagePng(const Image* image, const std::filesystem::path& path, std::string& failure);
