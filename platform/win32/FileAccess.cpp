#include "platform/FileAccess.h"

#include "platform/ReplaceFile.h"
#include "platform/common/BinaryStream.h"
#include "platform/common/Utf16.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>

namespace platform {

namespace {

bool missing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

}  // namespace

FileRead readRegularFile(const std::filesystem::path& path, std::size_t maxBytes, std::string& text) {
    text.clear();
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return missing(GetLastError()) ? FileRead::Missing : FileRead::Failed;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return FileRead::NotRegular;
    }
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return missing(GetLastError()) ? FileRead::Missing : FileRead::Failed;
    }
    // Pipes and devices answer to names as files do; only a file on a disk is read.
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        return FileRead::NotRegular;
    }
    text.resize(maxBytes);
    DWORD got = 0;
    const auto wanted = static_cast<DWORD>(std::min<std::size_t>(maxBytes, 1U << 30));
    const bool read = ReadFile(file, text.data(), wanted, &got, nullptr) != 0;
    CloseHandle(file);
    text.resize(read ? got : 0);
    return read ? FileRead::Read : FileRead::Failed;
}

bool writeWholeFile(const std::filesystem::path& path, std::string_view bytes, std::string& reason) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        reason = "it is a folder";
        return false;
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
        const DWORD cause = GetLastError();
        CloseHandle(existing);
        if (!complete) {
            SetLastError(cause);
            reason = lastFileError();
        }
        return complete;
    }
    if (existing != INVALID_HANDLE_VALUE) {
        CloseHandle(existing);
    }
    if (!replaceFile(path, {bytes})) {
        reason = lastFileError();
        return false;
    }
    return true;
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

std::string lastFileError() {
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
