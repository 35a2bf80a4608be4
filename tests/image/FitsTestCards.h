#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Builds FITS headers card by card for the tests: each card is padded with spaces
// to 80 bytes, with no line ends, as the format stores them.
namespace fitstest {

inline std::string card(std::string_view text) {
    std::string c(text.substr(0, 80));
    c.resize(80, ' ');
    return c;
}

// A keyword card with an integer value right-justified in bytes 10 to 29.
inline std::string valueCard(std::string_view keyword, long long value) {
    std::string c(keyword);
    c.resize(8, ' ');
    c += "= ";
    std::string number = std::to_string(value);
    c += std::string(number.size() < 20 ? 20 - number.size() : 0, ' ') + number;
    return card(c);
}

// A whole primary header: SIMPLE, BITPIX, NAXIS, NAXIS1, NAXIS2, fillerCards
// comment cards, END, then spaces up to the next 2880-byte boundary.
inline std::string header(long long bitpix, long long width, long long height, int fillerCards = 0,
                          long long axes = 2) {
    std::string h = card("SIMPLE  =                    T");
    h += valueCard("BITPIX", bitpix);
    h += valueCard("NAXIS", axes);
    h += valueCard("NAXIS1", width);
    h += valueCard("NAXIS2", height);
    for (int i = 0; i < fillerCards; ++i) {
        h += card("COMMENT filler");
    }
    h += card("END");
    h.resize((h.size() + 2879) / 2880 * 2880, ' ');
    return h;
}

}  // namespace fitstest
