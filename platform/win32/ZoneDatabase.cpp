#include "platform/ZoneDatabase.h"

#include "platform/ProgramDirectory.h"

namespace platform {

// Windows keeps no zone database of this form: the program carries its own,
// the one the build machine's system had, so that the clock of a zone shows
// what the Linux build shows (docs/zones.md).
std::filesystem::path zoneDatabaseFolder() { return programDirectory() / "zoneinfo"; }

}  // namespace platform
