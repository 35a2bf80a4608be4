#pragma once

#include <cstdint>

// What the primary header of a FITS file says about its data array. The numbers
// are kept as read (64 bits) and checked by the reader before any of them sizes an
// offset.
struct FitsHeader {
    std::int64_t bitpix = 0;     // BITPIX: sample type (8, 16, 32, -32, -64 are read)
    std::int64_t axes = 0;       // NAXIS: number of axes; 0 without a NAXIS card
    std::int64_t width = 0;      // NAXIS1: samples per row
    std::int64_t height = 0;     // NAXIS2: number of rows
    std::int64_t cardCount = 0;  // 80-byte cards read, the END card included
};

enum FitsHeaderScan : std::int32_t {
    FitsHeaderComplete = 1,  // an END card closed the header
    FitsHeaderNotFits = 2,   // the first card is not SIMPLE (or the file holds no whole card)
    FitsHeaderNoEnd = 3,     // the file ended before an END card
};

// Scans the 80-byte cards in bytes [0, size) until the END card, applying the
// keyword table: a card matches a keyword when its first 8 bytes are the keyword
// padded with spaces, and a value is the number from byte 9 of the card on. Reads
// no byte at or past size, and no value runs past its own card.
FitsHeaderScan scanFitsHeader(const std::uint8_t* bytes, std::uint64_t size, FitsHeader& header);
