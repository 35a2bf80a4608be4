#include "image/PixelCache.h"

#include "image/Image.h"
#include "platform/MappedFile.h"
#include "platform/ReplaceFile.h"

#include <array>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

namespace {

// The last digit counts the layouts of the rows: it goes up whenever the rows a
// picture decodes to could change (another decoder, another store layout), so
// that no file kept before is read as if it were new.
constexpr std::array<char, 8> magic = {'H', 'V', 'P', 'I', 'X', 'E', 'L', '1'};

// What a cache file's header says, and what it must say for the picture.
struct CacheHeader {
    std::uint64_t pictureBytes = 0;  // size of the picture file, bytes
    std::int64_t pictureTime = 0;    // its modification time, in the file system clock's units
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t channels = 0;
    std::int32_t stride = 0;

    bool operator==(const CacheHeader&) const = default;
};

// Little-endian fields at fixed places, whatever the machine's byte order.
void putBytes(std::string& header, std::size_t at, std::uint64_t value, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        header[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

std::uint64_t getBytes(const std::uint8_t* header, std::size_t at, std::size_t count) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        value |= static_cast<std::uint64_t>(header[at + i]) << (8 * i);
    }
    return value;
}

std::string encodeHeader(const CacheHeader& h) {
    std::string header(cacheHeaderBytes, '\0');
    std::memcpy(header.data(), magic.data(), magic.size());
    putBytes(header, 8, h.pictureBytes, 8);
    putBytes(header, 16, static_cast<std::uint64_t>(h.pictureTime), 8);
    putBytes(header, 24, static_cast<std::uint32_t>(h.width), 4);
    putBytes(header, 28, static_cast<std::uint32_t>(h.height), 4);
    putBytes(header, 32, static_cast<std::uint32_t>(h.channels), 4);
    putBytes(header, 36, static_cast<std::uint32_t>(h.stride), 4);
    return header;
}

// The header of a mapped cache file, when its file is long enough to hold one.
bool decodeHeader(const platform::MappedFile& file, CacheHeader& h) {
    if (file.size() < cacheHeaderBytes || std::memcmp(file.data(), magic.data(), magic.size()) != 0) {
        return false;
    }
    const std::uint8_t* header = file.data();
    h.pictureBytes = getBytes(header, 8, 8);
    h.pictureTime = static_cast<std::int64_t>(getBytes(header, 16, 8));
    h.width = static_cast<std::int32_t>(getBytes(header, 24, 4));
    h.height = static_cast<std::int32_t>(getBytes(header, 28, 4));
    h.channels = static_cast<std::int32_t>(getBytes(header, 32, 4));
    h.stride = static_cast<std::int32_t>(getBytes(header, 36, 4));
    return true;
}

// The rows' bytes a header describes, or 0 for a header no decoded image has.
std::uint64_t rowBytes(const CacheHeader& h) {
    if (h.width <= 0 || h.height <= 0 || (h.channels != 1 && h.channels != 3 && h.channels != 4) ||
        h.stride != Image::rowStride(h.channels, h.width)) {
        return 0;
    }
    return static_cast<std::uint64_t>(h.stride) * static_cast<std::uint64_t>(h.height);
}

// Reads image's rows in place from the cache file at path when it holds
// exactly what wanted describes (only the picture's size and time are looked at
// when wanted's sizes are 0); true then.
bool readCache(Image& image, const std::filesystem::path& path, const CacheHeader& wanted) {
    auto file = std::unique_ptr<platform::MappedFile>(new (std::nothrow) platform::MappedFile);
    CacheHeader found;
    if (!file || file->open(path) != 1 || !decodeHeader(*file, found) ||
        found.pictureBytes != wanted.pictureBytes || found.pictureTime != wanted.pictureTime ||
        (wanted.width != 0 && found != wanted)) {
        return false;
    }
    const std::uint64_t bytes = rowBytes(found);
    if (bytes == 0 || file->size() != cacheHeaderBytes + bytes || !std::in_range<std::int32_t>(bytes)) {
        return false;
    }
    image.release();
    image.kind = ImagePixels;
    image.width = found.width;
    image.height = found.height;
    image.channels = found.channels;
    image.stride = found.stride;
    image.readRowsInPlace(std::move(file), cacheHeaderBytes);
    image.valid = 1;
    return true;
}

// FNV-1a, 64 bits: enough to tell the folders of two installations apart.
std::uint64_t pathHash(const std::u8string& text) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char8_t c : text) {
        hash = (hash ^ static_cast<std::uint8_t>(c)) * 1099511628211ULL;
    }
    return hash;
}

}  // namespace

std::filesystem::path cacheFileFor(const std::filesystem::path& picture, const std::filesystem::path& folder) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(picture, error);
    static constexpr char digits[] = "0123456789abcdef";
    std::uint64_t hash = pathHash((error ? picture : absolute).lexically_normal().generic_u8string());
    std::string hex(16, '0');
    for (std::size_t i = 16; i-- > 0; hash >>= 4) {
        hex[i] = digits[hash & 0xF];
    }
    std::filesystem::path name = picture.stem();
    name += "-" + hex + ".pixels";
    return folder / name;
}

namespace {

// What the cache file for picture must say, from the picture file's size and
// modification time; false when the picture cannot be looked at.
bool expectedHeader(const std::filesystem::path& picture, CacheHeader& wanted) {
    std::error_code error;
    const std::uint64_t pictureBytes = std::filesystem::file_size(picture, error);
    const auto pictureTime = error ? std::filesystem::file_time_type{} : std::filesystem::last_write_time(picture, error);
    if (error) {
        return false;
    }
    wanted.pictureBytes = pictureBytes;
    wanted.pictureTime = static_cast<std::int64_t>(pictureTime.time_since_epoch().count());
    return true;
}

// Decodes picture into image and writes its cache file afresh, whatever the
// folder holds, then reads the rows in place from there.
std::int32_t decodeAndKeep(Image& image, const std::filesystem::path& picture, const std::filesystem::path& cache,
                           CacheHeader wanted) {
    // PDS IMG and FITS files are read in place by themselves.
    if (image.load(picture) != 1 || image.kind != ImagePixels) {
        return image.valid;
    }
    wanted.width = image.width;
    wanted.height = image.height;
    wanted.channels = image.channels;
    wanted.stride = image.stride;
    const std::string header = encodeHeader(wanted);
    const std::string_view rows(reinterpret_cast<const char*>(image.rows()), rowBytes(wanted));
    // Read back from the file just written, so that the rows in memory can go;
    // should anything fail on the way, they stay.
    if (platform::replaceFile(cache, {header, rows})) {
        static_cast<void>(readCache(image, cache, wanted));
    }
    return image.valid;
}

}  // namespace

std::int32_t loadThroughCache(Image& image, const std::filesystem::path& picture, const std::filesystem::path& folder) {
    image.cachedPicture = picture;
    image.cacheFolder = folder;
    CacheHeader wanted;
    if (folder.empty() || !expectedHeader(picture, wanted)) {
        return image.load(picture);
    }
    const std::filesystem::path cache = cacheFileFor(picture, folder);
    if (readCache(image, cache, wanted)) {
        return 1;
    }
    return decodeAndKeep(image, picture, cache, wanted);
}

bool reloadIfChanged(Image& image) {
    if (image.cachedPicture.empty() || image.sourceUnchanged()) {
        return false;
    }
    // A cache file changed in place may still carry a fitting header: it is
    // made again from the picture rather than trusted.
    const std::filesystem::path picture = image.cachedPicture;
    CacheHeader wanted;
    if (image.cacheFolder.empty() || !expectedHeader(picture, wanted)) {
        static_cast<void>(image.load(picture));
        return true;
    }
    static_cast<void>(decodeAndKeep(image, picture, cacheFileFor(picture, image.cacheFolder), wanted));
    return true;
}
