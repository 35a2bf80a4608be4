#include "platform/ImageDecoder.h"

#include "platform/StoreSize.h"
#include "platform/win32/Com.h"

#include <objbase.h>
#include <wincodec.h>
#include <windows.h>

#include <cstring>
#include <new>
#include <utility>

namespace platform {

struct ImageDecoder::Native {
    ComScope com;  // first member: destroyed after the interfaces below
    // The frame stays until the copy: when a conversion cannot deliver its
    // pixels, the copy starts again from the frame along another road.
    ComReference<IWICBitmapFrameDecode> frame;
    ComReference<IWICBitmapSource> converted;
    WICPixelFormatGUID source = {};
    WICPixelFormatGUID target = {};
};

namespace {

// Grey from the 16-bit grey frame, row by row, keeping the high byte of each
// sample.
std::int32_t copyGrey16(IWICBitmapSource* frame, std::int32_t width, std::int32_t height,
                        std::int32_t strideBytes, std::uint8_t* buffer) {
    const UINT rowBytes = (2u * static_cast<UINT>(width) + 3u) & ~3u;
    std::unique_ptr<std::uint8_t[]> row(new (std::nothrow) std::uint8_t[rowBytes]);
    if (!row) {
        return 0;
    }
    for (std::int32_t y = 0; y < height; ++y) {
        const WICRect line = {0, y, width, 1};
        if (FAILED(frame->CopyPixels(&line, rowBytes, rowBytes, row.get()))) {
            return 0;
        }
        std::uint8_t* out = buffer + static_cast<std::ptrdiff_t>(y) * strideBytes;
        for (std::int32_t x = 0; x < width; ++x) {
            out[x] = row[2 * static_cast<std::size_t>(x) + 1];  // little-endian high byte
        }
    }
    return 1;
}

// Blue, green, red through a conversion to blue, green, red, alpha, which
// every source supports, dropping the alpha byte.
std::int32_t copyThroughBgra(IWICBitmapSource* frame, std::int32_t width, std::int32_t height,
                             std::int32_t strideBytes, std::uint8_t* buffer) {
    ComReference<IWICBitmapSource> bgra;
    if (FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame, bgra.out()))) {
        return 0;
    }
    const UINT rowBytes = 4u * static_cast<UINT>(width);
    std::unique_ptr<std::uint8_t[]> row(new (std::nothrow) std::uint8_t[rowBytes]);
    if (!row) {
        return 0;
    }
    for (std::int32_t y = 0; y < height; ++y) {
        const WICRect line = {0, y, width, 1};
        if (FAILED(bgra->CopyPixels(&line, rowBytes, rowBytes, row.get()))) {
            return 0;
        }
        std::uint8_t* out = buffer + static_cast<std::ptrdiff_t>(y) * strideBytes;
        for (std::int32_t x = 0; x < width; ++x) {
            out[3 * x] = row[4 * static_cast<std::size_t>(x)];
            out[3 * x + 1] = row[4 * static_cast<std::size_t>(x) + 1];
            out[3 * x + 2] = row[4 * static_cast<std::size_t>(x) + 2];
        }
    }
    return 1;
}

// Reads exactly size bytes at the file's position.
bool readExactly(HANDLE file, void* into, DWORD size) {
    DWORD got = 0;
    return ReadFile(file, into, size, &got, nullptr) != 0 && got == size;
}

// True for an animated PNG: an acTL chunk before the image data announcing more
// than one frame. The imaging component shows such a file as its still image,
// so the chunks are looked at here.
bool isAnimatedPng(HANDLE file) {
    static constexpr unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    unsigned char head[8];
    if (!readExactly(file, head, sizeof head) || std::memcmp(head, signature, 8) != 0) {
        return false;
    }
    for (;;) {
        unsigned char chunk[8];  // 4 bytes length, most significant first, 4 bytes type
        if (!readExactly(file, chunk, sizeof chunk)) {
            return false;
        }
        const std::uint32_t length = (std::uint32_t{chunk[0]} << 24) | (std::uint32_t{chunk[1]} << 16) |
                                     (std::uint32_t{chunk[2]} << 8) | chunk[3];
        if (std::memcmp(chunk + 4, "IDAT", 4) == 0 || std::memcmp(chunk + 4, "IEND", 4) == 0) {
            return false;
        }
        if (std::memcmp(chunk + 4, "acTL", 4) == 0) {
            unsigned char frames[4];
            return length >= 4 && readExactly(file, frames, sizeof frames) &&
                   ((std::uint32_t{frames[0]} << 24) | (std::uint32_t{frames[1]} << 16) |
                    (std::uint32_t{frames[2]} << 8) | frames[3]) > 1;
        }
        LARGE_INTEGER skip;
        skip.QuadPart = static_cast<LONGLONG>(length) + 4;  // the data and its CRC
        if (SetFilePointerEx(file, skip, nullptr, FILE_CURRENT) == 0) {
            return false;
        }
    }
}

// False for a file that is missing, that someone holds open for writing at
// this moment, or that is an animated PNG. Others reading it at the same time
// (another clock starting, a viewer showing the map) do not keep it from
// loading.
bool isStillPictureToRead(const std::filesystem::path& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool animated = isAnimatedPng(file);
    CloseHandle(file);
    return !animated;
}

// The bytes per stored pixel for a frame of the source format, and the format
// it is converted to: grey for 8- and 16-bit grey, blue, green, red, alpha for
// 32-bit formats with alpha, blue, green, red for every other.
std::int32_t storedLayout(const WICPixelFormatGUID& source, WICPixelFormatGUID& target) {
    if (IsEqualGUID(source, GUID_WICPixelFormat8bppGray) || IsEqualGUID(source, GUID_WICPixelFormat16bppGray)) {
        target = GUID_WICPixelFormat8bppGray;
        return 1;
    }
    if (IsEqualGUID(source, GUID_WICPixelFormat32bppBGRA) || IsEqualGUID(source, GUID_WICPixelFormat32bppRGBA)) {
        target = GUID_WICPixelFormat32bppBGRA;
        return 4;
    }
    target = GUID_WICPixelFormat24bppBGR;
    return 3;
}

}  // namespace

ImageDecoder::ImageDecoder() = default;

ImageDecoder::~ImageDecoder() = default;

std::int32_t ImageDecoder::open(const std::filesystem::path& path) {
    native.reset();
    if (!isStillPictureToRead(path)) {
        return 0;
    }

    std::unique_ptr<Native> state(new (std::nothrow) Native);
    if (!state) {
        return 0;
    }
    {
        ComReference<IWICImagingFactory> factory;
        ComReference<IWICBitmapDecoder> decoder;
        UINT frames = 0;
        if (FAILED(CoCreateInstance(CLSID_WICImagingFactory2, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IWICImagingFactory,
                                    reinterpret_cast<void**>(factory.out()))) ||
            FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                      WICDecodeMetadataCacheOnLoad,
                                                      decoder.out())) ||
            FAILED(decoder->GetFrameCount(&frames)) || frames != 1 ||
            FAILED(decoder->GetFrame(0, state->frame.out())) ||
            FAILED(state->frame->GetPixelFormat(&state->source))) {
            return 0;
        }
        const std::int32_t layout = storedLayout(state->source, state->target);
        if (FAILED(WICConvertBitmapSource(state->target, state->frame.get(),
                                          state->converted.out()))) {
            return 0;
        }
        channelCount = layout;
    }
    UINT w = 0, h = 0;
    if (FAILED(state->converted->GetSize(&w, &h)) || !isPictureSide(w) || !isPictureSide(h)) {
        return 0;
    }
    pixelWidth = static_cast<std::int32_t>(w);
    pixelHeight = static_cast<std::int32_t>(h);
    native = std::move(state);
    return 1;
}

std::int32_t ImageDecoder::copyPixels(std::int32_t strideBytes, std::size_t bufferBytes,
                                      std::uint8_t* buffer) {
    // The imaging component counts the buffer in 32 bits.
    if (!rowsFit(strideBytes, bufferBytes, buffer) || bufferBytes > 0xFFFFFFFFu) {
        return 0;
    }
    const WICRect whole = {0, 0, pixelWidth, pixelHeight};
    if (SUCCEEDED(native->converted->CopyPixels(&whole, static_cast<UINT>(strideBytes),
                                                static_cast<UINT>(bufferBytes), buffer))) {
        return 1;
    }
    // Some converters answer the conversion but fail the copy. Grey never goes
    // through a colour format on the way (that would add a gamma curve).
    IWICBitmapSource* frame = native->frame.get();
    if (IsEqualGUID(native->target, GUID_WICPixelFormat8bppGray)) {
        if (IsEqualGUID(native->source, GUID_WICPixelFormat16bppGray)) {
            return copyGrey16(frame, pixelWidth, pixelHeight, strideBytes, buffer);
        }
        return SUCCEEDED(frame->CopyPixels(&whole, static_cast<UINT>(strideBytes),
                                           static_cast<UINT>(bufferBytes), buffer))
                   ? 1
                   : 0;
    }
    if (IsEqualGUID(native->target, GUID_WICPixelFormat24bppBGR)) {
        return copyThroughBgra(frame, pixelWidth, pixelHeight, strideBytes, buffer);
    }
    return 0;
}

}  // namespace platform
