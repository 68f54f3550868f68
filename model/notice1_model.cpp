// The Notice 1 model: types "10.4" to "10.15b", one formula row per type.

#include <cmath>
#include <string>

#include "model/number_text.h"
#include "model/recalc_pass.h"
#include "model/tables.h"

namespace quarvell::model::detail {
namespace {

// The type of a code, tested in the handbook section order; nullptr for an unknown code.
const tables::Notice1Type* FindType(const std::string& code) {
    if (code == "10.4") {
        return &tables::kType10_4;
    }
    if (code == "10.10") {
        return &tables::kType10_10;
    }
    if (code == "10.11") {
        return &tables::kType10_11;
    }
    if (code.starts_with("10.12")) {
        return &tables::kType10_12;
    }
    if (code == "10.13") {
        return &tables::kType10_13;
    }
    if (code == "10.14") {
        return &tables::kType10_14;
    }
    if (code == "10.15" || code == "10.15b") {
        return &tables::kType10_15;
    }
    return nullptr;
}

}  // namespace

void RunNotice1Model(Pass& p) {
    CalcInputs& in = p.in;
    CalcResults& out = p.out;
    RecalcView& v = p.view;
    const tables::Notice1Type* type = FindType(in.TypeCode);
    if (type == nullptr) {
        return;
    }

    // 1. PI(E), and the over-temperature limit: the part's own rating, except for 10.4 whose
    // limit type selection sets.
    in.EnvIndex = v.cmbEnv.index();
    if (in.EnvIndex >= 0 && in.EnvIndex < static_cast<int>(type->piE->size())) {
        out.PiE = (*type->piE)[static_cast<std::size_t>(in.EnvIndex)];
    } else {
        p.markOutOfRange("PI(E)");
    }
    if (type != &tables::kType10_4) {
        out.TempLimit = in.TempRating;
    }

    // 2.
    out.Base = type->base;
    v.lblBase.setCaption(std::string(type->baseCaption));

    // 3. Derating of 10.12, 10.12b and 10.13.
    if (type->derates && in.AppTemp > 85) {
        p.derate(85, 40);
        p.showDerated();
        if (type->extra == tables::ExtraFactor::SeriesResistance) {
            v.lblS.setForeColor(platform::kRed);
            p.append(kDeratedNote85);
        } else {
            p.append("Voltage is in Temperature derating Range (>85) - 'S' calc appears in red.");
        }
    }

    // 4. PI(CV), PI(V), PI(T).
    const double c = p.capacitance();
    std::string cv;
    if (c > 0) {
        const double x = type->picofarads ? c * 1e6 : c;
        cv =
            p.factor(out.PiCV, type->cv.coef * std::pow(x, type->cv.exponent), "PI(CV)", "##0.000");
    } else {
        p.markOutOfRange("PI(CV)");
        cv = kOutOfRangeText;
    }
    v.lblPIc.setCaption(std::string(type->cv.caption) + cv);

    const double s = static_cast<double>(in.AppVoltage) /
                     static_cast<double>(type->vOnRated ? in.RatedVoltage : out.DeratedVoltage);
    v.lblPIv.setCaption(
        std::string(type->v.caption) +
        p.factor(out.PiV, std::pow(s / type->v.coef, type->v.exponent) + 1, "PI(V)", "##,##0.000"));

    // T is the unrounded AppTemp + 273, except for 10.15 which takes the rounded AppKelvin.
    // A kelvin temperature or rating of zero or below (or a rounded one beyond 16 bits) has
    // no factor.
    const double t = type->integerKelvin ? static_cast<double>(p.appKelvin)
                                         : static_cast<double>(in.AppTemp) + 273;
    const double tr = p.ratingKelvin;
    std::string pt;
    if (p.appKelvinFits && t > 0 && tr > 0) {
        pt = p.factor(out.PiT, std::exp(type->t.coef * std::pow(t / tr, type->t.exponent)), "PI(T)",
                      "#,##0.000");
    } else {
        p.markOutOfRange("PI(T)");
        pt = kOutOfRangeText;
    }
    const std::string kelvinText =
        p.appKelvinFits ? std::to_string(p.appKelvin)
                        : p.general(static_cast<float>(static_cast<double>(in.AppTemp) + 273));
    v.lblPIt.setCaption(std::string(type->t.prefix) + kelvinText + "/" + p.general(p.ratingKelvin) +
                        std::string(type->t.suffix) + pt);

    // 5.
    if (type->extra == tables::ExtraFactor::Construction && in.ResIndex >= 0 &&
        in.ResIndex < static_cast<int>(tables::kConstruction.size())) {
        out.PiConst = tables::kConstruction[static_cast<std::size_t>(in.ResIndex)];
    }

    // 6. FIT, formula and S.
    if (p.outOfRange == nullptr) {
        double extra = 1;
        if (type->extra == tables::ExtraFactor::SeriesResistance) {
            extra = out.PiSR;
        } else if (type->extra == tables::ExtraFactor::Construction) {
            extra = out.PiConst;
        }
        p.store(out.Fit,
                static_cast<double>(out.Base) * out.PiCV * out.PiV * out.PiT * extra * out.PiQ *
                    out.PiE * 1000,
                "FIT");
    }
    v.lblFormula.setCaption(std::string(type->formula) + std::string(type->styleSuffix));
    if (type->sCaption == tables::SCaption::DeratedScientific) {
        v.lblS.setCaption(
            "S = AppV/RatedV = " +
            p.format(static_cast<double>(in.AppVoltage) / out.DeratedVoltage, "0.00E+00"));
    } else {
        v.lblS.setCaption("S = AppV/RatedV = " +
                          p.format(static_cast<double>(in.AppVoltage) / in.RatedVoltage, "#0.00"));
    }

    // 7.
    if (type->extra == tables::ExtraFactor::SeriesResistance) {
        v.lblPIsr.setCaption("PI(SR) = Lookup = " + p.general(out.PiSR));
        v.lblPIsr.setVisible(true);
    } else if (type->extra == tables::ExtraFactor::Construction) {
        v.lblPIsr.setCaption("PI(Const) = Construction Type = " + p.general(out.PiConst));
        v.lblPIsr.setVisible(true);
    }
}

}  // namespace quarvell::model::detail
