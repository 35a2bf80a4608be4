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

// Where a zone file's data lie and how wide its times are: the header of a
// file of version 1, or for a later version the second header, whose data
// with 64-bit times follow the first data.
struct Layout {
    Counts counts;
    std::uint64_t timeBytes = 4;  // 4 or 8
};

Result<Layout> readLayout(TzifReader& reader) {
    Result<Header> header = reader.header(4);
    if (!header) {
        return failure(header.error());
    }
    // Version 1 has the byte 0; later versions an ASCII digit from '2' on.
    const bool wide = header->version >= '2';
    if (header->version != 0 && !wide) {
        return failure("its version is unknown");
    }
    if (!wide) {
        return Layout{header->counts, 4};
    }
    reader.take(TzifReader::dataBytes(header->counts, 4));
    header = reader.header(8);
    if (!header) {
        return failure(header.error());
    }
    return Layout{header->counts, 8};
}

// The moments of the transitions, which must ascend strictly.
Result<std::vector<std::int64_t>> readTransitions(TzifReader& reader, std::uint64_t count, std::uint64_t timeBytes) {
    std::vector<std::int64_t> moments;
    moments.reserve(count);
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::int64_t moment = signedTime(reader.take(timeBytes));
        if (!moments.empty() && moment <= moments.back()) {
            return failure("its transitions are out of order");
        }
        moments.push_back(moment);
    }
    return moments;
}

// The offset of each local time type: utoff (signed 32 bits), then isdst and
// the abbreviation's index, which are not needed.
Result<std::vector<std::int32_t>> readTypeOffsets(TzifReader& reader, std::uint64_t count) {
    std::vector<std::int32_t> offsets;
    offsets.reserve(count);
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::int64_t offset = signedTime(reader.take(6).first(4));
        if (offset < lowestOffsetSeconds || offset > highestOffsetSeconds) {
            return failure("it gives an offset beyond a day");
        }
        offsets.push_back(static_cast<std::int32_t>(offset));
    }
    return offsets;
}

// The offset from each transition on, through its time type.
Result<std::vector<std::int32_t>> offsetsAfterTransitions(std::span<const std::uint8_t> typeIndices,
                                                          const std::vector<std::int32_t>& typeOffsets) {
    std::vector<std::int32_t> offsets;
    offsets.reserve(typeIndices.size());
    for (const std::uint8_t index : typeIndices) {
        if (index >= typeOffsets.size()) {
            return failure("a transition leads to a time type it does not have");
        }
        offsets.push_back(typeOffsets[index]);
    }
    return offsets;
}

// The footer: the rule for the moments after the last transition between two
// line feeds; none when the file gives an empty one.
Result<std::optional<ZoneRule>> readClosingRule(TzifReader& reader) {
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
    if (ruleText.empty()) {
        return std::optional<ZoneRule>();
    }
    std::optional<ZoneRule> rule = ZoneRule::parse(ruleText);
    if (!rule) {
        return failure("its closing rule cannot be read");
    }
    return rule;
}

}  // namespace

Result<TimeZone> TimeZone::fromTzif(std::span<const std::uint8_t> bytes) {
    TzifReader reader(bytes);
    const Result<Layout> layout = readLayout(reader);
    if (!layout) {
        return failure(layout.error());
    }
    const Counts& counts = layout->counts;
    Result<std::vector<std::int64_t>> transitions = readTransitions(reader, counts.transitions, layout->timeBytes);
    if (!transitions) {
        return failure(transitions.error());
    }
    const std::span<const std::uint8_t> typeIndices = reader.take(counts.transitions);
    const Result<std::vector<std::int32_t>> typeOffsets = readTypeOffsets(reader, counts.types);
    if (!typeOffsets) {
        return failure(typeOffsets.error());
    }
    Result<std::vector<std::int32_t>> offsetsAfter = offsetsAfterTransitions(typeIndices, *typeOffsets);
    if (!offsetsAfter) {
        return failure(offsetsAfter.error());
    }
    TimeZone zone;
    zone.transitionsUnixSeconds = std::move(*transitions);
    zone.offsetsAfterSeconds = std::move(*offsetsAfter);
    zone.firstOffsetSeconds = typeOffsets->front();
    // The abbreviations, the leap seconds and the indicators are not needed.
    reader.take(counts.abbreviationBytes + counts.leapSeconds * (layout->timeBytes + 4) +
                counts.standardIndicators + counts.universalIndicators);
    if (layout->timeBytes == 4) {
        return zone;
    }
    Result<std::optional<ZoneRule>> laterRule = readClosingRule(reader);
    if (!laterRule) {
        return failure(laterRule.error());
    }
    zone.laterRule = *laterRule;
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
