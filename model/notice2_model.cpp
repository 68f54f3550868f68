// The Notice 2 model: types "10.1b" to "10.1k", one parameter row per letter.

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "model/number_text.h"
#include "model/recalc_pass.h"
#include "model/tables.h"

namespace quarvell::model::detail {
namespace {

const tables::Notice2Type* FindType(char letter) {
    for (const tables::Notice2Type& t : tables::kNotice2Types) {
        if (t.letter == letter) {
            return &t;
        }
    }
    return nullptr;
}

// The polymer types: the PI(V) denominator comes from cmbPiV, the list is shown, and the
// type's two note lines replace whatever note the type selection assembled. With no entry
// selected and no usable denominator typed, the default entry is selected first (its Click
// handler runs at once and may recalculate nested); a denominator the user typed is kept.
float SetUpPolymer(Pass& p, int defaultIndex, const char* notes) {
    if (p.view.cmbPiV.index() == -1 && !PiVDenominator(p.view.cmbPiV.text(), p.loc)) {
        p.view.cmbPiV.select(defaultIndex);
    }
    p.view.lblUnity.setVisible(true);
    p.view.cmbPiV.setVisible(true);
    p.note = notes;
    p.separator = kCrLf;
    p.in.PiVDenominatorText = p.view.cmbPiV.text();
    if (const std::optional<float> d = PiVDenominator(p.in.PiVDenominatorText, p.loc)) {
        return *d;
    }
    const double d = PeriodNumberAtStart(p.in.PiVDenominatorText);
    return std::fabs(d) <= std::numeric_limits<float>::max() ? static_cast<float>(d) : 0.0F;
}

}  // namespace

void RunNotice2Model(Pass& p) {
    CalcInputs& in = p.in;
    CalcResults& out = p.out;
    RecalcView& v = p.view;
    const tables::Notice2Type* type = FindType(in.TypeCode.back());
    if (type == nullptr) {
        return;  // "10.1a" or "10.1z": no such type, nothing is computed
    }
    const char letter = type->letter;
    const bool tantalumSolid = letter == 'e' || letter == 'f';

    // 1, 2. Parameters and the letter's first pass.
    std::string formula(tables::kFormulaPlain);
    float piVDenominator = type->piVDenominator;
    if (tantalumSolid) {
        formula = tables::kFormulaSeriesResistance;
        formula += type->styleSuffix;
        v.lblPIsr.setVisible(true);
        if (in.AppTemp > 85) {
            p.derate(85, 40);
            p.append(kDeratedNote85);
            p.showDerated();
        }
        out.TempLimit = 125;
    } else if (letter == 'j') {
        piVDenominator = SetUpPolymer(
            p, 2,
            "NOTE: No provisions in 217F for Tantalum-Polymer.\r\n"
            "NOTE: In PI(V) default denominator or Unity Factor changed from 0.6 to 0.8");
        v.lblPIsr.setVisible(true);
        formula = tables::kFormulaSeriesResistance;
        if (in.AppTemp > 105) {
            p.derate(105, 20);
            p.append(
                "Voltage-Derating applied in Temperature Range (>105) - 'S' calc appears in red.");
            p.showDerated();
        }
        out.TempLimit = in.TempRating;
    } else if (letter == 'k') {
        piVDenominator = SetUpPolymer(
            p, 1,
            "NOTE: No provisions in 217F for Aluminum-Polymer.\r\n"
            "NOTE: In PI(V), default denominator or Unity Factor changed from 0.6 to 0.9");
        formula = tables::kFormulaSeriesResistance;
        out.TempLimit = 125;
    } else {
        formula += type->styleSuffix;
        out.TempLimit = in.TempRating;
    }

    // 3.
    out.Base = type->base;
    v.lblBase.setCaption("Base = " + p.general(out.Base));

    // 4. Second-pass derating.
    if ((tantalumSolid || letter == 'g') && in.AppTemp > 85) {
        p.derate(85, 40);
        v.lblS.setForeColor(platform::kRed);
        p.showDerated();
        out.TempLimit = 125;
        p.separator = kCrLf;
    } else if (letter == 'j' && in.AppTemp > 105) {
        p.derate(105, 20);
        // Lowering the maximum below the position runs hscApp's Change at once, which may
        // recalculate nested with the lowered application voltage; this pass then goes on
        // with the inputs the handler left.
        const double top = std::nearbyint(static_cast<double>(in.VoltSteps) *
                                          static_cast<double>(out.DeratedVoltage));
        v.hscApp.setMax(static_cast<std::int16_t>(std::fmin(std::fmax(top, 0.0), 32767.0)));
        v.lblS.setForeColor(platform::kRed);
        p.showDerated();
        out.TempLimit = in.TempRating;
        p.separator = kCrLf;
    }

    // 5.
    if (tantalumSolid || letter == 'j') {
        v.lblPIsr.setCaption("PI(SR) = Lookup = " + p.general(out.PiSR));
        v.lblPIsr.setVisible(true);
    }

    // 6. PI(CV).
    const double c = p.capacitance();
    std::string cv;
    if (c > 0) {
        cv = p.factor(out.PiCV, std::pow(c, static_cast<double>(type->capExponent)), "PI(CV)",
                      "##0.000");
    } else {
        p.markOutOfRange("PI(CV)");
        cv = kOutOfRangeText;
    }
    v.lblPIc.setCaption("PI(CV) = 1.0 x uF^(" + p.general(type->capExponent) + ") = " + cv);

    // 7. PI(V).
    const double s = static_cast<double>(in.AppVoltage) / static_cast<double>(out.DeratedVoltage);
    std::string pv;
    if (piVDenominator > 0) {
        pv = p.factor(out.PiV,
                      std::pow(s / static_cast<double>(piVDenominator),
                               static_cast<double>(type->voltExponent)) +
                          1,
                      "PI(V)", "##,##0.000");
    } else {
        // cmbPiV held no positive number: no division by zero.
        p.markOutOfRange("PI(V)");
        pv = kOutOfRangeText;
    }
    // One decimal for the list's entries, up to three for a denominator typed (0.75).
    v.lblPIv.setCaption("PI(V) = [(S/" + p.format(piVDenominator, "0.0##") + ")^" +
                        p.general(type->voltExponent) + "]+1 = " + pv);

    // 8. PI(T), Arrhenius. An absolute temperature of zero or below has no factor.
    const double kelvin = static_cast<double>(in.AppTemp) + 273;
    std::string pt;
    if (kelvin > 0) {
        pt = p.factor(out.PiT,
                      std::exp((-static_cast<double>(type->activationEnergy) / 8.617E-5) *
                               (1 / kelvin - 1.0 / 298)),
                      "PI(T)", "#,##0.000");
    } else {
        p.markOutOfRange("PI(T)");
        pt = kOutOfRangeText;
    }
    v.lblPIt.setCaption("PI(T) = Exp[" + p.general(-type->activationEnergy) +
                        "/(8.617E-5) x (1/Tamb - 1/298)] = " + pt);

    // 9. PI(E); with no environment selected there is none.
    in.EnvIndex = v.cmbEnv.index();
    if (in.EnvIndex >= 0 && in.EnvIndex < static_cast<int>(tables::kEnvE2.size())) {
        out.PiE = tables::kEnvE2[static_cast<std::size_t>(in.EnvIndex)];
    } else {
        p.markOutOfRange("PI(E)");
    }

    // 10.
    if (p.outOfRange == nullptr) {
        p.store(out.Fit,
                static_cast<double>(out.PiCV) * out.Base * out.PiV * out.PiT * out.PiSR * out.PiQ *
                    out.PiE * 1000,
                "FIT");
    }

    // 11.
    v.lblFormula.setCaption(std::move(formula));
    v.lblS.setCaption("S = AppV/RatedV = " + p.format(s, "#0.00"));
}

}  // namespace quarvell::model::detail
