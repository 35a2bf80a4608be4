#include "platform/ZoneDatabase.h"

#include "platform/ProgramDirectory.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace platform {

// Windows keeps no zone database of this form: the program carries its own,
// the one the build machine's system had, so that the clock of a zone shows
// what the Linux build shows (docs/zones.md).
std::filesystem::path zoneDatabaseFolder() { return programDirectory() / "zoneinfo"; }

// Each part of the name against the name the folder holds, as FindFirstFileW
// reports it (a name without wildcards finds that one entry, in its own case).
bool spelledAsOnDisk(const std::filesystem::path& folder, std::string_view name) {
    std::filesystem::path path = folder;
    std::size_t start = 0;
    while (start <= name.size()) {
        const std::size_t slash = std::min(name.find('/', start), name.size());
        const std::string part(name.substr(start, slash - start));
        path /= part;
        WIN32_FIND_DATAW found{};
        const HANDLE search = FindFirstFileW(path.c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) {
            return false;
        }
        FindClose(search);
        if (std::filesystem::path(found.cFileName) != std::filesystem::path(part)) {
            return false;
        }
        start = slash + 1;
    }
    return true;
}

}  // namespace platform
