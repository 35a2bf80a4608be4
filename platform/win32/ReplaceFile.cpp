#include "platform/ReplaceFile.h"

#include "platform/FileAccess.h"
#include "platform/common/SystemError.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace platform {

Result<> replaceFile(const std::filesystem::path& linkOrFile, std::initializer_list<std::string_view> pieces) {
    return replaceFileItself(linkTarget(linkOrFile), pieces);
}

Result<> replaceFileItself(const std::filesystem::path& path, std::initializer_list<std::string_view> pieces) {
    // A name of this process's own, so that two clocks saving at once never
    // write into the same temporary file.
    std::filesystem::path temporary = path;
    temporary += L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    // Whatever a crash left at that name goes first (a link itself, not what it
    // leads to), and the new file is made there afresh.
    DeleteFileW(temporary.c_str());
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return failure(systemError());
    }
    bool complete = true;
    for (std::string_view piece : pieces) {
        // WriteFile counts in 32 bits: large pieces go in parts.
        while (complete && !piece.empty()) {
            const auto part = static_cast<DWORD>(std::min<std::size_t>(piece.size(), 1U << 30));
            DWORD written = 0;
            complete = WriteFile(file, piece.data(), part, &written, nullptr) && written == part;
            piece.remove_prefix(part);
        }
    }
    complete = complete && FlushFileBuffers(file);
    const bool closed = CloseHandle(file) != 0;
    if (!complete || !closed ||
        !MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const std::string reason = systemError();
        DeleteFileW(temporary.c_str());
        return failure(reason);
    }
    return {};
}

Result<> replaceTextFile(const std::filesystem::path& path, std::string_view text) {
    // Text files on Windows end their lines in CR LF.
    std::string bytes;
    for (const char c : text) {
        if (c == '\n') {
            bytes += '\r';
        }
        bytes += c;
    }
    return replaceFile(path, {bytes});
}

}  // namespace platform
