// The engine at its API: a part in, every factor, caption and result out, for both Notices,
// the parts it refuses or cannot rate, and the quantities it reports out of range.

#include "model/engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "part.h"

namespace quarvell::model::testing {
namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST(Engine, WorkedExampleOf10_1f) {
    const Evaluated r(Spec{});
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

const std::string kN2 = "FIT=Base x PI(CV) x PI(T) x PI(V) x PI(Q) x PI(E) x 1000";
const std::string kN2SR = "FIT=Base x PI(CV) x PI(T) x PI(SR) x PI(V) x PI(Q) x PI(E) x 1000";
const std::string kTV = "FIT={Base x PI(T) x PiV} x PI(CV) x PI(Q) x PI(E) x 1000";
const std::string kVT = "FIT={Base x PI(V) x PI(T)} x PI(CV) x PI(Q) x PI(E) x 1000";
const std::string kCSR =
    "FIT={Base x PI(V) x PI(T)} x PI(CV) x PI(SR) x PI(Q) x PI(E) x 1000"
    "   CSR Style - Tantalum, Solid Electrolyte";
const std::string kCE = kTV + "   CE Style - Aluminum, Dry electrolyte, polarized";
const std::string kV1 = "PI(V) = [(S/0.4)^3]+1 = 2.953";
const std::string kT9 = "PI(T) = Exp[2.6 x (323/398)^9] = 1.487";
const std::string kCv09 = "PI(CV) = 1.0 x uF^(0.09) = 1.000";
const std::string kCv23 = "PI(CV) = 1.0 x uF^(0.23) = 1.000";
const std::string kT15 = "PI(T) = Exp[-0.15/(8.617E-5) x (1/Tamb - 1/298)] = 1.572";
const std::string kT35 = "PI(T) = Exp[-0.35/(8.617E-5) x (1/Tamb - 1/298)] = 2.872";

TEST(Engine, CaptionsFactorsAndFitOfEveryType) {
    // 1 uF, 10 V rated, 5 V applied, 50 degC, rated +125 degC, PI(Q) 1, G(B), (<0.1 Ohms/V) or
    // construction 0. Expected values computed independently from the handbook formulas; piE is
    // PI(E) at A(UC), where every table differs.
    const struct {
        const char *type, *base;
        std::string cv, v, t, formula;
        const char* fit;
        float piE;
    } cases[] = {
        {"10.4", "Base = 0.00099", "PI(CV) = 1.1 x uF^(0.085) = 1.100",
         "PI(V) = [(S/0.4)^5]+1 = 4.052", "PI(T) = Exp[2.5 x (323/398)^18] = 1.060",
         kTV + "   CFR Style - Metalized Paper/Film", "4.68 Parts/BPc-Hr", 18},
        // The ceramic PI(CV) takes picofarads (0.41 in microfarads).
        {"10.10", "Base = 0.0003", "PI(CV) = 0.41 x pF^(0.11) = 1.874",
         "PI(V) = [(S/0.3)^3]+1 = 5.630", "PI(T) = Exp[323/398] = 2.251",
         kVT + "   CK,CKR Style - Ceramic Leaded", "7.13 Parts/BPc-Hr", 8},
        {"10.11", "Base = 2.6E-9", "PI(CV) = 0.59 x pF^(0.12) = 3.096",
         "PI(V) = [(S/0.3)^3]+1 = 5.630", "PI(T) = Exp[14.3 x (323/398)] = 109,674.961",
         kVT + "   CCR,CC,CDR Style - Ceramic Chip", "4.97 Parts/BPc-Hr", 16},
        {"10.12", "Base = 0.00375", "PI(CV) = 1.0 x uF^(0.12) = 1.000", kV1, kT9, kCSR,
         "5.44 Parts/BPc-Hr", 12},
        {"10.12b", "Base = 0.00375", "PI(CV) = 1.0 x uF^(0.12) = 1.000", kV1, kT9, kCSR,
         "5.44 Parts/BPc-Hr", 12},
        {"10.13", "Base = .00165", "PI(CV) = 0.82 x uF^(0.066) = 0.820", kV1, kT9,
         "FIT={Base x PI(V) x PI(T)} x PI(CV) x PI(Const) x PI(Q) x PI(E) x 1000"
         "   CL,CLR Style - Tantalum Wet",
         "1.78 Parts/BPc-Hr", 14},
        // The wet-aluminium temperature exponent is 5 (18 gives 1.13).
        {"10.14", "Base = .00254", "PI(CV) = 0.34 x uF^(0.18) = 0.340",
         "PI(V) = [(S/0.5)^3]+1 = 2.000", "PI(T) = Exp[5.09 x (323/398)^5] = 6.001",
         kN2 + "   CUR Style - Aluminum, wet electrolyte, polarized", "10.36 Parts/BPc-Hr", 28},
        {"10.15", "Base = .0028", "PI(CV) = 0.32 x uF^(0.19) = 0.320",
         "PI(V) = [(S/0.55)^3]+1 = 1.751", "PI(T) = Exp[4.09 x (323/398)^5.9] = 3.298", kCE,
         "5.17 Parts/BPc-Hr", 28},
        {"10.15b", "Base = .0028", "PI(CV) = 0.32 x uF^(0.19) = 0.320",
         "PI(V) = [(S/0.55)^3]+1 = 1.751", "PI(T) = Exp[4.09 x (323/398)^5.9] = 3.298", kCE,
         "5.17 Parts/BPc-Hr", 28},
        {"10.1b", "Base = 0.00051", kCv09, "PI(V) = [(S/0.6)^5]+1 = 1.402", kT15,
         kN2 + "   CFR Style - Metalize Paper/Film", "1.12 Parts/BPc-Hr", 25},
        {"10.1c", "Base = 0.00099", kCv09, "PI(V) = [(S/0.6)^3]+1 = 1.579", kT35,
         kN2 + "   CC,CCR,CK,CKR Style - Ceramic General", "4.49 Parts/BPc-Hr", 25},
        {"10.1d", "Base = 0.002", kCv09, "PI(V) = [(S/0.6)^3]+1 = 1.579", kT35,
         kN2 + "   CDR Style - Ceramic Chip", "9.07 Parts/BPc-Hr", 25},
        {"10.1e", "Base = 0.0004", kCv23, "PI(V) = [(S/0.6)^17]+1 = 1.045", kT15,
         kN2SR + "   CSR Style - Tantalum Leaded", "2.17 Parts/BPc-Hr", 25},
        {"10.1f", "Base = 0.00005", kCv23, "PI(V) = [(S/0.6)^17]+1 = 1.045", kT15,
         kN2SR + "   CWR Style - Tantalum Chip", "0.271 Parts/BPc-Hr", 25},
        {"10.1g", "Base = 0.0004", kCv23, "PI(V) = [(S/0.6)^17]+1 = 1.045", kT15,
         kN2 + "   CL,CLR Style - Tantalum Wet", "0.657 Parts/BPc-Hr", 25},
        {"10.1h", "Base = 0.00012", kCv23, "PI(V) = [(S/0.6)^5]+1 = 1.402", kT35,
         kN2 + "   CUR Style - Wet Aluminum", "0.483 Parts/BPc-Hr", 25},
        {"10.1i", "Base = 0.00012", kCv23, "PI(V) = [(S/0.6)^5]+1 = 1.402", kT35,
         kN2 + "   CE Style - Dry Aluminum", "0.483 Parts/BPc-Hr", 25},
        {"10.1j", "Base = 0.00005", kCv23, "PI(V) = [(S/0.8)^17]+1 = 1.000", kT15, kN2SR,
         "0.259 Parts/BPc-Hr", 25},
        {"10.1k", "Base = 0.00012", kCv23, "PI(V) = [(S/0.9)^5]+1 = 1.053", kT35, kN2SR,
         "0.363 Parts/BPc-Hr", 25},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        const std::string type = c.type;
        const int option = type == "10.13" ? 0 : kUnder01Ohm;
        const Evaluated r({.type = c.type, .cap = 1, .option = option});
        EXPECT_EQ(r.t.base, c.base);
        EXPECT_EQ(r.t.piCV, c.cv);
        EXPECT_EQ(r.t.piV, c.v);
        EXPECT_EQ(r.t.piT, c.t);
        EXPECT_EQ(r.t.formula, c.formula);
        EXPECT_EQ(r.t.fit, c.fit);
        EXPECT_EQ(r.t.stress,
                  type == "10.13" ? "S = AppV/RatedV = 5.00E-01" : "S = AppV/RatedV = 0.50");
        EXPECT_EQ(r.t.piVList, type == "10.1j" || type == "10.1k");
        const bool optionList = type == "10.12" || type == "10.12b" || type == "10.13" ||
                                type == "10.1e" || type == "10.1f" || type == "10.1j";
        EXPECT_EQ(r.t.showsPiSR, optionList);
        EXPECT_EQ(Evaluated({.type = c.type, .env = 7, .option = option}).e.piE, c.piE);
        // Under Notice 2 the application at 25 degC is the reference temperature.
        if (FindType(c.type)->notice == Notice::Two) {
            EXPECT_EQ(Evaluated({.type = c.type, .temp = 25}).e.piT, 1);
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

TEST(Engine, QualityFactorOfTheFixedLevelsAndAnEnteredRate) {
    const struct {
        int level;
        float rate;
        const char* piQ;
    } cases[] = {
        {2, 0.001F, "0.032"}, {4, 0.1F, "0.316"},
        {5, 0.001F, "0.032"}, {8, 1, "1.000"},
        {9, 3, "1.732"},      {11, 10, "3.162"},
        {12, 100, "10.000"},  {kRateLevel, 0.25F, "0.500"},
    };
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
        Spec part;
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
        Spec part;
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
        Spec part;
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
