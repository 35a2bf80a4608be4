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
            std::int32_t strideBytes, const std::uint8_t* rows, bool& opened) {
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
    // The encoder may answer with another format it prefers; only 24-bit
    // blue-green-red matches the rows.
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(frame->SetPixelFormat(&format)) || !IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) {
        return false;
    }
    const UINT bufferBytes = static_cast<UINT>(strideBytes) * static_cast<UINT>(height);
    return SUCCEEDED(frame->WritePixels(static_cast<UINT>(height), static_cast<UINT>(strideBytes), bufferBytes,
                                        const_cast<BYTE*>(rows))) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

}  // namespace

std::int32_t writePngBgr(const std::filesystem::path& path, std::int32_t width, std::int32_t height,
                         std::int32_t strideBytes, const std::uint8_t* rows) {
    if (rows == nullptr || width < 1 || height < 1 || strideBytes / 3 < width ||
        static_cast<std::uint64_t>(strideBytes) * static_cast<std::uint64_t>(height) > 0xFFFFFFFFull) {
        return 0;
    }
    const ComScope com;
    // The stream and encoder are released inside encode, so the file is closed
    // before a failed one is removed.
    bool opened = false;
    if (!encode(path, width, height, strideBytes, rows, opened)) {
        if (opened) {
            std::error_code ignored;
            std::filesystem::remove(path, ignored);
        }
        return 0;
    }
    return 1;
}

}  // namespace platform
