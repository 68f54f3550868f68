#include "batch/values.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "catalogue/catalogue.h"
#include "catalogue/counterpart.h"

namespace quarvell::batch {

namespace {

constexpr std::array<std::string_view, kColumnCount> kNames{
    "type",         "notice",          "capacitance", "rated_voltage", "applied_voltage",
    "temperature",  "temp_rating",     "quality",     "environment",   "circuit_resistance",
    "construction", "piv_denominator", "quantity"};

constexpr std::array<std::string_view, 14> kEnvironments{
    "GB", "GF", "GM", "NS", "NU", "AIC", "AIF", "AUC", "AUF", "ARW", "SF", "MF", "ML", "CL"};

constexpr std::array<std::string_view, 4> kLevelWords{"non-er", "non-er-q3", "commercial",
                                                      "commercial-q10"};
constexpr std::string_view kLevelLetters = "DCBSRPM";

constexpr std::string_view kQualityForms =
    "is not a level (D, C, B, S, R, P, M, non-er, non-er-q3, commercial, commercial-q10), a rate "
    "such as 0.25% or a life test test:PIECES/HOURS/FAILURES[@BIAS]";
constexpr std::string_view kTestForm = "is not a life test test:PIECES/HOURS/FAILURES[@BIAS]";

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) {
            return false;
        }
    }
    return true;
}

bool StartsIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameIgnoringCase(text.substr(0, prefix.size()), prefix);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    if (s.empty() || (!IsBlank(s.front()) && !IsBlank(s.back()))) {
        return s;  // the usual value, with nothing around it
    }
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) {
        s.remove_suffix(1);
    }
    return s;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

enum class Status : std::uint8_t { Ok, NotNumber, OutOfRange };

struct Number {
    Status status = Status::NotNumber;
    double value = 0;
};

// The length of the number at the start of text: a sign, digits with one decimal separator,
// an exponent. `plain`: digits alone.
std::size_t ScanNumber(std::string_view t, bool decimalComma, bool& plain) {
    std::size_t i = 0;
    plain = true;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        ++i;
        plain = false;
    }
    std::size_t digits = 0;
    while (i < t.size() && IsDigit(t[i])) {
        ++i;
        ++digits;
    }
    if (i < t.size() && (t[i] == '.' || (decimalComma && t[i] == ','))) {
        ++i;
        plain = false;
        while (i < t.size() && IsDigit(t[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return 0;
    }
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < t.size() && (t[j] == '+' || t[j] == '-')) {
            ++j;
        }
        if (j < t.size() && IsDigit(t[j])) {
            while (j < t.size() && IsDigit(t[j])) {
                ++j;
            }
            i = j;
            plain = false;
        }
    }
    return i;
}

// The value of a scanned number text times 10^shift, taken from its decimal digits so that
// "470n" is exactly the number 0.47 is.
constexpr std::array<double, 23> kPowersOfTen{1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Clinger's fast path for the short decimals of a parts list: up to 15 digits and the powers of
// ten up to 10^22 are exact doubles, so one multiplication or division rounds once, exactly as
// reading the text does. Nothing for texts beyond that.
std::optional<double> ShortDecimal(std::string_view text, int shift) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::uint64_t mantissa = 0;
    int digits = 0;
    int decimals = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDigit(c)) {
            decimals += point ? 1 : 0;
            if (mantissa == 0 && c == '0') {
                continue;
            }
            if (++digits > 15) {
                return std::nullopt;
            }
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
        } else if ((c == '.' || c == ',') && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    const int exponent = shift - decimals;
    if (exponent < -22 || exponent > 22) {
        return std::nullopt;
    }
    const auto m = static_cast<double>(mantissa);
    const double v = exponent >= 0 ? m * kPowersOfTen[static_cast<std::size_t>(exponent)]
                                   : m / kPowersOfTen[static_cast<std::size_t>(-exponent)];
    return negative ? -v : v;
}

Number Convert(std::string_view text, int shift) {
    if (const std::optional<double> quick = ShortDecimal(text, shift)) {
        return {.status = Status::Ok, .value = *quick};
    }
    double v = 0;
    if (shift == 0 && text.front() != '+' && text.find(',') == std::string_view::npos) {
        const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
        if (r.ec == std::errc::result_out_of_range) {
            return {.status = Status::OutOfRange};
        }
        if (r.ec == std::errc() && r.ptr == text.data() + text.size()) {
            return {.status = Status::Ok, .value = v};
        }
        return {};
    }
    char buffer[128];
    std::size_t n = 0;
    long exponent = 0;
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == 'e' || c == 'E') {
            std::string_view e = text.substr(i + 1);
            if (!e.empty() && e.front() == '+') {
                e.remove_prefix(1);
            }
            const auto r = std::from_chars(e.data(), e.data() + e.size(), exponent);
            if (r.ec != std::errc() || std::labs(exponent) > 100000) {
                // Far beyond any double: no digits can bring it back.
                return {.status = Status::OutOfRange};
            }
            break;
        }
        if (n + 16 >= sizeof buffer) {
            return {.status = Status::OutOfRange};
        }
        buffer[n++] = c == ',' ? '.' : c;
    }
    exponent += shift;
    if (exponent != 0) {
        buffer[n++] = 'e';
        n = static_cast<std::size_t>(
            std::to_chars(buffer + n, buffer + sizeof buffer, exponent).ptr - buffer);
    }
    const auto r = std::from_chars(buffer, buffer + n, v);
    if (r.ec == std::errc::result_out_of_range) {
        return {.status = Status::OutOfRange};
    }
    if (r.ec != std::errc() || r.ptr != buffer + n) {
        return {};
    }
    return {.status = Status::Ok, .value = v};
}

// The short decimal a list mostly holds, read in one pass: a sign, up to 15 significant digits
// with the file's decimal separator, no exponent. Its value times 10^shift is what ShortDecimal
// gives the same text; anything else takes the general way.
struct QuickDecimal {
    std::uint64_t mantissa = 0;
    int significant = 0;  // digits after the leading zeros
    int digits = 0;
    int decimals = 0;
    bool negative = false;
    bool plain = true;       // digits alone, as ScanNumber has it
    std::size_t length = 0;  // of the number in the text

    // The digit c, as the next of the mantissa; false past the digits a double holds exactly.
    bool add(char c) {
        ++digits;
        if (mantissa == 0 && c == '0') {
            return true;
        }
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
        return ++significant <= 15;
    }

    // False for what is not such a number at the start of t.
    bool read(std::string_view t, bool decimalComma) {
        std::size_t i = 0;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
            negative = t[i] == '-';
            plain = false;
            ++i;
        }
        bool point = false;
        for (; i < t.size(); ++i) {
            const char c = t[i];
            if (IsDigit(c)) {
                decimals += point ? 1 : 0;
                if (!add(c)) {
                    return false;
                }
            } else if (!point && (c == '.' || (decimalComma && c == ','))) {
                point = true;
                plain = false;
            } else {
                break;
            }
        }
        length = i;
        return digits > 0 && !(i < t.size() && (t[i] == 'e' || t[i] == 'E'));
    }

    // The value times 10^shift, rounded once as ShortDecimal rounds it; false where the power of
    // ten is not an exact double.
    bool value(int shift, double& out) const {
        const int exponent = shift - decimals;
        if (exponent < -22 || exponent > 22) {
            return false;
        }
        const auto m = static_cast<double>(mantissa);
        const double v = exponent >= 0 ? m * kPowersOfTen[static_cast<std::size_t>(exponent)]
                                       : m / kPowersOfTen[static_cast<std::size_t>(-exponent)];
        out = negative ? -v : v;
        return true;
    }
};

// A number followed by one of the units (or none), blanks allowed between.
Number ReadWithUnit(std::string_view raw, bool decimalComma,
                    std::initializer_list<std::string_view> units) {
    const std::string_view t = Trim(raw);
    QuickDecimal d;
    double quick = 0;
    const bool isQuick = d.read(t, decimalComma) && d.value(0, quick);
    std::size_t n = d.length;
    if (!isQuick) {
        bool plain = false;
        n = ScanNumber(t, decimalComma, plain);
        if (n == 0) {
            return {};
        }
    }
    if (n < t.size()) {
        const std::string_view unit = Trim(t.substr(n));
        bool known = unit.empty();
        for (const std::string_view u : units) {
            known = known || SameIgnoringCase(unit, u);
        }
        if (!known) {
            return {};
        }
    }
    return isQuick ? Number{.status = Status::Ok, .value = quick} : Convert(t.substr(0, n), 0);
}

// The power of ten of a unit prefix relative to microfarads, and its length in bytes.
std::optional<int> PrefixShift(std::string_view t, std::size_t& length) {
    length = 1;
    if (t.empty()) {
        return std::nullopt;
    }
    switch (t.front()) {
        case 'p':
        case 'P':
            return -6;
        case 'n':
        case 'N':
            return -3;
        case 'u':
        case 'U':
        case '\xB5':  // the micro sign of Latin-1 spreadsheets
            return 0;
        case 'm':  // 'M' would be mega, or micro in older lists: too ambiguous to take
            return 3;
        case 'F':
            return 6;
        default:
            break;
    }
    if (t.starts_with("\xC2\xB5") || t.starts_with("\xCE\xBC")) {  // micro sign, Greek mu
        length = 2;
        return 0;
    }
    return std::nullopt;
}

bool EndsAfterFarad(std::string_view rest, bool prefixWasFarad) {
    if (!prefixWasFarad && !rest.empty() && (rest.front() == 'F' || rest.front() == 'f')) {
        rest.remove_prefix(1);
    }
    return Trim(rest).empty();
}

// The usual capacitances in one pass: 100n, 4u7, 22uF, 0.1, 1 nF. Nothing where the text takes
// the general way, which gives the same value.
std::optional<Number> QuickCapacitance(std::string_view t, bool decimalComma) {
    QuickDecimal d;
    if (!d.read(t, decimalComma)) {
        return std::nullopt;
    }
    std::string_view rest = t.substr(d.length);
    int shift = 0;
    if (!rest.empty()) {
        std::size_t letter = 0;
        std::optional<int> prefix = PrefixShift(rest, letter);
        if (d.plain && prefix && letter < rest.size() && IsDigit(rest[letter])) {
            // The letter for the decimal point: the digits after it are the fraction.
            std::size_t i = letter;
            for (; i < rest.size() && IsDigit(rest[i]); ++i) {
                ++d.decimals;
                if (!d.add(rest[i])) {
                    return std::nullopt;
                }
            }
            if (!EndsAfterFarad(rest.substr(i), *prefix == 6)) {
                return Number{};
            }
            if (d.digits + 1 > 64) {
                return std::nullopt;  // the general way refuses it as too long
            }
        } else {
            rest = Trim(rest);
            prefix = PrefixShift(rest, letter);
            if (!prefix || !EndsAfterFarad(rest.substr(letter), *prefix == 6)) {
                return Number{};
            }
        }
        shift = *prefix;
    }
    double v = 0;
    if (!d.value(shift, v)) {
        return std::nullopt;
    }
    return Number{.status = Status::Ok, .value = v};
}

Number ReadCapacitanceNumber(std::string_view raw, bool decimalComma) {
    const std::string_view t = Trim(raw);
    if (const std::optional<Number> quick = QuickCapacitance(t, decimalComma)) {
        return *quick;
    }
    bool plain = false;
    const std::size_t n = ScanNumber(t, decimalComma, plain);
    std::size_t letter = 0;
    // The letter for the decimal point: 4u7, 470n (a trailing letter), u47.
    if (n == 0 || plain) {
        const std::optional<int> shift = PrefixShift(t.substr(n), letter);
        if (shift && n + letter < t.size() && IsDigit(t[n + letter])) {
            std::size_t end = n + letter;
            while (end < t.size() && IsDigit(t[end])) {
                ++end;
            }
            if (!EndsAfterFarad(t.substr(end), *shift == 6)) {
                return {};
            }
            char buffer[64];
            const std::string_view whole = n == 0 ? std::string_view("0") : t.substr(0, n);
            const std::string_view fraction = t.substr(n + letter, end - n - letter);
            if (whole.size() + fraction.size() + 1 > sizeof buffer) {
                return {.status = Status::OutOfRange};
            }
            std::size_t k = whole.copy(buffer, whole.size());
            buffer[k++] = '.';
            k += fraction.copy(buffer + k, fraction.size());
            return Convert(std::string_view(buffer, k), *shift);
        }
    }
    if (n == 0) {
        return {};
    }
    const std::string_view unit = Trim(t.substr(n));
    if (unit.empty()) {
        return Convert(t.substr(0, n), 0);
    }
    const std::optional<int> shift = PrefixShift(unit, letter);
    if (!shift || !EndsAfterFarad(unit.substr(letter), *shift == 6)) {
        return {};
    }
    return Convert(t.substr(0, n), *shift);
}

// A finite single; a value too small to be one but not zero does not count either.
bool ToSingle(double v, float& out) {
    if (!(std::fabs(v) <= std::numeric_limits<float>::max())) {
        return false;
    }
    out = static_cast<float>(v);
    return v == 0 || out != 0;
}

bool IsWhole(double v) {
    return std::floor(v) == v;
}

class RowReader {
  public:
    RowReader(const RowValues& values, bool decimalComma, PartRow& out)
        : values_(values), comma_(decimalComma), out_(out) {}

    std::optional<ValueError> read();

  private:
    std::optional<std::string_view> given(Column c) const {
        const std::optional<std::string_view>& v = values_[static_cast<std::size_t>(c)];
        // Blank only if it starts with a blank: the usual value is not looked at further.
        if (!v || v->empty() || (IsBlank(v->front()) && Trim(*v).empty())) {
            return std::nullopt;
        }
        return *v;
    }
    std::string_view value(Column c) const { return *values_[static_cast<std::size_t>(c)]; }
    ValueError fail(Column c, std::string reason) const {
        const std::optional<std::string_view> v = given(c);
        return {.column = c, .value = v ? *v : std::string_view(), .reason = std::move(reason)};
    }
    std::optional<ValueError> number(Column c, std::initializer_list<std::string_view> units,
                                     std::string_view notNumber, float& out) const;

    std::optional<ValueError> type();
    std::optional<ValueError> rating();
    std::optional<ValueError> quality();
    std::optional<ValueError> lifeTest(std::string_view text);
    std::optional<ValueError> options();

    const RowValues& values_;
    bool comma_;
    PartRow& out_;
    const model::CapacitorType* type_ = nullptr;
};

std::optional<ValueError> RowReader::number(Column c, std::initializer_list<std::string_view> units,
                                            std::string_view notNumber, float& out) const {
    const Number n = ReadWithUnit(value(c), comma_, units);
    if (n.status == Status::NotNumber) {
        return fail(c, std::string(notNumber));
    }
    if (n.status == Status::OutOfRange || !ToSingle(n.value, out)) {
        return fail(c, "is out of range");
    }
    return std::nullopt;
}

// What a type takes where a row gives nothing, read from the catalogue's texts once per type
// rather than once per row.
struct TypeDefaults {
    int option = -1;
    float piVDenominator = 0;
    float lifeBias = 0;
};

const TypeDefaults& DefaultsOf(const model::CapacitorType& type) {
    static const std::array<TypeDefaults, 20> all = [] {
        std::array<TypeDefaults, 20> d;
        for (const model::Notice n : {model::Notice::One, model::Notice::Two}) {
            for (const model::CapacitorType& t : model::TypesOf(n)) {
                d[static_cast<std::size_t>((n == model::Notice::One ? 0 : 10) +
                                           model::PositionOf(t))] = {
                    .option = catalogue::DefaultOption(t),
                    .piVDenominator = catalogue::DefaultPiVDenominator(t),
                    .lifeBias = catalogue::DefaultLifeBias(t)};
            }
        }
        return d;
    }();
    return all[static_cast<std::size_t>((type.notice == model::Notice::One ? 0 : 10) +
                                        model::PositionOf(type))];
}

// The exact code first: it is what lists carry, and the cheapest to match.
const model::CapacitorType* FindTypeOf(std::string_view t) {
    if (const model::CapacitorType* exact = model::FindType(t)) {
        return exact;
    }
    for (const model::Notice notice : {model::Notice::One, model::Notice::Two}) {
        for (const model::CapacitorType& candidate : model::TypesOf(notice)) {
            if (SameIgnoringCase(t, candidate.code) || SameIgnoringCase(t, candidate.entry)) {
                return &candidate;
            }
        }
    }
    return nullptr;
}

std::optional<ValueError> RowReader::type() {
    type_ = FindTypeOf(Trim(value(Column::Type)));
    if (type_ == nullptr) {
        return fail(Column::Type,
                    "is not a capacitor type (a section code such as 10.1f, or its caption in "
                    "the type list)");
    }
    out_.part.type = type_;
    if (const std::optional<std::string_view> notice = given(Column::Notice)) {
        const std::optional<double> n = ReadNumber(*notice, comma_);
        if (n != 1.0 && n != 2.0) {
            return fail(Column::Notice, "is not 1 or 2");
        }
        if ((*n == 1) != (type_->notice == model::Notice::One)) {
            std::string reason = "contradicts type ";
            reason += type_->code;
            reason +=
                type_->notice == model::Notice::One ? ", a Notice 1 type" : ", a Notice 2 type";
            return fail(Column::Notice, std::move(reason));
        }
    }
    return std::nullopt;
}

std::optional<ValueError> RowReader::rating() {
    const model::CapacitorType& t = *type_;
    const std::optional<std::string_view> given = this->given(Column::TempRating);
    if (!given) {
        out_.part.tempRating = t.ratings[static_cast<std::size_t>(t.defaultRating)];
        return std::nullopt;
    }
    std::string_view text = Trim(*given);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    const Number n = ReadWithUnit(text, comma_,
                                  {"C",
                                   "\xC2\xB0"
                                   "C",
                                   "\xB0"
                                   "C"});
    for (int i = 0; i < t.ratingCount(); ++i) {
        if (n.status == Status::Ok && n.value == t.ratings[static_cast<std::size_t>(i)]) {
            out_.part.tempRating = t.ratings[static_cast<std::size_t>(i)];
            return std::nullopt;
        }
    }
    std::string reason = "is not a rating that ";
    reason += t.code;
    reason += " offers (";
    for (int i = 0; i < t.ratingCount(); ++i) {
        reason += i == 0 ? "" : ", ";
        reason += std::to_string(t.ratings[static_cast<std::size_t>(i)]);
    }
    reason += ")";
    return fail(Column::TempRating, std::move(reason));
}

std::optional<ValueError> RowReader::lifeTest(std::string_view text) {
    std::array<std::string_view, 4> parts{};  // pieces, hours, failures, bias
    const std::size_t at = text.find('@');
    const std::string_view counts = text.substr(0, at);
    const std::size_t slash1 = counts.find('/');
    const std::size_t slash2 =
        slash1 == std::string_view::npos ? slash1 : counts.find('/', slash1 + 1);
    if (slash2 == std::string_view::npos ||
        counts.find('/', slash2 + 1) != std::string_view::npos) {
        return fail(Column::Quality, std::string(kTestForm));
    }
    parts[0] = counts.substr(0, slash1);
    parts[1] = counts.substr(slash1 + 1, slash2 - slash1 - 1);
    parts[2] = counts.substr(slash2 + 1);
    std::array<double, 4> v{0, 0, 0, DefaultsOf(*type_).lifeBias};
    for (std::size_t i = 0; i < 4; ++i) {
        if (i == 3 && at == std::string_view::npos) {
            break;
        }
        const std::string_view piece = i == 3 ? text.substr(at + 1) : parts[i];
        const Number n = ReadWithUnit(piece, comma_, {});
        float single = 0;
        if (n.status == Status::NotNumber) {
            return fail(Column::Quality, std::string(kTestForm));
        }
        if (n.status == Status::OutOfRange || !ToSingle(n.value, single)) {
            return fail(Column::Quality, "has a life-test value out of range");
        }
        v[i] = n.value;
    }
    if (!(v[0] > 0) || !IsWhole(v[0])) {
        return fail(Column::Quality, "needs a whole number of pieces above 0");
    }
    if (!(v[1] > 0)) {
        return fail(Column::Quality, "needs test hours above 0");
    }
    if (!(v[2] >= 0) || !IsWhole(v[2])) {
        return fail(Column::Quality, "needs a whole number of failures, 0 or more");
    }
    if (!(v[3] > 0)) {
        return fail(Column::Quality, "needs a bias above 0 (a multiple of the rated voltage)");
    }
    model::Quality& q = out_.part.quality;
    q.kind = model::Quality::Kind::LifeTest;
    q.test = {.pieces = static_cast<float>(v[0]),
              .hours = static_cast<float>(v[1]),
              .failures = static_cast<float>(v[2]),
              .bias = static_cast<float>(v[3])};
    out_.lifeTest = true;
    return std::nullopt;
}

std::optional<ValueError> RowReader::quality() {
    const std::string_view t = Trim(value(Column::Quality));
    model::Quality& q = out_.part.quality;
    if (t.size() == 1) {
        const std::size_t i = kLevelLetters.find(static_cast<char>(t.front() & ~0x20));
        if (i != std::string_view::npos) {
            q.kind = model::Quality::Kind::Level;
            q.level = static_cast<int>(i) + 2;
            return std::nullopt;
        }
    }
    for (std::size_t i = 0; i < kLevelWords.size(); ++i) {
        if (SameIgnoringCase(t, kLevelWords[i])) {
            q.kind = model::Quality::Kind::Level;
            q.level = static_cast<int>(i) + 9;
            return std::nullopt;
        }
    }
    if (StartsIgnoringCase(t, "test:")) {
        return lifeTest(t.substr(5));
    }
    const std::size_t percent = t.find('%');
    if (percent == std::string_view::npos) {
        return fail(Column::Quality, std::string(kQualityForms));
    }
    const std::string_view unit = t.substr(percent + 1);
    if (!unit.empty() && !SameIgnoringCase(unit, "/kPcHr") && !SameIgnoringCase(unit, "/kPcHrs")) {
        return fail(Column::Quality, std::string(kQualityForms));
    }
    const Number n = ReadWithUnit(t.substr(0, percent), comma_, {});
    if (n.status == Status::NotNumber) {
        return fail(Column::Quality, std::string(kQualityForms));
    }
    if (n.status == Status::OutOfRange || !ToSingle(n.value, q.rate)) {
        return fail(Column::Quality, "is out of range");
    }
    if (!(q.rate > 0)) {
        return fail(Column::Quality, "must be a rate greater than 0");
    }
    q.kind = model::Quality::Kind::Rate;
    return std::nullopt;
}

std::string Normalised(std::string_view text) {
    std::string s;
    for (const char c : text) {
        if ((c >= '0' && c <= '9') || (Lower(c) >= 'a' && Lower(c) <= 'z')) {
            s += Lower(c);
        }
    }
    return s;
}

std::optional<ValueError> RowReader::options() {
    const model::CapacitorType& t = *type_;
    model::Part& p = out_.part;
    const TypeDefaults& defaults = DefaultsOf(t);
    p.option = defaults.option;
    p.piVDenominator = defaults.piVDenominator;
    const auto unused = [&](Column c) {
        out_.unused |= static_cast<std::uint16_t>(1U << static_cast<unsigned>(c));
    };

    if (const std::optional<std::string_view> r = given(Column::CircuitResistance)) {
        if (t.option != model::OptionList::CircuitResistance) {
            unused(Column::CircuitResistance);
        } else {
            const std::vector<std::string>& entries = catalogue::CircuitResistanceEntries();
            int entry = -1;
            for (std::size_t i = 0; i < entries.size(); ++i) {
                entry = SameIgnoringCase(Trim(*r), entries[i]) ? static_cast<int>(i) : entry;
            }
            if (entry < 0) {
                const Number n =
                    ReadWithUnit(*r, comma_, {"ohm/V", "ohms/V", "\xCE\xA9/V", "\xE2\x84\xA6/V"});
                if (n.status != Status::Ok || !(n.value >= 0)) {
                    return fail(Column::CircuitResistance,
                                "is not a number of ohms per volt, 0 or more");
                }
                entry = ResistanceClass(n.value);
            }
            p.option = entry;
        }
    }
    if (const std::optional<std::string_view> c = given(Column::Construction)) {
        if (t.option != model::OptionList::Construction) {
            unused(Column::Construction);
        } else {
            static const std::array<std::string, 4> kForms = [] {
                std::array<std::string, 4> forms;
                for (std::size_t i = 0; i < forms.size(); ++i) {
                    forms[i] = Normalised(catalogue::ConstructionEntries()[i]);
                }
                return forms;
            }();
            const std::string form = Normalised(*c);
            p.option = -1;
            for (std::size_t i = 0; i < kForms.size(); ++i) {
                p.option = form == kForms[i] ? static_cast<int>(i) : p.option;
            }
            if (p.option < 0) {
                return fail(Column::Construction,
                            "is not a construction (slug-all-tantalum, foil-hermetic, "
                            "foil-non-hermetic, slug-non-hermetic)");
            }
        }
    }
    if (const std::optional<std::string_view> d = given(Column::PiVDenominator)) {
        if (!t.polymer()) {
            unused(Column::PiVDenominator);
        } else {
            const std::optional<float> v = model::PiVDenominator(
                Trim(*d), comma_ ? model::kCommaLocale : model::kPeriodLocale);
            if (!v) {
                return fail(Column::PiVDenominator, "is not a number from 0.5 to 1.0");
            }
            p.piVDenominator = *v;
        }
    }
    return std::nullopt;
}

std::optional<ValueError> RowReader::read() {
    out_ = PartRow{};
    for (std::size_t i = 0; i < kColumnCount; ++i) {
        const auto c = static_cast<Column>(i);
        if (IsRequired(c) && !given(c)) {
            return ValueError{.column = c, .reason = values_[i] ? "is empty" : "is missing"};
        }
    }
    if (std::optional<ValueError> e = type()) {
        return e;
    }
    model::Part& p = out_.part;
    const Number c = ReadCapacitanceNumber(value(Column::Capacitance), comma_);
    if (c.status == Status::NotNumber) {
        return fail(Column::Capacitance, "is not a number with a unit");
    }
    if (c.status == Status::OutOfRange || !ToSingle(c.value, p.capacitance)) {
        return fail(Column::Capacitance, "is out of range");
    }
    if (!(p.capacitance > 0)) {
        return fail(Column::Capacitance, "must be greater than 0");
    }
    if (auto e = number(Column::RatedVoltage, {"V", "VDC"}, "is not a number of volts",
                        p.ratedVoltage)) {
        return e;
    }
    if (!(p.ratedVoltage > 0)) {
        return fail(Column::RatedVoltage, "must be greater than 0");
    }
    if (auto e = number(Column::AppliedVoltage, {"V", "VDC"}, "is not a number of volts",
                        p.appliedVoltage)) {
        return e;
    }
    if (p.appliedVoltage < 0) {
        return fail(Column::AppliedVoltage, "must not be negative");
    }
    if (auto e = number(Column::Temperature,
                        {"C",
                         "\xC2\xB0"
                         "C",
                         "\xB0"
                         "C"},
                        "is not a number of degrees C", p.temperature)) {
        return e;
    }
    if (!(p.temperature > -273)) {
        return fail(Column::Temperature, "is at or below absolute zero");
    }
    if (auto e = rating()) {
        return e;
    }
    if (auto e = quality()) {
        return e;
    }
    const std::optional<int> env = ReadEnvironment(value(Column::Environment));
    if (!env) {
        return fail(Column::Environment,
                    "is not an environment (GB, GF, GM, NS, NU, AIC, AIF, AUC, AUF, ARW, SF, MF, "
                    "ML, CL)");
    }
    p.environment = *env;
    if (auto e = options()) {
        return e;
    }
    if (const std::optional<std::string_view> q = given(Column::Quantity)) {
        const Number n = ReadWithUnit(*q, comma_, {});
        if (n.status != Status::Ok || !(n.value >= 0) || !IsWhole(n.value) || n.value > 1e15) {
            return fail(Column::Quantity, "is not a whole number of parts, 0 or more");
        }
        out_.quantity = n.value;
    }
    return std::nullopt;
}

}  // namespace

std::string_view ColumnName(Column c) {
    return kNames[static_cast<std::size_t>(c)];
}

bool IsRequired(Column c) {
    switch (c) {
        case Column::Type:
        case Column::Capacitance:
        case Column::RatedVoltage:
        case Column::AppliedVoltage:
        case Column::Temperature:
        case Column::Quality:
        case Column::Environment:
            return true;
        default:
            return false;
    }
}

std::optional<Column> FindColumn(std::string_view name) {
    name = Trim(name);
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        if (SameIgnoringCase(name, kNames[i])) {
            return static_cast<Column>(i);
        }
    }
    return std::nullopt;
}

std::optional<ValueError> ReadRow(const RowValues& values, bool decimalComma, PartRow& out) {
    return RowReader(values, decimalComma, out).read();
}

void AppendQuoted(std::string& out, std::string_view value) {
    constexpr std::size_t kLimit = 40;
    std::size_t i = 0;
    while (i < value.size()) {
        if (i >= kLimit) {
            out += "...";
            return;
        }
        const auto c = static_cast<unsigned char>(value[i]);
        std::size_t length = 1;
        if (c >= 0xC2 && c <= 0xF4) {
            length = c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
            for (std::size_t k = 1; k < length; ++k) {
                if (i + k >= value.size() ||
                    (static_cast<unsigned char>(value[i + k]) & 0xC0) != 0x80) {
                    length = 0;
                }
            }
        } else if (c < 0x20 || c == 0x7F || c >= 0x80) {
            length = 0;
        }
        if (length == 0) {
            out += '?';
            ++i;
        } else {
            out.append(value.substr(i, length));
            i += length;
        }
    }
}

void AppendRowError(std::string& out, long row, const ValueError& error) {
    out += "row ";
    out += std::to_string(row);
    out += ": ";
    out += ColumnName(error.column);
    if (!error.value.empty()) {
        out += " '";
        AppendQuoted(out, error.value);
        out += "'";
    }
    out += ' ';
    out += error.reason;
}

std::optional<double> ReadNumber(std::string_view text, bool decimalComma) {
    const Number n = ReadWithUnit(text, decimalComma, {});
    return n.status == Status::Ok ? std::optional<double>(n.value) : std::nullopt;
}

std::optional<double> ReadCapacitance(std::string_view text, bool decimalComma) {
    const Number n = ReadCapacitanceNumber(text, decimalComma);
    return n.status == Status::Ok ? std::optional<double>(n.value) : std::nullopt;
}

std::optional<int> ReadEnvironment(std::string_view text) {
    char code[8];
    std::size_t n = 0;
    for (const char c : text) {
        if (c == '(' || c == ')' || c == ' ' || c == '\t') {
            continue;
        }
        if (n == sizeof code) {
            return std::nullopt;
        }
        code[n++] = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    for (std::size_t i = 0; i < kEnvironments.size(); ++i) {
        if (std::string_view(code, n) == kEnvironments[i]) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

// The handbook's classes: above 0.8, above 0.6 to 0.8, ..., 0 to 0.1 ohms per volt.
int ResistanceClass(double ohmsPerVolt) {
    constexpr std::array<double, 5> kAbove{0.8, 0.6, 0.4, 0.2, 0.1};
    for (std::size_t i = 0; i < kAbove.size(); ++i) {
        if (ohmsPerVolt > kAbove[i]) {
            return static_cast<int>(i);
        }
    }
    return static_cast<int>(kAbove.size());
}

}  // namespace quarvell::batch
