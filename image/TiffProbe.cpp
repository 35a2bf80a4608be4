#include "image/TiffProbe.h"

#include <fstream>
#include <system_error>

std::int32_t probeTiffVersion(const std::filesystem::path& path) {
    // Only a regular file is opened: a FIFO in a picture's place would wait
    // for a writer.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return 0;
    }
    std::ifstream file(path, std::ios::in | std::ios::binary);
    if (!file) {
        return 0;
    }
    char head[4] = {};
    file.read(head, sizeof head);
    if (file.gcount() != static_cast<std::streamsize>(sizeof head)) {
        return 0;
    }
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
