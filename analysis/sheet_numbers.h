#pragma once
// Numbers as the sheet writes them: results to four significant digits in the number locale,
// and singles handed to the JSON as the shortest decimal that reads back to the same single.

#include <string>

#include "model/number_locale.h"

namespace quarvell::analysis {

// The double whose shortest text is the single's shortest text: 1.706214f gives 1.706214, not
// 1.7062139511108398.
double Tidy(float v);

// Four significant digits with the locale's separators, grouped: "0.4602", "12,345", and
// "2.173E+09" from 10^9 up and below 10^-4. A value that is not finite gives "Out of range".
std::string Significant(double v, const model::NumberLocale& locale);

}  // namespace quarvell::analysis
