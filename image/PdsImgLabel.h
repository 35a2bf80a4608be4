#pragma once

#include <cstdint>

// What the text label at the start of a PDS IMG file says about its samples. The
// numbers are kept as read (64 bits) and checked by the reader before any of them
// sizes an offset.
//
// The label is a PDS3 attached label, as the Planetary Data System Standards
// Reference defines it: statements "KEYWORD = value" of the Object Description
// Language, one to a line, ended by an END statement, with PDS_VERSION_ID on the
// first line or on the second after an SFDU label line. From it the scan takes the
// record length (RECORD_BYTES), the ^IMAGE pointer and, from the IMAGE object,
// LINES, LINE_SAMPLES and SAMPLE_BITS. It reads the language loosely, by the first
// characters of each line: a keyword must open its line after spaces only (not
// tabs) and in upper case, a keyword that begins with one of those above counts as
// it (^IMAGE_HEADER as ^IMAGE), /* */ comments and values continued on the next
// line are not understood, and OBJECT blocks are not followed, so a later LINES of
// another object overrides the image's. Lines may end in CR LF, as the standard
// asks, or in LF alone.
struct PdsImgLabel {
    std::int64_t sampleBits = 0;    // SAMPLE_BITS: bits per sample
    std::int64_t width = 0;         // LINE_SAMPLES: samples per line
    std::int64_t height = 0;        // LINES: number of lines
    std::int64_t recordBytes = 0;   // RECORD_BYTES: bytes per record
    std::int64_t imageRecord = 0;   // ^IMAGE: record of the first sample, counting from 1 (see PdsImgReader)
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
