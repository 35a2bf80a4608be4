#include "platform/FileAccess.h"

#include "platform/ReplaceFile.h"
#include "platform/common/BinaryStream.h"
#include "platform/common/SystemError.h"
#include "platform/common/Utf16.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>

namespace platform {

namespace {

bool missing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

// Nothing at a path whose lookup failed with error, or the system's words for
// why it could not be looked at.
Result<FileBytes> missingOrFailed(DWORD error) {
    if (missing(error)) {
        return FileBytes{FileRead::Missing, {}};
    }
    SetLastError(error);
    return failure(systemError());
}

}  // namespace

Result<FileBytes> readRegularFile(const std::filesystem::path& path, std::size_t maxBytes) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return missingOrFailed(GetLastError());
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return FileBytes{FileRead::NotRegular, {}};
    }
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return missingOrFailed(GetLastError());
    }
    // Pipes and devices answer to names as files do; only a file on a disk is read.
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        return FileBytes{FileRead::NotRegular, {}};
    }
    FileBytes read{FileRead::Read, std::string(maxBytes, '\0')};
    DWORD got = 0;
    const auto wanted = static_cast<DWORD>(std::min<std::size_t>(maxBytes, 1U << 30));
    if (ReadFile(file, read.bytes.data(), wanted, &got, nullptr) == 0) {
        const std::string reason = systemError();
        CloseHandle(file);
        return failure(reason);
    }
    CloseHandle(file);
    read.bytes.resize(got);
    return read;
}

Result<> writeWholeFile(const std::filesystem::path& path, std::string_view bytes) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return failure("it is a folder");
    }
    // A device or a pipe (NUL, CON, \\.\pipe\...) is written in place.
    HANDLE existing = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (existing != INVALID_HANDLE_VALUE && GetFileType(existing) != FILE_TYPE_DISK) {
        bool complete = true;
        while (complete && !bytes.empty()) {
            const auto part = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1U << 30));
            DWORD written = 0;
            complete = WriteFile(existing, bytes.data(), part, &written, nullptr) && written == part;
            bytes.remove_prefix(part);
        }
        const std::string writeFailure = complete ? std::string() : systemError();
        CloseHandle(existing);
        if (!complete) {
            return failure(writeFailure);
        }
        return {};
    }
    if (existing != INVALID_HANDLE_VALUE) {
        CloseHandle(existing);
    }
    return replaceFile(path, {bytes});
}

bool isSymbolicLink(const std::filesystem::path& path) {
    // The reparse tag tells a link or a junction from the reparse points that
    // stand for the file itself (a cloud file not yet downloaded, say).
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return false;
    }
    FindClose(search);
    return (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
           (found.dwReserved0 == IO_REPARSE_TAG_SYMLINK || found.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT);
}

std::string systemError() {
    const DWORD error = GetLastError();
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::u16string units;
    for (DWORD i = 0; i < length; ++i) {
        units += static_cast<char16_t>(text[i]);
    }
    LocalFree(text);
    // The system's text ends in a full stop and a line end.
    while (!units.empty() && (units.back() == u'\n' || units.back() == u'\r' || units.back() == u'.' ||
                              units.back() == u' ')) {
        units.pop_back();
    }
    return units.empty() ? "error " + std::to_string(error) : utf8FromUtf16(units);
}

std::FILE* openBinaryStream(const std::filesystem::path& path) {
    if (path == L"-") {
        _setmode(_fileno(stdin), _O_BINARY);
        return stdin;
    }
    return _wfopen(path.c_str(), L"rb");
}

}  // namespace platform
