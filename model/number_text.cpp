#include "model/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <system_error>
#include <utility>

namespace quarvell::model {
namespace {

constexpr const char* kOutOfRange = "Out of range";

// The units are part of the patterns, so that each text is written in one go.
constexpr NumberPattern kFitPc{"###0.00\" Parts/Pc-Hr\""};
constexpr NumberPattern kFitKPc{"###0.00\" Parts/kPc-Hr\""};
constexpr NumberPattern kFitMPc{"###0.00\" Parts/MPc-Hr\""};
constexpr NumberPattern kFitBPc{"###0.00\" Parts/BPc-Hr\""};
constexpr NumberPattern kFitBPcBelowOne{"0.000\" Parts/BPc-Hr\""};
constexpr NumberPattern kHours{"##0.0\" Hrs\""};
constexpr NumberPattern kThousandHours{"##0.0\" Thousand-Hrs\""};
constexpr NumberPattern kMillionHours{"##0.0\" Million-Hrs\""};
constexpr NumberPattern kBillionHours{"##0.0\" Billion-Hrs\""};
constexpr NumberPattern kTrillionHours{"##0.0\" Trillion-Hrs\""};
constexpr NumberPattern kPeta{"###,##0.0\" x10^15 Hrs\""};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The scanned form of a numeric text, ready for std::from_chars (which never looks at the
// process locale and takes no '+' sign).
struct Scanned {
    std::string clean;  // [-]digits[.digits][e[-]digits]
    // Decimal order of the leading significant digit (value ~ 10^order); only meaningful
    // when some digit is not zero.
    long order = 0;
    bool allZero = true;
};

std::optional<Scanned> Scan(std::string_view t, const NumberLocale& loc) {
    std::size_t i = 0;
    std::size_t n = t.size();
    while (i < n && IsBlank(t[i])) {
        ++i;
    }
    while (n > i && IsBlank(t[n - 1])) {
        --n;
    }
    Scanned s;
    s.clean.reserve(n - i + 2);
    if (i < n && (t[i] == '+' || t[i] == '-')) {
        if (t[i] == '-') {
            s.clean.push_back('-');
        }
        ++i;
    }
    long intSignificant = 0;  // integer digits from the first non-zero one on
    long fracLeadingZeros = 0;
    int mantissaDigits = 0;
    bool decimalSeen = false;
    // Group separators count only between groups of digits: one to three before the first
    // separator, exactly three after each one ("1,250.5"), so that "12.5" under a decimal
    // comma is not quietly read as 125.
    bool grouped = false;
    int groupDigits = 0;
    const auto groupsComplete = [&] { return !grouped || groupDigits == 3; };
    for (; i < n; ++i) {
        const char c = t[i];
        if (IsDigit(c)) {
            ++groupDigits;
            ++mantissaDigits;
            s.clean.push_back(c);
            if (c != '0') {
                s.allZero = false;
            }
            if (!decimalSeen && !s.allZero) {
                ++intSignificant;
            } else if (decimalSeen && s.allZero) {
                ++fracLeadingZeros;
            }
        } else if (c == loc.decimal && !decimalSeen) {
            if (!groupsComplete()) {
                return std::nullopt;
            }
            decimalSeen = true;
            s.clean.push_back('.');
        } else if (c == loc.group && !decimalSeen && mantissaDigits > 0) {
            if (grouped ? groupDigits != 3 : groupDigits > 3) {
                return std::nullopt;
            }
            grouped = true;
            groupDigits = 0;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0 || (!decimalSeen && !groupsComplete())) {
        return std::nullopt;
    }
    long exponent = 0;
    if (i < n && (t[i] == 'E' || t[i] == 'e')) {
        ++i;
        s.clean.push_back('e');
        bool negative = false;
        if (i < n && (t[i] == '+' || t[i] == '-')) {
            negative = t[i] == '-';
            if (negative) {
                s.clean.push_back('-');
            }
            ++i;
        }
        int expDigits = 0;
        for (; i < n && IsDigit(t[i]); ++i) {
            ++expDigits;
            s.clean.push_back(t[i]);
            exponent = std::min(exponent * 10 + (t[i] - '0'), 1'000'000L);
        }
        if (expDigits == 0) {
            return std::nullopt;
        }
        if (negative) {
            exponent = -exponent;
        }
    }
    if (i != n) {
        return std::nullopt;
    }
    s.order = (intSignificant > 0 ? intSignificant - 1 : -(fracLeadingZeros + 1)) + exponent;
    return s;
}

__extension__ typedef unsigned __int128 Wide;

constexpr std::array<std::uint64_t, 20> kPow10 = [] {
    std::array<std::uint64_t, 20> p{};
    p[0] = 1;
    for (std::size_t i = 1; i < p.size(); ++i) {
        p[i] = p[i - 1] * 10;
    }
    return p;
}();

int DigitCount(std::uint64_t q) {
    // From the bit length: log10(2) = 0.30103, then one step of correction.
    const int bits = 64 - __builtin_clzll(q | 1);
    const int n = (bits * 1233) >> 12;
    return n + 1 - (n < 20 && q < kPow10[static_cast<std::size_t>(n)] ? 1 : 0);
}

// A non-negative decimal value: q x 10^(exp - count + 1), q of `count` digits without
// trailing zeros, so that exp is the decimal exponent of the leading digit. Zero has count 0.
struct Decimal {
    std::uint64_t q = 0;
    int count = 0;
    int exp = 0;

    void trim() {
        if (q == 0) {
            count = 0;
            return;
        }
        while (q % 10 == 0) {
            q /= 10;
            --count;
        }
    }
    // The digits as text, `count` characters, two at a time.
    void write(char* out) const {
        static constexpr char kPairs[] =
            "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
            "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
            "8081828384858687888990919293949596979899";
        std::uint64_t v = q;
        int i = count;
        while (i >= 2) {
            const auto pair = static_cast<std::size_t>(v % 100) * 2;
            v /= 100;
            out[--i] = kPairs[pair + 1];
            out[--i] = kPairs[pair];
        }
        if (i == 1) {
            out[0] = static_cast<char>('0' + v);
        }
    }
};

// |v| rounded to `significant` digits (at most 17), trailing zeros kept, exactly as the
// correctly rounded decimal text of the binary value, ties to even. 128-bit integer arithmetic
// covers the magnitudes in everyday use; anything else goes through the library's conversion.
Decimal ToDecimal(double v, int significant) {
    Decimal out;
    v = std::fabs(v);
    if (v == 0) {
        return out;
    }
    // v = mantissa x 2^e2, the mantissa odd.
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    const auto biased = static_cast<int>(bits >> 52);
    std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
    int e2 = biased == 0 ? -1074 : biased - 1075;
    if (biased != 0) {
        mantissa |= std::uint64_t{1} << 52;
    }
    const int zeros = __builtin_ctzll(mantissa);
    mantissa >>= zeros;
    e2 += zeros;
    // The decimal exponent from the binary one (log10(2) = 0.30103); at most one too low.
    const int topBit = e2 + 63 - __builtin_clzll(mantissa);
    int e10 = (topBit * 78913) >> 18;
    const auto low = kPow10[static_cast<std::size_t>(significant - 1)];
    const auto high = kPow10[static_cast<std::size_t>(significant)];
    for (int attempt = 0; attempt < 2; ++attempt) {
        // q = round(v x 10^scale) should have `significant` digits.
        const int scale = significant - 1 - e10;
        const int pow2Up = e2 > 0 ? e2 : 0;
        const int pow2Down = e2 < 0 ? -e2 : 0;
        const int pow10Up = scale > 0 ? scale : 0;
        const int pow10Down = scale < 0 ? -scale : 0;
        // Bits: the mantissa's 53, 2^pow2, and log2(10) = 3.3219... per power of ten.
        if (pow10Up >= 20 || pow10Down >= 20 || 53 + pow2Up + (pow10Up * 3322 + 999) / 1000 > 126 ||
            pow2Down + (pow10Down * 3322 + 999) / 1000 > 126) {
            break;
        }
        const Wide numerator = (static_cast<Wide>(mantissa) << pow2Up) * kPow10[pow10Up];
        const Wide denominator = (static_cast<Wide>(1) << pow2Down) * kPow10[pow10Down];
        // Dividing by a power of two alone, as for every value below 10^15, is a shift.
        const Wide quotient = pow10Down == 0 ? numerator >> pow2Down : numerator / denominator;
        if (quotient >= high) {
            ++e10;
            continue;
        }
        const Wide rest = pow10Down == 0 ? numerator & (denominator - 1) : numerator % denominator;
        auto q = static_cast<std::uint64_t>(quotient);
        if (rest * 2 > denominator || (rest * 2 == denominator && (q & 1) != 0)) {
            ++q;
        }
        if (q == high) {  // 9.99... rounded up to the next power of ten
            q = low;
            ++e10;
        }
        return {q, significant, e10};
    }
    char buf[64];
    const auto r =
        std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, significant - 1);
    const char* p = buf;
    for (; p != r.ptr && *p != 'e'; ++p) {
        if (IsDigit(*p)) {
            out.q = out.q * 10 + static_cast<std::uint64_t>(*p - '0');
            ++out.count;
        }
    }
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), r.ptr, out.exp);
    return out;
}

// Rounds to `keep` significant digits, halves away from zero (the way the platform's
// pattern formatting rounds its decimal text).
void RoundDecimal(Decimal& x, int keep) {
    if (keep >= x.count) {
        return;
    }
    if (keep < 0) {
        x = {0, 0, x.exp};
        return;
    }
    const std::uint64_t divisor = kPow10[static_cast<std::size_t>(x.count - keep)];
    const std::uint64_t rest = x.q % divisor;
    x.q /= divisor;
    if (rest >= divisor / 2) {
        ++x.q;
    }
    if (x.q == 0) {
        x.count = 0;
        return;
    }
    // Nines carried over into a new leading digit.
    if (DigitCount(x.q) > keep) {
        ++x.exp;
    }
    x.count = DigitCount(x.q);
    x.trim();
}

// Digits cut at `keep` significant digits, toward zero.
void TruncateDecimal(Decimal& x, int keep) {
    if (keep >= x.count) {
        return;
    }
    if (keep <= 0) {
        x = {0, 0, x.exp};
        return;
    }
    x.q /= kPow10[static_cast<std::size_t>(x.count - keep)];
    x.count = keep;
    x.trim();
}

// Whether a magnitude is beyond what a double holds, so that its text would not read again:
// above 1.7976931348623158E+308, which still reads as the largest double. Rounding the largest
// doubles to fewer digits goes there ("1.80E+308").
bool BeyondDouble(const Decimal& x) {
    if (x.count == 0 || x.exp < 308) {
        return false;
    }
    if (x.exp > 308 || x.count > 17) {
        return true;
    }
    return x.q * kPow10[static_cast<std::size_t>(17 - x.count)] > 17'976'931'348'623'158;
}

// The digits of |v| rounded to `keep` significant digits, or cut toward zero where rounding
// would leave the range of a double.
void RoundWithinDouble(Decimal& x, double v, int keep) {
    RoundDecimal(x, keep);
    if (BeyondDouble(x)) {
        x = ToDecimal(v, 17);
        TruncateDecimal(x, keep);
    }
}

char* AppendExponent(char* out, int e, bool alwaysSigned, int minDigits) {
    *out++ = 'E';
    if (e < 0) {
        *out++ = '-';
    } else if (alwaysSigned) {
        *out++ = '+';
    }
    char buf[8];
    const auto r = std::to_chars(buf, buf + sizeof buf, std::abs(e));
    out = std::fill_n(out, std::max(minDigits - static_cast<int>(r.ptr - buf), 0), '0');
    return std::copy(buf, r.ptr, out);
}

void AppendGeneralOf(std::string& text, double value, int significant, const NumberLocale& loc) {
    if (!std::isfinite(value)) {
        text.append(kOutOfRange);
        return;
    }
    char buffer[48];
    char* out = buffer;
    // Whole numbers below the exponent form, the factors of the tables among them.
    if (value == std::trunc(value) &&
        std::fabs(value) < static_cast<double>(kPow10[static_cast<std::size_t>(significant)])) {
        const auto r = std::to_chars(buffer, buffer + sizeof buffer,
                                     static_cast<std::int64_t>(value == 0 ? 0 : value));
        text.append(buffer, r.ptr);
        return;
    }
    Decimal x = ToDecimal(value, significant);
    x.trim();
    if (BeyondDouble(x)) {
        x = ToDecimal(value, 17);
        TruncateDecimal(x, significant);
    }
    char digits[24];
    x.write(digits);
    const auto count = static_cast<int>(x.count);
    if (value < 0) {
        *out++ = '-';
    }
    if (x.exp >= -5 && x.exp < significant) {
        if (x.exp >= 0) {
            const int intDigits = x.exp + 1;
            out = std::copy_n(digits, std::min(intDigits, count), out);
            if (intDigits > count) {
                out = std::fill_n(out, intDigits - count, '0');
            } else if (count > intDigits) {
                *out++ = loc.decimal;
                out = std::copy(digits + intDigits, digits + count, out);
            }
        } else {
            *out++ = '0';
            *out++ = loc.decimal;
            out = std::fill_n(out, -x.exp - 1, '0');
            out = std::copy_n(digits, count, out);
        }
        text.append(buffer, out);
        return;
    }
    *out++ = digits[0];
    if (count > 1) {
        *out++ = loc.decimal;
        out = std::copy(digits + 1, digits + count, out);
    }
    out = AppendExponent(out, x.exp, true, 2);
    text.append(buffer, out);
}

void AppendWith(std::string& text, const NumberPattern& pat, double value,
                const NumberLocale& loc) {
    if (!std::isfinite(value)) {
        text.append(kOutOfRange);
        return;
    }
    // The platform formats from the 15-digit decimal text of the value.
    Decimal x = ToDecimal(value, 15);
    int intCount = 0;  // integer digits of the value
    int shownExp = 0;
    if (pat.scientific) {
        intCount = std::max(pat.intPlaceholders, 1);
        RoundWithinDouble(x, value, intCount + pat.decMax);
        if (x.count > 0) {
            shownExp = x.exp - (intCount - 1);
        }
    } else {
        RoundWithinDouble(x, value, x.exp + 1 + pat.decMax);
        intCount = x.count > 0 && x.exp >= 0 ? x.exp + 1 : 0;
    }
    char digits[24];
    x.write(digits);
    // The digit of the value at a position from the leading one; zeros beyond the last.
    const auto digit = [&](int i) { return i >= 0 && i < x.count ? digits[i] : '0'; };
    // The fraction's first digit is at this position; none shown without digits.
    const int fracStart = pat.scientific ? intCount : x.exp + 1;
    int fracCount = pat.decMax;
    while (fracCount > pat.decMin && (x.count == 0 || digit(fracStart + fracCount - 1) == '0')) {
        --fracCount;
    }
    const int leadingZeros = pat.scientific ? 0 : std::max(pat.intZeros - intCount, 0);
    const int shown = leadingZeros + intCount;
    if (shown > 400) {
        text.append(kOutOfRange);  // beyond any double
        return;
    }
    // Written into a buffer first, so that the text is allocated once, if at all.
    char buffer[640];
    char* out = buffer;
    // A value that shows as zero is shown without a sign.
    if (value < 0 && x.count > 0) {
        *out++ = '-';
    }
    out = std::copy(pat.prefix.view().begin(), pat.prefix.view().end(), out);
    for (int i = 0; i < shown; ++i) {
        if (pat.grouping && i > 0 && (shown - i) % 3 == 0) {
            *out++ = loc.group;
        }
        *out++ = i < leadingZeros ? '0' : digit(i - leadingZeros);
    }
    if (pat.point) {
        *out++ = loc.decimal;
        for (int k = 0; k < fracCount; ++k) {
            *out++ = x.count == 0 ? '0' : digit(fracStart + k);
        }
    }
    if (pat.scientific) {
        out = AppendExponent(out, shownExp, pat.expAlwaysSigned, pat.expDigits);
    }
    out = std::copy(pat.suffix.view().begin(), pat.suffix.view().end(), out);
    text.append(buffer, out);
}

}  // namespace

bool IsNumeric(std::string_view text, const NumberLocale& loc) {
    return ParseNumber(text, loc).has_value();
}

std::optional<double> ParseNumber(std::string_view text, const NumberLocale& loc) {
    const std::optional<Scanned> s = Scan(text, loc);
    if (!s) {
        return std::nullopt;
    }
    double value = 0;
    const char* first = s->clean.data();
    const char* last = first + s->clean.size();
    const auto r = std::from_chars(first, last, value, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        // Beyond double precision: too large is not a number, too small is zero.
        if (s->order > 0) {
            return std::nullopt;
        }
        return s->clean[0] == '-' ? -0.0 : 0.0;
    }
    if (r.ec != std::errc() || r.ptr != last || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string GeneralText(float value, const NumberLocale& loc) {
    std::string text;
    AppendGeneralOf(text, static_cast<double>(value), 7, loc);
    return text;
}

std::string GeneralText(double value, const NumberLocale& loc) {
    std::string text;
    AppendGeneralOf(text, value, 15, loc);
    return text;
}

void AppendGeneral(std::string& text, float value, const NumberLocale& loc) {
    AppendGeneralOf(text, static_cast<double>(value), 7, loc);
}

std::string FormatPattern(double value, const NumberPattern& pattern, const NumberLocale& loc) {
    std::string text;
    AppendWith(text, pattern, value, loc);
    return text;
}

std::string FormatPattern(double value, std::string_view pattern, const NumberLocale& loc) {
    return FormatPattern(value, NumberPattern(pattern), loc);
}

void AppendFormatted(std::string& text, double value, const NumberPattern& pattern,
                     const NumberLocale& loc) {
    AppendWith(text, pattern, value, loc);
}

float LeadingNumber(std::string_view text, bool decimalIsPoint) {
    const NumberLocale loc = decimalIsPoint ? model::kPeriodLocale : model::kCommaLocale;
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && text[b] == ' ') {
        ++b;
    }
    while (e > b && text[e - 1] == ' ') {
        --e;
    }
    const std::string_view t = text.substr(b, e - b);
    // Positions are counted from 1: the character looked at is t[n].
    std::size_t n = !t.empty() && (t[0] == '+' || t[0] == '-') ? 1 : 0;
    bool decimalSeen = false;
    std::size_t lastGroup = 0;  // position of the last accepted group separator, 0 for none
    while (n < t.size()) {
        const char c = t[n];
        const std::size_t pos = n + 1;
        if (c == loc.decimal) {
            if (decimalSeen) {
                break;
            }
            decimalSeen = true;
            ++n;
        } else if (c == loc.group) {
            if (decimalSeen) {
                break;
            }
            // Three digits between two group separators, as thousands grouping has them.
            if (lastGroup == 0 || pos - lastGroup == 4) {
                lastGroup = pos;
                ++n;
            } else {
                n = lastGroup - 1;
                break;
            }
        } else if (IsDigit(c)) {
            ++n;
        } else {
            break;
        }
    }
    const std::optional<double> v = ParseNumber(t.substr(0, n), loc);
    if (!v) {
        return 0;
    }
    const double magnitude = std::fabs(*v);
    if (magnitude > std::numeric_limits<float>::max()) {
        return 0;
    }
    return static_cast<float>(*v);
}

double PeriodNumberAtStart(std::string_view text) {
    // The longest start of the form [sign]digits[.digits][E[sign]digits], read as a number.
    const auto skip = [&](std::size_t i, auto accept) {
        while (i < text.size() && accept(text[i])) {
            ++i;
        }
        return i;
    };
    const std::size_t start = skip(0, IsBlank);
    std::size_t end =
        start < text.size() && (text[start] == '+' || text[start] == '-') ? start + 1 : start;
    bool point = false;
    end =
        skip(end, [&](char c) { return IsDigit(c) || (c == '.' && !std::exchange(point, true)); });
    if (end < text.size() && (text[end] == 'E' || text[end] == 'e')) {
        std::size_t exponent = end + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) {
            ++exponent;
        }
        const std::size_t digits = skip(exponent, IsDigit);
        end = digits > exponent ? digits : end;
    }
    return ParseNumber(text.substr(start, end - start), kPeriodLocale).value_or(0);
}

void AppendFit(std::string& text, float fit, const NumberLocale& loc) {
    if (!std::isfinite(fit)) {
        text.append(kOutOfRange);
        return;
    }
    const double f = fit;
    if (fit == 0) {
        text.append("0 Parts/BPc-Hr");
    } else if (fit >= 1e9F) {
        AppendWith(text, kFitPc, f * 1e-9, loc);
    } else if (fit >= 1e6F) {
        AppendWith(text, kFitKPc, f * 1e-6, loc);
    } else if (fit >= 1e3F) {
        AppendWith(text, kFitMPc, f * 1e-3, loc);
    } else {
        AppendWith(text, fit >= 1 ? kFitBPc : kFitBPcBelowOne, f, loc);
    }
}

void AppendMtbf(std::string& text, float ratePerHour, const NumberLocale& loc) {
    const double h = 1.0 / static_cast<double>(ratePerHour);
    if (!std::isfinite(h) || std::fabs(h) > std::numeric_limits<float>::max()) {
        text.append(kOutOfRange);
        return;
    }
    const float hours = static_cast<float>(h);
    const auto scaled = [&](double unit, const NumberPattern& pattern) {
        AppendWith(text, pattern, static_cast<float>(static_cast<double>(hours) / unit), loc);
    };
    if (hours < 1000.0F) {
        AppendWith(text, kHours, hours, loc);
    } else if (static_cast<float>(1e6) > hours) {
        scaled(1e3, kThousandHours);
    } else if (static_cast<float>(1e9) > hours) {
        scaled(1e6, kMillionHours);
    } else if (static_cast<float>(1e12) > hours) {
        scaled(1e9, kBillionHours);
    } else if (static_cast<float>(1e15) > hours) {
        scaled(1e12, kTrillionHours);
    } else {
        scaled(1e15, kPeta);
    }
}

std::string FormatFit(float fit, const NumberLocale& loc) {
    std::string text;
    AppendFit(text, fit, loc);
    return text;
}

std::string FormatMtbf(float ratePerHour, const NumberLocale& loc) {
    std::string text;
    AppendMtbf(text, ratePerHour, loc);
    return text;
}

}  // namespace quarvell::model
