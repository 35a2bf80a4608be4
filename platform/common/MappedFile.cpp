#include "platform/MappedFile.h"

// Mapping comes with the PDS IMG and FITS readers; until then nothing opens.
namespace platform {
std::int32_t MappedFile::open(const std::filesystem::path&) { return 0; }
void MappedFile::close() {}
}  // namespace platform
