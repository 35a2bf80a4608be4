#include "platform/posix/PngDecoder.h"

#include "platform/StoreSize.h"

#include <png.h>

#include <cstring>
#include <new>
#include <utility>

namespace platform::posix {
namespace {

// libpng reports errors by a long jump back to the setjmp of the function that
// called it; the functions holding a setjmp keep only trivial locals.
[[noreturn]] void onError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void onWarning(png_structp, png_const_charp) {}

// The acTL chunk of an animated PNG: 4 bytes frame count, 4 bytes play count.
constexpr png_byte animationChunk[5] = {'a', 'c', 'T', 'L', '\0'};

class PngReader final : public FrameReader {
public:
    explicit PngReader(std::FILE* stream) : file(stream) {}
    ~PngReader() override {
        if (png != nullptr) {
            png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
        }
        std::fclose(file);
    }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    bool open() {
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
        if (png == nullptr) {
            return false;
        }
        info = png_create_info_struct(png);
        return info != nullptr && readHeader();
    }

    std::int32_t copyRows(std::int32_t strideBytes, std::uint8_t* buffer) override {
        std::unique_ptr<png_bytep[]> rows(new (std::nothrow) png_bytep[height]);
        if (!rows) {
            return 0;
        }
        for (std::int32_t i = 0; i < height; ++i) {
            rows[i] = buffer + static_cast<std::ptrdiff_t>(i) * strideBytes;
        }
        return readRows(rows.get()) ? 1 : 0;
    }

private:
    bool readHeader() {
        if (setjmp(png_jmpbuf(png))) {
            return false;
        }
        png_init_io(png, file);
        png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_ALWAYS, animationChunk, 1);
        png_read_info(png, info);
        if (isAnimated()) {
            return false;
        }
        png_uint_32 w = 0, h = 0;
        int depth = 0, colorType = 0;
        png_get_IHDR(png, info, &w, &h, &depth, &colorType, nullptr, nullptr, nullptr);
        const std::int32_t layout = chooseLayout(depth, colorType);
        if (depth == 16) {
            png_set_strip_16(png);  // keeps the high byte of each sample
        }
        if (layout >= 3) {
            png_set_bgr(png);
        }
        png_set_interlace_handling(png);
        png_read_update_info(png, info);
        if (png_get_channels(png, info) != layout || png_get_bit_depth(png, info) != 8 ||
            !isPictureSide(w) || !isPictureSide(h)) {
            return false;
        }
        channels = layout;
        width = static_cast<std::int32_t>(w);
        height = static_cast<std::int32_t>(h);
        return true;
    }

    // True for an animated PNG: an acTL chunk announcing more than one frame.
    bool isAnimated() {
        png_unknown_chunkp chunks = nullptr;
        const int count = png_get_unknown_chunks(png, info, &chunks);
        for (int i = 0; i < count; ++i) {
            const png_unknown_chunk& chunk = chunks[i];
            if (std::memcmp(chunk.name, animationChunk, 4) == 0 && chunk.size >= 4) {
                const png_uint_32 frames = png_get_uint_32(chunk.data);
                if (frames > 1) {
                    return true;
                }
            }
        }
        return false;
    }

    // Sets the transformations for the delivered layout and returns its bytes per
    // pixel: grey stays grey, 8-bit straight alpha gives blue, green, red, alpha,
    // and everything else (palette, colour, 16-bit colour with alpha) gives blue,
    // green, red. A palette's transparency is dropped with its alpha.
    std::int32_t chooseLayout(int depth, int colorType) {
        switch (colorType) {
        case PNG_COLOR_TYPE_GRAY:
            if (depth < 8) {
                png_set_expand_gray_1_2_4_to_8(png);
            }
            return 1;
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            png_set_gray_to_rgb(png);
            if (depth == 8) {
                return 4;
            }
            png_set_strip_alpha(png);
            return 3;
        case PNG_COLOR_TYPE_PALETTE:
            png_set_palette_to_rgb(png);
            png_set_strip_alpha(png);
            return 3;
        case PNG_COLOR_TYPE_RGB_ALPHA:
            if (depth == 8) {
                return 4;
            }
            png_set_strip_alpha(png);
            return 3;
        default:
            return 3;
        }
    }

    bool readRows(png_bytepp rows) {
        if (setjmp(png_jmpbuf(png))) {
            return false;
        }
        png_read_image(png, rows);
        return true;
    }

    std::FILE* file;
    png_structp png = nullptr;
    png_infop info = nullptr;
};

}  // namespace

std::unique_ptr<FrameReader> openPng(std::FILE* file) {
    std::unique_ptr<PngReader> reader(new (std::nothrow) PngReader(file));
    if (!reader) {
        std::fclose(file);
        return nullptr;
    }
    std::rewind(file);
    if (!reader->open()) {
        return nullptr;
    }
    return reader;
}

}  // namespace platform::posix
