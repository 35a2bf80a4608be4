#include "image/Image.h"

#include "image/RasterFile.h"
#include "image/TiffProbe.h"
#include "platform/ImageDecoder.h"

#include <cstddef>
#include <new>
#include <string>
#include <string_view>
#include <utility>

namespace {

// True when the file name, lower-cased in its ASCII letters, contains the
// lower-case ASCII text anywhere (not only at its end).
template <class Char>
bool nameContains(const std::basic_string<Char>& name, std::string_view text) {
    if (text.size() > name.size()) {
        return false;
    }
    for (std::size_t start = 0; start + text.size() <= name.size(); ++start) {
        std::size_t k = 0;
        while (k < text.size()) {
            Char c = name[start + k];
            if (c >= Char('A') && c <= Char('Z')) {
                c = static_cast<Char>(c - Char('A') + Char('a'));
            }
            if (c != static_cast<Char>(text[k])) {
                break;
            }
            ++k;
        }
        if (k == text.size()) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::int32_t Image::load(const std::filesystem::path& path) {
    release();
    // The extension tests look at the whole name in the platform's own
    // character type, so a name of any length is tested and opened unchanged.
    const auto& name = path.native();
    if (nameContains(name, ".tif") && probeTiffVersion(path) == 2) {
        return 0;
    }
    const bool isImg = nameContains(name, ".img");
    if (isImg || nameContains(name, ".fit")) {
        kind = isImg ? ImagePdsImg : ImageFits;
        rasterFile.reset(new (std::nothrow) RasterFile);
        if (!rasterFile) {
            return 0;
        }
        const std::int32_t opened = isImg ? rasterFile->openImg(path) : rasterFile->openFits(path);
        if (opened != 0) {
            width = rasterFile->width;
            height = rasterFile->height;
            channels = rasterFile->channels;
            // A raster without a pixel has nothing that getPixel could clamp to.
            valid = width > 0 && height > 0 ? 1 : 0;
        }
        return valid;
    }

    platform::ImageDecoder decoder;
    if (decoder.open(path) == 0) {
        return 0;
    }
    channels = decoder.channels();
    const std::int32_t w = decoder.width();
    const std::int32_t h = decoder.height();
    // Pictures whose store would pass 2^31 - 1 bytes are refused rather than
    // copied into a short buffer.
    if (!makeStore(w, h, channels)) {
        return 0;
    }
    width = w;
    height = h;
    kind = ImagePixels;
    valid = 1;
    const std::size_t storeBytes = static_cast<std::size_t>(stride) * static_cast<std::size_t>(h);
    if (decoder.copyPixels(stride, storeBytes, pixelStore.get()) == 0) {
        valid = 0;
    }
    return valid;
}
