// Number text in both separator conventions: the numeric test, the general text, the format
// patterns, leading numbers, FIT and MTBF.

#include "model/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <utility>

namespace quarvell::model {
namespace {

using model::kCommaLocale;
using model::kPeriodLocale;

constexpr std::optional<double> kNo = std::nullopt;
constexpr double kInf = std::numeric_limits<double>::infinity();

// A value and its text under the period and under the comma convention.
struct Texts {
    double value;
    const char* period;
    const char* comma;
};

template <typename Format>
void ExpectBothConventions(Format format, std::initializer_list<Texts> cases) {
    for (const Texts& c : cases) {
        SCOPED_TRACE(c.period);
        EXPECT_EQ(format(c.value, kPeriodLocale), c.period);
        EXPECT_EQ(format(c.value, kCommaLocale), c.comma);
    }
}

// The same through a function of a single-precision value.
template <std::string (*Format)(float, const NumberLocale&)>
std::string Single(double value, const NumberLocale& loc) {
    return Format(static_cast<float>(value), loc);
}

TEST(NumericTest, AcceptsWhatTheClassicLocaleAwareTestAccepts) {
    const struct {
        const char* text;
        std::optional<double> period;  // the value under each convention, or not numeric
        std::optional<double> comma;
    } cases[] = {
        {"  12  ", 12, 12},
        {"-1,5", kNo, -1.5},
        {"1,234.5", 1234.5, kNo},
        {"1.234,5", kNo, 1234.5},
        {"1,2", kNo, 1.2},
        {"1,", kNo, 1},
        {"2,5e-3", kNo, 2.5e-3},
        {".5", 0.5, kNo},
        {"5.", 5, kNo},
        {"-0", -0.0, -0.0},
        {"1e-400", 0, 0},
        {"", kNo, kNo},
        {"+", kNo, kNo},
        {".", kNo, kNo},
        {"1.2.3", kNo, kNo},
        // A group separator only between groups of three digits.
        {"12.5", 12.5, kNo},
        {"1,,5", kNo, kNo},
        {"1,234,567", 1234567, kNo},
        {"1234,567", kNo, 1234.567},
        {"1,2345", kNo, 1.2345},
        {"-1.250,5e1", kNo, -12505},
        {"1e", kNo, kNo},
        {"e5", kNo, kNo},
        {"1 2", kNo, kNo},
        {"1e400", kNo, kNo},
        {"0x10", kNo, kNo},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseNumber(c.text, kPeriodLocale), c.period);
        EXPECT_EQ(IsNumeric(c.text, kPeriodLocale), c.period.has_value());
        EXPECT_EQ(ParseNumber(c.text, kCommaLocale), c.comma);
        EXPECT_EQ(IsNumeric(c.text, kCommaLocale), c.comma.has_value());
    }
}

TEST(GeneralText, SevenDigitsForSingleFifteenForDoubleAndExponentFormOutsideTheUsualRange) {
    ExpectBothConventions(Single<GeneralText>, {{-0.0F, "0", "0"},
                                                {-0.15F, "-0.15", "-0,15"},
                                                {1.0F / 3, "0.3333333", "0,3333333"},
                                                {0.00001F, "0.00001", "0,00001"},
                                                {2.6E-9F, "2.6E-09", "2,6E-09"},
                                                {9999999, "9999999", "9999999"},
                                                {12345678, "1.234568E+07", "1,234568E+07"},
                                                {kInf, "Out of range", "Out of range"},
                                                {std::nan(""), "Out of range", "Out of range"}});
    EXPECT_EQ(GeneralText(1.0 / 3, kCommaLocale), "0,333333333333333");
    EXPECT_EQ(GeneralText(123456789012345.0, kPeriodLocale), "123456789012345");
    EXPECT_EQ(GeneralText(1E15, kPeriodLocale), "1E+15");
}

TEST(FormatPattern, AppliesThePatternsOfTheModel) {
    const struct {
        double value;
        const char* pattern;
        const char* period;
        const char* comma;
    } cases[] = {
        {1.6982436, "##0.000", "1.698", "1,698"},
        {109674.961, "#,##0.000", "109,674.961", "109.674,961"},
        {1234567.891, "##,##0.000", "1,234,567.891", "1.234.567,891"},
        {0.5, "0.00E+00", "5.00E-01", "5,00E-01"},
        {9.996, "0.00E+00", "1.00E+01", "1,00E+01"},
        {-1.5E-120, "0.00E+00", "-1.50E-120", "-1,50E-120"},
        {0.125, "0.00", "0.13", "0,13"},   // halves away from zero
        {2.675, "0.00", "2.68", "2,68"},   // from the 15-digit text of the value
        {-0.001, "0.00", "0.00", "0,00"},  // shown as zero: no sign
        {999.999, "###0.00", "1000.00", "1000,00"},
        {0.5, "#.00", ".50", ",50"},
        {12.345, "#0.00\\%/kPcHr", "12.35%/kPcHr", "12,35%/kPcHr"},
        {0.5, "##0.00PPM/kPcHr", "0.50PPM/kPcHr", "0,50PPM/kPcHr"},
        {7, "\\S= 0", "S= 7", "S= 7"},
        {kInf, "##0.000", "Out of range", "Out of range"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " " + c.period);
        EXPECT_EQ(FormatPattern(c.value, c.pattern, kPeriodLocale), c.period);
        EXPECT_EQ(FormatPattern(c.value, c.pattern, kCommaLocale), c.comma);
    }
}

// Rounding the largest doubles to the digits shown would go past the largest double, whose
// text no longer reads as a number: those are cut toward zero instead.
TEST(NumberText, TheLargestDoublesFormatToTextsThatReadAgain) {
    const double largest = std::numeric_limits<double>::max();
    const struct {
        double value;
        const char* pattern;  // nullptr: the general text
        const char* period;
    } cases[] = {
        {largest, nullptr, "1.79769313486231E+308"},
        {-largest, nullptr, "-1.79769313486231E+308"},
        {1.7976931348623e308, "0.00E+00", "1.79E+308"},
        {-largest, "0.00E+00", "-1.79E+308"},
        {1.7976931348623e308, "0.0000000000000E+00", "1.7976931348623E+308"},
        {1.75e308, "0.0E+00", "1.7E+308"},
        {1.65e308, "0.0E+00", "1.7E+308"},  // within range: rounded as ever
        {9.9999999999999999e307, "0.00E+00", "1.00E+308"},
    };
    for (const auto& c : cases) {
        const std::string text = c.pattern == nullptr
                                     ? GeneralText(c.value, kPeriodLocale)
                                     : FormatPattern(c.value, c.pattern, kPeriodLocale);
        SCOPED_TRACE(text);
        EXPECT_EQ(text, c.period);
        EXPECT_TRUE(IsNumeric(text, kPeriodLocale));
    }
    // The integer digits of the fixed patterns show the whole value, which reads again.
    const std::string fixed = FormatPattern(largest, "#,##0.000", kCommaLocale);
    EXPECT_TRUE(fixed.starts_with("179.769.313.486.231.")) << fixed;
    EXPECT_TRUE(IsNumeric(fixed, kCommaLocale)) << fixed;
}

TEST(LeadingNumber, ReadsTheNumberAtTheStartInBothConventions) {
    const struct {
        const char* text;
        float period;
        float comma;
    } cases[] = {
        {"+85\u00B0C", 85, 85},
        {"  125  ", 125, 125},
        {"1,234.5x", 1234.5F, 1.234F},
        {"1.234,5x", 1.234F, 1234.5F},
        {"1,234,567", 1234567, 1.234F},
        {"1,2,3", 1, 1.2F},  // a misplaced group separator cuts back before the first one
        {"-12.5.3", -12.5F, -12},
        {"abc", 0, 0},
        {"1e5", 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(LeadingNumber(c.text, true), c.period);
        EXPECT_EQ(LeadingNumber(c.text, false), c.comma);
    }
    // With a period whatever the locale, no group separators.
    const std::pair<const char*, double> periodCases[] = {{".8", 0.8},    {"1.25 x Rated", 1.25},
                                                          {" -.5", -0.5}, {"1e1x", 10},
                                                          {"0,7", 0},     {"1e999", 0}};
    for (const auto& [text, value] : periodCases) {
        EXPECT_DOUBLE_EQ(PeriodNumberAtStart(text), value) << text;
    }
}

TEST(FormatFit, ScalesByPowersOfAThousand) {
    ExpectBothConventions(
        Single<FormatFit>,
        {{0, "0 Parts/BPc-Hr", "0 Parts/BPc-Hr"},
         {0.46024078F, "0.460 Parts/BPc-Hr", "0,460 Parts/BPc-Hr"},
         {1, "1.00 Parts/BPc-Hr", "1,00 Parts/BPc-Hr"},
         {999.999F, "1000.00 Parts/BPc-Hr", "1000,00 Parts/BPc-Hr"},  // limit on the raw value
         {1000, "1.00 Parts/MPc-Hr", "1,00 Parts/MPc-Hr"},
         {7.5E6F, "7.50 Parts/kPc-Hr", "7,50 Parts/kPc-Hr"},
         {1.5E12F, "1500.00 Parts/Pc-Hr", "1500,00 Parts/Pc-Hr"},
         {kInf, "Out of range", "Out of range"}});
}

TEST(FormatMtbf, NamesTheHoursInWords) {
    // No single-precision rate gives exactly 1000 hours: the largest that reaches them.
    auto rate1000 = static_cast<float>(1.0 / 1000);
    while (static_cast<float>(1.0 / rate1000) < 1000) {
        rate1000 = std::nextafter(rate1000, 0.0F);
    }
    ExpectBothConventions(
        Single<FormatMtbf>,
        {{0.46024078F / 1e9, "2.2 Billion-Hrs", "2,2 Billion-Hrs"},
         {2 / 1e9, "500.0 Million-Hrs", "500,0 Million-Hrs"},
         {1500 / 1e9, "666.7 Thousand-Hrs", "666,7 Thousand-Hrs"},
         {rate1000, "1.0 Thousand-Hrs", "1,0 Thousand-Hrs"},
         {1E6 / 1e9, "1000.0 Hrs", "1000,0 Hrs"},  // 999.99994 hours, rounded by the pattern
         {1 / 999999.9, "1000.0 Thousand-Hrs", "1000,0 Thousand-Hrs"},
         {1 / 3E12, "3.0 Trillion-Hrs", "3,0 Trillion-Hrs"},
         {1 / 5E15, "5.0 x10^15 Hrs", "5,0 x10^15 Hrs"},
         {1 / 2.5E18, "2,500.0 x10^15 Hrs", "2.500,0 x10^15 Hrs"},
         {0, "Out of range", "Out of range"}});
}

}  // namespace
}  // namespace quarvell::model
