#include "platform/Clock.h"

#include <windows.h>

namespace platform {

namespace {
FileTime fromNative(const FILETIME& time) { return {time.dwLowDateTime, time.dwHighDateTime}; }
}  // namespace

FileTime SystemClock::utcNow() const {
    SYSTEMTIME now;
    GetSystemTime(&now);
    FILETIME ticks{};
    SystemTimeToFileTime(&now, &ticks);
    return fromNative(ticks);
}

// GetLocalTime turns the system time local by the zone Windows holds at that
// moment, so a change of the system's zone shows at the next tick, at no cost.
// (The C runtime's localtime would keep the zone its _tzset read. Wine works
// the zone's offset out again in each new second of the Unix clock.)
FileTime SystemClock::localNow() const {
    SYSTEMTIME now;
    GetLocalTime(&now);
    FILETIME ticks{};
    SystemTimeToFileTime(&now, &ticks);
    return fromNative(ticks);
}

FileTime localFromUtc(FileTime utc) {
    const FILETIME utcTicks{utc.low, utc.high};
    SYSTEMTIME utcTime;
    SYSTEMTIME localTime;
    FILETIME localTicks{};
    if (!FileTimeToSystemTime(&utcTicks, &utcTime) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utcTime, &localTime) ||
        !SystemTimeToFileTime(&localTime, &localTicks)) {
        return utc;
    }
    return fromNative(localTicks);
}

}  // namespace platform
