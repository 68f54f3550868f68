// The rating and application entries: capacitance and rated voltage, and the application
// voltage and temperature by field or scroll bar, with their limits, messages and re-entry
// question.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "model/number_text.h"
#include "window/frm_fit.h"

namespace quarvell::window {

namespace {

constexpr double kFloatMax = std::numeric_limits<float>::max();
constexpr double kInt16Max = std::numeric_limits<std::int16_t>::max();
constexpr float kRefusalSeconds = 5;

constexpr const char* kAppVoltagePrompt =
    "The voltage value entered is incorrect or 0.\r\nEnter a proper numeric designation of ther "
    "application voltage.";
constexpr const char* kAppVoltageTitle = "Voltage value incorrect.";

constexpr float kTemperatureWarningAbove = 125.0f;
constexpr const char* kTemperatureWarningTitle =
    "Cap'n, she can't take much morrrrre of this. (Scotty)";
constexpr const char* kTemperatureWarning =
    "WARNING: Entered temperature is outside the operating range of the device.\r\nBe aware "
    "that the calculator will use this entry, but the results are not valid.\r\n";

// The model works in whole kelvin held in 16 bits.
constexpr int kKelvinOffset = 273;
constexpr double kHighestTemperature = kInt16Max - kKelvinOffset;

std::int16_t Rounded16(double v) {
    return static_cast<std::int16_t>(std::nearbyint(v));
}

}  // namespace

float FractionalPart(float x) {
    const float part = x - std::floor(x);
    return x > 0 ? part : part + 1;
}

int FrmFit::voltSteps() const {
    return state_.in.VoltSteps > 0 ? state_.in.VoltSteps : 1;
}

void FrmFit::txtCap_LostFocus() {
    const auto v = model::ParseNumber(txtCap.text(), services_.numberLocale());
    if (v && model::IsFiniteSingle(*v)) {
        state_.in.Capacitance = static_cast<float>(*v);
    }
    recalculate();
}

void FrmFit::txtVolt_LostFocus() {
    model::CalcState& s = state_;
    if (s.SuspendRecalc) {
        return;
    }
    const model::NumberLocale locale = services_.numberLocale();
    const auto v = model::ParseNumber(txtVolt.text(), locale);
    // Passing through the field without changing the rating keeps the application voltage the
    // user set; only a new rating starts again from half of it.
    const bool unchanged = v && hscApp.enabled() && model::IsFiniteSingle(*v) &&
                           static_cast<float>(*v) == s.in.RatedVoltage;
    if (v && !unchanged) {
        const auto rated = static_cast<float>(std::clamp(*v, -kFloatMax, kFloatMax));
        const float half = rated / 2;
        const std::int16_t steps =
            FractionalPart(half) <= 0.2f || FractionalPart(half) >= 0.8f ? 1 : 2;
        const double top = std::nearbyint(static_cast<double>(steps) * rated);
        const bool tooLarge = *v > kFloatMax || top > kInt16Max;
        if (tooLarge || !(rated > 0)) {
            // A rating of 0 or below gives the scroll bar no range, and one beyond its 16 bits
            // a range it cannot hold: the previous rating stays.
            txtVolt.setText(hscApp.enabled() ? model::GeneralText(s.in.RatedVoltage, locale)
                                             : std::string());
            ShowMessage("Rated voltage not usable.",
                        std::string(tooLarge ? "The rated voltage entered is too large."
                                             : "The rated voltage must be greater than 0.") +
                            "\r\nKeeping the previous rated voltage.\r\n",
                        kRefusalSeconds);
        } else {
            s.in.RatedVoltage = rated;
            s.in.AppVoltage = half;
            s.in.VoltSteps = steps;
            hscApp.setMin(0);
            model::SuspendRecalculation(s);
            hscApp.setMax(static_cast<std::int16_t>(top));
            hscApp.setValue(Rounded16(static_cast<double>(steps) * half));
            txtApp.setVisible(true);
            lblAppTxt.setVisible(true);
            lblAppVolt.setCaption("Application Voltage ( 0 VDC to " +
                                  model::GeneralText(rated, locale) + " DVC)");
            txtApp.setText(model::GeneralText(half, locale));
            hscApp.setSmallChange(1);
            hscApp.setLargeChange(static_cast<std::int16_t>(5 * hscApp.smallChange()));
            hscApp.setEnabled(true);
            model::ResumeRecalculation(s);
        }
    }
    recalculate();
}

void FrmFit::hscApp_Change() {
    model::CalcState& s = state_;
    if (s.SuspendRecalc) {
        return;
    }
    const double volts = static_cast<double>(hscApp.value()) / voltSteps();
    s.in.AppVoltage = static_cast<float>(volts);
    txtApp.setText(model::GeneralText(volts, services_.numberLocale()));
    if (txtFIT.visible()) {
        recalculate();
    }
    takeFocusUnlessRecalculating(hscApp);
}

void FrmFit::txtApp_LostFocus() {
    model::CalcState& s = state_;
    if (s.SuspendRecalc) {
        return;
    }
    const model::NumberLocale locale = services_.numberLocale();
    // Below the scroll bar's range a voltage is as unusable as a word; one too large for a
    // single is certainly beyond the rating and is reverted like any other.
    const auto usable = [&](const std::string& text) -> std::optional<float> {
        const auto v = model::ParseNumber(text, locale);
        if (!v || !(*v >= 0)) {
            return std::nullopt;
        }
        return static_cast<float>(std::fmin(*v, kFloatMax));
    };

    if (const auto v = usable(txtApp.text())) {
        s.in.AppVoltage = *v;
    } else {
        const float previous = s.in.AppVoltage;
        s.in.AppVoltage = 0;
        do {
            s.InputPrompt = kAppVoltagePrompt;
            s.InputPrompt = services_.inputBox(s.InputPrompt, kAppVoltageTitle, "");
            if (s.InputPrompt.empty()) {
                // Cancel leaves the question with the previous voltage back, rather than
                // ending the program with every entry lost.
                s.in.AppVoltage = previous;
                s.InputPrompt = model::GeneralText(previous, locale);
                break;
            }
            if (const auto answer = usable(s.InputPrompt)) {
                s.in.AppVoltage = *answer;
            }
        } while (s.in.AppVoltage == 0);
        model::SuspendRecalculation(s);
        txtApp.setText(s.InputPrompt);
        model::ResumeRecalculation(s);
    }

    model::SuspendRecalculation(s);
    const int steps = voltSteps();
    const auto top = static_cast<float>(static_cast<double>(hscApp.max()) / steps);
    if (s.in.AppVoltage > top) {
        ShowMessage("Not allowed!",
                    "Application voltage is beyond rated voltage - you cannot exceed "
                    "this!\r\nReverting to rated.",
                    2);
        s.in.AppVoltage = top;
        txtApp.setText(model::GeneralText(top, locale));
        hscApp.setValue(hscApp.max());
    } else {
        hscApp.setValue(Rounded16(static_cast<double>(steps) * s.in.AppVoltage));
    }
    model::ResumeRecalculation(s);
    recalculate();
}

void FrmFit::hscTemp_Change() {
    model::CalcState& s = state_;
    if (s.SuspendRecalc) {
        return;
    }
    txtTemp.setText(std::to_string(hscTemp.value()));
    s.in.AppTemp = hscTemp.value();
    if (txtFIT.visible()) {
        recalculate();
    }
    takeFocusUnlessRecalculating(hscTemp);
}

void FrmFit::takeFocusUnlessRecalculating(platform::Control& bar) {
    // A user's own scroll takes the focus; a value the program changed does not.
    if (!recalculating_) {
        focus_.setFocus(bar);
    }
}

void FrmFit::refuseTemperature(const std::string& title, const std::string& text) {
    txtTemp.setText(model::GeneralText(state_.in.AppTemp, services_.numberLocale()));
    ShowMessage(title, text + "\r\nKeeping the previous temperature.\r\n", kRefusalSeconds);
}

void FrmFit::txtTemp_LostFocus() {
    model::CalcState& s = state_;
    if (s.SuspendRecalc) {
        return;
    }
    const auto v = model::ParseNumber(txtTemp.text(), services_.numberLocale());
    if (!v) {
        // Counting a word as 0 °C would show a result for a temperature nobody entered.
        refuseTemperature("Temperature not numeric.",
                          "The application temperature must be a number of degrees C.");
        return;
    }
    // Refused exactly as the message says: at or below absolute zero, or above the highest
    // temperature whose whole kelvin still fit in 16 bits.
    const auto t =
        model::IsFiniteSingle(*v) ? static_cast<float>(*v) : std::numeric_limits<float>::max();
    if (!(t > -kKelvinOffset) || t > kHighestTemperature) {
        refuseTemperature("Temperature not possible.",
                          "The application temperature must lie above -273 \u00B0C (absolute "
                          "zero) and not above " +
                              std::to_string(static_cast<int>(kHighestTemperature)) + " \u00B0C.");
        return;
    }

    model::SuspendRecalculation(s);
    if (t > kTemperatureWarningAbove) {
        hscTemp.setValue(hscTemp.max());
        ShowMessage(kTemperatureWarningTitle, kTemperatureWarning, 7);
    }
    hscTemp.setValue(Rounded16(t));
    s.in.AppTemp = t;
    model::ResumeRecalculation(s);
    recalculate();
}

}  // namespace quarvell::window
