#pragma once

#include "image/ImageKind.h"
#include "raster/Color.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>

class Canvas;
class RasterFile;

namespace platform {
class MappedFile;
}

// The raster type the program reads pictures through: decoded pixels in memory,
// a snapshot of a canvas, or a PDS IMG or FITS file read in place. Coordinates
// count from the bottom-left corner, y upward; pixel (x, y) covers
// [x, x+1) × [y, y+1).
class Image {
public:
    Image();
    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // Frees the storage; width, height, channels and kind stay as they were.
    void release();
    // Fills the image from a file: 1 when usable, 0 otherwise.
    [[nodiscard]] std::int32_t load(const std::filesystem::path& path);
    // Nearest-pixel read with clamping: 1 inside, 0 when a coordinate was clamped
    // or the image holds nothing (out is then all zero). The fourth stored byte
    // of a four-channel image is a straight alpha (255 opaque); it arrives in
    // out.t as the transparency 255 - alpha. Inline below, since the samplers
    // call it up to nine times per sample.
    std::int32_t getPixel(std::int32_t x, std::int32_t y, Color& out) const;
    // A copy of a canvas's display picture, or null before its first present().
    // A previous copy of a canvas of the same size, given as reuse, takes the
    // pixels in its own store; otherwise it is freed and a new image made.
    static std::unique_ptr<Image> fromCanvas(const Canvas& canvas, std::unique_ptr<Image> reuse = nullptr);

    // Interpolated reads at continuous coordinates (pixel centres at i + 0.5):
    // 1 when a colour was produced, 0 outside the image.
    std::int32_t sampleBilinear(double x, double y, Color& out) const;
    std::int32_t sampleBiquadratic(double x, double y, Color& out) const;
    // Average over the box from (x, y) along the image-space steps u and v of one
    // destination pixel.
    std::int32_t sampleBox(double ux, double uy, double vx, double vy, Color& out, double x,
                           double y) const;

    // The decoded rows of kind ImagePixels, top row first: pixelStore's, or
    // those of a pixel cache file read in place. Null when there are none.
    const std::uint8_t* rows() const { return mappedRows != nullptr ? mappedRows : pixelStore.get(); }
    // Rows read in place go back to the system until they are read again (see
    // MappedFile::releaseResidentPages); nothing for rows in memory.
    void releaseResidentPages() const;
    // Takes its rows from a pixel cache file instead of pixelStore, which is
    // freed: rowsOffset is where they begin in the file. The caller has checked
    // that the file holds stride × height bytes from there.
    void readRowsInPlace(std::unique_ptr<platform::MappedFile> file, std::size_t rowsOffset);
    // False when the file the image reads in place (its cached rows, or a PDS
    // IMG or FITS file) has changed or gone since it was mapped, or a read of it
    // faulted: what it yields can no longer be trusted (see
    // MappedFile::unchanged). True for an image whose pixels are in memory.
    [[nodiscard]] bool sourceUnchanged() const;

    // Bytes per stored row of widthPx pixels of channelBytes each: rounded up to
    // a multiple of 4, as every stored picture keeps its rows.
    static std::int64_t rowStride(std::int64_t channelBytes, std::int64_t widthPx) {
        return (channelBytes * widthPx + 3) & ~std::int64_t{3};
    }
    // Sets stride and makes pixelStore for heightPx rows of widthPx pixels of
    // channelBytes each. False, leaving both, when the picture is empty or its
    // store would pass 2^31 − 1 bytes; false with no store when the memory
    // cannot be had.
    bool makeStore(std::int32_t widthPx, std::int32_t heightPx, std::int32_t channelBytes);

    std::int32_t width = 0;     // pixels per row
    std::int32_t height = 0;    // rows
    std::int32_t stride = 0;    // bytes per stored row, kind ImagePixels only: channels × width rounded up to 4
    std::int32_t channels = 0;  // bytes per stored pixel: 1 grey; 3 blue, green, red; 4 blue, green, red, alpha
    std::int32_t kind = 0;      // an ImageKind
    // The store, by kind: decoded rows top row first for ImagePixels (unless
    // they are read in place, see rows()), the file read in place for ImageFits
    // and ImagePdsImg. At most one is present.
    std::unique_ptr<std::uint8_t[]> pixelStore;
    std::unique_ptr<RasterFile> rasterFile;
    std::int16_t valid = 0;  // 1 when pixels can be read
    // The picture and the cache folder the image was last loaded through (see
    // loadThroughCache), so that it can be loaded again; empty otherwise.
    std::filesystem::path cachedPicture;
    std::filesystem::path cacheFolder;

private:
    std::unique_ptr<platform::MappedFile> pixelFile;  // the pixel cache file rows() reads in place
    const std::uint8_t* mappedRows = nullptr;         // its first row, within pixelFile's view

    // The grey of pixel (x, y), already clamped into the image, of a file kind
    // into out.r, out.g and out.b; out stays all zero for an unknown kind.
    void readFilePixel(std::int32_t x, std::int32_t y, Color& out) const;
};

inline std::int32_t Image::getPixel(std::int32_t x, std::int32_t y, Color& out) const {
    out = Color::bytes(0, 0, 0, 0);
    if (valid == 0) {
        return 0;
    }
    std::int32_t inside = 1;
    if (x < 0) {
        x = 0;
        inside = 0;
    } else if (x >= width) {
        x = width - 1;
        inside = 0;
    }
    if (y < 0) {
        y = 0;
        inside = 0;
    } else if (y >= height) {
        y = height - 1;
        inside = 0;
    }
    if (kind != ImagePixels) {
        readFilePixel(x, y, out);
        return inside;
    }
    // Rows are stored top row first while y counts from the bottom.
    const std::uint8_t* p = rows() + static_cast<std::ptrdiff_t>(height - 1 - y) * stride +
                            static_cast<std::ptrdiff_t>(x) * channels;
    if (channels <= 1) {
        out.r = p[0];
        out.g = p[0];
        out.b = p[0];
    } else {
        out.r = p[2];
        out.g = p[1];
        out.b = p[0];
        if (channels >= 4) {
            // The decoder delivers straight alpha (255 opaque); a Color carries a
            // transparency (0 opaque).
            out.t = static_cast<std::uint8_t>(255 - p[3]);
        }
    }
    return inside;
}

// The grey byte shown for a FITS value (nominally 0…1): the low 8 bits of
// value × 255.5 truncated toward zero (lowByteOfTruncated), so values outside
// 0…1 wrap; a product outside the 32-bit signed range, or a NaN, gives 0.
std::uint8_t fitsByte(double value);
