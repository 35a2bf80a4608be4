#include "platform/MappedFile.h"

#include <windows.h>

// The file and the mapping handles stay open with the view and are released after
// it. When only the view fails, both stay open until close().
namespace platform {

std::int32_t MappedFile::open(const std::filesystem::path& path) {
    close();
    position = 0;
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return 0;
    }
    file = handle;
    LARGE_INTEGER bytes{};
    // An empty file cannot be mapped; its mapping fails just below.
    if (!GetFileSizeEx(handle, &bytes)) {
        close();
        return 0;
    }
    mapping = CreateFileMappingW(handle, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (mapping == nullptr) {
        close();
        return 0;
    }
    view = static_cast<const std::uint8_t*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
    if (view != nullptr) {
        length = static_cast<std::uint64_t>(bytes.QuadPart);
    }
    return view != nullptr ? 1 : 0;
}

void MappedFile::releaseResidentPages() const {
    // Unlocking pages that were never locked takes them out of the working set
    // (and reports that they were not locked, which is expected here).
    if (view != nullptr) {
        VirtualUnlock(const_cast<std::uint8_t*>(view), static_cast<SIZE_T>(length));
    }
}

void MappedFile::close() {
    if (view != nullptr) {
        UnmapViewOfFile(view);
        view = nullptr;
    }
    length = 0;
    if (mapping != nullptr) {
        CloseHandle(mapping);
        mapping = nullptr;
    }
    if (file != nullptr) {
        CloseHandle(file);
        file = nullptr;
    }
}

}  // namespace platform
