#include "platform/common/PngEncoding.h"

#include "platform/win32/Com.h"

#include <objbase.h>
#include <wincodec.h>
#include <windows.h>

#include <string>

namespace platform {

namespace {

// The bytes a stream in memory holds.
bool streamBytes(IStream* stream, std::string& bytes) {
    STATSTG status{};
    LARGE_INTEGER start{};
    if (FAILED(stream->Stat(&status, STATFLAG_NONAME)) || status.cbSize.QuadPart > 0x7FFFFFFF ||
        FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr))) {
        return false;
    }
    bytes.resize(static_cast<std::size_t>(status.cbSize.QuadPart));
    ULONG got = 0;
    return SUCCEEDED(stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &got)) && got == bytes.size();
}

// Encodes into memory.
bool encode(std::string& encoded, std::int32_t width, std::int32_t height,
            std::int32_t strideBytes, const std::uint8_t* rows, const WICPixelFormatGUID& rowFormat) {
    ComReference<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(factory.out())))) {
        return false;
    }
    ComReference<IStream> memory;
    ComReference<IWICStream> stream;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, memory.out())) || FAILED(factory->CreateStream(stream.out())) ||
        FAILED(stream->InitializeFromIStream(memory.get()))) {
        return false;
    }
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
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit()) && streamBytes(memory.get(), encoded);
}

}  // namespace

bool encodePng(std::string& encoded, std::int32_t width, std::int32_t height, std::int32_t strideBytes,
               const std::uint8_t* rows, std::int32_t channels) {
    // The encoder counts the rows' bytes in 32 bits.
    if (static_cast<std::uint64_t>(strideBytes) * static_cast<std::uint64_t>(height) > 0xFFFFFFFFull) {
        return false;
    }
    const ComScope com;
    const WICPixelFormatGUID& format = channels == 4 ? GUID_WICPixelFormat32bppBGRA : GUID_WICPixelFormat24bppBGR;
    return encode(encoded, width, height, strideBytes, rows, format);
}

}  // namespace platform
