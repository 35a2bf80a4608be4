#pragma once

#include <cstdint>

// What the primary header of a FITS file says about its data array. The numbers
// are kept as read (64 bits) and checked by the reader before any of them sizes an
// offset.
//
// The scan follows the FITS Standard (version 4.0 of the IAU FITS Working Group;
// version 3.0 is Pence et al. 2010, Astronomy & Astrophysics 524, A42) in the
// layout of the header: 80-character keyword records, the keyword in columns
// 1–8, left-justified and padded with blanks, upper case only, SIMPLE as the
// first keyword and END as the last. It reads only the mandatory keywords that
// size the data (BITPIX, NAXIS, NAXIS1, NAXIS2) and departs from the standard
// where a strict reader would refuse: the mandatory order after SIMPLE is not
// checked, SIMPLE = F (a file that says it does not conform) is taken like T,
// the value indicator "= " in columns 9–10 is not looked for, and a value is
// read in free format from column 10 on, up to the first byte that is not part
// of the integer, which reads the standard's fixed format (right-justified in
// columns 11–30) as well.
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

// Scans the 80-byte cards (keyword records) in bytes [0, size) until the END
// card, applying the keyword table: a card matches a keyword when its first 8
// bytes are the keyword padded with spaces, and a value is the number from byte 9
// (column 10) of the card on. Reads no byte at or past size, and no value runs
// past its own card.
FitsHeaderScan scanFitsHeader(const std::uint8_t* bytes, std::uint64_t size, FitsHeader& header);
