#include "image/FitsHeader.h"

#include "FitsTestCards.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

using fitstest::card;
using fitstest::valueCard;

namespace {

struct Scanned {
    FitsHeaderScan result;
    FitsHeader header;
};

Scanned scan(const std::string& bytes) {
    Scanned s{};
    s.result = scanFitsHeader(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), s.header);
    return s;
}

}  // namespace

TEST(FitsHeader, ReadsTheGeometryCards) {
    const Scanned s = scan(fitstest::header(-32, 640, 480));
    EXPECT_EQ(s.result, FitsHeaderComplete);
    EXPECT_EQ(s.header.bitpix, -32);
    EXPECT_EQ(s.header.axes, 2);
    EXPECT_EQ(s.header.width, 640);
    EXPECT_EQ(s.header.height, 480);
    EXPECT_EQ(s.header.cardCount, 6);
}

// A card matches only when all 8 keyword bytes are the keyword padded with spaces.
TEST(FitsHeader, KeywordsMatchAllEightBytes) {
    struct Case {
        std::string card;
        std::int64_t axes, width, height;
    };
    const Case cases[] = {
        {valueCard("NAXIS3", 4), 0, 0, 0},
        {valueCard("NAXIS", 3), 3, 0, 0},
        {valueCard("NAXIS1", 9), 0, 9, 0},
        {valueCard("NAXIS2", 8), 0, 0, 8},
        {card("NAXIS2A =                    8"), 0, 0, 0},
        {card(" NAXIS  =                    2"), 0, 0, 0},
        {card("naxis   =                    2"), 0, 0, 0},
        // A value that does not begin with a number leaves the field as it was.
        {card("NAXIS   = 'two'"), 0, 0, 0},
        {card("NAXIS1  =                 -12 / negative"), 0, -12, 0},
    };
    for (const Case& c : cases) {
        const Scanned s = scan(card("SIMPLE  =                    T") + c.card + card("END"));
        EXPECT_EQ(s.result, FitsHeaderComplete) << c.card;
        EXPECT_EQ(s.header.axes, c.axes) << c.card;
        EXPECT_EQ(s.header.width, c.width) << c.card;
        EXPECT_EQ(s.header.height, c.height) << c.card;
    }
}

// The first card must be SIMPLE, whatever its value; fewer than 80 bytes hold no
// card at all, and the scan stops at the end of the bytes it is given.
TEST(FitsHeader, FirstCardAndEndCard) {
    const std::string simple = card("SIMPLE  =                    T");
    const std::pair<std::string, FitsHeaderScan> cases[] = {
        {card("SIMPLE  =                    F") + card("END"), FitsHeaderComplete},
        {valueCard("BITPIX", 8) + simple + card("END"), FitsHeaderNotFits},
        {card("XTENSION= 'IMAGE   '") + card("END"), FitsHeaderNotFits},
        {simple.substr(0, 79), FitsHeaderNotFits},
        {"", FitsHeaderNotFits},
        {simple, FitsHeaderNoEnd},
        {simple + valueCard("NAXIS", 2), FitsHeaderNoEnd},
        {simple + card("END").substr(0, 79), FitsHeaderNoEnd},  // an END card cut short
    };
    for (const auto& [bytes, expected] : cases) {
        EXPECT_EQ(scan(bytes).result, expected) << bytes;
    }
    const Scanned s = scan(simple + card("END") + card("JUNK"));
    EXPECT_EQ(s.result, FitsHeaderComplete);
    EXPECT_EQ(s.header.cardCount, 2);
}

// A blank value field does not borrow digits from the card after it.
TEST(FitsHeader, ValuesStayInsideTheirCard) {
    const std::string simple = card("SIMPLE  =                    T");
    const Scanned s = scan(simple + card("NAXIS1  =") + card("12345678=                    5") + card("END"));
    EXPECT_EQ(s.result, FitsHeaderComplete);
    EXPECT_EQ(s.header.width, 0);
    // A value written up to the card's last byte is read whole.
    std::string full = "NAXIS2  =";
    full.resize(70, ' ');
    full += "1234567890";
    EXPECT_EQ(scan(simple + full + card("END")).header.height, 1234567890);
}
