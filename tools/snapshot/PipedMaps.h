#pragma once

#include "platform/Result.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

// Maps named on the command line that are read from a pipe: standard input for
// "-", or a FIFO named explicitly (as a shell's <(...) names one). Their bytes,
// at most pipedMapLimitBytes, go into a folder of the tool's own in the
// temporary folder, from which the clock's loader reads them as any map; the
// folder goes with this object. Anything else that is no regular file (a
// folder, a device, a socket) is refused, so that no read can block.
class PipedMaps {
public:
    PipedMaps() = default;
    ~PipedMaps();
    PipedMaps(const PipedMaps&) = delete;
    PipedMaps& operator=(const PipedMaps&) = delete;

    // Turns a --earth-texture or --moon-texture path (option names it) that is
    // a pipe into the path of its copy; a regular file, or nothing at the path,
    // stays as it is. Fails, with a one-line reason, when it is refused or
    // cannot be read.
    Result<> take(std::optional<std::filesystem::path>& map, const char* option);

private:
    std::filesystem::path folder;  // made at the first pipe; empty before
};

// The most a pipe may give for one map, bytes: far more than any map needs
// (the Earth's that comes with the clock is 2 MiB), yet a pipe that never ends
// cannot take all the memory.
inline constexpr std::size_t pipedMapLimitBytes = std::size_t{512} << 20;
