// Recalculate: the factors, captions and results of both Notices, its steps and guards.

#include "model/recalculate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "model_fixture.h"

namespace quarvell::model::testing {
namespace {

TEST(Recalculate, WorkedExampleOfType10_1f) {
    Window w;
    w.run(Part{});  // 10 uF, 10 V rated, 5 V applied, 50 degC, level M, G(B), (<0.1 Ohms/V)
    const CalcResults& r = w.state.out;
    EXPECT_NEAR(r.PiCV, 1.698, 5e-4);
    EXPECT_NEAR(r.PiV, 1.045, 5e-4);
    EXPECT_NEAR(r.PiT, 1.572, 5e-4);
    EXPECT_FLOAT_EQ(r.PiSR, 3.3F);
    EXPECT_EQ(r.PiQ, 1);
    EXPECT_EQ(r.PiE, 1);
    EXPECT_EQ(r.Base, 0.00005F);
    EXPECT_NEAR(r.Fit, 0.4602, 5e-5);
    EXPECT_EQ(w.txtFIT.text(), "0.460 Parts/BPc-Hr");
    EXPECT_EQ(w.txtMTBF.text(), "2.2 Billion-Hrs");
    EXPECT_EQ(w.lblPIc.caption(), "PI(CV) = 1.0 x uF^(0.23) = 1.698");
    EXPECT_EQ(w.lblPIv.caption(), "PI(V) = [(S/0.6)^17]+1 = 1.045");
    EXPECT_EQ(w.lblPIt.caption(), "PI(T) = Exp[-0.15/(8.617E-5) x (1/Tamb - 1/298)] = 1.572");
    EXPECT_EQ(w.lblPIsr.caption(), "PI(SR) = Lookup = 3.3");
    EXPECT_EQ(w.lblPIq.caption(), "PI(Q) = SQR(%/kPcHrs) = 1.000");
    EXPECT_EQ(w.lblPIe.caption(), "PI(E) = Lookup Env.= 1");
    EXPECT_EQ(w.lblBase.caption(), "Base = 0.00005");
    EXPECT_EQ(w.lblS.caption(), "S = AppV/RatedV = 0.50");
    EXPECT_EQ(w.lblFR.caption(), "Failure Rate %/kPcHrs @125\u00B0C+Vr");
    EXPECT_EQ(w.lblFormula.caption(),
              "FIT=Base x PI(CV) x PI(T) x PI(SR) x PI(V) x PI(Q) x PI(E) x 1000"
              "   CWR Style - Tantalum Chip");
    // The product of the stored factors, rounded once.
    EXPECT_EQ(r.Fit, static_cast<float>(static_cast<double>(r.PiCV) * r.Base * r.PiV * r.PiT *
                                        r.PiSR * r.PiQ * r.PiE * 1000));
    // Everything the result needs is shown; the unused controls are not.
    for (const platform::Control* c : std::initializer_list<const platform::Control*>{
             &w.lblFormula, &w.lblBase, &w.lblPIc, &w.lblPIq, &w.lblPIe, &w.lblPIt, &w.lblPIv,
             &w.lblPIsr, &w.lblS, &w.lblCalcFIT, &w.lblCalcMTBF, &w.txtFIT, &w.txtMTBF}) {
        EXPECT_TRUE(c->visible()) << c->name();
    }
    EXPECT_FALSE(w.txtDerated.visible());
    EXPECT_FALSE(w.lblUnity.visible());
    EXPECT_FALSE(w.cmbPiV.visible());
    EXPECT_FALSE(w.lblNote.visible());
    EXPECT_EQ(w.lblS.foreColor(), platform::kBlack);
}

TEST(Recalculate, StoresTheControlsItReadIntoTheInputs) {
    Window w;
    Part p;
    p.rating = "+85\u00B0C";
    p.level = 4;
    p.env = 9;
    p.res = 3;
    w.run(p);
    EXPECT_EQ(w.state.in.TempRating, 85);
    EXPECT_EQ(w.state.in.FrLevel, 4);
    EXPECT_EQ(w.state.in.EnvIndex, 9);
    EXPECT_TRUE(w.state.in.ResListVisible);
    EXPECT_EQ(w.state.in.ResIndex, 3);
    w.cmbPiV.select(4);
    w.run(Part{.type = "10.1j"});
    EXPECT_EQ(w.state.in.PiVDenominatorText, ".6");
}

TEST(Recalculate, CaptionsAndResultOfEveryType) {
    // 1 uF, 10 V rated, 5 V applied, 50 degC, rated +125 degC, PI(Q) 1, G(B), (<0.1 Ohms/V) or
    // construction 0. Expected values computed independently from the handbook formulas.
    const struct {
        const char* type;
        const char* base;
        const char* cv;
        const char* v;
        const char* t;
        const char* formula;
        const char* fit;
    } cases[] = {
        {"10.4", "Base = 0.00099", "PI(CV) = 1.1 x uF^(0.085) = 1.100",
         "PI(V) = [(S/0.4)^5]+1 = 4.052", "PI(T) = Exp[2.5 x (323/398)^18] = 1.060",
         "FIT={Base x PI(T) x PiV} x PI(CV) x PI(Q) x PI(E) x 1000"
         "   CFR Style - Metalized Paper/Film",
         "4.68 Parts/BPc-Hr"},
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
        {"10.14", "Base = .00254", "PI(CV) = 0.34 x uF^(0.18) = 0.340",
         "PI(V) = [(S/0.5)^3]+1 = 2.000", "PI(T) = Exp[5.09 x (323/398)^5] = 6.001",
         "FIT=Base x PI(CV) x PI(T) x PI(V) x PI(Q) x PI(E) x 1000"
         "   CUR Style - Aluminum, wet electrolyte, polarized",
         "10.36 Parts/BPc-Hr"},
        {"10.15", "Base = .0028", "PI(CV) = 0.32 x uF^(0.19) = 0.320",
         "PI(V) = [(S/0.55)^3]+1 = 1.751", "PI(T) = Exp[4.09 x (323/398)^5.9] = 3.298",
         "FIT={Base x PI(T) x PiV} x PI(CV) x PI(Q) x PI(E) x 1000"
         "   CE Style - Aluminum, Dry electrolyte, polarized",
         "5.17 Parts/BPc-Hr"},
        {"10.1b", "Base = 0.00051", "PI(CV) = 1.0 x uF^(0.09) = 1.000",
         "PI(V) = [(S/0.6)^5]+1 = 1.402",
         "PI(T) = Exp[-0.15/(8.617E-5) x (1/Tamb - 1/298)] = 1.572",
         "FIT=Base x PI(CV) x PI(T) x PI(V) x PI(Q) x PI(E) x 1000"
         "   CFR Style - Metalize Paper/Film",
         "1.12 Parts/BPc-Hr"},
        {"10.1c", "Base = 0.00099", "PI(CV) = 1.0 x uF^(0.09) = 1.000",
         "PI(V) = [(S/0.6)^3]+1 = 1.579",
         "PI(T) = Exp[-0.35/(8.617E-5) x (1/Tamb - 1/298)] = 2.872",
         "FIT=Base x PI(CV) x PI(T) x PI(V) x PI(Q) x PI(E) x 1000"
         "   CC,CCR,CK,CKR Style - Ceramic General",
         "4.49 Parts/BPc-Hr"},
        {"10.1d", "Base = 0.002", "PI(CV) = 1.0 x uF^(0.09) = 1.000",
         "PI(V) = [(S/0.6)^3]+1 = 1.579",
         "PI(T) = Exp[-0.35/(8.617E-5) x (1/Tamb - 1/298)] = 2.872",
         "FIT=Base x PI(CV) x PI(T) x PI(V) x PI(Q) x PI(E) x 1000   CDR Style - Ceramic Chip",
         "9.07 Parts/BPc-Hr"},
        {"10.1e", "Base = 0.0004", "PI(CV) = 1.0 x uF^(0.23) = 1.000",
         "PI(V) = [(S/0.6)^17]+1 = 1.045",
         "PI(T) = Exp[-0.15/(8.617E-5) x (1/Tamb - 1/298)] = 1.572",
         "FIT=Base x PI(CV) x PI(T) x PI(SR) x PI(V) x PI(Q) x PI(E) x 1000"
         "   CSR Style - Tantalum Leaded",
         "2.17 Parts/BPc-Hr"},
        {"10.1f", "Base = 0.00005", "PI(CV) = 1.0 x uF^(0.23) = 1.000",
         "PI(V) = [(S/0.6)^17]+1 = 1.045",
         "PI(T) = Exp[-0.15/(8.617E-5) x (1/Tamb - 1/298)] = 1.572",
         "FIT=Base x PI(CV) x PI(T) x PI(SR) x PI(V) x PI(Q) x PI(E) x 1000"
         "   CWR Style - Tantalum Chip",
         "0.271 Parts/BPc-Hr"},
        {"10.1g", "Base = 0.0004", "PI(CV) = 1.0 x uF^(0.23) = 1.000",
         "PI(V) = [(S/0.6)^17]+1 = 1.045",
         "PI(T) = Exp[-0.15/(8.617E-5) x (1/Tamb - 1/298)] = 1.572",
         "FIT=Base x PI(CV) x PI(T) x PI(V) x PI(Q) x PI(E) x 1000"
         "   CL,CLR Style - Tantalum Wet",
         "0.657 Parts/BPc-Hr"},
        {"10.1h", "Base = 0.00012", "PI(CV) = 1.0 x uF^(0.23) = 1.000",
         "PI(V) = [(S/0.6)^5]+1 = 1.402",
         "PI(T) = Exp[-0.35/(8.617E-5) x (1/Tamb - 1/298)] = 2.872",
         "FIT=Base x PI(CV) x PI(T) x PI(V) x PI(Q) x PI(E) x 1000   CUR Style - Wet Aluminum",
         "0.483 Parts/BPc-Hr"},
        {"10.1i", "Base = 0.00012", "PI(CV) = 1.0 x uF^(0.23) = 1.000",
         "PI(V) = [(S/0.6)^5]+1 = 1.402",
         "PI(T) = Exp[-0.35/(8.617E-5) x (1/Tamb - 1/298)] = 2.872",
         "FIT=Base x PI(CV) x PI(T) x PI(V) x PI(Q) x PI(E) x 1000   CE Style - Dry Aluminum",
         "0.483 Parts/BPc-Hr"},
        {"10.1j", "Base = 0.00005", "PI(CV) = 1.0 x uF^(0.23) = 1.000",
         "PI(V) = [(S/0.8)^17]+1 = 1.000",
         "PI(T) = Exp[-0.15/(8.617E-5) x (1/Tamb - 1/298)] = 1.572",
         "FIT=Base x PI(CV) x PI(T) x PI(SR) x PI(V) x PI(Q) x PI(E) x 1000", "0.259 Parts/BPc-Hr"},
        {"10.1k", "Base = 0.00012", "PI(CV) = 1.0 x uF^(0.23) = 1.000",
         "PI(V) = [(S/0.9)^5]+1 = 1.053",
         "PI(T) = Exp[-0.35/(8.617E-5) x (1/Tamb - 1/298)] = 2.872",
         "FIT=Base x PI(CV) x PI(T) x PI(SR) x PI(V) x PI(Q) x PI(E) x 1000", "0.363 Parts/BPc-Hr"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        Window w;
        const std::string type = c.type;
        const bool resList = type == "10.12" || type == "10.13" || type == "10.1e" ||
                             type == "10.1f" || type == "10.1j";
        w.run({.type = type,
               .cap = "1",
               .resList = resList,
               .res = type == "10.13" ? 0 : kResUnder01});
        EXPECT_EQ(w.lblBase.caption(), c.base);
        EXPECT_EQ(w.lblPIc.caption(), c.cv);
        EXPECT_EQ(w.lblPIv.caption(), c.v);
        EXPECT_EQ(w.lblPIt.caption(), c.t);
        EXPECT_EQ(w.lblFormula.caption(), c.formula);
        EXPECT_EQ(w.txtFIT.text(), c.fit);
        EXPECT_EQ(w.lblPIsr.visible(), resList);
        EXPECT_EQ(w.lblS.caption(),
                  type == "10.13" ? "S = AppV/RatedV = 5.00E-01" : "S = AppV/RatedV = 0.50");
    }
}

TEST(Recalculate, SeriesResistanceAndConstructionCaptions) {
    Window w;
    w.run({.type = "10.12", .res = kResOver08});
    EXPECT_EQ(w.lblPIsr.caption(), "PI(SR) = Lookup = 0.066");
    w.run({.type = "10.13", .res = 0});
    EXPECT_EQ(w.lblPIsr.caption(), "PI(Const) = Construction Type = 0.3");
    EXPECT_FLOAT_EQ(w.state.out.PiConst, 0.3F);
}

TEST(Recalculate, SeriesResistanceFactorDependsOnTheNotice) {
    const struct {
        const char* type;
        int res;
        float piSR;
    } cases[] = {
        {"10.12", kResOver08, 0.066F}, {"10.1e", kResOver08, 0.66F}, {"10.1f", kResUnder01, 3.3F},
        {"10.12", kResUnder01, 0.33F}, {"10.1e", 1, 1.0F},           {"10.1j", 4, 2.7F},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        Window w;
        w.run({.type = c.type, .res = c.res});
        EXPECT_FLOAT_EQ(w.state.out.PiSR, c.piSR);
    }
    // Without the list the factor is 1 and its caption hidden.
    Window w;
    w.run({.type = "10.1c", .resList = false});
    EXPECT_EQ(w.state.out.PiSR, 1);
    EXPECT_EQ(w.state.out.PiConst, 1);
    EXPECT_FALSE(w.lblPIsr.visible());
}

TEST(Recalculate, QualityFactorOfEachFixedLevel) {
    const struct {
        int level;
        float rate;
        const char* caption;
    } cases[] = {
        {2, 0.001F, "0.032"}, {3, 0.01F, "0.100"},  {4, 0.1F, "0.316"},     {5, 0.001F, "0.032"},
        {6, 0.01F, "0.100"},  {7, 0.1F, "0.316"},   {8, 1.0F, "1.000"},     {9, 3.0F, "1.732"},
        {10, 9.0F, "3.000"},  {11, 10.0F, "3.162"}, {12, 100.0F, "10.000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.level);
        Window w;
        w.run({.level = c.level});
        EXPECT_EQ(w.state.out.FailureRate, c.rate);
        EXPECT_EQ(w.state.out.PiQ, static_cast<float>(std::sqrt(static_cast<double>(c.rate))));
        EXPECT_EQ(w.lblPIq.caption(), std::string("PI(Q) = SQR(%/kPcHrs) = ") + c.caption);
    }
    Window w;
    w.run({.level = 10});
    EXPECT_EQ(w.state.out.PiQ, 3);
    w.run({.level = 12});
    EXPECT_EQ(w.state.out.PiQ, 10);
    w.state.in.EnteredRate = 0.25F;
    w.run({.level = kLevelEntered});
    EXPECT_EQ(w.state.out.FailureRate, 0.25F);
    EXPECT_EQ(w.state.out.PiQ, 0.5F);
}

TEST(Recalculate, LifeTestDerivesTheFailureRate) {
    Window w;
    w.state.in.TestPieces = 100;
    w.state.in.TestHours = 1000;
    w.state.in.TestFailures = 2;
    w.run({.level = kLevelLifeTest});
    EXPECT_EQ(w.state.out.FailureRate, 2.0F);
    EXPECT_NEAR(w.state.out.PiQ, 1.414, 5e-4);
    EXPECT_EQ(w.txtFR.text(), "2.00%/kPcHr");
    w.state.in.LifeBias = 2.0F;
    w.recalc();
    EXPECT_EQ(w.state.out.FailureRate, 0.25F);
    EXPECT_EQ(w.txtFR.text(), "0.25%/kPcHr");
}

TEST(Recalculate, LifeTestWithoutDataKeepsTheFailureRate) {
    Window w;
    w.run({.level = kLevelP});
    w.txtFR.setText("untouched");
    w.run({.level = kLevelLifeTest});
    for (int pass = 0; pass < 2; ++pass) {
        w.recalc();
        EXPECT_EQ(w.state.out.FailureRate, 0.1F);
        EXPECT_EQ(w.lblPIq.caption(), "PI(Q) = SQR(%/kPcHrs) = 0.316");
        EXPECT_EQ(w.txtFR.text(), "0.10%/kPcHr");
    }
    // Two of three values are not enough.
    w.state.in.TestPieces = 100;
    w.state.in.TestHours = 1000;
    w.recalc();
    EXPECT_EQ(w.state.out.FailureRate, 0.1F);
}

TEST(Recalculate, LifeTestRateTextByMagnitude) {
    const struct {
        float failures;
        const char* text;
    } cases[] = {
        {20, "20.00%/kPcHr"},
        {0.05F, "0.05%/kPcHr"},
        {0.005F, "0.005%/kPcHr"},
        {0.0005F, "0.50PPM/kPcHr"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Window w;
        w.state.in.TestPieces = 1000;
        w.state.in.TestHours = 100;
        w.state.in.TestFailures = c.failures;  // rate = failures
        w.run({.level = kLevelLifeTest});
        EXPECT_EQ(w.txtFR.text(), c.text);
    }
}

TEST(Recalculate, ApplicationAt25DegreesGivesUnityTemperatureFactorUnderNotice2) {
    for (const char* type : {"10.1b", "10.1c", "10.1d", "10.1e", "10.1f", "10.1g", "10.1h", "10.1i",
                             "10.1j", "10.1k"}) {
        SCOPED_TRACE(type);
        Window w;
        w.run({.type = type, .temp = 25});
        EXPECT_EQ(w.state.out.PiT, 1);
        EXPECT_TRUE(w.lblPIt.caption().ends_with("] = 1.000"));
    }
}

TEST(Recalculate, Type10_15bIsType10_15) {
    for (const float temp : {-20.0F, 50.4F, 50.5F, 120.0F}) {
        SCOPED_TRACE(temp);
        Window a;
        Window b;
        a.run({.type = "10.15", .cap = "220", .volt = "25", .app = 20, .temp = temp, .env = 6});
        b.run({.type = "10.15b", .cap = "220", .volt = "25", .app = 20, .temp = temp, .env = 6});
        EXPECT_TRUE(SameResults(a.state.out, b.state.out));
        EXPECT_EQ(a.snapshot(), b.snapshot());
    }
}

TEST(Recalculate, Type10_15TakesTheRoundedKelvinTemperature) {
    // 50.5 degC is 323.5 K, rounded to even: 324.
    Window w;
    w.run({.type = "10.15", .cap = "1", .temp = 50.5F});
    EXPECT_EQ(w.lblPIt.caption().substr(0, 28), "PI(T) = Exp[4.09 x (324/398)");
    EXPECT_FLOAT_EQ(w.state.out.PiT,
                    static_cast<float>(std::exp(4.09 * std::pow(324.0 / 398, 5.9))));
    // The other types take the unrounded temperature.
    w.run({.type = "10.14", .cap = "1", .temp = 50.5F});
    EXPECT_FLOAT_EQ(w.state.out.PiT, static_cast<float>(std::exp(5.09 * std::pow(323.5 / 398, 5))));
}

TEST(Recalculate, MendedCeramicCapacitanceFactorTakesPicofarads) {
    Window w;
    w.run({.type = "10.10", .cap = "0.0033"});  // the typical 3300 pF part
    EXPECT_NEAR(w.state.out.PiCV, 1.0, 5e-4);
    EXPECT_EQ(w.lblPIc.caption(), "PI(CV) = 0.41 x pF^(0.11) = 1.000");
    w.run({.type = "10.11", .cap = "0.000081"});  // the typical 81 pF part
    EXPECT_NEAR(w.state.out.PiCV, 1.0, 5e-4);
    EXPECT_EQ(w.lblPIc.caption(), "PI(CV) = 0.59 x pF^(0.12) = 1.000");
    w.run({.type = "10.10", .cap = "1"});
    EXPECT_EQ(w.lblPIc.caption(), "PI(CV) = 0.41 x pF^(0.11) = 1.874");
}

TEST(Recalculate, MendedWetAluminumTemperatureExponentIsFive) {
    Window w;
    w.run({.type = "10.14", .rating = "+125\u00B0C", .temp = 50});
    EXPECT_NEAR(w.state.out.PiT, 6.0, 5e-3);
    EXPECT_EQ(w.lblPIt.caption(), "PI(T) = Exp[5.09 x (323/398)^5] = 6.001");
}

TEST(Recalculate, Type10_14VoltageStressUsesTheRatedVoltage) {
    Window w;
    w.run({.type = "10.14", .volt = "10", .app = 8});
    EXPECT_FLOAT_EQ(w.state.out.PiV, static_cast<float>(std::pow(0.8 / 0.5, 3) + 1));
}

TEST(Recalculate, EnvironmentFactorOfTheNotice1TypesWithoutATableInTheParts) {
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

TEST(Recalculate, Notice1TemperatureLimitIsThePartsOwnRatingExceptFor10_4) {
    Window w;
    w.run({.type = "10.12", .rating = "+85\u00B0C", .temp = 20});
    EXPECT_EQ(w.state.out.TempLimit, 85);
    w.state.out.TempLimit = 125;  // as type selection sets it for 10.4
    w.run({.type = "10.4", .rating = "+85\u00B0C", .temp = 20});
    EXPECT_EQ(w.state.out.TempLimit, 125);
}

TEST(Recalculate, Notice2TemperatureLimitByType) {
    const struct {
        const char* type;
        float temp;
        std::int16_t limit;
    } cases[] = {
        {"10.1b", 50, 150}, {"10.1e", 50, 125},  {"10.1f", 90, 125}, {"10.1g", 50, 150},
        {"10.1g", 90, 125}, {"10.1j", 110, 150}, {"10.1k", 50, 125}, {"10.1h", 50, 150},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + std::to_string(c.temp));
        Window w;
        w.run({.type = c.type, .rating = "+150\u00B0C", .temp = c.temp});
        EXPECT_EQ(w.state.out.TempLimit, c.limit);
    }
}

TEST(Recalculate, SuspendedChangesNothing) {
    Window w;
    w.run(Part{});
    const CalcState before = w.state;
    const Snapshot shown = w.snapshot();
    Part other{.type = "10.1e", .rating = "+85\u00B0C", .cap = "47", .temp = 120, .level = 12};
    w.use(other);
    const CalcInputs inputs = w.state.in;
    SuspendRecalculation(w.state);
    w.recalc();
    EXPECT_TRUE(SameResults(w.state.out, before.out));
    EXPECT_EQ(w.state.in.TempRating, inputs.TempRating);
    EXPECT_EQ(w.state.in.FrLevel, inputs.FrLevel);
    EXPECT_EQ(w.state.NoteSeparator, before.NoteSeparator);
    EXPECT_EQ(w.snapshot(), shown);
    ResumeRecalculation(w.state);
    w.recalc();
    EXPECT_NE(w.snapshot(), shown);
}

TEST(Recalculate, UnusableRatedVoltageOrCapacitanceLeavesEveryResultControlAsItWas) {
    const struct {
        const char* volt;
        const char* cap;
    } cases[] = {
        {"abc", "10"}, {"", "10"},  {"10", "abc"}, {"10", ""},     {"0", "10"},
        {"-5", "10"},  {"10", "0"}, {"10", "-1"},  {"1e39", "10"}, {"10", "1e-50"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.volt) + " / " + c.cap);
        Window w;
        w.run(Part{});
        const Snapshot shown = w.snapshot();
        const CalcResults results = w.state.out;
        w.run({.type = "10.1e", .cap = c.cap, .volt = c.volt, .temp = 120, .level = 12});
        EXPECT_EQ(w.snapshot(), shown);
        EXPECT_EQ(w.state.out.Fit, results.Fit);
        EXPECT_EQ(w.state.out.PiQ, results.PiQ);
    }
    // Before any usable input nothing is shown at all.
    Window w;
    w.run({.volt = ""});
    EXPECT_FALSE(w.txtFIT.visible());
    EXPECT_FALSE(w.lblFormula.visible());
}

TEST(Recalculate, NumericTextFollowsTheLocale) {
    Window w;
    w.loc = platform::kCommaLocale;
    w.state.in.DecimalIsPoint = false;
    w.run({.cap = "0,5"});
    EXPECT_FLOAT_EQ(w.state.out.PiCV, static_cast<float>(std::pow(0.5, 0.23)));
    EXPECT_EQ(w.txtFIT.text(), "0,231 Parts/BPc-Hr");
    // The fixed part of a caption stays as written; its numbers follow the locale.
    EXPECT_EQ(w.lblPIc.caption(), "PI(CV) = 1.0 x uF^(0,23) = 0,853");
    // The PI(V) denominator is read with a period whatever the locale.
    w.cmbPiV.select(2);
    w.run({.type = "10.1j"});
    EXPECT_EQ(w.lblPIv.caption(), "PI(V) = [(S/0,8)^17]+1 = 1,000");
}

TEST(Recalculate, ZeroFitShowsZeroAndKeepsTheMtbfText) {
    Window w;
    w.run(Part{});
    const std::string mtbf = w.txtMTBF.text();
    w.state.in.EnteredRate = 0;
    w.run({.level = kLevelEntered});
    EXPECT_EQ(w.state.out.Fit, 0);
    EXPECT_EQ(w.txtFIT.text(), "0 Parts/BPc-Hr");
    EXPECT_EQ(w.txtMTBF.text(), mtbf);
}

TEST(Recalculate, UnknownNotice1CodeComputesNothingButTheTail) {
    Window w;
    w.run(Part{});
    const CalcResults before = w.state.out;
    w.run({.type = "10.99"});
    EXPECT_EQ(w.state.out.Fit, before.Fit);
    EXPECT_EQ(w.state.out.PiCV, before.PiCV);
    EXPECT_EQ(w.txtFIT.text(), "0.460 Parts/BPc-Hr");
}

bool ShowsNoInfOrNan(Window& w) {
    for (const std::string& t : w.snapshot().texts) {
        for (const char* bad : {"inf", "nan", "INF", "NAN"}) {
            if (t.find(bad) != std::string::npos) {
                ADD_FAILURE() << "shows " << t;
                return false;
            }
        }
    }
    return true;
}

TEST(Recalculate, OutOfRangeResultsAreReportedNotStored) {
    const struct {
        const char* what;
        Part part;
        float lifeBias;
        const char* piV;  // cmbPiV text for 10.1j, or nullptr
        const char* warned;
        const char* captionName;  // the caption that shows "Out of range", if any
    } cases[] = {
        {"PI(T) of 10.4 beyond single precision at 170 degC",
         {.type = "10.4", .rating = "+85\u00B0C", .temp = 170},
         1,
         nullptr,
         "PI(T)",
         "lblPIt"},
        {"absolute temperature below zero",
         {.type = "10.1b", .temp = -300},
         1,
         nullptr,
         "PI(T)",
         "lblPIt"},
        {"rounded kelvin beyond 16 bits",
         {.type = "10.15", .temp = 40000},
         1,
         nullptr,
         "PI(T)",
         "lblPIt"},
        {"life-test bias of zero",
         {.level = kLevelLifeTest},
         0,
         nullptr,
         "the failure rate",
         "lblPIq"},
        {"denominator that is no number", {.type = "10.1j"}, 1, "abc", "PI(V)", "lblPIv"},
        {"no environment selected", {.env = -1}, 1, nullptr, "PI(E)", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Window w;
        w.run(Part{});
        const CalcResults good = w.state.out;
        w.state.in.TestPieces = 10;
        w.state.in.TestHours = 10;
        w.state.in.TestFailures = 1;
        w.state.in.LifeBias = c.lifeBias;
        if (c.piV != nullptr) {
            // A typed text is no selection (the model would select the default): an entry.
            w.cmbPiV.addItem(c.piV);
            w.cmbPiV.select(w.cmbPiV.count() - 1);
        }
        w.run(c.part);
        EXPECT_EQ(w.txtFIT.text(), "Out of range");
        EXPECT_EQ(w.txtMTBF.text(), "Out of range");
        EXPECT_EQ(w.state.out.Fit, good.Fit);  // the previous result, never inf or nan
        const std::vector<std::string> lines = w.noteLines();
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back().find("WARNING: Out of range - "),
                  lines.back().starts_with("NOTE: ") ? 6u : 0u);
        EXPECT_NE(lines.back().find(std::string("- ") + c.warned + " is not a finite number"),
                  std::string::npos)
            << lines.back();
        int warnings = 0;
        for (const std::string& l : lines) {
            warnings += l.find("Out of range") != std::string::npos ? 1 : 0;
        }
        EXPECT_EQ(warnings, 1);
        if (c.captionName != nullptr) {
            for (platform::Control* ctl : w.resultControls()) {
                if (ctl->name() == c.captionName) {
                    EXPECT_TRUE(
                        dynamic_cast<platform::Label*>(ctl)->caption().ends_with("Out of range"));
                }
            }
        }
        EXPECT_TRUE(ShowsNoInfOrNan(w));
        for (float f : {w.state.out.PiT, w.state.out.PiV, w.state.out.PiQ, w.state.out.PiE,
                        w.state.out.FailureRate, w.state.out.Fit}) {
            EXPECT_TRUE(std::isfinite(f));
        }
        // Usable inputs recalculate cleanly again.
        w.state.in.LifeBias = 1;
        w.cmbPiV.select(2);
        w.run(Part{});
        EXPECT_EQ(w.txtFIT.text(), "0.460 Parts/BPc-Hr");
        EXPECT_FALSE(w.lblNote.visible());
    }
}

TEST(Recalculate, NegativeFailureRateHasNoQualityFactor) {
    Window w;
    w.run(Part{});
    w.state.in.EnteredRate = -1;
    w.run({.level = kLevelEntered});
    EXPECT_EQ(w.lblPIq.caption(), "PI(Q) = SQR(%/kPcHrs) = Out of range");
    EXPECT_EQ(w.txtFIT.text(), "Out of range");
    EXPECT_EQ(w.state.out.PiQ, 1);  // kept
}

}  // namespace
}  // namespace quarvell::model::testing
