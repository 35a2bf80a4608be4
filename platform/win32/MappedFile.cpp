#include "platform/MappedFile.h"

#include "platform/common/MappedViews.h"

#include <windows.h>

#include <mutex>

// The file and the mapping handles stay open with the view and are released after
// it. When only the view fails, both stay open until close().
namespace platform {
namespace {

// A read of a view whose file was cut short raises an in-page error (or, under
// some systems' emulation, an access violation). Inside a guarded view the view
// is given up and zeroed memory reserved at the same place, the view is marked
// damaged, and the read is done again. Any other exception goes on its way.
LONG CALLBACK onViewFault(EXCEPTION_POINTERS* exception) {
    const EXCEPTION_RECORD* record = exception->ExceptionRecord;
    if ((record->ExceptionCode != EXCEPTION_IN_PAGE_ERROR && record->ExceptionCode != EXCEPTION_ACCESS_VIOLATION) ||
        record->NumberParameters < 2) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    const std::int32_t slot = views::viewAt(reinterpret_cast<const void*>(record->ExceptionInformation[1]));
    if (slot < 0 || views::damaged(slot)) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    void* first = const_cast<void*>(views::begin(slot));
    if (!UnmapViewOfFile(first) ||
        VirtualAlloc(first, views::bytes(slot), MEM_RESERVE | MEM_COMMIT, PAGE_READONLY) != first) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    views::markDamaged(slot);
    return EXCEPTION_CONTINUE_EXECUTION;
}

void guardViews() {
    static std::once_flag installed;
    std::call_once(installed, [] { AddVectoredExceptionHandler(1, onViewFault); });
}

// The file's length and last write time as the file system now has them.
bool fileStatus(const std::filesystem::path& path, std::uint64_t& bytes, std::int64_t& time) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        return false;
    }
    bytes = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    time = static_cast<std::int64_t>((static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                     data.ftLastWriteTime.dwLowDateTime);
    return true;
}

}  // namespace

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
    guardViews();
    view = static_cast<const std::uint8_t*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
    if (view != nullptr) {
        length = static_cast<std::uint64_t>(bytes.QuadPart);
        mappedPath = path;
        std::uint64_t statusBytes = 0;
        if (!fileStatus(path, statusBytes, mappedTime)) {
            mappedTime = 0;
        }
        guardSlot = views::enroll(view, static_cast<std::size_t>(length));
    }
    return view != nullptr ? 1 : 0;
}

bool MappedFile::unchanged() const {
    std::uint64_t bytes = 0;
    std::int64_t time = 0;
    return view != nullptr && !views::damaged(guardSlot) && fileStatus(mappedPath, bytes, time) &&
           bytes == length && time == mappedTime;
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
        // A damaged view is zeroed memory of this program's own by now.
        const bool damaged = views::damaged(guardSlot);
        views::withdraw(guardSlot);
        if (damaged) {
            VirtualFree(const_cast<std::uint8_t*>(view), 0, MEM_RELEASE);
        } else {
            UnmapViewOfFile(view);
        }
        view = nullptr;
    }
    guardSlot = -1;
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
