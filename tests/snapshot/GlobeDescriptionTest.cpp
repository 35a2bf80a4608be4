#include "tools/snapshot/GlobeDescription.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstddef>
#include <string>
#include <vector>

namespace {

// The numbers of a one-line JSON object, in the order they stand, each read
// back with from_chars.
std::vector<double> numbersOf(const std::string& json) {
    std::vector<double> numbers;
    for (std::size_t i = 0; i < json.size();) {
        const char c = json[i];
        const bool starts = (c >= '0' && c <= '9') || c == '-';
        // Names such as "moon_km" hold no digits that could start a number.
        if (!starts || json[i - 1] == '_') {
            ++i;
            continue;
        }
        double value = 0.0;
        const auto result = std::from_chars(json.data() + i, json.data() + json.size(), value);
        EXPECT_EQ(result.ec, std::errc()) << json.substr(i);
        numbers.push_back(value);
        i = static_cast<std::size_t>(result.ptr - json.data());
    }
    return numbers;
}

// Every number reads back as the double that was computed, the Earth's distance
// of 1.5 × 10⁸ km included, whose tenth significant digit is 100 m.
TEST(GlobeDescription, EveryNumberReadsBackExactly) {
    for (const double julianDayUtc : {2451545.0, 2461383.4375, 2461384.0416666665, 2446977.5}) {
        const GlobeGeometry g = globeGeometry(julianDayUtc);
        const std::vector<double> expected{
            g.julianDayUtc, g.tMillennia, g.earthKm.x, g.earthKm.y, g.earthKm.z, g.moonKm.x, g.moonKm.y,
            g.moonKm.z, g.subsolarLongitudeDeg, g.subsolarLatitudeDeg, g.moonPhaseAngleDeg,
            g.moonIlluminatedFraction, g.subEarthLongitudeDeg, g.subEarthLatitudeDeg,
            g.moonSubsolarLongitudeDeg, g.moonSubsolarLatitudeDeg};
        const std::string json = describeGlobes(g);
        const std::vector<double> read = numbersOf(json);
        ASSERT_EQ(read.size(), expected.size()) << json;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(read[i], expected[i]) << "number " << i << " of " << json;
        }
    }
}

TEST(GlobeDescription, FieldNamesInOrder) {
    const std::string json = describeGlobes(globeGeometry(2451545.0));
    std::size_t at = 0;
    for (const char* name : {"jd_utc", "t_millennia", "earth_km", "moon_km", "subsolar_lon_deg",
                             "subsolar_lat_deg", "moon_phase_angle_deg", "moon_illuminated_fraction",
                             "sub_earth_lon_deg", "sub_earth_lat_deg", "moon_subsolar_lon_deg",
                             "moon_subsolar_lat_deg"}) {
        const std::size_t found = json.find(std::string("\"") + name + "\": ", at);
        ASSERT_NE(found, std::string::npos) << name << " in " << json;
        at = found;
    }
    EXPECT_EQ(json.front(), '{');
    EXPECT_EQ(json.back(), '}');
}

}  // namespace
