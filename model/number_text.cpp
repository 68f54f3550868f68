#include "model/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace quarvell::model {
namespace {

constexpr const char* kOutOfRange = "Out of range";

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

// A non-negative decimal value as significant digits: value = D[0].D[1]D[2]... x 10^exp.
// An empty digit string is zero.
struct Digits {
    std::string d;
    int exp = 0;
};

// The shortest decimal text of |v| rounded to `significant` digits (exact rounding).
Digits ToDigits(double v, int significant) {
    Digits out;
    v = std::fabs(v);
    if (v == 0) {
        return out;
    }
    char buf[64];
    const auto r =
        std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, significant - 1);
    const char* p = buf;
    for (; p != r.ptr && *p != 'e'; ++p) {
        if (IsDigit(*p)) {
            out.d.push_back(*p);
        }
    }
    int e = 0;
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), r.ptr, e);
    out.exp = e;
    while (!out.d.empty() && out.d.back() == '0') {
        out.d.pop_back();
    }
    return out;
}

// Rounds to `keep` significant digits, halves away from zero (the way the platform's
// pattern formatting rounds its decimal text).
void RoundDigits(Digits& x, int keep) {
    if (keep >= static_cast<int>(x.d.size())) {
        return;
    }
    if (keep < 0) {
        x.d.clear();
        return;
    }
    const bool up = x.d[static_cast<std::size_t>(keep)] >= '5';
    x.d.resize(static_cast<std::size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && x.d[static_cast<std::size_t>(i)] == '9') {
            x.d.pop_back();
            --i;
        }
        if (i < 0) {
            x.d.push_back('1');  // all nines carried over: the string is empty here
            ++x.exp;
        } else {
            ++x.d[static_cast<std::size_t>(i)];
        }
    }
    while (!x.d.empty() && x.d.back() == '0') {
        x.d.pop_back();
    }
}

std::string GeneralTextOf(double value, int significant, const NumberLocale& loc) {
    if (!std::isfinite(value)) {
        return kOutOfRange;
    }
    const Digits x = ToDigits(value, significant);
    if (x.d.empty()) {
        return "0";
    }
    std::string out;
    if (value < 0) {
        out.push_back('-');
    }
    const int count = static_cast<int>(x.d.size());
    if (x.exp >= -5 && x.exp < significant) {
        if (x.exp >= 0) {
            for (int i = 0; i <= x.exp; ++i) {
                out.push_back(i < count ? x.d[static_cast<std::size_t>(i)] : '0');
            }
            if (count > x.exp + 1) {
                out.push_back(loc.decimal);
                out.append(x.d, static_cast<std::size_t>(x.exp + 1));
            }
        } else {
            out.push_back('0');
            out.push_back(loc.decimal);
            out.append(static_cast<std::size_t>(-x.exp - 1), '0');
            out.append(x.d);
        }
        return out;
    }
    out.push_back(x.d[0]);
    if (count > 1) {
        out.push_back(loc.decimal);
        out.append(x.d, 1);
    }
    out.push_back('E');
    out.push_back(x.exp < 0 ? '-' : '+');
    const int e = std::abs(x.exp);
    if (e < 10) {
        out.push_back('0');
    }
    out.append(std::to_string(e));
    return out;
}

// A parsed number-format pattern: literal prefix, the digit placeholders, literal suffix.
struct Pattern {
    std::string prefix;
    std::string suffix;
    int intPlaceholders = 0;
    int intZeros = 0;  // integer digits always shown
    bool grouping = false;
    bool point = false;
    int decMax = 0;  // decimal placeholders
    int decMin = 0;  // decimals always shown (up to the last '0')
    bool scientific = false;
    bool expAlwaysSigned = false;  // "E+" rather than "E-"
    int expDigits = 0;
};

bool IsPlaceholder(char c) {
    return c == '0' || c == '#';
}

// Placeholders after the first literal that follows the number are copied as literals;
// ',' groups wherever it stands among the integer placeholders (the classic scaling
// meaning of a trailing ',' is not used by this program).
Pattern ParsePattern(std::string_view p) {
    Pattern out;
    enum class Where { Before, Number, After } where = Where::Before;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const char c = p[i];
        std::string& literal = where == Where::Before ? out.prefix : out.suffix;
        if (c == '\\') {
            if (i + 1 < p.size()) {
                literal.push_back(p[++i]);
            }
            where = where == Where::Number ? Where::After : where;
            continue;
        }
        if (c == '"') {
            const std::size_t end = p.find('"', i + 1);
            const std::size_t stop = end == std::string_view::npos ? p.size() : end;
            literal.append(p.substr(i + 1, stop - i - 1));
            i = stop;
            where = where == Where::Number ? Where::After : where;
            continue;
        }
        if (where != Where::After) {
            if (IsPlaceholder(c) && !out.scientific) {
                where = Where::Number;
                if (out.point) {
                    ++out.decMax;
                    if (c == '0') {
                        out.decMin = out.decMax;
                    }
                } else {
                    ++out.intPlaceholders;
                    out.intZeros += c == '0' ? 1 : 0;
                }
                continue;
            }
            if (IsPlaceholder(c) && out.scientific) {
                ++out.expDigits;
                continue;
            }
            if (c == '.' && !out.point && !out.scientific) {
                where = Where::Number;
                out.point = true;
                continue;
            }
            if (c == ',' && where == Where::Number && !out.point && !out.scientific) {
                out.grouping = true;
                continue;
            }
            if ((c == 'E' || c == 'e') && where == Where::Number && !out.scientific &&
                i + 1 < p.size() && (p[i + 1] == '+' || p[i + 1] == '-')) {
                out.scientific = true;
                out.expAlwaysSigned = p[i + 1] == '+';
                ++i;
                continue;
            }
            if (where == Where::Number) {
                where = Where::After;
            }
        }
        (where == Where::Before ? out.prefix : out.suffix).push_back(c);
    }
    return out;
}

void AppendGrouped(std::string& out, const std::string& digits, bool grouping, char group) {
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (grouping && i > 0 && (n - i) % 3 == 0) {
            out.push_back(group);
        }
        out.push_back(digits[i]);
    }
}

// Drops trailing zeros of the fraction down to the decimals always shown.
void TrimFraction(std::string& frac, int decMin) {
    while (static_cast<int>(frac.size()) > decMin && frac.back() == '0') {
        frac.pop_back();
    }
}

std::string FormatWith(const Pattern& pat, double value, const NumberLocale& loc) {
    if (!std::isfinite(value)) {
        return kOutOfRange;
    }
    // The platform formats from the 15-digit decimal text of the value.
    Digits x = ToDigits(value, 15);
    std::string intDigits;
    std::string frac;
    std::string expText;
    if (pat.scientific) {
        const int intCount = std::max(pat.intPlaceholders, 1);
        RoundDigits(x, intCount + pat.decMax);
        int shownExp = 0;
        if (!x.d.empty()) {
            shownExp = x.exp - (intCount - 1);
        }
        for (int i = 0; i < intCount + pat.decMax; ++i) {
            const char d =
                i < static_cast<int>(x.d.size()) ? x.d[static_cast<std::size_t>(i)] : '0';
            (i < intCount ? intDigits : frac).push_back(d);
        }
        TrimFraction(frac, pat.decMin);
        expText.push_back('E');
        if (shownExp < 0) {
            expText.push_back('-');
        } else if (pat.expAlwaysSigned) {
            expText.push_back('+');
        }
        std::string e = std::to_string(std::abs(shownExp));
        if (static_cast<int>(e.size()) < pat.expDigits) {
            expText.append(static_cast<std::size_t>(pat.expDigits) - e.size(), '0');
        }
        expText.append(e);
    } else {
        RoundDigits(x, x.exp + 1 + pat.decMax);
        const int count = static_cast<int>(x.d.size());
        if (!x.d.empty() && x.exp >= 0) {
            for (int i = 0; i <= x.exp; ++i) {
                intDigits.push_back(i < count ? x.d[static_cast<std::size_t>(i)] : '0');
            }
        }
        for (int k = 1; k <= pat.decMax; ++k) {
            const int i = x.exp + k;  // digit index of 10^-k
            frac.push_back(!x.d.empty() && i >= 0 && i < count ? x.d[static_cast<std::size_t>(i)]
                                                               : '0');
        }
        TrimFraction(frac, pat.decMin);
        if (static_cast<int>(intDigits.size()) < pat.intZeros) {
            intDigits.insert(0, static_cast<std::size_t>(pat.intZeros) - intDigits.size(), '0');
        }
    }
    std::string out;
    // A value that shows as zero is shown without a sign.
    if (value < 0 && !x.d.empty()) {
        out.push_back('-');
    }
    out.append(pat.prefix);
    AppendGrouped(out, intDigits, pat.grouping, loc.group);
    if (pat.point) {
        out.push_back(loc.decimal);
        out.append(frac);
    }
    out.append(expText);
    out.append(pat.suffix);
    return out;
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
    return GeneralTextOf(static_cast<double>(value), 7, loc);
}

std::string GeneralText(double value, const NumberLocale& loc) {
    return GeneralTextOf(value, 15, loc);
}

std::string FormatPattern(double value, std::string_view pattern, const NumberLocale& loc) {
    return FormatWith(ParsePattern(pattern), value, loc);
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
    // Positions are counted from 1 as in the Part: the character looked at is t[n].
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
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    std::string clean;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') {
            clean.push_back('-');
        }
        ++i;
    }
    int digits = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (IsDigit(text[i])) {
            ++digits;
        } else if (text[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
        clean.push_back(text[i]);
    }
    if (digits == 0) {
        return 0;
    }
    if (i + 1 < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (text[j] == '+' || text[j] == '-') {
            exponent.push_back(text[j]);
            ++j;
        }
        const std::size_t firstDigit = j;
        while (j < text.size() && IsDigit(text[j])) {
            exponent.push_back(text[j++]);
        }
        if (j > firstDigit) {
            if (exponent[1] == '+') {
                exponent.erase(1, 1);
            }
            clean += exponent;
        }
    }
    double value = 0;
    const auto r = std::from_chars(clean.data(), clean.data() + clean.size(), value);
    return r.ec == std::errc() && std::isfinite(value) ? value : 0.0;
}

std::string FormatFit(float fit, const NumberLocale& loc) {
    if (!std::isfinite(fit)) {
        return kOutOfRange;
    }
    const double f = fit;
    if (fit == 0) {
        return "0 Parts/BPc-Hr";
    }
    if (fit >= 1e9F) {
        return FormatPattern(f * 1e-9, "###0.00", loc) + " Parts/Pc-Hr";
    }
    if (fit >= 1e6F) {
        return FormatPattern(f * 1e-6, "###0.00", loc) + " Parts/kPc-Hr";
    }
    if (fit >= 1e3F) {
        return FormatPattern(f * 1e-3, "###0.00", loc) + " Parts/MPc-Hr";
    }
    return FormatPattern(f, fit >= 1 ? "###0.00" : "0.000", loc) + " Parts/BPc-Hr";
}

std::string FormatMtbf(float ratePerHour, const NumberLocale& loc) {
    const double h = 1.0 / static_cast<double>(ratePerHour);
    if (!std::isfinite(h) || std::fabs(h) > std::numeric_limits<float>::max()) {
        return kOutOfRange;
    }
    const float hours = static_cast<float>(h);
    const auto scaled = [&](double unit, std::string_view pattern, const char* words) {
        const float v = static_cast<float>(static_cast<double>(hours) / unit);
        return FormatPattern(v, pattern, loc) + words;
    };
    if (hours < 1000.0F) {
        return FormatPattern(hours, "##0.0", loc) + " Hrs";
    }
    if (static_cast<float>(1e6) > hours) {
        return scaled(1e3, "##0.0", " Thousand-Hrs");
    }
    if (static_cast<float>(1e9) > hours) {
        return scaled(1e6, "##0.0", " Million-Hrs");
    }
    if (static_cast<float>(1e12) > hours) {
        return scaled(1e9, "##0.0", " Billion-Hrs");
    }
    if (static_cast<float>(1e15) > hours) {
        return scaled(1e12, "##0.0", " Trillion-Hrs");
    }
    return scaled(1e15, "###,##0.0", " x10^15 Hrs");
}

}  // namespace quarvell::model
