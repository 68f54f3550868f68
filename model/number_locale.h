#pragma once

namespace quarvell::model {

// The separators numbers are written with. Number text is always converted with an explicit
// locale, never with the process-wide one.
struct NumberLocale {
    char decimal = '.';
    char group = ',';
    friend bool operator==(const NumberLocale&, const NumberLocale&) = default;
};

inline constexpr NumberLocale kPeriodLocale{'.', ','};
inline constexpr NumberLocale kCommaLocale{',', '.'};

}  // namespace quarvell::model
