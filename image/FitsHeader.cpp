#include "image/FitsHeader.h"

#include "image/LabelNumber.h"

#include <cstring>

namespace {

constexpr std::uint64_t cardBytes = 80;
constexpr std::size_t keywordBytes = 8;
constexpr std::size_t valueColumn = 9;  // first byte of a card that a value is read from

bool cardIs(const std::uint8_t* card, const char (&keyword)[keywordBytes + 1]) {
    return std::memcmp(card, keyword, keywordBytes) == 0;
}

}  // namespace

FitsHeaderScan scanFitsHeader(const std::uint8_t* bytes, std::uint64_t size, FitsHeader& header) {
    bool fitsMark = false;
    for (std::uint64_t at = 0; size - at >= cardBytes; at += cardBytes) {
        const std::uint8_t* card = bytes + at;
        const std::uint8_t* value = card + valueColumn;
        const std::uint8_t* cardEnd = card + cardBytes;
        bool endMark = false;
        // Tested in this order; NAXIS3 and the like match none of them.
        if (cardIs(card, "BITPIX  ")) {
            readLabelNumber(value, cardEnd, header.bitpix);
        } else if (cardIs(card, "NAXIS   ")) {
            readLabelNumber(value, cardEnd, header.axes);
        } else if (cardIs(card, "NAXIS1  ")) {
            readLabelNumber(value, cardEnd, header.width);
        } else if (cardIs(card, "NAXIS2  ")) {
            readLabelNumber(value, cardEnd, header.height);
        } else if (cardIs(card, "END     ")) {
            endMark = true;
        } else if (cardIs(card, "SIMPLE  ")) {
            // T or F alike: the value is not examined.
            fitsMark = true;
        }
        ++header.cardCount;
        if (!fitsMark) {
            return FitsHeaderNotFits;
        }
        if (endMark) {
            return FitsHeaderComplete;
        }
    }
    return header.cardCount == 0 ? FitsHeaderNotFits : FitsHeaderNoEnd;
}
