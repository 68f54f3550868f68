// Reading a row's values: units, the letter for the decimal point, levels, rates, life tests,
// environments and option columns, and the message that names a value that cannot be read.
#include "batch/values.h"

#include <gtest/gtest.h>

#include <charconv>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>

#include "tests/batch/batch_support.h"

namespace quarvell::batch {
namespace {

TEST(Capacitance, UnitsAndTheLetterForTheDecimalPointGiveMicrofarads) {
    const struct {
        const char* text;
        bool comma;
        float microfarads;  // what the same value typed in microfarads gives
    } cases[] = {
        {"10", false, 10},
        {" 4.7 ", false, 4.7F},
        {"4u7", false, 4.7F},
        {"4U7", false, 4.7F},
        {"470n", false, 0.47F},
        {"4n7", false, 0.0047F},
        {"2p2", false, 2.2e-6F},
        {"u47", false, 0.47F},
        {"1m", false, 1000},
        {"1F5", false, 1.5e6F},
        {"4u7F", false, 4.7F},
        {"4u", false, 4},
        {"4.7uF", false, 4.7F},
        {"4.7 uf", false, 4.7F},
        {"4.7\302\265F", false, 4.7F},  // micro sign and Greek mu in UTF-8, and Latin-1
        {"4.7\316\274F", false, 4.7F},
        {"4.7\265F", false, 4.7F},
        {"100nF", false, 0.1F},
        {"22pF", false, 2.2e-5F},
        {"0.1mF", false, 100},
        {"1F", false, 1e6F},
        {"1e-6F", false, 1},
        {"3.3e2 nF", false, 0.33F},
        {"+10", false, 10},
        {"4,7uF", true, 4.7F},
        {"4.7uF", true, 4.7F},
        {"0,1", true, 0.1F},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<double> v = ReadCapacitance(c.text, c.comma);
        ASSERT_TRUE(v.has_value());
        EXPECT_EQ(static_cast<float>(*v), c.microfarads);
    }
    for (const char* text :
         {"4u7x", "4,7uF", "4.7M", "4.7 MF", "10f", "abc", "", "u", "4u7u", "4.7.1", "0x10", "--1",
          "4 u 7", "inf", "nan", "1e999", "4.7e", "4.7 uF uF"}) {
        EXPECT_FALSE(ReadCapacitance(text, false).has_value()) << text;
    }
}

TEST(Numbers, PlainDecimalsWithTheFilesSeparatorAndNothingElse) {
    const struct {
        const char* text;
        bool comma;
        double value;
    } cases[] = {{"3", false, 3},      {" -2.5 ", false, -2.5}, {"+5", false, 5},
                 {"1e3", false, 1000}, {".5", false, 0.5},      {"5.", false, 5},
                 {"1,5", true, 1.5},   {"1.5", true, 1.5},      {"2E-2", false, 0.02}};
    for (const auto& c : cases) {
        EXPECT_EQ(ReadNumber(c.text, c.comma), c.value) << c.text;
    }
    for (const char* text : {"1,5", "1.000,5", "inf", "-inf", "nan", "0x1p3", "1e", "", "-", ".",
                             "1 000", "1e999", "1e-999", "1.2.3"}) {
        EXPECT_FALSE(ReadNumber(text, std::string_view(text) == "1.000,5").has_value()) << text;
    }
}

// Short decimals take a quicker way than long ones; both must give the double the text stands
// for, as std::from_chars reads it, also with a unit's power of ten.
TEST(Numbers, EveryDecimalReadsAsTheDoubleItWrites) {
    std::mt19937_64 random(7);
    for (int i = 0; i < 200000; ++i) {
        std::string text = random() % 2 == 0 ? "" : "-";
        const int digits = 1 + static_cast<int>(random() % 20);
        const int point = static_cast<int>(random() % (digits + 1));
        for (int d = 0; d < digits; ++d) {
            text += d == point ? "." : "";
            text += static_cast<char>('0' + random() % 10);
        }
        const int unit = static_cast<int>(random() % 3);  // none, n (10^-3), m (10^3)
        const std::string scaled = text + (unit == 0 ? "" : unit == 1 ? "e-3" : "e3");
        double plain = 0;
        double expected = 0;
        std::from_chars(text.data(), text.data() + text.size(), plain);
        std::from_chars(scaled.data(), scaled.data() + scaled.size(), expected);
        EXPECT_EQ(ReadNumber(text, false), plain) << text;
        if (text.front() != '-') {
            EXPECT_EQ(ReadCapacitance(text + (unit == 0   ? ""
                                              : unit == 1 ? "n"
                                                          : "m"),
                                      false),
                      expected)
                << text << " " << unit;
        }
    }
}

// The letter for the decimal point, with digits of any length on either side: 12n345 is exactly
// the number 12.345e-3 is.
TEST(Numbers, TheLetterForTheDecimalPointReadsAsThePointWould) {
    std::mt19937_64 random(5);
    const struct {
        const char* letter;
        const char* exponent;
    } prefixes[] = {{"p", "e-6"}, {"n", "e-3"}, {"u", ""}, {"m", "e3"}, {"F", "e6"}};
    for (int i = 0; i < 30000; ++i) {
        std::string whole;
        std::string fraction;
        for (int d = static_cast<int>(random() % 12); d > 0; --d) {
            whole += static_cast<char>('0' + random() % 10);
        }
        for (int d = 1 + static_cast<int>(random() % 12); d > 0; --d) {
            fraction += static_cast<char>('0' + random() % 10);
        }
        const auto& p = prefixes[random() % std::size(prefixes)];
        const std::string decimal = (whole.empty() ? "0" : whole) + "." + fraction + p.exponent;
        double expected = 0;
        std::from_chars(decimal.data(), decimal.data() + decimal.size(), expected);
        const std::string text = whole + p.letter + fraction + (random() % 2 == 0 ? "F" : "");
        if (std::string_view(p.letter) == "F" && text.back() == 'F' && text.size() > 1 &&
            text[text.size() - 2] != 'F') {
            // 1F5F is no capacitance: the farad is given twice.
            EXPECT_FALSE(ReadCapacitance(text, false).has_value()) << text;
            continue;
        }
        EXPECT_EQ(ReadCapacitance(text, false), expected) << text;
    }
}

TEST(Environment, CodesWithOrWithoutParenthesesInAnyCase) {
    const char* const codes[] = {"G(B)",  "G(F)",  "G(M)",  "N(S)", "N(U)", "A(IC)", "A(IF)",
                                 "A(UC)", "A(UF)", "A(RW)", "S(F)", "M(F)", "M(L)",  "C(L)"};
    for (int i = 0; i < 14; ++i) {
        std::string bare;
        for (const char c : std::string_view(codes[i])) {
            if (c != '(' && c != ')') {
                bare += static_cast<char>(std::tolower(c));
            }
        }
        EXPECT_EQ(ReadEnvironment(codes[i]), i);
        EXPECT_EQ(ReadEnvironment(bare), i) << bare;
    }
    for (const char* text : {"", "G", "GX", "G(B)x", "Ground, Benign", "AICC"}) {
        EXPECT_FALSE(ReadEnvironment(text).has_value()) << text;
    }
}

// The handbook's classes include their upper bound: 0.8 is in "0.6 - 0.8".
TEST(CircuitResistance, OhmsPerVoltFallInTheirClass) {
    const std::pair<double, int> cases[] = {{5, 0},   {0.81, 0}, {0.8, 1}, {0.61, 1},
                                            {0.6, 2}, {0.41, 2}, {0.4, 3}, {0.21, 3},
                                            {0.2, 4}, {0.11, 4}, {0.1, 5}, {0, 5}};
    for (const auto& [ohms, entry] : cases) {
        EXPECT_EQ(ResistanceClass(ohms), entry) << ohms;
    }
}

// A row of the worked example, with one column changed (or removed, for nullptr).
struct Row {
    std::map<Column, std::string> values{
        {Column::Type, "10.1f"},       {Column::Capacitance, "10"}, {Column::RatedVoltage, "10"},
        {Column::AppliedVoltage, "5"}, {Column::Temperature, "50"}, {Column::Quality, "M"},
        {Column::Environment, "GB"}};
    RowValues view() const {
        RowValues v;
        for (const auto& [column, text] : values) {
            v[static_cast<std::size_t>(column)] = text;
        }
        return v;
    }
};

std::string ErrorOf(const Row& row, PartRow& part, bool comma = false) {
    const std::optional<ValueError> e = ReadRow(row.view(), comma, part);
    std::string message;
    if (e) {
        AppendRowError(message, 17, *e);
    }
    return message;
}

// Each row of row_values.csv changes one value of the worked example; its expected_error
// column (which travels along) is the error the row gets after "row N: ", empty where it is read.
TEST(ReadRow, NamesTheRowTheColumnAndTheValueThatCannotBeRead) {
    std::ifstream file(QUARVELL_SOURCE_DIR "/tests/batch/row_values.csv");
    std::ostringstream list;
    list << file.rdbuf();
    const testing::Table t = testing::ReadTable(testing::RunOn(list.str()).out);
    ASSERT_EQ(t.rows.size(), 47U);
    for (std::size_t row = 0; row < t.rows.size(); ++row) {
        const std::string& expected = t.at(row, "expected_error");
        EXPECT_EQ(t.at(row, "error"),
                  expected.empty() ? "" : "row " + std::to_string(row + 1) + ": " + expected);
    }
    // A column the input lacks altogether.
    Row row;
    row.values.erase(Column::Capacitance);
    PartRow part;
    EXPECT_EQ(ErrorOf(row, part), "row 17: capacitance is missing");
}

// A unit, blanks or the file's decimal separator around a number leave its value as the bare
// number gives it; what follows the number is either a unit of its column or a refusal.
TEST(ReadRow, NumbersWithTheirUnitsAndBlanks) {
    const struct {
        Column column;
        const char* text;
        bool comma;
        float value;  // 0: refused
    } cases[] = {
        {Column::RatedVoltage, "16", false, 16},
        {Column::RatedVoltage, " 16 V ", false, 16},
        {Column::RatedVoltage, "6.3VDC", false, 6.3F},
        {Column::RatedVoltage, "6,3 v", true, 6.3F},
        {Column::RatedVoltage, "6,3", false, 0},
        {Column::RatedVoltage, "63e-1V", false, 6.3F},
        {Column::RatedVoltage, "16 C", false, 0},
        {Column::RatedVoltage, "16 VV", false, 0},
        {Column::AppliedVoltage, "0.1234567890123456789", false, 0.1234567890123456789F},
        {Column::AppliedVoltage, "\t5.\t", false, 5},
        {Column::AppliedVoltage, "+.5", false, 0.5F},
        {Column::Temperature, "-55", false, -55},
        {Column::Temperature, "-55.5C", false, -55.5F},
        {Column::Temperature, "25e", false, 0},
        {Column::Temperature, "0.000000000000000000000000125e25", false, 1.25F},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Row row;
        row.values[c.column] = c.text;
        PartRow part;
        const std::string error = ErrorOf(row, part, c.comma);
        if (c.value == 0) {
            EXPECT_NE(error, "");
            continue;
        }
        ASSERT_EQ(error, "");
        const model::Part& p = part.part;
        EXPECT_EQ(c.column == Column::RatedVoltage     ? p.ratedVoltage
                  : c.column == Column::AppliedVoltage ? p.appliedVoltage
                                                       : p.temperature,
                  c.value);
    }
}

TEST(ReadRow, QualityGivesTheLevelRateOrLifeTest) {
    const struct {
        const char* text;
        model::Quality::Kind kind;
        int level;
        float rate;
    } cases[] = {
        // Every level agrees with the window's (window_agreement_test.cpp); in any case.
        {"c", model::Quality::Kind::Level, 3, 0},
        {"Non-ER", model::Quality::Kind::Level, 9, 0},
        {"COMMERCIAL-Q10", model::Quality::Kind::Level, 12, 0},
        {"0.25%", model::Quality::Kind::Rate, 9, 0.25F},
        {" 2 %/kPcHr", model::Quality::Kind::Rate, 9, 2},
    };
    for (const auto& c : cases) {
        Row row;
        row.values[Column::Quality] = c.text;
        PartRow part;
        ASSERT_EQ(ErrorOf(row, part), "") << c.text;
        EXPECT_EQ(part.part.quality.kind, c.kind) << c.text;
        EXPECT_EQ(part.part.quality.level, c.level) << c.text;
        EXPECT_EQ(part.part.quality.rate, c.rate) << c.text;
        EXPECT_FALSE(part.lifeTest);
    }
}

// Without a bias the test is taken at the type's own: twice the rating for paper/film and the
// ceramics, the rating for the others.
TEST(ReadRow, ALifeTestTakesTheTypesBiasUnlessGivenOne) {
    const struct {
        const char* type;
        const char* text;
        bool comma;
        model::LifeTest test;
    } cases[] = {
        {"10.1b", "test:100/1000/2", false, {100, 1000, 2, 2}},
        {"10.11", "TEST: 100 / 1000 / 2", false, {100, 1000, 2, 2}},
        {"10.1f", "test:100/1000/0", false, {100, 1000, 0, 1}},
        {"10.13", "test:50/2000/1@1.5", false, {50, 2000, 1, 1.5F}},
        {"10.13", "test:50/2000,5/1@1,5", true, {50, 2000.5F, 1, 1.5F}},
    };
    for (const auto& c : cases) {
        Row row;
        row.values[Column::Type] = c.type;
        row.values[Column::Quality] = c.text;
        PartRow part;
        ASSERT_EQ(ErrorOf(row, part, c.comma), "") << c.text;
        const model::LifeTest& t = part.part.quality.test;
        EXPECT_TRUE(part.lifeTest);
        EXPECT_EQ(part.part.quality.kind, model::Quality::Kind::LifeTest);
        EXPECT_EQ(t.pieces, c.test.pieces) << c.text;
        EXPECT_EQ(t.hours, c.test.hours) << c.text;
        EXPECT_EQ(t.failures, c.test.failures) << c.text;
        EXPECT_EQ(t.bias, c.test.bias) << c.text;
    }
}

// What the window selects when the type is chosen in the list: its rating, circuit resistance
// "(<0.1 Ohms/V)", the first construction, and the PI(V) denominator of the polymer types.
TEST(ReadRow, OmittedOptionalColumnsTakeTheTypesDefaults) {
    const struct {
        const char* type;
        std::int16_t rating;
        int option;
        float piV;
    } cases[] = {
        {"10.1f", 85, 5, 0},   {"10.1g", 125, -1, 0},  {"10.12b", 125, 5, 0},
        {"10.13", 125, 0, 0},  {"10.1j", 85, 5, 0.8F}, {"10.1k", 125, -1, 0.9F},
        {"10.14", 125, -1, 0}, {"10.15", 125, -1, 0},
    };
    for (const auto& c : cases) {
        Row row;
        row.values[Column::Type] = c.type;
        PartRow part;
        ASSERT_EQ(ErrorOf(row, part), "") << c.type;
        EXPECT_EQ(part.part.tempRating, c.rating) << c.type;
        EXPECT_EQ(part.part.option, c.option) << c.type;
        EXPECT_EQ(part.part.piVDenominator, c.piV) << c.type;
        EXPECT_EQ(part.quantity, 1);
    }
    Row given;
    given.values[Column::Type] = "10.13";
    given.values[Column::Construction] = "Foil, Non-Hermetic";
    given.values[Column::TempRating] = "175";
    given.values[Column::Quantity] = "12";
    given.values[Column::CircuitResistance] = "0.3";  // not a 10.13 column
    PartRow part;
    ASSERT_EQ(ErrorOf(given, part), "");
    EXPECT_EQ(part.part.option, 2);
    EXPECT_EQ(part.part.tempRating, 175);
    EXPECT_EQ(part.quantity, 12);
    EXPECT_EQ(part.unused, 1U << static_cast<unsigned>(Column::CircuitResistance));
}

TEST(Message, QuotesAtMostFortyBytesAndNoControlOrBrokenBytes) {
    std::string m;
    AppendQuoted(m,
                 "a\tb\xC2\xB5\xFF"
                 "c");
    EXPECT_EQ(m, "a?b\xC2\xB5?c");
    m.clear();
    AppendQuoted(m, std::string(100, 'x'));
    EXPECT_EQ(m, std::string(40, 'x') + "...");
}

}  // namespace
}  // namespace quarvell::batch
