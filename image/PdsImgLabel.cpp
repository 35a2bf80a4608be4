#include "image/PdsImgLabel.h"

#include "image/LabelNumber.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

enum class LabelKey { SampleBits, LineSamples, Lines, RecordBytes, Image, EndOfObject, End, PdsVersion, Other };

struct KeywordEntry {
    std::string_view keyword;
    LabelKey key;
};

// Tested in this order, each as a prefix of the line. The order matters only
// where one keyword begins another: END_ (the closing lines END_OBJECT and
// END_GROUP) must come before END, which would otherwise end the label there.
// No other keyword begins another (LINES and LINE_SAMPLES part at their fifth
// character), so the rest could stand in any order. Being prefixes, ^IMAGE also
// takes a ^IMAGE_HEADER line, as older labels expect.
constexpr KeywordEntry keywordTable[] = {
    {"SAMPLE_BITS", LabelKey::SampleBits}, {"LINE_SAMPLES", LabelKey::LineSamples},
    {"LINES", LabelKey::Lines},            {"RECORD_BYTES", LabelKey::RecordBytes},
    {"^IMAGE", LabelKey::Image},           {"END_", LabelKey::EndOfObject},
    {"END", LabelKey::End},                {"PDS_VERSION", LabelKey::PdsVersion},
};

LabelKey classify(const std::uint8_t* line, const std::uint8_t* lineEnd) {
    const auto available = static_cast<std::size_t>(lineEnd - line);
    for (const KeywordEntry& entry : keywordTable) {
        if (available >= entry.keyword.size() &&
            std::memcmp(line, entry.keyword.data(), entry.keyword.size()) == 0) {
            return entry.key;
        }
    }
    return LabelKey::Other;
}

}  // namespace

PdsImgLabelScan scanPdsImgLabel(const std::uint8_t* bytes, std::uint64_t size, PdsImgLabel& label) {
    const std::uint8_t* at = bytes;
    const std::uint8_t* const fileEnd = bytes + size;
    bool pdsMark = false;
    while (at < fileEnd) {
        while (at < fileEnd && *at == ' ') {
            ++at;
        }
        const std::uint8_t* lineEnd = std::find(at, fileEnd, static_cast<std::uint8_t>('\n'));
        // The value is whatever follows the line's first "="; it never reaches into
        // the next line.
        const std::uint8_t* equals = std::find(at, lineEnd, static_cast<std::uint8_t>('='));
        const std::uint8_t* value = equals < lineEnd ? equals + 1 : nullptr;
        bool endMark = false;
        std::int64_t* field = nullptr;
        switch (classify(at, lineEnd)) {
            case LabelKey::SampleBits: field = &label.sampleBits; break;
            case LabelKey::LineSamples: field = &label.width; break;
            case LabelKey::Lines: field = &label.height; break;
            case LabelKey::RecordBytes: field = &label.recordBytes; break;
            case LabelKey::Image: field = &label.imageRecord; break;
            case LabelKey::End: endMark = true; break;
            case LabelKey::PdsVersion: pdsMark = true; break;
            case LabelKey::EndOfObject:
            case LabelKey::Other: break;
        }
        // A keyword line without "=" supplies no value, and neither does a value
        // that does not begin with a number (such as a pointer to another file).
        if (field != nullptr && value != nullptr) {
            readLabelNumber(value, lineEnd, *field);
        }
        ++label.lineCount;
        at = lineEnd < fileEnd ? lineEnd + 1 : fileEnd;
        // An END line on the first line cannot make a file without a version line
        // a PDS file either.
        if (!pdsMark && (label.lineCount > 1 || endMark)) {
            return PdsImgLabelNotPds;
        }
        if (endMark) {
            return PdsImgLabelComplete;
        }
    }
    return PdsImgLabelNoEnd;
}
