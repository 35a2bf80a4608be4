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
