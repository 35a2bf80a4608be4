#include "image/Image.h"

#include "image/RasterFile.h"
#include "image/TiffProbe.h"
#include "platform/FileAccess.h"
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

// The reader that a file's first bytes ask for when its name names none: a
// FITS primary header opens with its SIMPLE card, a PDS label with the
// PDS_VERSION_ID statement or the SFDU line that may stand before it. Anything
// else (TIFF among it, whose byte-order mark the decoder knows) is left to the
// platform's decoder.
ImageKind kindByFirstBytes(const std::filesystem::path& path) {
    const Result<platform::FileBytes> head = platform::readRegularFile(path, 16);
    if (!head || head->found != platform::FileRead::Read) {
        return ImagePixels;
    }
    const std::string_view start(head->bytes);
    if (start.substr(0, 9) == "SIMPLE  =") {
        return ImageFits;
    }
    if (start.substr(0, 14) == "PDS_VERSION_ID" || start.substr(0, 7) == "CCSD3ZF") {
        return ImagePdsImg;
    }
    return ImagePixels;
}

}  // namespace

std::int32_t Image::load(const std::filesystem::path& path) {
    release();
    // The extension tests look at the file's own name, never at its folders'
    // (a folder called backup.img says nothing of the pictures in it), in the
    // platform's own character type, so a name of any length is tested whole;
    // the path is opened unchanged.
    const auto name = path.filename().native();
    if (nameContains(name, ".tif") && probeTiffVersion(path) == 2) {
        return 0;
    }
    ImageKind reader = ImagePixels;
    if (nameContains(name, ".img")) {
        reader = ImagePdsImg;
    } else if (nameContains(name, ".fit")) {
        reader = ImageFits;
    } else if (!nameContains(name, ".tif")) {
        reader = kindByFirstBytes(path);
    }
    if (reader != ImagePixels) {
        kind = reader;
        rasterFile.reset(new (std::nothrow) RasterFile);
        if (!rasterFile) {
            return 0;
        }
        const std::int32_t opened = reader == ImagePdsImg ? rasterFile->openImg(path) : rasterFile->openFits(path);
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
