#include "platform/common/PngEncoding.h"

#include <png.h>

#include <csetjmp>
#include <string>
#include <vector>

namespace platform {

namespace {

// libpng's writes, appended to the string the encoding goes into.
void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

void flushNothing(png_structp) {}

// Encodes into memory; false on any libpng error. Kept apart so that no
// object with a destructor lives in the frame that setjmp returns to.
bool encode(std::string* encoded, std::int32_t width, std::int32_t height, std::int32_t strideBytes,
            const std::uint8_t* rows, int colorType, png_bytep* rowPointers) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) {
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, encoded, appendBytes, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 colorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);  // the rows hold blue, green, red (and alpha)
    for (std::int32_t row = 0; row < height; ++row) {
        rowPointers[row] = const_cast<png_bytep>(rows + static_cast<std::size_t>(row) * static_cast<std::size_t>(strideBytes));
    }
    png_write_image(png, rowPointers);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool encodePng(std::string& encoded, std::int32_t width, std::int32_t height, std::int32_t strideBytes,
               const std::uint8_t* rows, std::int32_t channels) {
    std::vector<png_bytep> rowPointers(static_cast<std::size_t>(height));
    const int colorType = channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
    return encode(&encoded, width, height, strideBytes, rows, colorType, rowPointers.data());
}

}  // namespace platform
