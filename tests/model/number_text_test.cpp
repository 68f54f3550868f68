// Number text in both separator conventions: the numeric test, the general text, the format
// patterns, leading numbers, FIT and MTBF. The cases are in number_text.jsonl.

#include "model/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "tests/support/cases.h"

namespace quarvell::model {
namespace {

using Json = nlohmann::json;

// A number of the table; "inf" and "nan" stand for what JSON cannot write.
double Number(const Json& v) {
    if (v.is_string()) {
        return v == "inf" ? std::numeric_limits<double>::infinity() : std::nan("");
    }
    return v.get<double>();
}

// What the case's function gives in one convention, as the table writes it.
Json Result(const Json& c, const NumberLocale& loc, bool period) {
    const std::string f = c[0];
    if (f == "number") {
        const std::string text = c[1];
        const std::optional<double> value = ParseNumber(text, loc);
        EXPECT_EQ(IsNumeric(text, loc), value.has_value()) << text;
        return value ? Json(*value) : Json();
    }
    if (f == "single") {
        return GeneralText(static_cast<float>(Number(c[1])), loc);
    }
    if (f == "double") {
        return GeneralText(Number(c[1]), loc);
    }
    if (f == "pattern") {
        return FormatPattern(Number(c[1]), c[2].get<std::string>(), loc);
    }
    if (f == "leading") {
        return LeadingNumber(c[1].get<std::string>(), period);
    }
    if (f == "fit") {
        return FormatFit(static_cast<float>(Number(c[1])), loc);
    }
    if (f == "mtbf") {
        return FormatMtbf(static_cast<float>(Number(c[1])), loc);
    }
    ADD_FAILURE() << "no function " << f;
    return {};
}

TEST(NumberText, GivesWhatTheTableSaysInBothConventions) {
    const auto cases = testing::ReadCases(QUARVELL_SOURCE_DIR "/tests/model/number_text.jsonl");
    ASSERT_GT(cases.size(), 80U);
    for (const Json& c : cases) {
        SCOPED_TRACE(c.dump());
        if (c[0] == "period") {  // with a period whatever the locale
            EXPECT_DOUBLE_EQ(PeriodNumberAtStart(c[1].get<std::string>()), c[2].get<double>());
            continue;
        }
        const std::size_t n = c.size();
        const Json period = Result(c, kPeriodLocale, true);
        const Json comma = Result(c, kCommaLocale, false);
        // Singles compare as singles.
        if (c[0] == "leading") {
            EXPECT_EQ(period.get<float>(), c[n - 2].get<float>());
            EXPECT_EQ(comma.get<float>(), c[n - 1].get<float>());
        } else {
            EXPECT_EQ(period, c[n - 2]);
            EXPECT_EQ(comma, c[n - 1]);
        }
    }
}

// No single-precision rate gives exactly 1000 hours: the largest that reaches them.
TEST(FormatMtbf, ThousandHoursAreThousandHours) {
    auto rate1000 = static_cast<float>(1.0 / 1000);
    while (static_cast<float>(1.0 / rate1000) < 1000) {
        rate1000 = std::nextafter(rate1000, 0.0F);
    }
    EXPECT_EQ(FormatMtbf(rate1000, kPeriodLocale), "1.0 Thousand-Hrs");
    EXPECT_EQ(FormatMtbf(rate1000, kCommaLocale), "1,0 Thousand-Hrs");
}

// Where rounding to the digits shown would leave the range of a double, the digits are cut
// toward zero, so that the text reads again.
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

}  // namespace
}  // namespace quarvell::model
