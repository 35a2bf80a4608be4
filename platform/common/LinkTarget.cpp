#include "platform/FileAccess.h"

#include <system_error>

namespace platform {

std::filesystem::path linkTarget(const std::filesystem::path& path) {
    std::filesystem::path current = path;
    for (std::int32_t depth = 0; depth < 40; ++depth) {
        std::error_code error;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(current, error)) || error) {
            return current;
        }
        const std::filesystem::path next = std::filesystem::read_symlink(current, error);
        if (error) {
            return current;
        }
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return current;
}

bool regularOrAbsent(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    return status.type() == std::filesystem::file_type::not_found || status.type() == std::filesystem::file_type::regular;
}

}  // namespace platform
