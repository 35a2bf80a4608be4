#include "platform/MappedFile.h"

#include <bit>
#include <cstring>

// The typed reads are the same on every platform: only open and close differ.
namespace platform {

std::uint64_t MappedFile::readBytes(std::uint32_t count, bool swap) {
    const std::uint64_t at = position;
    position += count;
    // Written so that neither side can overflow, whatever position holds.
    if (view == nullptr || at > length || length - at < count) {
        return 0;
    }
    std::uint64_t value = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint64_t byte = view[at + i];
        value |= swap ? byte << (8 * (count - 1 - i)) : byte << (8 * i);
    }
    return value;
}

std::uint8_t MappedFile::read8() { return static_cast<std::uint8_t>(readBytes(1, false)); }

std::uint16_t MappedFile::read16(bool swap) {
    return static_cast<std::uint16_t>(readBytes(2, swap));
}

std::int32_t MappedFile::read32(bool swap) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(readBytes(4, swap)));
}

float MappedFile::readFloat(bool swap) {
    return std::bit_cast<float>(static_cast<std::uint32_t>(readBytes(4, swap)));
}

double MappedFile::readDouble(bool swap) { return std::bit_cast<double>(readBytes(8, swap)); }

}  // namespace platform
