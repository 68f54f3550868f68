#include "model/recalculate.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "model/number_text.h"
#include "model/recalc_pass.h"
#include "model/tables.h"

namespace quarvell::model {
namespace detail {
namespace {

constexpr float kFloatMax = std::numeric_limits<float>::max();

bool IsFiniteSingle(double v) {
    return std::isfinite(v) && std::fabs(v) <= kFloatMax;
}

// A rated voltage or capacitance text counts only when it is numeric and its value is a
// positive, finite single; zero or below is treated like a non-numeric text (step 3).
bool UsablePositive(const std::optional<double>& v) {
    return v && *v > 0 && *v <= kFloatMax && static_cast<float>(*v) > 0;
}

std::int16_t ToInt16(double v) {
    v = std::nearbyint(v);
    if (!(v >= std::numeric_limits<std::int16_t>::min())) {
        return std::numeric_limits<std::int16_t>::min();
    }
    if (v > std::numeric_limits<std::int16_t>::max()) {
        return std::numeric_limits<std::int16_t>::max();
    }
    return static_cast<std::int16_t>(v);
}

// Type codes of Notice 2: "10.1" and one lowercase letter (the wildcard "10.1[a-z]").
bool IsNotice2Code(const std::string& code) {
    return code.size() == 5 && code.compare(0, 4, "10.1") == 0 && code[4] >= 'a' && code[4] <= 'z';
}

}  // namespace

void Pass::append(std::string_view text) {
    note += separator;
    note += text;
    separator = kCrLf;
}

void Pass::appendKeepingSeparator(std::string_view text) {
    note += separator;
    note += text;
}

void Pass::markOutOfRange(const char* name) {
    if (outOfRange == nullptr) {
        outOfRange = name;
    }
}

bool Pass::store(float& field, double value, const char* name) {
    if (!IsFiniteSingle(value)) {
        markOutOfRange(name);
        return false;
    }
    field = static_cast<float>(value);
    return true;
}

std::string Pass::factor(float& field, double value, const char* name, std::string_view pattern) {
    if (!store(field, value, name)) {
        return std::string(kOutOfRangeText);
    }
    return format(field, pattern);
}

std::string Pass::general(float v) const {
    return GeneralText(v, loc);
}

std::string Pass::format(double v, std::string_view pattern) const {
    return FormatPattern(v, pattern, loc);
}

double Pass::capacitance() const {
    const std::optional<double> c = ParseNumber(view.txtCap.text(), loc);
    return UsablePositive(c) ? static_cast<double>(static_cast<float>(*c)) : 0.0;
}

void Pass::derate(double t0, double w) {
    const double rated = in.RatedVoltage;
    const double derated = rated * (1 - (static_cast<double>(in.AppTemp) - t0) * 0.33 / w);
    const auto floor = static_cast<float>(0.1 * rated);
    // The negated test also floors a derating that is not a number.
    out.DeratedVoltage = IsFiniteSingle(derated) && !(floor > static_cast<float>(derated))
                             ? static_cast<float>(derated)
                             : floor;
}

void Pass::showDerated() {
    view.txtDerated.setText(general(out.DeratedVoltage));
    view.txtDerated.setVisible(true);
}

}  // namespace detail

std::optional<float> PiVDenominator(std::string_view text, const platform::NumberLocale& locale) {
    std::optional<double> v = ParseNumber(text, locale);
    if (!v) {
        v = ParseNumber(text, platform::kPeriodLocale);
    }
    // Checked as the single it is stored as; far outside the range it cannot round into it.
    if (!v || !(std::fabs(*v) < 2)) {
        return std::nullopt;
    }
    const auto d = static_cast<float>(*v);
    return d >= 0.5F && d <= 1.0F ? std::optional<float>(d) : std::nullopt;
}

void Recalculate(CalcState& state, RecalcView& view, const platform::NumberLocale& locale) {
    namespace tables = model::tables;
    // 1.
    if (state.SuspendRecalc) {
        return;
    }
    CalcInputs& in = state.in;
    CalcResults& out = state.out;
    // 2. The note starts from the type's note; in the fixed order of the steps this happens even
    // when step 3 then stops (the controls, lblNote included, keep what they show).
    out.NoteText = in.PendingNote;
    state.NoteSeparator = out.NoteText.empty() ? kNotePrefix : kCrLf;
    // 3.
    if (!detail::UsablePositive(ParseNumber(view.txtVolt.text(), locale)) ||
        !detail::UsablePositive(ParseNumber(view.txtCap.text(), locale)) ||
        !(in.RatedVoltage > 0) || !std::isfinite(in.RatedVoltage)) {
        return;
    }
    detail::Pass p(state, view, locale);

    // 4. Series resistance and construction.
    in.ResListVisible = view.cmbRes.visible();
    in.ResIndex = view.cmbRes.index();
    if (in.TypeCode != "10.13" && in.ResListVisible) {
        // Any position beyond the list, none selected included, counts as "(<0.1 Ohms/V)".
        const int last = static_cast<int>(tables::kSeriesResistance.size()) - 1;
        const int i = in.ResIndex >= 0 && in.ResIndex < last ? in.ResIndex : last;
        out.PiSR = tables::kSeriesResistance[static_cast<std::size_t>(i)];
        if (view.optNotice2.value()) {
            out.PiSR = static_cast<float>(static_cast<double>(out.PiSR) * 10);
        }
    } else if (in.ResListVisible) {
        if (in.ResIndex >= 0 && in.ResIndex < static_cast<int>(tables::kConstruction.size())) {
            out.PiConst = tables::kConstruction[static_cast<std::size_t>(in.ResIndex)];
        }
    } else {
        out.PiSR = 1;
        out.PiConst = 1;
        view.lblPIsr.setVisible(false);
    }

    // 5.
    in.TempRating = detail::ToInt16(LeadingNumber(view.cmbRating.text(), in.DecimalIsPoint));

    // 6. Failure rate and PI(Q).
    in.FrLevel = view.cmbFR.index();
    bool rateUsable = true;
    // Without a rate of its own (no rate ever entered, a life test without complete data) the
    // pass shows no number rather than a FIT from a rate that belongs to something else.
    const char* missingRate = nullptr;
    if (in.FrLevel == 0) {
        // Multiplied in double and rounded once: a single-precision product taken one factor
        // at a time can underflow on the way.
        const auto product =
            static_cast<float>(static_cast<double>(in.TestPieces) * in.TestHours * in.TestFailures);
        if (!(product > 0)) {
            missingRate = "Life test incomplete: enter hours, pieces and failures.";
        } else {
            const double bias = in.LifeBias;
            rateUsable =
                p.store(out.FailureRate,
                        1e5 * in.TestFailures / (bias * bias * bias * in.TestPieces * in.TestHours),
                        "the failure rate");
        }
    } else if (in.FrLevel == 1) {
        rateUsable = p.store(out.FailureRate, in.EnteredRate, "the failure rate");
        if (out.FailureRate == 0) {
            missingRate = "No failure rate entered.";
        }
    } else if (in.FrLevel >= tables::kFirstFixedLevel &&
               in.FrLevel <
                   tables::kFirstFixedLevel + static_cast<int>(tables::kLevelRate.size())) {
        out.FailureRate =
            tables::kLevelRate[static_cast<std::size_t>(in.FrLevel - tables::kFirstFixedLevel)];
    }
    // A life test without data has no rate, so no PI(Q) of its own either.
    const bool lifeTestIncomplete = in.FrLevel == 0 && missingRate != nullptr;
    const bool piQUsable =
        !lifeTestIncomplete && rateUsable &&
        p.store(out.PiQ, std::sqrt(static_cast<double>(out.FailureRate)), "PI(Q)");
    if (in.FrLevel == 0) {
        const float rate = out.FailureRate;
        std::string text;  // no derived rate while the test data are incomplete
        if (missingRate != nullptr) {
            text = std::string();
        } else if (!rateUsable || !std::isfinite(rate)) {
            text = detail::kOutOfRangeText;
        } else if (rate >= 0.1F) {
            text = p.format(rate, "#0.00\\%/kPcHr");
        } else if (rate >= 0.01F) {
            text = p.format(rate, "0.00\\%/kPcHr");
        } else if (rate >= 0.001F) {
            text = p.format(rate, "0.000\\%/kPcHr");
        } else {
            text = p.format(static_cast<double>(rate) * 1000, "##0.00PPM/kPcHr");
        }
        view.txtFR.setText(std::move(text));
    }

    // 7. Reset the display for this pass.
    view.lblFormula.setVisible(true);
    view.lblBase.setVisible(true);
    view.lblPIc.setVisible(true);
    view.lblPIq.setVisible(true);
    view.lblPIe.setVisible(true);
    view.lblPIt.setVisible(true);
    view.lblPIv.setVisible(true);
    view.lblS.setForeColor(platform::kBlack);
    view.txtDerated.setVisible(false);
    view.lblPIsr.setVisible(false);
    view.lblUnity.setVisible(false);
    view.cmbPiV.setVisible(false);

    // 8. Working values.
    out.DeratedVoltage = in.RatedVoltage;
    p.ratingKelvin = static_cast<float>(static_cast<int>(in.TempRating) + 273);
    const double appKelvin = std::nearbyint(static_cast<double>(in.AppTemp) + 273);
    p.appKelvinFits = appKelvin >= std::numeric_limits<std::int16_t>::min() &&
                      appKelvin <= std::numeric_limits<std::int16_t>::max();
    p.appKelvin = p.appKelvinFits ? static_cast<int>(appKelvin) : 0;

    // 9. The type's model.
    if (detail::IsNotice2Code(in.TypeCode)) {
        detail::RunNotice2Model(p);
    } else {
        detail::RunNotice1Model(p);
    }

    // 10. Common tail.
    view.lblPIe.setCaption("PI(E) = Lookup Env.= " + p.general(out.PiE));
    view.lblPIq.setCaption("PI(Q) = SQR(%/kPcHrs) = " +
                           (lifeTestIncomplete ? std::string()
                            : piQUsable        ? p.format(out.PiQ, "###0.000")
                                               : std::string(detail::kOutOfRangeText)));
    view.lblFR.setCaption("Failure Rate %/kPcHrs @" + std::to_string(in.TempRating) + "\u00B0C+Vr");
    if (missingRate != nullptr) {
        p.append(missingRate);
    }
    if (out.DeratedVoltage < in.RatedVoltage) {
        view.lblS.setForeColor(platform::kRed);
        p.appendKeepingSeparator(
            "NOTE: Ttemperature Derated Voltage Rating shown to the right of Rated Voltage.");
    }
    const bool tooHot = in.AppTemp > static_cast<float>(out.TempLimit);
    const bool tooHigh = in.AppVoltage > out.DeratedVoltage;
    if (tooHot && tooHigh) {
        p.append("WARNING: Application is higher than rated temperature(" +
                 std::to_string(in.TempRating) + ") and voltage(" + p.general(out.DeratedVoltage) +
                 ")!");
    } else if (tooHigh) {
        p.append("WARNING: Application voltage (" + p.general(in.AppVoltage) +
                 ") is above rated voltage (" + p.general(out.DeratedVoltage) + ").");
    } else if (tooHot) {
        p.append("WARNING: Application temperature (" + p.general(in.AppTemp) +
                 ") may be above maximum temperature (" + std::to_string(out.TempLimit) + ").");
    }
    if (p.outOfRange != nullptr) {
        p.append(std::string("WARNING: Out of range - ") + p.outOfRange +
                 " is not a finite number for these inputs, so FIT and MTBF cannot be shown.");
    }

    // 11 to 13.
    view.lblCalcFIT.setVisible(true);
    view.lblCalcMTBF.setVisible(true);
    view.txtFIT.setVisible(true);
    view.txtMTBF.setVisible(true);
    // An MTBF is shown only beside the FIT it belongs to.
    if (p.outOfRange != nullptr) {
        view.txtFIT.setText(std::string(detail::kOutOfRangeText));
        view.txtMTBF.setText(std::string(detail::kOutOfRangeText));
    } else if (missingRate != nullptr) {
        out.Fit = 0;
        view.txtFIT.setText(std::string());
        view.txtMTBF.setText(std::string());
    } else {
        view.txtFIT.setText(FormatFit(out.Fit, locale));
        view.txtMTBF.setText(
            out.Fit != 0
                ? FormatMtbf(static_cast<float>(static_cast<double>(out.Fit) / 1e9), locale)
                : std::string());
    }
    out.Usable =
        p.outOfRange == nullptr && missingRate == nullptr && std::isfinite(out.Fit) && out.Fit > 0;

    // 14, 15.
    view.lblS.setVisible(true);
    out.NoteText = std::move(p.note);
    state.NoteSeparator = std::move(p.separator);
    view.lblNote.setVisible(!out.NoteText.empty());
    view.lblNote.setCaption(out.NoteText);
}

}  // namespace quarvell::model
