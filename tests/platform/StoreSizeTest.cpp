#include "platform/StoreSize.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {
constexpr std::int64_t int32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t int64Max = std::numeric_limits<std::int64_t>::max();
}  // namespace

// Products near both limits: the last that fits and the first that does not,
// whichever factor carries it past, and the ones that would wrap if multiplied
// in 64 bits unchecked.
TEST(StoreSize, ProductsStopAtTheirLimits) {
    EXPECT_EQ(checkedProduct(3, 4, 5), 60);
    EXPECT_EQ(checkedProduct(0, int64Max, int64Max), 0);
    EXPECT_EQ(checkedProduct(int64Max, 1), int64Max);
    EXPECT_FALSE(checkedProduct(int64Max / 2 + 1, 2));
    EXPECT_FALSE(checkedProduct(2, 2, int64Max / 2));
    EXPECT_FALSE(checkedProduct(int32Max, int32Max, 12));  // 12-byte elements on two 32-bit sides
    EXPECT_FALSE(checkedProduct(-1, 1));
    EXPECT_FALSE(checkedProduct(1, 1, -1));

    EXPECT_EQ(storeBytes(3, 0, 100), 0);
    EXPECT_EQ(storeBytes(int32Max, 1), int32Max);
    EXPECT_FALSE(storeBytes(int32Max + 1, 1));
    EXPECT_FALSE(storeBytes(3, 65536, 10923));  // 2^31 + 2 bytes
    EXPECT_EQ(storeBytes(3, 65536, 10922), 2147352576);
    EXPECT_FALSE(storeBytes(int32Max, int32Max, 4));
    EXPECT_FALSE(storeBytes(-3, -1));
}

// Sides as decoders give them: unsigned 32-bit, and 64-bit from headers.
TEST(StoreSize, PictureSidesAreFromOneToThe32BitLimit) {
    EXPECT_FALSE(isPictureSide(0U));
    EXPECT_TRUE(isPictureSide(1U));
    EXPECT_TRUE(isPictureSide(static_cast<std::uint32_t>(int32Max)));
    EXPECT_FALSE(isPictureSide(static_cast<std::uint32_t>(int32Max) + 1U));
    EXPECT_FALSE(isPictureSide(std::int64_t{-1}));
    EXPECT_FALSE(isPictureSide(int32Max + 1));
}
