// The one recalculation every input change ends in: the controls and the calculator state read
// into a part, the engine's evaluation stored in the state, its texts written to the result
// controls.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "model/engine_texts.h"
#include "model/number_text.h"
#include "window/frm_fit.h"

namespace quarvell::window {

namespace {

constexpr double kFloatMax = std::numeric_limits<float>::max();

// A rated voltage or capacitance text counts only when it is numeric and its value is a
// positive, finite single; zero or below is treated like a non-numeric text.
bool UsablePositive(const std::optional<double>& v) {
    return v && *v > 0 && *v <= kFloatMax && static_cast<float>(*v) > 0;
}

std::int16_t ToInt16(float v) {
    // LeadingNumber gives a finite single: clamped to 16 bits, then rounded to even.
    return static_cast<std::int16_t>(std::nearbyint(std::clamp(v, -32768.0F, 32767.0F)));
}

}  // namespace

void FrmFit::recalculate() {
    if (state_.SuspendRecalc) {
        return;
    }
    // Scroll-bar moves made by the recalculation (a derating lowering hscApp's top) are the
    // program's, not the user's: they must not pull the focus to the scroll bar.
    const bool outermost = !recalculating_;
    recalculating_ = true;
    recalculation();
    if (outermost) {
        fitAppRangeToRating();
        recalculating_ = false;
        mnuSheet.setEnabled(hasSheet());
        for (const auto& listener : onRecalculated) {
            listener();
        }
    }
}

bool FrmFit::hasSheet() const {
    return model::Usable(evaluation_) ||
           (evaluation_.refusal == model::Refusal::None &&
            evaluation_.missingRate == model::MissingRate::NoFailures);
}

void FrmFit::recalculation() {
    model::CalcState& s = state_;
    const model::NumberLocale locale = services_.numberLocale();
    // The note starts from the type's note even when the inputs then turn out unusable; the
    // controls, lblNote included, keep what they show.
    s.out.NoteText = s.in.PendingNote;
    s.NoteSeparator = s.out.NoteText.empty() ? model::kNotePrefix : model::kCrLf;
    evaluation_ = model::Evaluation{};
    if (!UsablePositive(model::ParseNumber(txtVolt.text(), locale)) || !(s.in.RatedVoltage > 0) ||
        !std::isfinite(s.in.RatedVoltage)) {
        evaluation_.refusal = model::Refusal::NoRatedVoltage;
        return;
    }
    if (!UsablePositive(model::ParseNumber(txtCap.text(), locale))) {
        evaluation_.refusal = model::Refusal::NoCapacitance;
        return;
    }
    const model::CapacitorType* type = model::FindType(s.in.TypeCode);
    if (type == nullptr) {
        evaluation_.refusal = model::Refusal::UnknownType;
        return;
    }
    if (type->polymer() && cmbPiV.index() == -1 && !model::PiVDenominator(cmbPiV.text(), locale)) {
        // Its Click handler runs at once and may recalculate nested.
        cmbPiV.select(type->piVEntry);
    }

    model::Part part = readPart(*type);
    model::Evaluation e = model::Evaluate(part);
    if (type->model.lowersScrollTop && e.derated) {
        // Lowering the top below the position runs hscApp's Change at once, which may
        // recalculate nested with the lowered application voltage; this pass then goes on
        // with the inputs the handler left.
        const double top = std::nearbyint(static_cast<double>(s.in.VoltSteps) *
                                          static_cast<double>(e.deratedVoltage));
        hscApp.setMax(static_cast<std::int16_t>(std::fmin(std::fmax(top, 0.0), 32767.0)));
        if (s.in.AppVoltage != part.appliedVoltage) {
            part = readPart(*type);
            e = model::Evaluate(part);
        }
    }
    storeResults(e);
    evaluation_ = e;
    model::WriteTexts(e, locale, s.in.PendingNote, texts_);
    writeTexts(texts_);
}

model::Part FrmFit::readPart(const model::CapacitorType& type) const {
    const model::CalcState& s = state_;
    const model::NumberLocale locale = services_.numberLocale();
    model::Part p;
    p.type = &type;
    p.tempRating = ToInt16(model::LeadingNumber(cmbRating.text(), s.in.DecimalIsPoint));
    p.capacitance = static_cast<float>(*model::ParseNumber(txtCap.text(), locale));
    p.ratedVoltage = s.in.RatedVoltage;
    p.appliedVoltage = s.in.AppVoltage;
    p.temperature = s.in.AppTemp;
    const int level = cmbFR.index();
    if (level == model::kLifeTestLevel) {
        p.quality.kind = model::Quality::Kind::LifeTest;
        p.quality.test = {.pieces = s.in.TestPieces,
                          .hours = s.in.TestHours,
                          .failures = s.in.TestFailures,
                          .bias = s.in.LifeBias,
                          .failuresEntered = s.in.TestFailuresEntered};
    } else if (level == model::kRateLevel) {
        p.quality.kind = model::Quality::Kind::Rate;
        p.quality.rate = s.in.EnteredRate;
    } else {
        p.quality.level = level;
    }
    p.environment = cmbEnv.index();
    p.option = cmbRes.index();
    if (type.polymer()) {
        // A denominator that is no usable number still reaches the engine, which reports it.
        const std::optional<float> d = model::PiVDenominator(cmbPiV.text(), locale);
        const double v = d ? *d : model::PeriodNumberAtStart(cmbPiV.text());
        p.piVDenominator = std::fabs(v) <= kFloatMax ? static_cast<float>(v) : 0.0F;
    }
    return p;
}

void FrmFit::storeResults(const model::Evaluation& e) {
    using model::Quantity;
    model::CalcInputs& in = state_.in;
    model::CalcResults& out = state_.out;
    in.ResListVisible = cmbRes.visible();
    in.ResIndex = cmbRes.index();
    in.TempRating = e.part.tempRating;
    in.FrLevel = cmbFR.index();
    in.EnvIndex = cmbEnv.index();
    if (e.part.type->polymer()) {
        in.PiVDenominatorText = cmbPiV.text();
    }
    const auto put = [&](Quantity q, float& field, float value) {
        if (e.has(q)) {
            field = value;
        }
    };
    put(Quantity::FailureRate, out.FailureRate, e.failureRate);
    put(Quantity::PiQ, out.PiQ, e.piQ);
    put(Quantity::PiSR, out.PiSR, e.piSR);
    put(Quantity::PiConst, out.PiConst, e.piConst);
    put(Quantity::PiE, out.PiE, e.piE);
    put(Quantity::Base, out.Base, e.base);
    put(Quantity::PiCV, out.PiCV, e.piCV);
    put(Quantity::PiV, out.PiV, e.piV);
    put(Quantity::PiT, out.PiT, e.piT);
    put(Quantity::Fit, out.Fit, e.fit);
    out.DeratedVoltage = e.deratedVoltage;
    out.TempLimit = e.tempLimit;
    out.Usable = model::Usable(e);
}

void FrmFit::writeTexts(const model::Texts& t) {
    model::CalcState& s = state_;
    if (t.hasDerivedRate) {
        txtFR.setText(t.derivedRate);
    }
    for (const auto& [label, caption] : {std::pair{&lblFormula, &t.formula},
                                         {&lblBase, &t.base},
                                         {&lblPIc, &t.piCV},
                                         {&lblPIq, &t.piQ},
                                         {&lblPIe, &t.piE},
                                         {&lblPIt, &t.piT},
                                         {&lblPIv, &t.piV}}) {
        label->setVisible(true);
        label->setCaption(*caption);
    }
    if (t.showsPiSR) {
        lblPIsr.setCaption(t.piSR);
    }
    lblPIsr.setVisible(t.showsPiSR);
    lblUnity.setVisible(t.piVList);
    cmbPiV.setVisible(t.piVList);
    if (t.showsDerated) {
        txtDerated.setText(t.derated);
    }
    txtDerated.setVisible(t.showsDerated);
    lblFR.setCaption(t.failureRateCaption);
    lblS.setForeColor(t.stressRed ? platform::kRed : platform::kBlack);
    lblS.setCaption(t.stress);
    lblS.setVisible(true);
    lblCalcFIT.setVisible(true);
    lblCalcMTBF.setVisible(true);
    for (const auto& [field, text] : {std::pair{&txtFIT, &t.fit}, {&txtMTBF, &t.mtbf}}) {
        field->setVisible(true);
        field->setText(*text);
    }
    s.out.NoteText = t.note;
    s.NoteSeparator = t.noteSeparator;
    lblNote.setVisible(!s.out.NoteText.empty());
    lblNote.setCaption(s.out.NoteText);
}

void FrmFit::fitAppRangeToRating() {
    const model::CalcInputs& in = state_.in;
    const model::CapacitorType* type = model::FindType(in.TypeCode);
    // The lowered top of a derating lasts only while the derating does; raising the top keeps
    // the application voltage where it is.
    const bool derated = type != nullptr && type->model.lowersScrollTop &&
                         in.AppTemp > static_cast<float>(type->model.derateAbove);
    if (!hscApp.enabled() || derated) {
        return;
    }
    const double top = std::nearbyint(static_cast<double>(voltSteps()) * in.RatedVoltage);
    if (top > hscApp.max() && top <= std::numeric_limits<std::int16_t>::max()) {
        hscApp.setMax(static_cast<std::int16_t>(top));
    }
}

}  // namespace quarvell::window
