#pragma once
// Number text: the numeric test, text-to-number conversion, the general (shortest) number
// text and the format patterns ("##0.000", "#,##0.000", "0.00E+00", "#0.00\%/kPcHr", ...).
// Every function takes the decimal and group separators explicitly; nothing here reads the
// process-wide C or C++ locale.

#include <optional>
#include <string>
#include <string_view>

#include "model/number_locale.h"

namespace quarvell::model {

using model::NumberLocale;

// The platform's numeric test: blanks around the number, an optional sign, digits with the
// locale's group separators, the decimal separator, an optional exponent. The empty text and
// a lone sign or separator are not numeric.
bool IsNumeric(std::string_view text, const NumberLocale& loc);

// The value of a numeric text (double precision), or nothing when it is not numeric.
std::optional<double> ParseNumber(std::string_view text, const NumberLocale& loc);

// The shortest text of a single-precision value, at most 7 significant digits, no trailing
// zeros, plain decimal form from 1E-05 up to below 1E+07, otherwise "2.6E-09", "1.5E+07".
std::string GeneralText(float value, const NumberLocale& loc);

// The same for a double-precision value, at most 15 significant digits; plain decimal form
// up to below 1E+15, as the platform writes doubles. A value that is not finite (which the
// model never passes) gives "Out of range", never "inf" or "nan"; so do FormatPattern,
// FormatFit and FormatMtbf.
std::string GeneralText(double value, const NumberLocale& loc);

// Applies a number-format pattern (see the patterns above); rounding to the nearest at the
// last shown digit.
std::string FormatPattern(double value, std::string_view pattern, const NumberLocale& loc);

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

}  // namespace quarvell::model
