// Recalculate: the factors, captions and results of both Notices, its steps and guards.

#include "model/recalculate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>

#include "model_fixture.h"

namespace quarvell::model::testing {
namespace {

TEST(Recalculate, WorkedExampleOfType10_1f) {
    Window w;
    w.run(Part{});
    const CalcResults& r = w.state.out;
    EXPECT_NEAR(r.Fit, 0.4602, 5e-5);
    // Single-precision factors, their product formed in double precision and rounded once.
    EXPECT_EQ(r.Fit, static_cast<float>(static_cast<double>(r.PiCV) * r.Base * r.PiV * r.PiT *
                                        r.PiSR * r.PiQ * r.PiE * 1000));
    EXPECT_EQ(w.txtFIT.text(), "0.460 Parts/BPc-Hr");
    EXPECT_EQ(w.txtMTBF.text(), "2.2 Billion-Hrs");
    EXPECT_EQ(w.lblPIc.caption(), "PI(CV) = 1.0 x uF^(0.23) = 1.698");
    EXPECT_EQ(w.lblPIsr.caption(), "PI(SR) = Lookup = 3.3");
    EXPECT_EQ(w.lblPIq.caption(), "PI(Q) = SQR(%/kPcHrs) = 1.000");
    EXPECT_EQ(w.lblPIe.caption(), "PI(E) = Lookup Env.= 1");
    EXPECT_EQ(w.lblS.caption(), "S = AppV/RatedV = 0.50");
    EXPECT_EQ(w.lblFR.caption(), "Failure Rate %/kPcHrs @125\u00B0C+Vr");
    // Everything the result needs is shown; the unused controls are not.
    for (const platform::Control* c : w.resultControls()) {
        const bool unused =
            c == &w.txtDerated || c == &w.lblUnity || c == &w.cmbPiV || c == &w.lblNote;
        if (c != &w.lblFR && c != &w.txtFR && c != &w.hscApp) {  // shown by the window
            EXPECT_EQ(c->visible(), !unused) << c->name();
        }
    }
    EXPECT_EQ(w.lblS.foreColor(), platform::kBlack);
    // The list positions it reads are kept in the inputs.
    w.run({.level = 4, .env = 9, .res = 3});
    EXPECT_EQ(std::tie(w.state.in.FrLevel, w.state.in.EnvIndex, w.state.in.ResIndex),
              std::tuple(4, 9, 3));
}

const std::string kN2 = "FIT=Base x PI(CV) x PI(T) x PI(V) x PI(Q) x PI(E) x 1000";
const std::string kN2SR = "FIT=Base x PI(CV) x PI(T) x PI(SR) x PI(V) x PI(Q) x PI(E) x 1000";
const std::string kCv09 = "PI(CV) = 1.0 x uF^(0.09) = 1.000";
const std::string kCv23 = "PI(CV) = 1.0 x uF^(0.23) = 1.000";
const std::string kT15 = "PI(T) = Exp[-0.15/(8.617E-5) x (1/Tamb - 1/298)] = 1.572";
const std::string kT35 = "PI(T) = Exp[-0.35/(8.617E-5) x (1/Tamb - 1/298)] = 2.872";

TEST(Recalculate, CaptionsAndResultOfEveryType) {
    // 1 uF, 10 V rated, 5 V applied, 50 degC, rated +125 degC, PI(Q) 1, G(B), (<0.1 Ohms/V) or
    // construction 0. Expected values computed independently from the handbook formulas.
    const struct {
        std::string type, base, cv, v, t, formula, fit;
    } cases[] = {
        {"10.4", "Base = 0.00099", "PI(CV) = 1.1 x uF^(0.085) = 1.100",
         "PI(V) = [(S/0.4)^5]+1 = 4.052", "PI(T) = Exp[2.5 x (323/398)^18] = 1.060",
         "FIT={Base x PI(T) x PiV} x PI(CV) x PI(Q) x PI(E) x 1000"
         "   CFR Style - Metalized Paper/Film",
         "4.68 Parts/BPc-Hr"},
        // Mended: the ceramic PI(CV) takes picofarads (0.41 in microfarads).
        {"10.10", "Base = 0.0003", "PI(CV) = 0.41 x pF^(0.11) = 1.874",
         "PI(V) = [(S/0.3)^3]+1 = 5.630", "PI(T) = Exp[323/398] = 2.251",
         "FIT={Base x PI(V) x PI(T)} x PI(CV) x PI(Q) x PI(E) x 1000"
         "   CK,CKR Style - Ceramic Leaded",
         "7.13 Parts/BPc-Hr"},
        {"10.11", "Base = 2.6E-9", "PI(CV) = 0.59 x pF^(0.12) = 3.096",
         "PI(V) = [(S/0.3)^3]+1 = 5.630", "PI(T) = Exp[14.3 x (323/398)] = 109,674.961",
         "FIT={Base x PI(V) x PI(T)} x PI(CV) x PI(Q) x PI(E) x 1000"
         "   CCR,CC,CDR Style - Ceramic Chip",
         "4.97 Parts/BPc-Hr"},
        {"10.12", "Base = 0.00375", "PI(CV) = 1.0 x uF^(0.12) = 1.000",
         "PI(V) = [(S/0.4)^3]+1 = 2.953", "PI(T) = Exp[2.6 x (323/398)^9] = 1.487",
         "FIT={Base x PI(V) x PI(T)} x PI(CV) x PI(SR) x PI(Q) x PI(E) x 1000"
         "   CSR Style - Tantalum, Solid Electrolyte",
         "5.44 Parts/BPc-Hr"},
        {"10.13", "Base = .00165", "PI(CV) = 0.82 x uF^(0.066) = 0.820",
         "PI(V) = [(S/0.4)^3]+1 = 2.953", "PI(T) = Exp[2.6 x (323/398)^9] = 1.487",
         "FIT={Base x PI(V) x PI(T)} x PI(CV) x PI(Const) x PI(Q) x PI(E) x 1000"
         "   CL,CLR Style - Tantalum Wet",
         "1.78 Parts/BPc-Hr"},
        // Mended: the wet-aluminium temperature exponent is 5 (18 gives 1.13).
        {"10.14", "Base = .00254", "PI(CV) = 0.34 x uF^(0.18) = 0.340",
         "PI(V) = [(S/0.5)^3]+1 = 2.000", "PI(T) = Exp[5.09 x (323/398)^5] = 6.001",
         kN2 + "   CUR Style - Aluminum, wet electrolyte, polarized", "10.36 Parts/BPc-Hr"},
        {"10.15", "Base = .0028", "PI(CV) = 0.32 x uF^(0.19) = 0.320",
         "PI(V) = [(S/0.55)^3]+1 = 1.751", "PI(T) = Exp[4.09 x (323/398)^5.9] = 3.298",
         "FIT={Base x PI(T) x PiV} x PI(CV) x PI(Q) x PI(E) x 1000"
         "   CE Style - Aluminum, Dry electrolyte, polarized",
         "5.17 Parts/BPc-Hr"},
        {"10.1b", "Base = 0.00051", kCv09, "PI(V) = [(S/0.6)^5]+1 = 1.402", kT15,
         kN2 + "   CFR Style - Metalize Paper/Film", "1.12 Parts/BPc-Hr"},
        {"10.1c", "Base = 0.00099", kCv09, "PI(V) = [(S/0.6)^3]+1 = 1.579", kT35,
         kN2 + "   CC,CCR,CK,CKR Style - Ceramic General", "4.49 Parts/BPc-Hr"},
        {"10.1d", "Base = 0.002", kCv09, "PI(V) = [(S/0.6)^3]+1 = 1.579", kT35,
         kN2 + "   CDR Style - Ceramic Chip", "9.07 Parts/BPc-Hr"},
        {"10.1e", "Base = 0.0004", kCv23, "PI(V) = [(S/0.6)^17]+1 = 1.045", kT15,
         kN2SR + "   CSR Style - Tantalum Leaded", "2.17 Parts/BPc-Hr"},
        {"10.1f", "Base = 0.00005", kCv23, "PI(V) = [(S/0.6)^17]+1 = 1.045", kT15,
         kN2SR + "   CWR Style - Tantalum Chip", "0.271 Parts/BPc-Hr"},
        {"10.1g", "Base = 0.0004", kCv23, "PI(V) = [(S/0.6)^17]+1 = 1.045", kT15,
         kN2 + "   CL,CLR Style - Tantalum Wet", "0.657 Parts/BPc-Hr"},
        {"10.1h", "Base = 0.00012", kCv23, "PI(V) = [(S/0.6)^5]+1 = 1.402", kT35,
         kN2 + "   CUR Style - Wet Aluminum", "0.483 Parts/BPc-Hr"},
        {"10.1i", "Base = 0.00012", kCv23, "PI(V) = [(S/0.6)^5]+1 = 1.402", kT35,
         kN2 + "   CE Style - Dry Aluminum", "0.483 Parts/BPc-Hr"},
        {"10.1j", "Base = 0.00005", kCv23, "PI(V) = [(S/0.8)^17]+1 = 1.000", kT15, kN2SR,
         "0.259 Parts/BPc-Hr"},
        {"10.1k", "Base = 0.00012", kCv23, "PI(V) = [(S/0.9)^5]+1 = 1.053", kT35, kN2SR,
         "0.363 Parts/BPc-Hr"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        Window w;
        const bool resList = c.type == "10.12" || c.type == "10.13" || c.type == "10.1e" ||
                             c.type == "10.1f" || c.type == "10.1j";
        w.run({.type = c.type, .cap = "1", .resList = resList, .res = c.type == "10.13" ? 0 : 5});
        EXPECT_EQ(w.lblBase.caption(), c.base);
        EXPECT_EQ(w.lblPIc.caption(), c.cv);
        EXPECT_EQ(w.lblPIv.caption(), c.v);
        EXPECT_EQ(w.lblPIt.caption(), c.t);
        EXPECT_EQ(w.lblFormula.caption(), c.formula);
        EXPECT_EQ(w.txtFIT.text(), c.fit);
        EXPECT_EQ(w.lblPIsr.visible(), resList);
        EXPECT_EQ(w.lblS.caption(),
                  c.type == "10.13" ? "S = AppV/RatedV = 5.00E-01" : "S = AppV/RatedV = 0.50");
        // Under Notice 2 the application at 25 degC is the reference temperature.
        if (c.type.size() == 5 && c.type[4] >= 'a') {
            w.run({.type = c.type, .temp = 25, .resList = resList});
            EXPECT_EQ(w.state.out.PiT, 1);
        }
    }
}

TEST(Recalculate, MendedCeramicCapacitanceFactorIsOneAtTheTypicalPart) {
    Window w;
    w.run({.type = "10.10", .cap = "0.0033"});  // 3300 pF
    EXPECT_EQ(w.lblPIc.caption(), "PI(CV) = 0.41 x pF^(0.11) = 1.000");
    w.run({.type = "10.11", .cap = "0.000081"});  // 81 pF
    EXPECT_EQ(w.lblPIc.caption(), "PI(CV) = 0.59 x pF^(0.12) = 1.000");
}

TEST(Recalculate, SeriesResistanceAndConstructionFactorsDependOnTheNotice) {
    const struct {
        const char* type;
        int res;
        const char* caption;
    } cases[] = {
        {"10.12", 0, "PI(SR) = Lookup = 0.066"},
        {"10.1e", 0, "PI(SR) = Lookup = 0.66"},
        {"10.1j", 4, "PI(SR) = Lookup = 2.7"},
        {"10.1f", -1, "PI(SR) = Lookup = 3.3"},  // none selected: the last position
        {"10.13", 4, "PI(Const) = Construction Type = 3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + std::to_string(c.res));
        Window w;
        w.run({.type = c.type, .res = c.res});
        EXPECT_EQ(w.lblPIsr.caption(), c.caption);
    }
    // Without the list both factors are 1 and the caption is hidden.
    Window w;
    w.run({.type = "10.1c", .resList = false});
    EXPECT_EQ(w.state.out.PiSR, 1);
    EXPECT_EQ(w.state.out.PiConst, 1);
    EXPECT_FALSE(w.lblPIsr.visible());
}

TEST(Recalculate, QualityFactorOfTheFixedLevelsAndAnEnteredRate) {
    const struct {
        int level;
        float rate;
        const char* piQ;
    } cases[] = {
        {2, 0.001F, "0.032"}, {4, 0.1F, "0.316"},
        {5, 0.001F, "0.032"}, {8, 1, "1.000"},
        {9, 3, "1.732"},      {11, 10, "3.162"},
        {12, 100, "10.000"},  {kLevelEntered, 0.25F, "0.500"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.level);
        Window w;
        w.state.in.EnteredRate = 0.25F;
        w.run({.level = c.level});
        EXPECT_EQ(w.state.out.FailureRate, c.rate);
        EXPECT_EQ(w.lblPIq.caption(), std::string("PI(Q) = SQR(%/kPcHrs) = ") + c.piQ);
    }
}

TEST(Recalculate, LifeTestDerivesTheFailureRateFromAllThreeValues) {
    const struct {
        float pieces, hours, failures, bias;
        const char* rateText;  // after a result at 0.1 %/kPcHr
        float rate;
    } cases[] = {
        {100, 1000, 2, 1, "2.00%/kPcHr", 2},
        {100, 1000, 2, 2, "0.25%/kPcHr", 0.25F},  // divided by the bias cubed
        {1000, 100, 0.05F, 1, "0.05%/kPcHr", 0.05F},
        {1000, 100, 0.005F, 1, "0.005%/kPcHr", 0.005F},
        {1000, 100, 0.0005F, 1, "0.50PPM/kPcHr", 0.0005F},
        // No usable data: the stored rate stays, but nothing is shown as derived from them.
        {0, 0, 0, 1, "", 0.1F},
        {100, 1000, 0, 1, "", 0.1F},
        {100, -5, 1, 1, "", 0.1F},
        // The product is taken in double: no underflow on the way.
        {1e-30F, 1e-30F, 1e30F, 1, "Out of range", 0.1F},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rateText);
        Window w;
        w.run({.level = 7});  // 0.100%/kPcHr
        w.state.in.TestPieces = c.pieces;
        w.state.in.TestHours = c.hours;
        w.state.in.TestFailures = c.failures;
        w.state.in.LifeBias = c.bias;
        w.run({.level = kLevelLifeTest});
        EXPECT_FLOAT_EQ(w.state.out.FailureRate, c.rate);
        EXPECT_EQ(w.txtFR.text(), c.rateText);
        const bool incomplete = c.rateText[0] == '\0';
        if (incomplete) {
            EXPECT_EQ(w.txtFIT.text(), "");
            EXPECT_EQ(w.txtMTBF.text(), "");
            EXPECT_EQ(w.state.out.Fit, 0);
            EXPECT_EQ(w.noteLines().back(),
                      "NOTE: Life test incomplete: enter hours, pieces and failures.");
        } else if (w.txtFIT.text() != "Out of range") {
            EXPECT_FLOAT_EQ(w.state.out.PiQ, std::sqrt(c.rate));
        }
        EXPECT_EQ(w.state.out.Usable, !incomplete && w.txtFIT.text() != "Out of range");
    }
}

TEST(Recalculate, Type10_15bIsType10_15AndTakesTheRoundedKelvin) {
    for (const float temp : {-20.0F, 50.4F, 50.5F, 120.0F}) {
        SCOPED_TRACE(temp);
        Window a;
        Window b;
        a.run({.type = "10.15", .cap = "220", .volt = "25", .app = 20, .temp = temp, .env = 6});
        b.run({.type = "10.15b", .cap = "220", .volt = "25", .app = 20, .temp = temp, .env = 6});
        EXPECT_EQ(Tie(a.state.out), Tie(b.state.out));
        EXPECT_EQ(a.shown(), b.shown());
    }
    // 50.5 degC is 323.5 K: 10.15 takes it rounded, the other types as it is.
    Window w;
    w.run({.type = "10.15", .cap = "1", .temp = 50.5F});
    EXPECT_EQ(w.lblPIt.caption().substr(0, 28), "PI(T) = Exp[4.09 x (324/398)");
    EXPECT_FLOAT_EQ(w.state.out.PiT,
                    static_cast<float>(std::exp(4.09 * std::pow(324.0 / 398, 5.9))));
    w.run({.type = "10.14", .cap = "1", .temp = 50.5F});
    EXPECT_FLOAT_EQ(w.state.out.PiT, static_cast<float>(std::exp(5.09 * std::pow(323.5 / 398, 5))));
}

TEST(Recalculate, EnvironmentFactorOfEveryTable) {
    const struct {
        const char* type;
        float env[14];
    } cases[] = {
        {"10.10", {1, 2, 9, 5, 15, 4, 4, 8, 12, 20, 0.4F, 13, 34, 610}},
        {"10.11", {1, 2, 10, 5, 17, 4, 8, 16, 35, 24, 0.5F, 13, 34, 610}},
        {"10.12", {1, 2, 8, 5, 14, 4, 5, 12, 20, 24, 0.4F, 11, 29, 530}},
        {"10.12b", {1, 2, 8, 5, 14, 4, 5, 12, 20, 24, 0.4F, 11, 29, 530}},
        {"10.13", {1, 2, 10, 6, 16, 4, 8, 14, 30, 23, 0.5F, 13, 34, 610}},
        {"10.4", {1, 2, 10, 5, 16, 6, 11, 18, 30, 23, 0.5F, 13, 34, 610}},
        {"10.14", {1, 2, 12, 6, 17, 10, 12, 28, 35, 27, 0.5F, 14, 38, 690}},
        {"10.15", {1, 2, 12, 6, 17, 10, 12, 28, 35, 27, 0.5F, 14, 38, 690}},
        {"10.1b", {1, 10, 20, 7, 15, 12, 15, 25, 30, 40, 0.5F, 20, 50, 570}},
    };
    for (const auto& c : cases) {
        for (int env = 0; env < 14; ++env) {
            SCOPED_TRACE(std::string(c.type) + " env " + std::to_string(env));
            Window w;
            w.state.out.PiE = 777;  // whatever the type viewed before left
            w.run({.type = c.type, .env = env, .res = 0});
            EXPECT_EQ(w.state.out.PiE, c.env[env]);
        }
    }
    Window w;
    w.run({.type = "10.12", .env = 10});
    EXPECT_EQ(w.lblPIe.caption(), "PI(E) = Lookup Env.= 0.4");
}

TEST(Recalculate, TemperatureLimitByType) {
    const struct {
        const char* type;
        const char* rating;
        float temp;
        std::int16_t limit;
    } cases[] = {
        {"10.12", "+85\u00B0C", 20, 85},  // Notice 1: the part's own rating...
        {"10.4", "+85\u00B0C", 20, 125},  // ...except 10.4, whose limit type selection sets
        {"10.1b", "+150\u00B0C", 50, 150}, {"10.1e", "+150\u00B0C", 50, 125},
        {"10.1f", "+150\u00B0C", 90, 125}, {"10.1g", "+150\u00B0C", 50, 150},
        {"10.1g", "+150\u00B0C", 90, 125}, {"10.1j", "+150\u00B0C", 110, 150},
        {"10.1k", "+150\u00B0C", 50, 125}, {"10.1h", "+150\u00B0C", 50, 150},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + std::to_string(c.temp));
        Window w;
        w.run({.type = c.type, .rating = c.rating, .temp = c.temp});
        EXPECT_EQ(w.state.out.TempLimit, c.limit);
    }
}

TEST(Recalculate, SuspendedChangesNothing) {
    Window w;
    w.run(Part{});
    const CalcState before = w.state;
    const Lines shown = w.shown();
    // 10.1k would select its default denominator.
    w.use({.type = "10.1k", .rating = "+85\u00B0C", .cap = "47", .temp = 120, .level = 12});
    SuspendRecalculation(w.state);
    w.recalc();
    EXPECT_EQ(Tie(w.state.out), Tie(before.out));
    EXPECT_EQ(w.state.in.TempRating, before.in.TempRating);
    EXPECT_EQ(w.state.NoteSeparator, before.NoteSeparator);
    EXPECT_EQ(w.shown(), shown);
    ResumeRecalculation(w.state);
    w.recalc();
    EXPECT_NE(w.shown(), shown);
}

TEST(Recalculate, UnusableInputsLeaveEveryResultAsItWas) {
    const struct {
        const char* type;
        const char* volt;
        const char* cap;
    } cases[] = {
        {"10.1e", "abc", "10"},   {"10.1e", "", "10"},   {"10.1e", "10", "abc"},
        {"10.1e", "10", ""},      {"10.1e", "0", "10"},  {"10.1e", "-5", "10"},
        {"10.1e", "10", "0"},     {"10.1e", "10", "-1"}, {"10.1e", "1e39", "10"},
        {"10.1e", "10", "1e-50"}, {"10.99", "10", "10"},  // an unknown code computes nothing
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + c.volt + " / " + c.cap);
        Window w;
        w.run(Part{});
        const Lines shown = w.shown();
        const CalcResults results = w.state.out;
        w.run({.type = c.type, .cap = c.cap, .volt = c.volt, .temp = 120, .level = 12});
        if (std::string(c.type) != "10.99") {
            EXPECT_EQ(w.shown(), shown);
        }
        EXPECT_EQ(w.state.out.Fit, results.Fit);
        EXPECT_EQ(w.state.out.PiCV, results.PiCV);
        EXPECT_EQ(w.txtFIT.text(), "0.460 Parts/BPc-Hr");
    }
    // Before any usable input nothing is shown at all.
    Window w;
    w.run({.volt = ""});
    EXPECT_FALSE(w.txtFIT.visible());
    EXPECT_FALSE(w.lblFormula.visible());
}

TEST(Recalculate, NumbersFollowTheLocaleAndTheDenominatorIsReadWithAPeriod) {
    Window w;
    w.loc = model::kCommaLocale;
    w.state.in.DecimalIsPoint = false;
    w.run({.cap = "0,5"});
    EXPECT_EQ(w.txtFIT.text(), "0,231 Parts/BPc-Hr");
    // The fixed part of a caption stays as written; its numbers follow the locale.
    EXPECT_EQ(w.lblPIc.caption(), "PI(CV) = 1.0 x uF^(0,23) = 0,853");
    w.cmbPiV.select(2);
    w.run({.type = "10.1j"});
    EXPECT_EQ(w.lblPIv.caption(), "PI(V) = [(S/0,8)^17]+1 = 1,000");
    EXPECT_EQ(w.state.in.PiVDenominatorText, ".8");
}

// An MTBF never stands beside a FIT it does not belong to.
TEST(Recalculate, NoRateShowsNoNumberAndAZeroFitNoMtbf) {
    Window w;
    w.run(Part{});
    w.state.in.EnteredRate = 0;  // no rate was ever entered
    w.run({.level = kLevelEntered});
    EXPECT_EQ(w.txtFIT.text(), "");
    EXPECT_EQ(w.txtMTBF.text(), "");
    EXPECT_EQ(w.state.out.Fit, 0);
    EXPECT_FALSE(w.state.out.Usable);
    EXPECT_EQ(w.noteLines(), Lines{"NOTE: No failure rate entered."});

    w.run(Part{});
    w.run({.temp = -260});  // PI(T) underflows to 0
    EXPECT_EQ(w.state.out.PiT, 0);
    EXPECT_EQ(w.txtFIT.text(), "0 Parts/BPc-Hr");
    EXPECT_EQ(w.txtMTBF.text(), "");
    EXPECT_FALSE(w.state.out.Usable);
}

TEST(Recalculate, OutOfRangeResultsAreReportedNotStored) {
    const struct {
        Part part;
        const char* warned;
        Label Window::*caption;  // the caption that shows "Out of range", if any
        void (*script)(Window&) = nullptr;
    } cases[] = {
        // PI(T) beyond single precision; below absolute zero; rounded kelvin beyond 16 bits.
        {{.type = "10.4", .rating = "+85\u00B0C", .temp = 170}, "PI(T)", &Window::lblPIt},
        {{.type = "10.1b", .temp = -300}, "PI(T)", &Window::lblPIt},
        {{.type = "10.15", .temp = 40000}, "PI(T)", &Window::lblPIt},
        {{.level = kLevelLifeTest},
         "the failure rate",
         &Window::lblPIq,
         [](Window& w) { w.state.in.LifeBias = 0; }},
        {{.level = kLevelEntered},
         "PI(Q)",
         &Window::lblPIq,
         [](Window& w) { w.state.in.EnteredRate = -1; }},
        // A denominator typed that is no number: no selection for the model to replace.
        {{.type = "10.1j"},
         "PI(V)",
         &Window::lblPIv,
         [](Window& w) {
             w.cmbPiV.addItem("abc");
             w.cmbPiV.select(6);
         }},
        {{.env = -1}, "PI(E)", nullptr},  // no environment selected
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.part.type + ": " + c.warned);
        Window w;
        w.run(Part{});
        const CalcResults good = w.state.out;
        w.state.in.TestPieces = w.state.in.TestHours = 10;
        w.state.in.TestFailures = 1;
        if (c.script != nullptr) {
            c.script(w);
        }
        w.run(c.part);
        EXPECT_EQ(w.txtFIT.text(), "Out of range");
        EXPECT_EQ(w.txtMTBF.text(), "Out of range");
        EXPECT_EQ(w.state.out.Fit, good.Fit);  // the previous result, never inf or nan
        if (c.caption != nullptr) {
            EXPECT_TRUE((w.*c.caption).caption().ends_with("Out of range"));
        }
        // One warning, last, naming the first quantity out of range.
        const Lines lines = w.noteLines();
        int warnings = 0;
        for (const std::string& l : lines) {
            warnings += l.find("Out of range") != std::string::npos ? 1 : 0;
        }
        EXPECT_EQ(warnings, 1);
        EXPECT_NE(lines.back().find(std::string("WARNING: Out of range - ") + c.warned +
                                    " is not a finite number"),
                  std::string::npos)
            << lines.back();
        for (const std::string& t : w.shown()) {
            EXPECT_EQ(t.find("inf"), std::string::npos) << t;
            EXPECT_EQ(t.find("nan"), std::string::npos) << t;
        }
        // Usable inputs recalculate cleanly again.
        w.state.in.LifeBias = 1;
        w.cmbPiV.select(2);
        w.run(Part{});
        EXPECT_EQ(w.txtFIT.text(), "0.460 Parts/BPc-Hr");
        EXPECT_FALSE(w.lblNote.visible());
    }
}

}  // namespace
}  // namespace quarvell::model::testing
