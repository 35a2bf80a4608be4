#include "platform/ImageEncoder.h"

#include "platform/win32/Com.h"

#include <objbase.h>
#include <wincodec.h>
#include <windows.h>

#include <system_error>

namespace platform {

namespace {

// Encodes into a new file; opened tells whether the file was created (and so
// may need removing after a failure).
bool encode(const std::filesystem::path& path, std::int32_t width, std::int32_t height,
            std::int32_t strideBytes, const std::uint8_t* rows, const WICPixelFormatGUID& rowFormat,
            bool& opened) {
    ComReference<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(factory.out())))) {
        return false;
    }
    ComReference<IWICStream> stream;
    if (FAILED(factory->CreateStream(stream.out())) ||
        FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE))) {
        return false;
    }
    opened = true;
    ComReference<IWICBitmapEncoder> encoder;
    if (FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.out())) ||
        FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache))) {
        return false;
    }
    ComReference<IWICBitmapFrameEncode> frame;
    ComReference<IPropertyBag2> properties;
    if (FAILED(encoder->CreateNewFrame(frame.out(), properties.out())) ||
        FAILED(frame->Initialize(properties.get())) ||
        FAILED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height)))) {
        return false;
    }
    // The encoder may answer with another format it prefers; only the rows'
    // own format will do.
    WICPixelFormatGUID format = rowFormat;
    if (FAILED(frame->SetPixelFormat(&format)) || !IsEqualGUID(format, rowFormat)) {
        return false;
    }
    const UINT bufferBytes = static_cast<UINT>(strideBytes) * static_cast<UINT>(height);
    return SUCCEEDED(frame->WritePixels(static_cast<UINT>(height), static_cast<UINT>(strideBytes), bufferBytes,
                                        const_cast<BYTE*>(rows))) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

// Writes rows of channels bytes a pixel (3: BGR, 4: BGRA) as a PNG file.
std::int32_t writePng(const std::filesystem::path& path, std::int32_t width, std::int32_t height,
                      std::int32_t strideBytes, const std::uint8_t* rows, std::int32_t channels) {
    if (rows == nullptr || width < 1 || height < 1 || strideBytes / channels < width ||
        static_cast<std::uint64_t>(strideBytes) * static_cast<std::uint64_t>(height) > 0xFFFFFFFFull) {
        return 0;
    }
    const ComScope com;
    // The stream and encoder are released inside encode, so the file is closed
    // before a failed one is removed.
    bool opened = false;
    const WICPixelFormatGUID& format = channels == 4 ? GUID_WICPixelFormat32bppBGRA : GUID_WICPixelFormat24bppBGR;
    if (!encode(path, width, height, strideBytes, rows, format, opened)) {
        if (opened) {
            std::error_code ignored;
            std::filesystem::remove(path, ignored);
        }
        return 0;
    }
    return 1;
}

}  // namespace

std::int32_t writePngBgr(const std::filesystem::path& path, std::int32_t width, std::int32_t height,
                         std::int32_t strideBytes, const std::uint8_t* rows) {
    return writePng(path, width, height, strideBytes, rows, 3);
}

std::int32_t writePngBgra(const std::filesystem::path& path, std::int32_t width, std::int32_t height,
                          std::int32_t strideBytes, const std::uint8_t* rows) {
    return writePng(path, width, height, strideBytes, rows, 4);
}

}  // namespace platform
