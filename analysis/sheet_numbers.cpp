#include "analysis/sheet_numbers.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "model/number_text.h"

namespace quarvell::analysis {

namespace {

constexpr int kDigits = 4;

}  // namespace

double Tidy(float v) {
    if (!std::isfinite(v)) {
        return static_cast<double>(v);
    }
    char buffer[32];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer - 1, v);
    *r.ptr = '\0';
    return std::strtod(buffer, nullptr);
}

std::string Significant(double v, const model::NumberLocale& locale) {
    if (!std::isfinite(v)) {
        return "Out of range";
    }
    if (v == 0) {
        return "0";
    }
    // The decade after rounding to the digits shown: 9.9996 is 10.00.
    int decade = static_cast<int>(std::floor(std::log10(std::fabs(v))));
    const double scaled = std::nearbyint(std::fabs(v) / std::pow(10.0, decade - kDigits + 1));
    if (scaled >= std::pow(10.0, kDigits)) {
        ++decade;
    }
    if (decade < -4 || decade >= 9) {
        return model::FormatPattern(v, "0.000E+00", locale);
    }
    const int decimals = decade >= kDigits - 1 ? 0 : kDigits - 1 - decade;
    if (decimals == 0) {
        // Whole numbers keep only their leading digits: 248,039.2 is 248,000.
        const double unit = std::pow(10.0, decade - kDigits + 1);
        v = std::nearbyint(v / unit) * unit;
    }
    std::string pattern = "#,##0";
    if (decimals > 0) {
        pattern += '.';
        pattern.append(static_cast<std::size_t>(decimals), '0');
    }
    return model::FormatPattern(v, pattern, locale);
}

}  // namespace quarvell::analysis
