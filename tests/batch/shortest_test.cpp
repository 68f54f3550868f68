// The shortest decimal of a single against the standard library's, which the output matched
// before the batch had a writer of its own: every byte the same, for the values a parts list
// gives and for singles of every size.
#include "batch/shortest.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace quarvell::batch {
namespace {

std::string Written(float v) {
    char buffer[kShortestMax];
    return {buffer, WriteShortest(buffer, v)};
}

std::string Expected(float v) {
    if (v == 0) {
        return "0";
    }
    char buffer[kShortestMax];
    return {buffer, std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed).ptr};
}

// The bit patterns that differ, as text for the failure message; empty when none do.
std::string Mismatches(std::uint64_t from, std::uint64_t to, std::uint64_t step) {
    std::string wrong;
    int shown = 0;
    for (std::uint64_t b = from; b < to && shown < 10; b += step) {
        const auto v = std::bit_cast<float>(static_cast<std::uint32_t>(b));
        if (std::isfinite(v) && Written(v) != Expected(v)) {
            wrong += Written(v) + " for " + Expected(v) + "\n";
            ++shown;
        }
    }
    return wrong;
}

TEST(Shortest, TheDigitsThatReadBackInPositionalNotation) {
    const struct {
        float value;
        const char* text;
    } cases[] = {
        {0.0F, "0"},
        {-0.0F, "0"},
        {1, "1"},
        {-2.5F, "-2.5"},
        {0.1F, "0.1"},
        {0.3F, "0.3"},
        {10, "10"},
        {0.00005F, "0.00005"},
        {0.41624948F, "0.41624948"},
        {0.19999999F, "0.19999999"},
        {1.0046296F, "1.0046296"},
        {14807.062F, "14807.062"},
        {16777216.0F, "16777216"},
        // Whole numbers are written exactly, not as their shortest digits padded with zeros.
        {2402405376.0F, "2402405376"},
        {1e10F, "10000000000"},
        {3e10F, "30000001024"},
        {1.17549435e-38F, "0.000000000000000000000000000000000000011754944"},
        {std::numeric_limits<float>::max(), "340282346638528859811704183484516925440"},
        {std::numeric_limits<float>::denorm_min(),
         "0.000000000000000000000000000000000000000000001"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Written(c.value), c.text);
        EXPECT_EQ(Written(c.value), Expected(c.value));
    }
}

// Each power of two with its neighbours (where the rounding interval below is half as wide),
// the values around each power of ten, and the whole numbers where singles turn even.
TEST(Shortest, EdgesOfEveryBinadeAndDecade) {
    for (std::uint32_t exponent = 0; exponent < 255; ++exponent) {
        const std::uint32_t first = exponent << 23;
        EXPECT_EQ(Mismatches(first, first + 64, 1), "");
        EXPECT_EQ(Mismatches(first + (1U << 23) - 64, first + (1U << 23), 1), "");
    }
    for (int e = -37; e <= 38; ++e) {
        const std::string power = "1e" + std::to_string(e);
        float p = 0;
        std::from_chars(power.data(), power.data() + power.size(), p);
        const auto bits = std::bit_cast<std::uint32_t>(p);
        EXPECT_EQ(Mismatches(bits - 16, bits + 16, 1), "") << e;
    }
    EXPECT_EQ(Mismatches(std::bit_cast<std::uint32_t>(8388608.0F) - 100,
                         std::bit_cast<std::uint32_t>(33554432.0F) + 100, 997),
              "");
}

// Bit patterns spread over every single, both signs.
TEST(Shortest, ASpreadOfSinglesOfEverySize) {
    EXPECT_EQ(Mismatches(0, 0x100000000, 9973), "");
}

// Every single: minutes of work, so left to be run by hand
// (--gtest_also_run_disabled_tests --gtest_filter='*EverySingle*').
TEST(Shortest, DISABLED_EverySingle) {
    EXPECT_EQ(Mismatches(0, 0x100000000, 1), "");
}

}  // namespace
}  // namespace quarvell::batch
