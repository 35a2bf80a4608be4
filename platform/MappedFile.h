#pragma once

#include <cstdint>
#include <filesystem>

namespace platform {

// A whole file mapped read-only, with a read position and typed reads that can
// reverse the byte order. Reads never touch a byte outside the file.
class MappedFile {
public:
    MappedFile() = default;
    ~MappedFile() { close(); }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // Maps the whole file: 1 when a view exists, 0 otherwise (missing, unreadable
    // or empty file).
    [[nodiscard]] std::int32_t open(const std::filesystem::path& path);
    // Releases the view, the mapping and the file; harmless when already closed.
    void close();

    // Each reads at position and advances it by its size. swap set: the value is
    // stored most significant byte first; clear: least significant byte first.
    std::uint16_t read16(bool swap);
    std::int32_t read32(bool swap);
    float readFloat(bool swap);
    double readDouble(bool swap);

    const std::uint8_t* data() const { return view; }
    std::uint64_t size() const { return length; }

    std::uint64_t position = 0;  // byte offset of the next read from the start of the view

private:
    const std::uint8_t* view = nullptr;
    std::uint64_t length = 0;  // bytes in the file
    void* file = nullptr;      // the native file handle, when the platform has one
    void* mapping = nullptr;   // the native mapping handle, when the platform has one
};

}  // namespace platform
