// Number texts: whatever reads as a number must format back to text that reads again, close to
// the value, under both separator conventions; no text shows a number that is none.
//
// Input: one settings byte (bit 0: decimal comma), then the text.

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "fuzz/fuzz_check.h"
#include "model/number_text.h"

namespace {

using quarvell::fuzz::Require;
using quarvell::fuzz::ShowsNonFinite;
using namespace quarvell::model;

// The patterns the window and the texts use, with the number of decimals each shows (-1:
// scientific, two decimals of the mantissa).
struct PatternCase {
    NumberPattern pattern;
    std::string_view suffix;
    int decimals;
};
const PatternCase kPatterns[] = {
    {NumberPattern("##0.000"), "", 3},
    {NumberPattern("#,##0.000"), "", 3},
    {NumberPattern("##,##0.000"), "", 3},
    {NumberPattern("#0.00"), "", 2},
    {NumberPattern("0.000"), "", 3},
    {NumberPattern("0.0"), "", 1},
    {NumberPattern("###,##0.0"), "", 1},
    {NumberPattern("0.00E+00"), "", -1},
    {NumberPattern("#0.00\\%/kPcHr"), "%/kPcHr", 2},
    {NumberPattern("0.000\\%/kPcHr"), "%/kPcHr", 3},
    {NumberPattern("##0.00PPM/kPcHr"), "PPM/kPcHr", 2},
};

std::string Describe(std::string_view what, std::string_view text) {
    return std::string(what) + " \"" + std::string(text) + "\"";
}

// Reads a formatted text again; it must be a number within `tolerance` of the value.
void RequireReadsBack(std::string_view text, double value, double tolerance,
                      const NumberLocale& loc, std::string_view rule) {
    const std::optional<double> again = ParseNumber(text, loc);
    Require(again.has_value(), rule, Describe("does not read as a number:", text));
    Require(std::fabs(*again - value) <= tolerance, rule,
            Describe("reads back too far from the value:", text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quarvell::fuzz::Input input(data, size);
    const NumberLocale loc = (input.take() & 1) != 0 ? kCommaLocale : kPeriodLocale;
    const std::string_view text = input.rest();

    // The readers that never refuse give finite numbers for any text.
    Require(std::isfinite(LeadingNumber(text, loc == kPeriodLocale)), "LeadingNumber is finite");
    Require(std::isfinite(PeriodNumberAtStart(text)), "PeriodNumberAtStart is finite");

    const std::optional<double> value = ParseNumber(text, loc);
    Require(IsNumeric(text, loc) == value.has_value(), "IsNumeric agrees with ParseNumber");
    if (!value) {
        return 0;
    }
    const double v = *value;
    Require(std::isfinite(v), "a number read is finite");
    const double tiny = std::numeric_limits<double>::denorm_min();

    // The general text of a double keeps 15 significant digits.
    const std::string general = GeneralText(v, loc);
    RequireReadsBack(general, v, std::fabs(v) * 1e-14 + tiny, loc,
                     "the general text of a number reads again");

    for (const PatternCase& c : kPatterns) {
        std::string formatted = FormatPattern(v, c.pattern, loc);
        Require(!ShowsNonFinite(formatted), "a pattern shows no nan or inf", formatted);
        Require(formatted.ends_with(c.suffix), "a pattern keeps its literal", formatted);
        formatted.resize(formatted.size() - c.suffix.size());
        // Rounded at the last decimal shown, from 15 significant digits.
        const double tolerance = c.decimals < 0
                                     ? std::fabs(v) * 5.1e-3
                                     : 0.51 * std::pow(10.0, -c.decimals) + std::fabs(v) * 1e-14;
        RequireReadsBack(formatted, v, tolerance, loc, "a formatted number reads again");
    }

    if (!IsFiniteSingle(v)) {
        return 0;
    }
    const auto f = static_cast<float>(v);
    const double fd = f;
    const std::string single = GeneralText(f, loc);
    RequireReadsBack(single, fd, std::fabs(fd) * 1e-6 + std::numeric_limits<float>::denorm_min(),
                     loc, "the general text of a single reads again");

    // The result texts show a number, or say that there is none to show.
    for (const std::string& shown : {FormatFit(f, loc), FormatMtbf(f, loc)}) {
        Require(!ShowsNonFinite(shown), "FIT and MTBF texts show no nan or inf", shown);
        if (shown == "Out of range") {
            continue;
        }
        const std::size_t blank = shown.find(' ');
        Require(blank != std::string::npos && ParseNumber(shown.substr(0, blank), loc),
                "FIT and MTBF texts start with a number that reads again", shown);
    }
    return 0;
}
