#pragma once
// Number text: the numeric test, text-to-number conversion, the general (shortest) number
// text and the format patterns ("##0.000", "#,##0.000", "0.00E+00", "#0.00\%/kPcHr", ...).
// Every function takes the decimal and group separators explicitly; nothing here reads the
// process-wide C or C++ locale.

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "model/number_locale.h"

namespace quarvell::model {

// The platform's numeric test: blanks around the number, an optional sign, digits with the
// locale's group separators, the decimal separator, an optional exponent. The empty text and
// a lone sign or separator are not numeric.
bool IsNumeric(std::string_view text, const NumberLocale& loc);

// The value of a numeric text (double precision), or nothing when it is not numeric.
std::optional<double> ParseNumber(std::string_view text, const NumberLocale& loc);

// Whether a value can be stored as a single: finite and within its range.
inline bool IsFiniteSingle(double v) {
    return std::fabs(v) <= static_cast<double>(std::numeric_limits<float>::max());
}

// The shortest text of a single-precision value, at most 7 significant digits, no trailing
// zeros, plain decimal form from 1E-05 up to below 1E+07, otherwise "2.6E-09", "1.5E+07".
std::string GeneralText(float value, const NumberLocale& loc);

// The same for a double-precision value, at most 15 significant digits; plain decimal form
// up to below 1E+15, as the platform writes doubles. A value that is not finite (which the
// model never passes) gives "Out of range", never "inf" or "nan"; so do FormatPattern,
// FormatFit and FormatMtbf.
std::string GeneralText(double value, const NumberLocale& loc);

// A number-format pattern, parsed once: '0' a digit always shown, '#' a digit shown when
// significant, '.' the decimal separator, ',' among the integer digits asks for grouping,
// "E+00" scientific form, '\' makes the next character literal, "..." quotes a literal, and
// anything else is copied. Placeholders after the first literal that follows the number are
// copied as literals.
class NumberPattern {
  public:
    constexpr explicit NumberPattern(std::string_view pattern) { parse(pattern); }

    // A literal written before or after the number.
    struct Literal {
        std::array<char, 16> text{};
        std::uint8_t size = 0;
        constexpr void push(char c) {
            if (size < text.size()) {
                text[size++] = c;
            }
        }
        std::string_view view() const { return {text.data(), size}; }
    };
    Literal prefix;
    Literal suffix;
    int intZeros = 0;  // integer digits always shown
    int intPlaceholders = 0;
    bool grouping = false;
    bool point = false;
    int decMax = 0;  // decimal placeholders
    int decMin = 0;  // decimals always shown (up to the last '0')
    bool scientific = false;
    bool expAlwaysSigned = false;  // "E+" rather than "E-"
    int expDigits = 0;

  private:
    constexpr void parse(std::string_view p) {
        enum class Where { Before, Number, After } where = Where::Before;
        const auto literal = [&]() -> Literal& { return where == Where::Before ? prefix : suffix; };
        for (std::size_t i = 0; i < p.size(); ++i) {
            const char c = p[i];
            if (c == '\\' || c == '"') {
                if (c == '\\') {
                    if (i + 1 < p.size()) {
                        literal().push(p[++i]);
                    }
                } else {
                    for (++i; i < p.size() && p[i] != '"'; ++i) {
                        literal().push(p[i]);
                    }
                }
                where = where == Where::Number ? Where::After : where;
                continue;
            }
            const bool placeholder = c == '0' || c == '#';
            if (where != Where::After) {
                if (placeholder && scientific) {
                    ++expDigits;
                    continue;
                }
                if (placeholder) {
                    where = Where::Number;
                    if (point) {
                        ++decMax;
                        decMin = c == '0' ? decMax : decMin;
                    } else {
                        ++intPlaceholders;
                        intZeros += c == '0' ? 1 : 0;
                    }
                    continue;
                }
                if (c == '.' && !point && !scientific) {
                    where = Where::Number;
                    point = true;
                    continue;
                }
                if (c == ',' && where == Where::Number && !point && !scientific) {
                    grouping = true;
                    continue;
                }
                if ((c == 'E' || c == 'e') && where == Where::Number && !scientific &&
                    i + 1 < p.size() && (p[i + 1] == '+' || p[i + 1] == '-')) {
                    scientific = true;
                    expAlwaysSigned = p[++i] == '+';
                    continue;
                }
                if (where == Where::Number) {
                    where = Where::After;
                }
            }
            literal().push(c);
        }
    }
};

// Applies a number-format pattern; rounding to the nearest at the last shown digit.
std::string FormatPattern(double value, const NumberPattern& pattern, const NumberLocale& loc);
std::string FormatPattern(double value, std::string_view pattern, const NumberLocale& loc);

// The same two, appended to a text being built.
void AppendFormatted(std::string& text, double value, const NumberPattern& pattern,
                     const NumberLocale& loc);
void AppendGeneral(std::string& text, float value, const NumberLocale& loc);

// The number at the start of text, or 0 when it does not start with one ("+85°C" gives 85).
float LeadingNumber(std::string_view text, bool decimalIsPoint);

// The number at the start of text read with a period as decimal separator whatever the
// locale, no group separators (the classic Val): ".8" gives 0.8, "1.25 x Rated" 1.25, a text
// that does not start with a number 0. Blanks before the number are skipped.
double PeriodNumberAtStart(std::string_view text);

// FIT in engineering units: "0.460 Parts/BPc-Hr", "2.50 Parts/MPc-Hr", ...
std::string FormatFit(float fit, const NumberLocale& loc);

// MTBF of a failure rate per hour, named in words: "2.2 Billion-Hrs", "500.0 Million-Hrs".
std::string FormatMtbf(float ratePerHour, const NumberLocale& loc);

// The same two, appended to a text being built.
void AppendFit(std::string& text, float fit, const NumberLocale& loc);
void AppendMtbf(std::string& text, float ratePerHour, const NumberLocale& loc);

}  // namespace quarvell::model
