#pragma once

#include <cstdint>
#include <filesystem>

namespace platform {

// A whole file mapped read-only, with a read position and typed reads that can
// reverse the byte order. The file's length is kept so that no read ever touches a
// byte outside the file: a read whose bytes do not all lie inside the file yields
// 0 (0.0 for the floating-point reads) and still advances the position by its
// size, so a caller walking through samples stays in step.
class MappedFile {
public:
    MappedFile() = default;
    ~MappedFile() { close(); }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // Maps the whole file: 1 when a view exists, 0 otherwise (missing, unreadable
    // or empty file, or not a regular file). position is 0 afterwards either way.
    [[nodiscard]] std::int32_t open(const std::filesystem::path& path);
    // Releases the view, the mapping and the file, in that order and each only if
    // present; harmless when already closed.
    void close();

    // Each reads at position and advances it by its size (1, 2, 4, 4, 8 bytes).
    // swap set: the value is stored most significant byte first; clear: least
    // significant byte first. The position need not be aligned.
    std::uint8_t read8();
    std::uint16_t read16(bool swap);
    std::int32_t read32(bool swap);
    float readFloat(bool swap);
    double readDouble(bool swap);

    // Hands the view's pages back to the system while the file stays mapped:
    // they leave the process's resident memory and are read again, from the
    // system's file cache or the disk, when next touched. For a file read
    // seldom and at length, between the readings, and one that nobody changes
    // in place meanwhile: the pages read again are the file's as it then is.
    void releaseResidentPages() const;

    // True while the file at the path it was mapped from is still the one
    // mapped and as it was then (same length, same modification time, on POSIX
    // systems the same file), and no read of the view has faulted. Another
    // program may cut short or rewrite a file in place while it is mapped: a
    // read of its lost pages then yields zeros instead of ending the program,
    // and this turns false, so that the owner can map the file anew.
    [[nodiscard]] bool unchanged() const;

    const std::uint8_t* data() const { return view; }
    std::uint64_t size() const { return length; }  // bytes in the file; 0 when closed
    bool isOpen() const { return view != nullptr; }

    std::uint64_t position = 0;  // byte offset of the next read from the start of the view

private:
    // The bytes value of a read of count bytes at position, most significant byte
    // first when swap is set; 0 when they are not all inside the file. Advances
    // position by count.
    std::uint64_t readBytes(std::uint32_t count, bool swap);

    const std::uint8_t* view = nullptr;
    std::uint64_t length = 0;  // bytes in the file
    void* file = nullptr;      // the native file handle, when the platform keeps one
    void* mapping = nullptr;   // the native mapping handle, when the platform keeps one
    std::filesystem::path mappedPath;  // where the file was opened
    std::uint64_t mappedIdentity = 0;  // the file's serial number on its device, where the platform has one
    std::int64_t mappedTime = 0;       // its modification time at open, in the platform's file time units
    std::int32_t guardSlot = -1;       // the view's slot among the guarded views, or -1
};

}  // namespace platform
