// The engine at its API: a part in, every factor, caption and result out, for both Notices,
// the parts it refuses or cannot rate, and the quantities it reports out of range.

#include "model/engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "part.h"
#include "tests/support/cases.h"

namespace quarvell::model::testing {
namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST(Engine, WorkedExampleOf10_1f) {
    const Evaluated r(Given{});
    const Evaluation& e = r.e;
    EXPECT_NEAR(e.fit, 0.4602, 5e-5);
    // Single-precision factors, their product formed in double precision and rounded once.
    EXPECT_EQ(e.fit, static_cast<float>(static_cast<double>(e.piCV) * e.base * e.piV * e.piT *
                                        e.piSR * e.piQ * e.piE * 1000));
    EXPECT_TRUE(Usable(e));
    EXPECT_FLOAT_EQ(MtbfHours(e.fit), 1e9F / e.fit);
    EXPECT_EQ(r.t.fit, "0.460 Parts/BPc-Hr");
    EXPECT_EQ(r.t.mtbf, "2.2 Billion-Hrs");
    EXPECT_EQ(r.t.piCV, "PI(CV) = 1.0 x uF^(0.23) = 1.698");
    EXPECT_EQ(r.t.piSR, "PI(SR) = Lookup = 3.3");
    EXPECT_EQ(r.t.piQ, "PI(Q) = SQR(%/kPcHrs) = 1.000");
    EXPECT_EQ(r.t.piE, "PI(E) = Lookup Env.= 1");
    EXPECT_EQ(r.t.stress, "S = AppV/RatedV = 0.50");
    EXPECT_EQ(r.t.failureRateCaption, "Failure Rate %/kPcHrs @125\u00B0C+Vr");
    // Nothing beyond the result: no note, no derating, no life test, no PI(V) list.
    EXPECT_EQ(r.t.note, "");
    EXPECT_EQ(r.t.noteSeparator, "NOTE: ");
    EXPECT_FALSE(r.t.stressRed);
    EXPECT_FALSE(r.t.showsDerated || r.t.hasDerivedRate || r.t.piVList);
    EXPECT_EQ(MtbfHours(0), 0);
}

// The captions, FIT and PI(E) of every type, from types.jsonl.
TEST(Engine, CaptionsFactorsAndFitOfEveryType) {
    const auto cases = quarvell::testing::ReadCases(QUARVELL_SOURCE_DIR "/tests/model/types.jsonl");
    ASSERT_EQ(cases.size(), 19U);
    for (const nlohmann::json& c : cases) {
        const std::string type = c["type"];
        SCOPED_TRACE(type);
        const int option = type == "10.13" ? 0 : kUnder01Ohm;
        const Evaluated r({.type = type, .cap = 1, .option = option});
        EXPECT_EQ(r.t.base, c["base"]);
        EXPECT_EQ(r.t.piCV, c["piCV"]);
        EXPECT_EQ(r.t.piV, c["piV"]);
        EXPECT_EQ(r.t.piT, c["piT"]);
        EXPECT_EQ(r.t.formula, c["formula"]);
        EXPECT_EQ(r.t.fit, c["fit"]);
        EXPECT_EQ(r.t.stress,
                  type == "10.13" ? "S = AppV/RatedV = 5.00E-01" : "S = AppV/RatedV = 0.50");
        EXPECT_EQ(r.t.piVList, type == "10.1j" || type == "10.1k");
        const bool optionList = type == "10.12" || type == "10.12b" || type == "10.13" ||
                                type == "10.1e" || type == "10.1f" || type == "10.1j";
        EXPECT_EQ(r.t.showsPiSR, optionList);
        EXPECT_EQ(Evaluated({.type = type, .env = 7, .option = option}).e.piE, c["piE"]);
        // Under Notice 2 the application at 25 degC is the reference temperature.
        if (FindType(type)->notice == Notice::Two) {
            EXPECT_EQ(Evaluated({.type = type, .temp = 25}).e.piT, 1);
        }
    }
}

TEST(Engine, CeramicCapacitanceFactorIsOneAtTheTypicalPart) {
    EXPECT_EQ(Evaluated({.type = "10.10", .cap = 0.0033F}).t.piCV,  // 3300 pF
              "PI(CV) = 0.41 x pF^(0.11) = 1.000");
    EXPECT_EQ(Evaluated({.type = "10.11", .cap = 0.000081F}).t.piCV,  // 81 pF
              "PI(CV) = 0.59 x pF^(0.12) = 1.000");
}

TEST(Engine, SeriesResistanceAndConstructionFactorsDependOnTheNotice) {
    const struct {
        const char* type;
        int option;
        const char* caption;
    } cases[] = {
        {"10.12", 0, "PI(SR) = Lookup = 0.066"}, {"10.1j", 4, "PI(SR) = Lookup = 2.7"},
        {"10.1f", -1, "PI(SR) = Lookup = 3.3"},  // none chosen, or beyond the list: the last
        {"10.1f", 6, "PI(SR) = Lookup = 3.3"},   {"10.13", 4, "PI(Const) = Construction Type = 3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Evaluated({.type = c.type, .option = c.option}).t.piSR, c.caption)
            << c.type << " " << c.option;
    }
    // Without an option list both factors are 1 and there is no caption.
    const Evaluated r({.type = "10.1c", .option = 2});
    EXPECT_EQ(r.e.piSR, 1);
    EXPECT_EQ(r.e.piConst, 1);
    EXPECT_FALSE(r.t.showsPiSR);
    // PI(SR) counts in Notice 1 too: 10.12 at (<0.1 Ohms/V) is 5.44 (above), at 0.066 a fifth.
    EXPECT_EQ(Evaluated({.type = "10.12", .cap = 1, .option = 0}).t.fit, "1.09 Parts/BPc-Hr");
}

// PI(Q) is the square root of the level's rate, from the first level to the last, or of the
// rate entered.
TEST(Engine, QualityFactorOfTheFixedLevelsAndAnEnteredRate) {
    const struct {
        int level;
        float rate;
        const char* piQ;
    } cases[] = {
        {2, 0.001F, "0.032"}, {8, 1, "1.000"}, {12, 100, "10.000"}, {kRateLevel, 0.25F, "0.500"}};
    for (const auto& c : cases) {
        const Evaluated r({.level = c.level, .rate = 0.25F});
        EXPECT_EQ(r.e.failureRate, c.rate) << c.level;
        EXPECT_EQ(r.t.piQ, std::string("PI(Q) = SQR(%/kPcHrs) = ") + c.piQ) << c.level;
        EXPECT_FALSE(r.t.hasDerivedRate) << c.level;
    }
}

TEST(Engine, LifeTestDerivesTheFailureRateFromAllThreeValues) {
    const struct {
        LifeTest test;  // pieces, hours, failures, bias
        const char* rateText;
        float rate;
    } cases[] = {
        {{100, 1000, 2, 1}, "2.00%/kPcHr", 2},
        {{100, 1000, 2, 2}, "0.25%/kPcHr", 0.25F},  // divided by the bias cubed
        {{1000, 100, 0.01F, 1}, "0.01%/kPcHr", 0.01F},
        {{1000, 100, 0.001F, 1}, "0.001%/kPcHr", 0.001F},
        {{1000, 100, 0.0005F, 1}, "0.50PPM/kPcHr", 0.0005F},
        // The product is taken in double: no underflow on the way to a rate far too large.
        {{1e-30F, 1e-30F, 1e30F, 1}, "Out of range", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rateText);
        const Evaluated r({.level = kLifeTestLevel, .test = c.test});
        EXPECT_EQ(r.t.derivedRate, c.rateText);
        EXPECT_EQ(r.e.missingRate, MissingRate::None);
        if (c.rate != 0) {
            EXPECT_FLOAT_EQ(r.e.failureRate, c.rate);
            EXPECT_FLOAT_EQ(r.e.piQ, std::sqrt(c.rate));
            EXPECT_TRUE(Usable(r.e));
        } else {
            EXPECT_EQ(r.e.firstOutOfRange, Quantity::FailureRate);
            EXPECT_EQ(r.t.piQ, "PI(Q) = SQR(%/kPcHrs) = Out of range");
        }
    }
}

// Without a rate of its own a part shows no number rather than a FIT from some other rate.
TEST(Engine, NoRateNoNumber) {
    const struct {
        const char* what;
        Given part;
        MissingRate missing;
    } cases[] = {
        {"no test data",
         {.level = kLifeTestLevel, .test = {0, 0, 0, 1}},
         MissingRate::LifeTestIncomplete},
        {"no failures",
         {.level = kLifeTestLevel, .test = {100, 1000, 0, 1}},
         MissingRate::NoFailures},
        {"failures still to be entered",
         {.level = kLifeTestLevel, .test = {100, 1000, 0, 1, false}},
         MissingRate::LifeTestIncomplete},
        {"negative hours",
         {.level = kLifeTestLevel, .test = {100, -5, 1, 1}},
         MissingRate::LifeTestIncomplete},
        {"no rate entered", {.level = kRateLevel, .rate = 0}, MissingRate::NotEntered},
        {"no level chosen", {.level = -1}, MissingRate::NotEntered},
        {"beyond the levels", {.level = 13}, MissingRate::NotEntered},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Evaluated r(c.part);
        EXPECT_EQ(r.e.missingRate, c.missing);
        EXPECT_EQ(r.e.fit, 0);
        EXPECT_FALSE(Usable(r.e));
        EXPECT_EQ(r.t.fit, "");
        EXPECT_EQ(r.t.mtbf, "");
        EXPECT_EQ(r.t.note, "NOTE: " + std::string(MissingRateNote(c.missing)));
        if (c.part.level == kLifeTestLevel) {
            EXPECT_EQ(r.t.derivedRate, "");
            EXPECT_EQ(r.t.piQ, "PI(Q) = SQR(%/kPcHrs) = ");
        }
    }
}

TEST(Engine, Type10_15TakesTheRoundedKelvin) {
    // 50.5 degC is 323.5 K: 10.15 and 10.15b take it rounded (to even), the other types as it is.
    for (const char* type : {"10.15", "10.15b"}) {
        const Evaluated r({.type = type, .cap = 1, .temp = 50.5F});
        EXPECT_EQ(r.t.piT.substr(0, 28), "PI(T) = Exp[4.09 x (324/398)") << type;
        EXPECT_FLOAT_EQ(r.e.piT, static_cast<float>(std::exp(4.09 * std::pow(324.0 / 398, 5.9))))
            << type;
    }
    EXPECT_FLOAT_EQ(Evaluated({.type = "10.14", .cap = 1, .temp = 50.5F}).e.piT,
                    static_cast<float>(std::exp(5.09 * std::pow(323.5 / 398, 5))));
    // The hottest temperature the window takes, 32767 K, still fits.
    EXPECT_FLOAT_EQ(Evaluated({.type = "10.10", .temp = 32494}).e.piT,
                    static_cast<float>(std::exp(32767.0 / 398)));
}

TEST(Engine, TemperatureLimitByType) {
    const struct {
        const char* type;
        std::int16_t rating;
        float temp;
        std::int16_t limit;
    } cases[] = {
        {"10.12", 85, 20, 85},  // Notice 1: the part's own rating...
        {"10.4", 85, 20, 125},  // ...except 10.4
        {"10.1b", 150, 50, 150},  {"10.1e", 150, 50, 125}, {"10.1f", 150, 90, 125},
        {"10.1g", 150, 50, 150},  {"10.1g", 150, 90, 125},  // 125 once derated
        {"10.1j", 150, 110, 150}, {"10.1k", 150, 50, 125}, {"10.1h", 150, 50, 150},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Evaluated({.type = c.type, .rating = c.rating, .temp = c.temp}).e.tempLimit,
                  c.limit)
            << c.type << " at " << c.temp;
    }
}

TEST(Engine, RefusesAPartWithoutATypeCapacitanceOrVoltages) {
    const struct {
        Given part;
        Refusal refusal;
    } cases[] = {
        {{.type = "10.99"}, Refusal::UnknownType},
        {{.cap = 0}, Refusal::NoCapacitance},
        {{.cap = -1}, Refusal::NoCapacitance},
        {{.cap = kNaN}, Refusal::NoCapacitance},
        {{.cap = kInf}, Refusal::NoCapacitance},
        {{.cap = 0, .volt = 0}, Refusal::NoCapacitance},
        {{.volt = 0}, Refusal::NoRatedVoltage},
        {{.volt = -5}, Refusal::NoRatedVoltage},
        {{.volt = kInf}, Refusal::NoRatedVoltage},
        {{.volt = kNaN}, Refusal::NoRatedVoltage},
        // A reversed voltage would give a negative FIT; none applied is a part at rest.
        {{.app = -10}, Refusal::NoVoltage},
        {{.app = kNaN}, Refusal::NoVoltage},
        {{.app = 0}, Refusal::None},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.part.type) + " " + std::to_string(c.part.cap) + " / " +
                     std::to_string(c.part.volt));
        const Evaluated r(c.part);
        EXPECT_EQ(r.e.refusal, c.refusal);
        if (c.refusal == Refusal::None) {
            EXPECT_TRUE(Usable(r.e));
            continue;
        }
        EXPECT_EQ(r.e.stored, 0);
        EXPECT_FALSE(Usable(r.e));
        // Nothing to write: every text stays empty.
        EXPECT_EQ(r.t.formula + r.t.base + r.t.piE + r.t.stress + r.t.note + r.t.fit, "");
    }
}

TEST(Engine, OutOfRangeQuantitiesAreReportedNotStored) {
    const struct {
        Given part;
        Quantity first;
        std::string Texts::*caption;  // the caption that shows "Out of range", if any
    } cases[] = {
        // PI(T) beyond single precision; at absolute zero; rounded kelvin beyond 16 bits.
        {{.type = "10.4", .rating = 85, .temp = 170}, Quantity::PiT, &Texts::piT},
        {{.type = "10.1b", .temp = -273}, Quantity::PiT, &Texts::piT},
        {{.type = "10.10", .temp = 32495}, Quantity::PiT, &Texts::piT},  // 32768 K
        // 10.15 takes -272.6 degC as 0 K.
        {{.type = "10.15", .temp = -272.6F}, Quantity::PiT, &Texts::piT},
        {{.type = "10.4", .rating = -273}, Quantity::PiT, &Texts::piT},
        {{.level = kLifeTestLevel, .test = {10, 10, 1, 0}}, Quantity::FailureRate, &Texts::piQ},
        {{.level = kRateLevel, .rate = -1}, Quantity::PiQ, &Texts::piQ},
        {{.level = kRateLevel, .rate = kInf}, Quantity::FailureRate, &Texts::piQ},
        {{.type = "10.1j", .piV = 0.0F}, Quantity::PiV, &Texts::piV},  // no division by zero
        {{.type = "10.1b", .app = 1e30F}, Quantity::PiV, &Texts::piV},
        // Every factor a finite single, their product not.
        {{.type = "10.1e", .cap = 1, .volt = 1, .app = 100, .env = 13}, Quantity::Fit, &Texts::fit},
        {{.env = -1}, Quantity::PiE, &Texts::piE},
        {{.type = "10.13", .option = -1}, Quantity::PiConst, &Texts::fit},  // no construction
        {{.type = "10.10", .env = 14}, Quantity::PiE, &Texts::piE},
        // The first of several is named: Notice 2 takes PI(E) after PI(T), Notice 1 before.
        {{.type = "10.1b", .temp = -300, .env = -1}, Quantity::PiT, &Texts::piT},
        {{.type = "10.4", .rating = 85, .temp = 170, .env = -1}, Quantity::PiE, &Texts::piE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.part.type) + ": " + std::string(QuantityName(c.first)));
        const Evaluated r(c.part);
        EXPECT_EQ(r.e.firstOutOfRange, c.first);
        EXPECT_TRUE(r.e.isOutOfRange(c.first) && !r.e.has(c.first));
        EXPECT_FALSE(r.e.has(Quantity::Fit));
        EXPECT_FALSE(Usable(r.e));
        EXPECT_EQ(r.t.fit, "Out of range");
        EXPECT_EQ(r.t.mtbf, "Out of range");
        EXPECT_TRUE((r.t.*c.caption).ends_with("Out of range")) << r.t.*c.caption;
        // One warning, last, naming the first quantity out of range.
        const auto lines = NoteLines(r.t.note);
        EXPECT_TRUE(lines.back().ends_with("WARNING: Out of range - " +
                                           std::string(QuantityName(c.first)) +
                                           " is not a finite number for these inputs, so FIT and "
                                           "MTBF cannot be shown."))
            << lines.back();
        EXPECT_EQ(
            std::count_if(lines.begin(), lines.end(),
                          [](const std::string& l) { return l.find("Out of range") != l.npos; }),
            1);
    }
}

TEST(Engine, NumbersFollowTheLocale) {
    const Evaluated r({.cap = 0.5F}, kCommaLocale);
    EXPECT_EQ(r.t.fit, "0,231 Parts/BPc-Hr");
    // The fixed part of a caption stays as written; its numbers follow the locale.
    EXPECT_EQ(r.t.piCV, "PI(CV) = 1.0 x uF^(0,23) = 0,853");
}

TEST(PiVDenominator, IsANumberFromHalfToOneInTheUsersOrTheListsWriting) {
    const struct {
        const char* text;
        NumberLocale locale;
        float value;  // 0: none
    } cases[] = {
        {".8", kPeriodLocale, 0.8F},      {".8", kCommaLocale, 0.8F},  // as the list writes it
        {"0,75", kCommaLocale, 0.75F},    {"0,75", kPeriodLocale, 0}, {"1", kPeriodLocale, 1},
        {"0.5", kPeriodLocale, 0.5F},     {"0.45", kPeriodLocale, 0}, {"1.1", kPeriodLocale, 0},
        {"1.00000001", kPeriodLocale, 1},  // checked as the single it is stored as
        {"-0.8", kPeriodLocale, 0},       {"abc", kPeriodLocale, 0},  {"", kPeriodLocale, 0},
        {"1e400", kPeriodLocale, 0},      {"PiV", kCommaLocale, 0},
    };
    for (const auto& c : cases) {
        const std::optional<float> d = PiVDenominator(c.text, c.locale);
        EXPECT_EQ(d.value_or(0), c.value) << c.text << " " << c.locale.decimal;
    }
}

}  // namespace
}  // namespace quarvell::model::testing
