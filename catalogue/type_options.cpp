#include "catalogue/type_options.h"

#include <cmath>
#include <cstdint>

#include "catalogue/catalogue.h"
#include "model/engine.h"
#include "model/number_text.h"

namespace quarvell::catalogue {

void cmbRating_Click(OptionsView& v) {
    if (v.state.SuspendRecalc) {
        return;
    }
    v.state.in.TempRating =
        static_cast<std::int16_t>(RatingValue(v.cmbRating.text(), v.state.in.DecimalIsPoint));
    v.recalculate();
}

void cmbRes_Click(OptionsView& v) {
    if (v.state.SuspendRecalc) {
        return;
    }
    if (v.txtFIT.visible()) {
        v.recalculate();
    }
}

void cmbPiV_Click(OptionsView& v) {
    if (v.state.SuspendRecalc) {
        return;
    }
    const std::string text = v.cmbPiV.text();
    const bool aluminumPolymer = v.state.in.TypeCode == "10.1k";
    const int defaultEntry = aluminumPolymer ? 1 : 2;
    const char* caption =
        aluminumPolymer ? "Resetting to default (0.9)" : "Resetting to default (0.8)";

    // Checked exactly as the calculation reads it: a typed value with the user's separators,
    // the list's entries as written (".8" whatever the locale).
    const model::NumberLocale locale = v.services.numberLocale();
    if (model::PiVDenominator(text, locale)) {
        v.recalculate();
        return;
    }
    const bool numeric =
        model::ParseNumber(text, locale) || model::ParseNumber(text, model::kPeriodLocale);
    v.showMessage(caption, numeric ? kPiVRangeWarning : kPiVNumericWarning, kPiVWarningSeconds);
    v.cmbPiV.select(defaultEntry);
    v.recalculate();
}

void cmbLife_Click(OptionsView& v) {
    const int selected = v.cmbLife.index();
    if (selected < 0) {
        return;
    }
    if (selected == v.cmbLife.count() - 1) {
        const std::string answer = v.services.inputBox(kBiasPrompt, kBiasTitle, "");
        const std::string title = v.services.versionRecord().title;
        const auto value = model::ParseNumber(answer, v.services.numberLocale());
        if (!value) {
            v.services.messageBox(kBiasNotNumeric, platform::MsgButtons::Ok, title);
            return;
        }
        const auto bias = static_cast<float>(*value);
        if (!(bias > 0)) {
            v.services.messageBox(kBiasNotPositive, platform::MsgButtons::Ok, title);
            return;
        }
        if (!std::isfinite(bias)) {
            v.services.messageBox(kBiasTooLarge, platform::MsgButtons::Ok, title);
            return;
        }
        v.state.in.LifeBias = bias;
        v.recalculate();
        return;
    }
    // The fixed entries are written with a period whatever the locale.
    v.state.in.LifeBias = static_cast<float>(model::PeriodNumberAtStart(v.cmbLife.text()));
    v.recalculate();
}

}  // namespace quarvell::catalogue
