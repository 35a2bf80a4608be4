#include "PipedMaps.h"

#include "platform/FileAccess.h"
#include "platform/Messages.h"

#include <cstdint>
#include <fstream>
#include <random>
#include <system_error>

namespace {

// A folder of this run's own: a name no other has, made here and now, so that
// nothing another user left in the temporary folder is written through.
Result<std::filesystem::path> makeOwnFolder() {
    std::error_code error;
    const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    if (error) {
        return failure("there is no temporary folder: " + error.message());
    }
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::uint64_t name = (std::uint64_t{random()} << 32) ^ random();
        const std::filesystem::path folder = temporary / ("horavel-snapshot-" + std::to_string(name));
        if (std::filesystem::create_directory(folder, error)) {
            return folder;
        }
    }
    return failure("no folder of its own could be made in " + platform::utf8FromPath(temporary));
}

}  // namespace

PipedMaps::~PipedMaps() {
    if (!folder.empty()) {
        std::error_code error;
        std::filesystem::remove_all(folder, error);
    }
}

Result<> PipedMaps::take(std::optional<std::filesystem::path>& map, const char* option) {
    if (!map) {
        return {};
    }
    const std::string named = std::string(option) + " " + platform::utf8FromPath(*map);
    std::error_code statusError;
    const std::filesystem::file_type type = std::filesystem::status(*map, statusError).type();
    const bool fromPipe = *map == "-" || type == std::filesystem::file_type::fifo;
    if (!fromPipe) {
        if (type == std::filesystem::file_type::regular || type == std::filesystem::file_type::not_found) {
            return {};
        }
        return failure(named + " is neither a regular file nor a pipe (give - to read standard input)");
    }
    const Result<std::string> bytes = platform::readWholeStream(*map, pipedMapLimitBytes);
    if (!bytes) {
        return failure("cannot read " + named + ": " + bytes.error());
    }
    if (folder.empty()) {
        const Result<std::filesystem::path> made = makeOwnFolder();
        if (!made) {
            return failure("cannot keep " + named + ": " + made.error());
        }
        folder = *made;
    }
    // A FIFO's copy keeps its name, and with it the ending by which the loader
    // tells PDS IMG and FITS files from the others; standard input has none,
    // so the loader goes by what its first bytes are.
    std::filesystem::path copy = folder / (option + 2);  // the option's name without its dashes
    copy += "-";
    copy += *map == "-" ? std::filesystem::path("standard-input") : map->filename();
    std::ofstream out(copy, std::ios::binary);
    out.write(bytes->data(), static_cast<std::streamsize>(bytes->size()));
    out.close();
    if (!out) {
        return failure("cannot keep " + named + " in " + platform::utf8FromPath(folder));
    }
    map = copy;
    return {};
}
