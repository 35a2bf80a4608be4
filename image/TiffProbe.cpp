#include "image/TiffProbe.h"

#include "platform/FileAccess.h"

#include <string>

std::int32_t probeTiffVersion(const std::filesystem::path& path) {
    // Only a regular file is read, and opening it never waits: a FIFO in a
    // picture's place would wait for a writer.
    const Result<platform::FileBytes> file = platform::readRegularFile(path, 4);
    if (!file || file->found != platform::FileRead::Read || file->bytes.size() != 4) {
        return 0;
    }
    const std::string& head = file->bytes;
    // Bytes 0 and 1 are the byte-order mark, ignored: the word is taken
    // little-endian whatever the mark says.
    const unsigned version = static_cast<unsigned char>(head[2]) |
                             (static_cast<unsigned>(static_cast<unsigned char>(head[3])) << 8);
    if (version == 42) {
        return 1;
    }
    if (version == 43) {
        return 2;
    }
    return 0;
}
