#include "platform/FileAccess.h"

#include "platform/common/BinaryStream.h"
#include "platform/common/SystemError.h"

#include <array>

namespace platform {

Result<std::string> readWholeStream(const std::filesystem::path& path, std::size_t maxBytes) {
    std::FILE* stream = openBinaryStream(path);
    if (stream == nullptr) {
        return failure(systemError());
    }
    std::string bytes;
    std::array<char, 64 * 1024> buffer{};
    bool tooLong = false;
    for (std::size_t got = 0; !tooLong && (got = std::fread(buffer.data(), 1, buffer.size(), stream)) > 0;) {
        tooLong = got > maxBytes - bytes.size();
        if (!tooLong) {
            bytes.append(buffer.data(), got);
        }
    }
    const bool failed = std::ferror(stream) != 0;
    const std::string readFailure = failed ? systemError() : std::string();
    if (stream != stdin) {
        std::fclose(stream);
    }
    if (tooLong) {
        return failure("it gives more than " + std::to_string(maxBytes >> 20) + " MiB");
    }
    if (failed) {
        return failure(readFailure);
    }
    return bytes;
}

}  // namespace platform
