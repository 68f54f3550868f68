#include "analysis/sheet_numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace quarvell::analysis {
namespace {

TEST(Significant, FourDigitsGroupedThenScientific) {
    const struct {
        double value;
        const char* period;
        const char* comma;
    } cases[] = {
        {0.46023, "0.4602", "0,4602"},
        {0, "0", "0"},
        {1, "1.000", "1,000"},
        {9.99961, "10.00", "10,00"},
        {-2.5, "-2.500", "-2,500"},
        {1234.56, "1,235", "1.235"},
        {248039.2, "248,000", "248.000"},
        {999999999.0, "1.000E+09", "1,000E+09"},
        {2172815000.0, "2.173E+09", "2,173E+09"},
        {0.00012345, "0.0001235", "0,0001235"},
        {0.000046023, "4.602E-05", "4,602E-05"},
        {std::numeric_limits<double>::infinity(), "Out of range", "Out of range"},
        {std::nan(""), "Out of range", "Out of range"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(Significant(c.value, model::kPeriodLocale), c.period);
        EXPECT_EQ(Significant(c.value, model::kCommaLocale), c.comma);
    }
}

TEST(Tidy, GivesTheDoubleOfTheSinglesShortestText) {
    EXPECT_EQ(Tidy(1.706214F), 1.706214);
    EXPECT_EQ(Tidy(0.00005F), 0.00005);
    EXPECT_EQ(Tidy(3.3000002F), 3.3000002);
    EXPECT_EQ(Tidy(-7.5e-12F), -7.5e-12);
    EXPECT_TRUE(std::isinf(Tidy(std::numeric_limits<float>::infinity())));
}

}  // namespace
}  // namespace quarvell::analysis
