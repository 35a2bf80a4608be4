#pragma once

#include <cstdint>

// What the text label at the start of a PDS IMG file says about its samples. The
// numbers are kept as read (64 bits) and checked by the reader before any of them
// sizes an offset.
struct PdsImgLabel {
    std::int64_t sampleBits = 0;    // SAMPLE_BITS: bits per sample
    std::int64_t width = 0;         // LINE_SAMPLES: samples per line
    std::int64_t height = 0;        // LINES: number of lines
    std::int64_t recordBytes = 0;   // RECORD_BYTES: bytes per record
    std::int64_t imageRecord = 0;   // ^IMAGE: record of the first sample, counting from 1
    std::int32_t lineCount = 0;     // label lines read, the END line included
};

enum PdsImgLabelScan : std::int32_t {
    PdsImgLabelComplete = 1,  // an END line closed the label
    PdsImgLabelNotPds = 2,    // neither of the first two lines names the PDS version, or END came first
    PdsImgLabelNoEnd = 3,     // the file ended before an END line
};

// Scans the label in bytes [0, size) line by line until its END line, applying
// the keyword table: the first keyword that the line (after leading spaces) starts
// with decides, and a value is the number after the line's first "=". Reads no
// byte at or past size.
PdsImgLabelScan scanPdsImgLabel(const std::uint8_t* bytes, std::uint64_t size, PdsImgLabel& label);
