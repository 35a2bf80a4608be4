#include "platform/FileAccess.h"

#include "platform/common/BinaryStream.h"

#include <array>

namespace platform {

bool readWholeStream(const std::filesystem::path& path, std::size_t maxBytes, std::string& bytes,
                     std::string& reason) {
    bytes.clear();
    std::FILE* stream = openBinaryStream(path);
    if (stream == nullptr) {
        reason = lastFileError();
        return false;
    }
    std::array<char, 64 * 1024> buffer{};
    bool tooLong = false;
    for (std::size_t got = 0; !tooLong && (got = std::fread(buffer.data(), 1, buffer.size(), stream)) > 0;) {
        tooLong = got > maxBytes - bytes.size();
        if (!tooLong) {
            bytes.append(buffer.data(), got);
        }
    }
    const bool failed = std::ferror(stream) != 0;
    if (failed) {
        reason = lastFileError();
    }
    if (stream != stdin) {
        std::fclose(stream);
    }
    if (tooLong) {
        reason = "it gives more than " + std::to_string(maxBytes >> 20) + " MiB";
    }
    return !failed && !tooLong;
}

}  // namespace platform
