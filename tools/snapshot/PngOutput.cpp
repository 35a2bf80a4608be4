#include "PngOutput.h"

#include "image/Image.h"
#include "image/ImageKind.h"
#include "platform/ImageEncoder.h"

Result<> writeImagePng(const Image* image, const std::filesystem::path& path) {
    if (image == nullptr || image->valid == 0 || image->kind != ImagePixels || image->channels != 3 ||
        !image->pixelStore) {
        return failure("there is no picture to write");
    }
    // The store holds rows top row first, blue, green, red: the encoder's layout.
    return platform::writePngBgr(path, image->width, image->height, image->stride, image->pixelStore.get());
}
