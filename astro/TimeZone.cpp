#include "astro/TimeZone.h"

#include "platform/ZoneDatabase.h"

#include <algorithm>
#include <utility>

namespace {

// A zone file's header: "TZif", the version, 15 bytes reserved, then six
// big-endian 32-bit counts.
constexpr std::size_t headerBytes = 44;
// The offsets a sound zone file gives, seconds: above -25 h and below +26 h.
constexpr std::int64_t lowestOffsetSeconds = -89'999;
constexpr std::int64_t highestOffsetSeconds = 93'599;

// The counts of a header, each naming how many records of its kind follow.
struct Counts {
    std::uint64_t universalIndicators = 0;  // isutcnt
    std::uint64_t standardIndicators = 0;   // isstdcnt
    std::uint64_t leapSeconds = 0;          // leapcnt
    std::uint64_t transitions = 0;          // timecnt
    std::uint64_t types = 0;                // typecnt
    std::uint64_t abbreviationBytes = 0;    // charcnt
};

// A header's version byte and its counts.
struct Header {
    std::uint8_t version = 0;
    Counts counts;
};

std::uint64_t bigEndian(std::span<const std::uint8_t> bytes) {
    std::uint64_t value = 0;
    for (const std::uint8_t byte : bytes) {
        value = (value << 8) | byte;
    }
    return value;
}

// Reads a zone file from the front, never past its end.
class TzifReader {
public:
    explicit TzifReader(std::span<const std::uint8_t> bytes) : rest(bytes) {}

    bool has(std::uint64_t count) const { return count <= rest.size(); }
    std::size_t left() const { return rest.size(); }

    // The next count bytes; has(count) must hold.
    std::span<const std::uint8_t> take(std::uint64_t count) {
        const std::span<const std::uint8_t> taken = rest.first(static_cast<std::size_t>(count));
        rest = rest.subspan(static_cast<std::size_t>(count));
        return taken;
    }

    // A header, after which its data of timeBytes-wide times must follow
    // whole. The counts are at most 2^32 - 1 each, so no sum overflows.
    Result<Header> header(std::uint64_t timeBytes) {
        if (!has(headerBytes)) {
            return failure("it ends inside a header");
        }
        const std::span<const std::uint8_t> bytes = take(headerBytes);
        if (!std::equal(bytes.begin(), bytes.begin() + 4, "TZif")) {
            return failure("it does not begin as zone files do (TZif)");
        }
        Header read;
        read.version = bytes[4];
        Counts& counts = read.counts;
        counts.universalIndicators = bigEndian(bytes.subspan(20, 4));
        counts.standardIndicators = bigEndian(bytes.subspan(24, 4));
        counts.leapSeconds = bigEndian(bytes.subspan(28, 4));
        counts.transitions = bigEndian(bytes.subspan(32, 4));
        counts.types = bigEndian(bytes.subspan(36, 4));
        counts.abbreviationBytes = bigEndian(bytes.subspan(40, 4));
        if (counts.types == 0 || (counts.universalIndicators != 0 && counts.universalIndicators != counts.types) ||
            (counts.standardIndicators != 0 && counts.standardIndicators != counts.types)) {
            return failure("its header's counts do not agree");
        }
        if (!has(dataBytes(counts, timeBytes))) {
            return failure("it ends inside its data");
        }
        return read;
    }

    // The length of the data after a header: the transitions' times and type
    // indices, the local time types (6 bytes each), the abbreviations, the
    // leap-second records (a time and a 32-bit correction each) and the
    // indicators.
    static std::uint64_t dataBytes(const Counts& counts, std::uint64_t timeBytes) {
        return counts.transitions * (timeBytes + 1) + counts.types * 6 + counts.abbreviationBytes +
               counts.leapSeconds * (timeBytes + 4) + counts.standardIndicators + counts.universalIndicators;
    }

private:
    std::span<const std::uint8_t> rest;
};

// A whole number of timeBytes bytes as the signed count it stands for.
std::int64_t signedTime(std::span<const std::uint8_t> bytes) {
    const std::uint64_t value = bigEndian(bytes);
    if (bytes.size() == 4) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    }
    return static_cast<std::int64_t>(value);
}

}  // namespace

Result<TimeZone> TimeZone::fromTzif(std::span<const std::uint8_t> bytes) {
    TzifReader reader(bytes);
    Result<Header> header = reader.header(4);
    if (!header) {
        return failure(header.error());
    }
    // Version 1 has the byte 0; later versions an ASCII digit from '2' on, and
    // a second header and data with 64-bit times after the first data.
    const bool wide = header->version >= '2';
    if (header->version != 0 && !wide) {
        return failure("its version is unknown");
    }
    const std::uint64_t timeBytes = wide ? 8 : 4;
    if (wide) {
        reader.take(TzifReader::dataBytes(header->counts, 4));
        header = reader.header(timeBytes);
        if (!header) {
            return failure(header.error());
        }
    }
    const Counts& counts = header->counts;

    TimeZone zone;
    zone.transitionsUnixSeconds.reserve(counts.transitions);
    for (std::uint64_t i = 0; i < counts.transitions; ++i) {
        const std::int64_t moment = signedTime(reader.take(timeBytes));
        if (!zone.transitionsUnixSeconds.empty() && moment <= zone.transitionsUnixSeconds.back()) {
            return failure("its transitions are out of order");
        }
        zone.transitionsUnixSeconds.push_back(moment);
    }
    const std::span<const std::uint8_t> typeIndices = reader.take(counts.transitions);
    std::vector<std::int32_t> typeOffsets;
    typeOffsets.reserve(counts.types);
    for (std::uint64_t i = 0; i < counts.types; ++i) {
        // utoff (signed 32 bits), isdst, the abbreviation's index.
        const std::int64_t offset = signedTime(reader.take(6).first(4));
        if (offset < lowestOffsetSeconds || offset > highestOffsetSeconds) {
            return failure("it gives an offset beyond a day");
        }
        typeOffsets.push_back(static_cast<std::int32_t>(offset));
    }
    zone.offsetsAfterSeconds.reserve(counts.transitions);
    for (const std::uint8_t index : typeIndices) {
        if (index >= typeOffsets.size()) {
            return failure("a transition leads to a time type it does not have");
        }
        zone.offsetsAfterSeconds.push_back(typeOffsets[index]);
    }
    zone.firstOffsetSeconds = typeOffsets.front();
    // The abbreviations, the leap seconds and the indicators are not needed.
    reader.take(counts.abbreviationBytes + counts.leapSeconds * (timeBytes + 4) + counts.standardIndicators +
                counts.universalIndicators);
    if (!wide) {
        return zone;
    }

    // The footer: the rule for the moments after the last transition between
    // two line feeds, empty when the file gives none.
    if (!reader.has(1) || reader.take(1)[0] != '\n') {
        return failure("its closing rule is missing");
    }
    const std::span<const std::uint8_t> footer = reader.take(reader.left());
    const auto lineEnd = std::find(footer.begin(), footer.end(), '\n');
    if (lineEnd == footer.end()) {
        return failure("its closing rule is cut short");
    }
    const std::string_view ruleText(reinterpret_cast<const char*>(footer.data()),
                                    static_cast<std::size_t>(lineEnd - footer.begin()));
    if (!ruleText.empty()) {
        zone.laterRule = ZoneRule::parse(ruleText);
        if (!zone.laterRule) {
            return failure("its closing rule cannot be read");
        }
    }
    return zone;
}

std::int64_t TimeZone::offsetSeconds(std::int64_t unixSeconds) const {
    if (laterRule && (transitionsUnixSeconds.empty() || unixSeconds > transitionsUnixSeconds.back())) {
        return laterRule->offsetSeconds(unixSeconds);
    }
    // The last transition at or before the moment sets its offset.
    const auto after = std::upper_bound(transitionsUnixSeconds.begin(), transitionsUnixSeconds.end(), unixSeconds);
    if (after == transitionsUnixSeconds.begin()) {
        return firstOffsetSeconds;
    }
    return offsetsAfterSeconds[static_cast<std::size_t>(after - transitionsUnixSeconds.begin()) - 1];
}

Result<TimeZone> loadTimeZone(std::string_view name) {
    return loadTimeZone(platform::zoneDatabaseFolder(), name);
}

Result<TimeZone> loadTimeZone(const std::filesystem::path& folder, std::string_view name) {
    const Result<std::string> bytes = platform::readZoneFile(folder, name);
    if (!bytes) {
        return failure(bytes.error());
    }
    Result<TimeZone> zone =
        TimeZone::fromTzif(std::span(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()));
    if (!zone) {
        return failure("the file of time zone " + std::string(name) + " cannot be used: " + zone.error());
    }
    return zone;
}
