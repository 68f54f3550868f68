#include "model/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace quarvell::model {
namespace {

using platform::kCommaLocale;
using platform::kPeriodLocale;

struct NumericCase {
    const char* text;
    std::optional<double> period;  // value under the period convention, or not numeric
    std::optional<double> comma;   // the same under the comma convention
};

constexpr std::optional<double> kNo = std::nullopt;

TEST(NumericTest, AcceptsWhatTheClassicLocaleAwareTestAccepts) {
    const NumericCase cases[] = {
        {"12", 12, 12},
        {"  12  ", 12, 12},
        {"\t7\t", 7, 7},
        {"+1.5", 1.5, 15},
        {"-1,5", -15, -1.5},
        {"1,234.5", 1234.5, kNo},  // a group separator after the decimal one is not numeric
        {"1.234,5", kNo, 1234.5},
        {"1,2", 12, 1.2},  // group separators are taken loosely among integer digits
        {"1,", 1, 1},
        {"1.5E3", 1500, 15000},
        {"2,5e-3", 25e-3, 2.5e-3},
        {"1e+2", 100, 100},
        {".5", 0.5, kNo},
        {"5.", 5, 5},
        {",5", kNo, 0.5},
        {"0", 0, 0},
        {"-0", -0.0, -0.0},
        {"1e-400", 0, 0},  // below double precision: zero
        {"", kNo, kNo},
        {"   ", kNo, kNo},
        {"+", kNo, kNo},
        {"-", kNo, kNo},
        {".", kNo, kNo},
        {",", kNo, kNo},
        {"1.2.3", kNo, 123},
        {"1,2,3", 123, kNo},
        {"1e", kNo, kNo},
        {"1e+", kNo, kNo},
        {"e5", kNo, kNo},
        {"abc", kNo, kNo},
        {"12a", kNo, kNo},
        {"1 2", kNo, kNo},
        {"- 1", kNo, kNo},
        {"1e400", kNo, kNo},  // beyond double precision
        {"0x10", kNo, kNo},
    };
    for (const NumericCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseNumber(c.text, kPeriodLocale), c.period);
        EXPECT_EQ(IsNumeric(c.text, kPeriodLocale), c.period.has_value());
        EXPECT_EQ(ParseNumber(c.text, kCommaLocale), c.comma);
        EXPECT_EQ(IsNumeric(c.text, kCommaLocale), c.comma.has_value());
    }
}

TEST(GeneralText, SingleHasSevenDigitsAndExponentFormOutsideTheUsualMagnitudes) {
    const struct {
        float value;
        const char* period;
        const char* comma;
    } cases[] = {
        {0, "0", "0"},
        {-0.0F, "0", "0"},
        {1, "1", "1"},
        {0.066F, "0.066", "0,066"},
        {0.66F, "0.66", "0,66"},
        {-0.15F, "-0.15", "-0,15"},
        {6.7F, "6.7", "6,7"},
        {398, "398", "398"},
        {1.0F / 3, "0.3333333", "0,3333333"},
        {0.00005F, "0.00005", "0,00005"},
        {0.00001F, "0.00001", "0,00001"},
        {0.000001F, "1E-06", "1E-06"},
        {2.6E-9F, "2.6E-09", "2,6E-09"},
        {9999999, "9999999", "9999999"},
        {1.5E7F, "1.5E+07", "1,5E+07"},
        {12345678, "1.234568E+07", "1,234568E+07"},
        {-1E20F, "-1E+20", "-1E+20"},
        {1.23E-12F, "1.23E-12", "1,23E-12"},
        {std::numeric_limits<float>::infinity(), "Out of range", "Out of range"},
        {std::numeric_limits<float>::quiet_NaN(), "Out of range", "Out of range"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.period);
        EXPECT_EQ(GeneralText(c.value, kPeriodLocale), c.period);
        EXPECT_EQ(GeneralText(c.value, kCommaLocale), c.comma);
    }
}

TEST(GeneralText, DoubleHasFifteenDigits) {
    EXPECT_EQ(GeneralText(12.5, kPeriodLocale), "12.5");
    EXPECT_EQ(GeneralText(12.5, kCommaLocale), "12,5");
    EXPECT_EQ(GeneralText(0.1, kPeriodLocale), "0.1");
    EXPECT_EQ(GeneralText(1.0 / 3, kPeriodLocale), "0.333333333333333");
    EXPECT_EQ(GeneralText(12345678.0, kPeriodLocale), "12345678");
    EXPECT_EQ(GeneralText(123456789012345.0, kPeriodLocale), "123456789012345");
    EXPECT_EQ(GeneralText(1E15, kPeriodLocale), "1E+15");
    EXPECT_EQ(GeneralText(2.6E-9, kPeriodLocale), "2.6E-09");
    EXPECT_EQ(GeneralText(1E-300, kPeriodLocale), "1E-300");
}

TEST(FormatPattern, AppliesThePatternsOfTheModel) {
    const struct {
        double value;
        const char* pattern;
        const char* period;
        const char* comma;
    } cases[] = {
        {1.6982436, "##0.000", "1.698", "1,698"},
        {0.0451, "##0.000", "0.045", "0,045"},
        {1234.5, "##0.000", "1234.500", "1234,500"},
        {0.3162278, "###0.000", "0.316", "0,316"},
        {109674.961, "#,##0.000", "109,674.961", "109.674,961"},
        {1234567.891, "##,##0.000", "1,234,567.891", "1.234.567,891"},
        {12.0, "##,##0.000", "12.000", "12,000"},
        {1.194030, "#0.00", "1.19", "1,19"},
        {0.8, "0.0", "0.8", "0,8"},
        {0.5, "0.00E+00", "5.00E-01", "5,00E-01"},
        {0, "0.00E+00", "0.00E+00", "0,00E+00"},
        {12345, "0.00E+00", "1.23E+04", "1,23E+04"},
        {9.996, "0.00E+00", "1.00E+01", "1,00E+01"},
        {-1.5E-120, "0.00E+00", "-1.50E-120", "-1,50E-120"},
        {0.125, "0.00", "0.13", "0,13"},  // halves away from zero
        {2.675, "0.00", "2.68", "2,68"},  // from the 15-digit text of the value
        {-1.5, "##0.0", "-1.5", "-1,5"},
        {-0.001, "0.00", "0.00", "0,00"},  // shown as zero: no sign
        {999.999, "###0.00", "1000.00", "1000,00"},
        {2500, "###,##0.0", "2,500.0", "2.500,0"},
        {0.5, "#.00", ".50", ",50"},
        {12.345, "#0.00\\%/kPcHr", "12.35%/kPcHr", "12,35%/kPcHr"},
        {0.05, "0.00\\%/kPcHr", "0.05%/kPcHr", "0,05%/kPcHr"},
        {0.005, "0.000\\%/kPcHr", "0.005%/kPcHr", "0,005%/kPcHr"},
        {0.5, "##0.00PPM/kPcHr", "0.50PPM/kPcHr", "0,50PPM/kPcHr"},
        {7, "\\S= 0", "S= 7", "S= 7"},
        {std::numeric_limits<double>::infinity(), "##0.000", "Out of range", "Out of range"},
        {std::nan(""), "#0.00", "Out of range", "Out of range"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " " + c.period);
        EXPECT_EQ(FormatPattern(c.value, c.pattern, kPeriodLocale), c.period);
        EXPECT_EQ(FormatPattern(c.value, c.pattern, kCommaLocale), c.comma);
    }
}

TEST(LeadingNumber, ReadsTheNumberAtTheStartInBothConventions) {
    const struct {
        const char* text;
        float period;
        float comma;
    } cases[] = {
        {"+85\u00B0C", 85, 85},
        {"+105\u00B0C", 105, 105},
        {"+125\u00B0C", 125, 125},
        {"+150\u00B0C", 150, 150},
        {"  125  ", 125, 125},
        {"1,234.5x", 1234.5F, 1.234F},
        {"1.234,5x", 1.234F, 1234.5F},
        {"1,234,567", 1234567, 1.234F},
        {"1,2,3", 1, 1.2F},  // a misplaced group separator cuts back before the first one
        {"1.2.3", 1.2F, 1},
        {"-12.5.3", -12.5F, -12},
        {"1.5,3", 1.5F, 15.3F},
        {"abc", 0, 0},
        {"", 0, 0},
        {"-", 0, 0},
        {"+", 0, 0},
        {"1e5", 1, 1},  // no exponent in a leading number
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(LeadingNumber(c.text, true), c.period);
        EXPECT_EQ(LeadingNumber(c.text, false), c.comma);
    }
}

TEST(PeriodNumberAtStart, ReadsWithAPeriodWhateverTheLocale) {
    EXPECT_DOUBLE_EQ(PeriodNumberAtStart(".8"), 0.8);
    EXPECT_DOUBLE_EQ(PeriodNumberAtStart("1"), 1);
    EXPECT_DOUBLE_EQ(PeriodNumberAtStart("1.25 x Rated"), 1.25);
    EXPECT_DOUBLE_EQ(PeriodNumberAtStart("2.0 x Rated"), 2);
    EXPECT_DOUBLE_EQ(PeriodNumberAtStart(" -.5"), -0.5);
    EXPECT_DOUBLE_EQ(PeriodNumberAtStart("1e1x"), 10);
    EXPECT_DOUBLE_EQ(PeriodNumberAtStart("1ex"), 1);
    EXPECT_DOUBLE_EQ(PeriodNumberAtStart("0,7"), 0);
    EXPECT_DOUBLE_EQ(PeriodNumberAtStart("abc"), 0);
    EXPECT_DOUBLE_EQ(PeriodNumberAtStart(""), 0);
    EXPECT_DOUBLE_EQ(PeriodNumberAtStart("1e999"), 0);
}

TEST(FormatFit, ScalesByPowersOfAThousand) {
    const struct {
        float fit;
        const char* period;
        const char* comma;
    } cases[] = {
        {0, "0 Parts/BPc-Hr", "0 Parts/BPc-Hr"},
        {0.0123F, "0.012 Parts/BPc-Hr", "0,012 Parts/BPc-Hr"},
        {0.46024078F, "0.460 Parts/BPc-Hr", "0,460 Parts/BPc-Hr"},
        {0.5F, "0.500 Parts/BPc-Hr", "0,500 Parts/BPc-Hr"},
        {1, "1.00 Parts/BPc-Hr", "1,00 Parts/BPc-Hr"},
        {5.678F, "5.68 Parts/BPc-Hr", "5,68 Parts/BPc-Hr"},
        {999.999F, "1000.00 Parts/BPc-Hr", "1000,00 Parts/BPc-Hr"},  // limit on the raw value
        {1000, "1.00 Parts/MPc-Hr", "1,00 Parts/MPc-Hr"},
        {2500, "2.50 Parts/MPc-Hr", "2,50 Parts/MPc-Hr"},
        {7.5E6F, "7.50 Parts/kPc-Hr", "7,50 Parts/kPc-Hr"},
        {2.5E9F, "2.50 Parts/Pc-Hr", "2,50 Parts/Pc-Hr"},
        {1.5E12F, "1500.00 Parts/Pc-Hr", "1500,00 Parts/Pc-Hr"},
        {std::numeric_limits<float>::infinity(), "Out of range", "Out of range"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.period);
        EXPECT_EQ(FormatFit(c.fit, kPeriodLocale), c.period);
        EXPECT_EQ(FormatFit(c.fit, kCommaLocale), c.comma);
    }
}

float RateOfFit(float fit) {
    return static_cast<float>(static_cast<double>(fit) / 1e9);
}

// The largest rate whose hours (1 / rate, in single precision) reach `hours`; no single
// rate gives exactly 1000 hours, the nearest gives 1000.0001.
float RateGivingAtLeast(float hours) {
    float r = static_cast<float>(1.0 / hours);
    while (static_cast<float>(1.0 / r) < hours) {
        r = std::nextafter(r, 0.0F);
    }
    EXPECT_LT(static_cast<float>(1.0 / r), hours * 1.000001F);
    return r;
}

TEST(FormatMtbf, NamesTheHoursInWords) {
    const struct {
        float rate;
        const char* period;
        const char* comma;
    } cases[] = {
        {RateOfFit(0.46024078F), "2.2 Billion-Hrs", "2,2 Billion-Hrs"},
        {RateOfFit(2), "500.0 Million-Hrs", "500,0 Million-Hrs"},
        {RateOfFit(1500), "666.7 Thousand-Hrs", "666,7 Thousand-Hrs"},
        {RateOfFit(1E7F), "100.0 Hrs", "100,0 Hrs"},
        {RateGivingAtLeast(1000), "1.0 Thousand-Hrs", "1,0 Thousand-Hrs"},
        {RateOfFit(1E6F), "1000.0 Hrs", "1000,0 Hrs"},  // 999.99994 hours, rounded by the pattern
        {static_cast<float>(1 / 999999.9), "1000.0 Thousand-Hrs", "1000,0 Thousand-Hrs"},
        {static_cast<float>(1 / 3E12), "3.0 Trillion-Hrs", "3,0 Trillion-Hrs"},
        {static_cast<float>(1 / 2.5E18), "2,500.0 x10^15 Hrs", "2.500,0 x10^15 Hrs"},
        {0, "Out of range", "Out of range"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.period);
        EXPECT_EQ(FormatMtbf(c.rate, kPeriodLocale), c.period);
        EXPECT_EQ(FormatMtbf(c.rate, kCommaLocale), c.comma);
    }
}

}  // namespace
}  // namespace quarvell::model
