#include "platform/posix/TiffDecoder.h"

#include "platform/StoreSize.h"

#include <tiffio.h>

#include <cstdarg>
#include <cstddef>
#include <new>
#include <utility>

namespace platform::posix {
namespace {

// Damaged files are refused by result; libtiff's messages are not shown.
int quiet(TIFF*, void*, const char*, const char*, va_list) { return 1; }

// The general path decodes the whole picture into 4-byte pixels first.
constexpr std::uint64_t maxRgbaPixels = 0x20000000;  // 2 GiB of 4-byte pixels

class TiffReader final : public FrameReader {
public:
    explicit TiffReader(TIFF* handle) : tiff(handle) {}
    ~TiffReader() override { TIFFClose(tiff); }
    TiffReader(const TiffReader&) = delete;
    TiffReader& operator=(const TiffReader&) = delete;

    bool open() {
        if (TIFFNumberOfDirectories(tiff) != 1) {
            return false;
        }
        std::uint32_t w = 0, h = 0;
        std::uint16_t photometric = 0;
        if (TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &w) != 1 ||
            TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &h) != 1 ||
            TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric) != 1 || !isPictureSide(w) ||
            !isPictureSide(h)) {
            return false;
        }
        std::uint16_t planar = 0, orientation = 0, format = 0;
        std::uint16_t extraCount = 0;
        std::uint16_t* extra = nullptr;
        TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samplesPerPixel);
        TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bitsPerSample);
        TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
        TIFFGetFieldDefaulted(tiff, TIFFTAG_ORIENTATION, &orientation);
        TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &format);
        TIFFGetFieldDefaulted(tiff, TIFFTAG_EXTRASAMPLES, &extraCount, &extra);
        if (extraCount >= samplesPerPixel) {
            return false;
        }
        const int colourSamples = samplesPerPixel - extraCount;
        grey = (photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE) &&
               colourSamples == 1;
        const bool rgb = photometric == PHOTOMETRIC_RGB && colourSamples == 3;
        inverted = photometric == PHOTOMETRIC_MINISWHITE;
        // Unsigned 8- or 16-bit samples in strips, stored top row first and
        // interleaved, are read as they are; the rest goes through libtiff's
        // general conversion to 8-bit RGBA.
        direct = (grey || rgb) && planar == PLANARCONFIG_CONTIG && !TIFFIsTiled(tiff) &&
                 orientation == ORIENTATION_TOPLEFT && format == SAMPLEFORMAT_UINT &&
                 (bitsPerSample == 8 || bitsPerSample == 16);
        // Only 8-bit straight alpha is kept; associated (premultiplied) alpha
        // already holds the picture composited over black.
        const bool straightAlpha = direct && extraCount >= 1 &&
                                   extra[0] == EXTRASAMPLE_UNASSALPHA && bitsPerSample == 8;
        if (straightAlpha) {
            channels = 4;
        } else if (grey) {
            channels = 1;
        } else {
            channels = 3;
        }
        if (!direct) {
            char message[1024];
            if (TIFFRGBAImageOK(tiff, message) != 1 ||
                std::uint64_t{w} * h > maxRgbaPixels) {
                return false;
            }
        }
        width = static_cast<std::int32_t>(w);
        height = static_cast<std::int32_t>(h);
        return true;
    }

    std::int32_t copyRows(std::int32_t strideBytes, std::uint8_t* buffer) override {
        return direct ? copyScanlines(strideBytes, buffer) : copyRgba(strideBytes, buffer);
    }

private:
    std::int32_t copyScanlines(std::int32_t strideBytes, std::uint8_t* buffer) {
        const tmsize_t lineBytes = TIFFScanlineSize(tiff);
        const std::size_t pixelBytes = samplesPerPixel * (bitsPerSample / 8u);
        if (lineBytes <= 0 || static_cast<std::uint64_t>(lineBytes) < pixelBytes * width) {
            return 0;
        }
        std::unique_ptr<std::uint8_t[]> line(new (std::nothrow) std::uint8_t[lineBytes]);
        if (!line) {
            return 0;
        }
        // libtiff delivers 16-bit samples in the machine's byte order.
        const auto* wide = reinterpret_cast<const std::uint16_t*>(line.get());
        const std::uint8_t* narrow = line.get();
        for (std::int32_t y = 0; y < height; ++y) {
            if (TIFFReadScanline(tiff, line.get(), static_cast<std::uint32_t>(y), 0) < 0) {
                return 0;
            }
            std::uint8_t* out = buffer + static_cast<std::ptrdiff_t>(y) * strideBytes;
            for (std::int32_t x = 0; x < width; ++x) {
                std::uint8_t sample[4];
                for (int k = 0; k < 4 && k < samplesPerPixel; ++k) {
                    const std::size_t at = static_cast<std::size_t>(x) * samplesPerPixel + k;
                    sample[k] = bitsPerSample == 16 ? static_cast<std::uint8_t>(wide[at] >> 8)
                                                    : narrow[at];
                }
                if (grey) {
                    const std::uint8_t level =
                        inverted ? static_cast<std::uint8_t>(255 - sample[0]) : sample[0];
                    if (channels == 1) {
                        out[x] = level;
                    } else {
                        out[4 * x] = level;
                        out[4 * x + 1] = level;
                        out[4 * x + 2] = level;
                        out[4 * x + 3] = sample[1];
                    }
                } else {
                    std::uint8_t* pixel = out + static_cast<std::ptrdiff_t>(x) * channels;
                    pixel[0] = sample[2];
                    pixel[1] = sample[1];
                    pixel[2] = sample[0];
                    if (channels == 4) {
                        pixel[3] = sample[3];
                    }
                }
            }
        }
        return 1;
    }

    std::int32_t copyRgba(std::int32_t strideBytes, std::uint8_t* buffer) {
        const std::size_t count = static_cast<std::size_t>(width) * height;
        std::unique_ptr<std::uint32_t[]> raster(new (std::nothrow) std::uint32_t[count]);
        if (!raster) {
            return 0;
        }
        if (TIFFReadRGBAImageOriented(tiff, static_cast<std::uint32_t>(width),
                                      static_cast<std::uint32_t>(height), raster.get(),
                                      ORIENTATION_TOPLEFT, 1) != 1) {
            return 0;
        }
        for (std::int32_t y = 0; y < height; ++y) {
            const std::uint32_t* in = raster.get() + static_cast<std::size_t>(y) * width;
            std::uint8_t* out = buffer + static_cast<std::ptrdiff_t>(y) * strideBytes;
            for (std::int32_t x = 0; x < width; ++x) {
                const std::uint32_t p = in[x];
                if (channels == 1) {
                    out[x] = static_cast<std::uint8_t>(TIFFGetR(p));
                } else {
                    out[3 * x] = static_cast<std::uint8_t>(TIFFGetB(p));
                    out[3 * x + 1] = static_cast<std::uint8_t>(TIFFGetG(p));
                    out[3 * x + 2] = static_cast<std::uint8_t>(TIFFGetR(p));
                }
            }
        }
        return 1;
    }

    TIFF* tiff;
    std::uint16_t samplesPerPixel = 1;
    std::uint16_t bitsPerSample = 1;
    bool grey = false;      // one colour sample per pixel
    bool inverted = false;  // 0 is white (PHOTOMETRIC_MINISWHITE)
    bool direct = false;    // read the scanlines as stored
};

}  // namespace

std::unique_ptr<FrameReader> openTiff(const std::filesystem::path& path) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (options == nullptr) {
        return nullptr;
    }
    TIFFOpenOptionsSetErrorHandlerExtR(options, quiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, quiet, nullptr);
    TIFF* tiff = TIFFOpenExt(path.c_str(), "r", options);
    TIFFOpenOptionsFree(options);
    if (tiff == nullptr) {
        return nullptr;
    }
    std::unique_ptr<TiffReader> reader(new (std::nothrow) TiffReader(tiff));
    if (!reader) {
        TIFFClose(tiff);
        return nullptr;
    }
    if (!reader->open()) {
        return nullptr;
    }
    return reader;
}

}  // namespace platform::posix
