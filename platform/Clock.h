#pragma once

#include <cstdint>

namespace platform {

// A moment as the Windows file time counts it: 100-nanosecond ticks since
// 1601-01-01 00:00, in two unsigned 32-bit halves.
struct FileTime {
    std::uint32_t low = 0;
    std::uint32_t high = 0;

    static FileTime fromTicks(std::uint64_t ticks) {
        return {static_cast<std::uint32_t>(ticks), static_cast<std::uint32_t>(ticks >> 32)};
    }
    std::uint64_t ticks() const { return (static_cast<std::uint64_t>(high) << 32) | low; }
};

// Where the program reads the time: universal time for astronomy, local wall-clock
// time for everything shown as a clock or a date.
class Clock {
public:
    virtual ~Clock() = default;
    virtual FileTime utcNow() const = 0;
    virtual FileTime localNow() const = 0;
};

// The computer's own clock, local time in the process's time zone.
class SystemClock final : public Clock {
public:
    FileTime utcNow() const override;
    FileTime localNow() const override;
};

// A clock that always answers the same moment: for tests and for pictures of a
// chosen moment.
class FixedClock final : public Clock {
public:
    FixedClock(FileTime utcMoment, FileTime localMoment) : utc(utcMoment), local(localMoment) {}
    FileTime utcNow() const override { return utc; }
    FileTime localNow() const override { return local; }

private:
    FileTime utc;
    FileTime local;
};

// The local wall-clock time of a universal moment, by the process's time zone and
// the daylight-saving rules in force on that date.
FileTime localFromUtc(FileTime utc);

}  // namespace platform
