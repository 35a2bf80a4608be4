#include "platform/ProgramDirectory.h"

#include <system_error>

namespace platform {

std::filesystem::path programDirectory() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || executable.empty()) {
        return {};
    }
    return executable.parent_path();
}

}  // namespace platform
