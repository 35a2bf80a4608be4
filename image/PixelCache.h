#pragma once

#include <cstdint>
#include <filesystem>

class Image;

// Decoded maps kept in files of their own, read in place. Decoding a map of
// 2048 × 1024 pixels takes tens of milliseconds at every start, and its pixels
// would stay in the process's memory while the globes use them a few
// milliseconds a minute. A cached map is mapped instead: the start reads no
// picture, and between readings its pages can go back to the system (see
// Image::releaseResidentPages).
//
// A cache file holds a header of cacheHeaderBytes bytes, then the rows as
// Image keeps them (top row first, stride bytes each). Its header records the
// size and modification time of the picture it was decoded from; a file whose
// header does not match the picture, or whose length does not match its
// header, is made again. The rows themselves are not checked: a cache file is
// written whole and made durable before it is renamed into place, and the clock
// never changes it in place afterwards. Another program may (a copy over it, a
// cleaner cutting it short): a map read in place notices at its next check
// (reloadIfChanged), and reads of lost pages meanwhile yield zeros.

inline constexpr std::size_t cacheHeaderBytes = 64;

// The cache file for a picture file, inside folder: the picture's name without
// its extension, a hash of its absolute path (two folders may hold maps of the
// same name) and ".pixels".
std::filesystem::path cacheFileFor(const std::filesystem::path& picture, const std::filesystem::path& folder);

// Loads picture into image as Image::load does, through the cache in folder: a
// matching cache file is read in place; otherwise the picture is decoded, its
// cache file written and the rows read in place from there. Should the cache
// file not be writable, the decoded rows stay in memory. Pictures that are
// read in place already (PDS IMG and FITS) are loaded as they are, and so is
// every picture when folder is empty. 1 when image is usable, 0 otherwise.
[[nodiscard]] std::int32_t loadThroughCache(Image& image, const std::filesystem::path& picture,
                                            const std::filesystem::path& folder);

// Loads image again through the cache it was last loaded through when the file
// it reads in place has changed, gone or faulted since (Image::sourceUnchanged),
// which makes its cache file again: true then. False, and nothing done, for an
// image that is sound or was not loaded through loadThroughCache.
bool reloadIfChanged(Image& image);
