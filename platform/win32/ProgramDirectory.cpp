#include "platform/ProgramDirectory.h"

#include <windows.h>

#include <vector>

namespace platform {

std::filesystem::path runningProgram() {
    // The module name can be longer than MAX_PATH: grow the buffer until it fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            return std::filesystem::path(std::wstring(buffer.data(), length));
        }
        if (buffer.size() >= 32768) {
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::filesystem::path programDirectory() { return runningProgram().parent_path(); }

}  // namespace platform
