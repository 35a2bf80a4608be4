#include "platform/ProgramDirectory.h"

#include <system_error>

namespace platform {

std::filesystem::path runningProgram() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path{} : executable;
}

std::filesystem::path programDirectory() { return runningProgram().parent_path(); }

}  // namespace platform
