#include "platform/Autostart.h"

#include <system_error>

// Removing is the same on every system: only an entry that starts this very
// program goes, and the answer is what the folder holds afterwards.
namespace platform {

bool removeAutostart(const std::filesystem::path& folder, const std::filesystem::path& program) {
    if (!autostartStarts(folder, program)) {
        return true;
    }
    std::error_code error;
    std::filesystem::remove(autostartEntry(folder), error);
    return !autostartStarts(folder, program);
}

}  // namespace platform
