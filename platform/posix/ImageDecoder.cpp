#include "platform/ImageDecoder.h"

#include "platform/posix/FrameReader.h"
#include "platform/posix/PngDecoder.h"
#include "platform/posix/TiffDecoder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <new>

namespace platform {

struct ImageDecoder::Native {
    std::unique_ptr<posix::FrameReader> reader;
};

ImageDecoder::ImageDecoder() = default;

ImageDecoder::~ImageDecoder() = default;

std::int32_t ImageDecoder::open(const std::filesystem::path& path) {
    native.reset();
    // Opened without waiting, and read only when it is a regular file: a FIFO
    // put in a picture's place is never waited on.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    struct stat status {};
    if (descriptor < 0) {
        return 0;
    }
    std::FILE* file = ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) ? ::fdopen(descriptor, "rb")
                                                                                   : nullptr;
    if (file == nullptr) {
        ::close(descriptor);
        return 0;
    }
    // The format is told by the file's signature, not by its name.
    unsigned char head[8] = {};
    const std::size_t got = std::fread(head, 1, sizeof head, file);
    static constexpr unsigned char pngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const bool isPng = got == 8 && std::memcmp(head, pngSignature, 8) == 0;
    const bool isTiff = got >= 4 && ((head[0] == 'I' && head[1] == 'I' && head[3] == 0 &&
                                      (head[2] == 42 || head[2] == 43)) ||
                                     (head[0] == 'M' && head[1] == 'M' && head[2] == 0 &&
                                      (head[3] == 42 || head[3] == 43)));
    std::unique_ptr<posix::FrameReader> reader;
    if (isPng) {
        reader = posix::openPng(file);  // the reader owns the stream now
    } else {
        std::fclose(file);
        if (isTiff) {
            reader = posix::openTiff(path);
        }
    }
    if (!reader) {
        return 0;
    }
    native.reset(new (std::nothrow) Native);
    if (!native) {
        return 0;
    }
    channelCount = reader->channels;
    pixelWidth = reader->width;
    pixelHeight = reader->height;
    native->reader = std::move(reader);
    return 1;
}

std::int32_t ImageDecoder::copyPixels(std::int32_t strideBytes, std::size_t bufferBytes,
                                      std::uint8_t* buffer) {
    if (!rowsFit(strideBytes, bufferBytes, buffer)) {
        return 0;
    }
    return native->reader->copyRows(strideBytes, buffer);
}

}  // namespace platform
