// Zone files over arbitrary bytes. libFuzzer's buffer is exactly the input's
// size, so AddressSanitizer sees any read past the end of the "file". A zone
// that is accepted is asked its offset at moments across the whole range of
// 64-bit seconds, and at one taken from the input, where its transitions and
// its closing rule must give an offset within a day and never overflow.
#include "astro/TimeZone.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Result<TimeZone> zone = TimeZone::fromTzif({data, size});
    if (!zone) {
        if (zone.error().empty()) {
            std::abort();
        }
        return 0;
    }
    std::int64_t fromInput = 0;
    std::memcpy(&fromInput, data + size - sizeof fromInput, sizeof fromInput);  // a zone file is longer
    constexpr std::int64_t lowest = std::numeric_limits<std::int64_t>::min();
    constexpr std::int64_t highest = std::numeric_limits<std::int64_t>::max();
    for (const std::int64_t moment : {lowest, lowest + 1, -(std::int64_t{1} << 59), std::int64_t{-1'000'000'000'000},
                                      std::int64_t{-2'208'988'800}, std::int64_t{-1}, std::int64_t{0},
                                      std::int64_t{2'147'483'647}, std::int64_t{2'147'483'648},
                                      std::int64_t{4'102'444'800}, std::int64_t{1} << 59, highest - 1, highest,
                                      fromInput}) {
        const std::int64_t offset = zone->offsetSeconds(moment);
        if (offset <= -25 * 3600 || offset >= 26 * 3600) {
            std::abort();
        }
    }
    return 0;
}
