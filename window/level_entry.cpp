// The failure-rate level list, the typed known rate and the life-test fields with their
// re-entry questions.
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "model/number_text.h"
#include "window/frm_fit.h"

namespace quarvell::window {

namespace {

// The first two types of either Notice (paper/film and leaded ceramic) are life-tested at twice
// the rating.
constexpr int kDoubleBiasEntry = 4;  // "2.0 x Rated"
constexpr int kRatedBiasEntry = 0;   // "1 x Rated"

constexpr float kConfirmedRateAbove = 1e-5f;
constexpr float kConfirmedRateBelow = 100;

constexpr const char* kHoursPrompt =
    "Entry of Hours tested is incorrect - retry entry.\r\n(Must enter 1 or greater - no '0'.)";
constexpr const char* kPiecesPrompt = "Entry of pieces tested is incorrect - retry entry.";
constexpr const char* kFailuresPrompt = "Entry of pieces failed is incorrect - retry entry.";

std::string TrimBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return std::string();
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

void FrmFit::cmbFR_Click() {
    if (state_.SuspendRecalc) {
        return;
    }
    const int level = cmbFR.index();
    txtEnterPercFR.setVisible(false);
    fmeOther.setVisible(level == model::kLifeTestLevel);
    txtEnterPercFR.setText("");
    if (level == model::kLifeTestLevel) {
        startLifeTest();
        return;
    }
    if (level == model::kRateLevel) {
        askKnownRate();
    } else {
        fmeOther.setVisible(false);
    }
    recalculate();
}

void FrmFit::startLifeTest() {
    model::CalcState& s = state_;
    fmeOther.setVisible(true);
    focus_.setFocus(txtHrs);
    s.in.TestPieces = 0;
    s.in.TestHours = 0;
    s.in.TestFailures = 0;
    s.in.TestFailuresEntered = false;
    for (platform::TextBox* t : {&txtHrs, &txtPcs, &txtFail, &txtFR, &txtFIT, &txtMTBF}) {
        t->setText("");
    }
    const int type = cmbType.index();
    const bool doubleBias = type < 0 || type == 0 || type == 1;
    const int bias = doubleBias ? kDoubleBiasEntry : kRatedBiasEntry;
    // The bias handler runs, and recalculates, only when the entry really changes.
    if (cmbLife.index() != bias) {
        cmbLife.select(bias);
    }
    s.in.LifeBias = doubleBias ? 2.0f : 1.0f;
    s.out.Fit = 0;
    // Shows no number until the three test values are in, and says what is missing.
    recalculate();
}

void FrmFit::askKnownRate() {
    model::CalcState& s = state_;
    const model::NumberLocale locale = services_.numberLocale();
    const std::string answer =
        services_.inputBox("Enter the %/kHrs Failure Rate:", "Failure Rate Entry", "");
    const auto v = model::ParseNumber(answer, locale);
    if (!v) {
        return;
    }
    const std::string title = services_.versionRecord().title;
    // PI(Q) is the square root of the rate, so the rate must be above 0 once it is a single.
    if (!(*v > 0) || (model::IsFiniteSingle(*v) && static_cast<float>(*v) == 0)) {
        services_.messageBox("The failure rate must be greater than 0. Ignoring entry.",
                             platform::MsgButtons::Ok, title);
        return;
    }
    if (!model::IsFiniteSingle(*v)) {
        services_.messageBox("The failure rate entered is too large. Ignoring entry.",
                             platform::MsgButtons::Ok, title);
        return;
    }
    s.in.EnteredRate = static_cast<float>(*v);
    if (s.in.EnteredRate > kConfirmedRateAbove && s.in.EnteredRate < kConfirmedRateBelow) {
        txtEnterPercFR.setText("Entered FR as " +
                               model::FormatPattern(s.in.EnteredRate, "#0.0##", locale) + "%/kHrs");
        txtEnterPercFR.setVisible(true);
        s.out.FailureRate = s.in.EnteredRate;
    }
}

void FrmFit::lifeTestEntry(platform::TextBox& field, float& value, const char* prompt,
                           const char* title, bool* entered) {
    model::CalcState& s = state_;
    const model::NumberLocale locale = services_.numberLocale();
    const auto read = [&](const std::string& text) -> std::optional<float> {
        const auto v = model::ParseNumber(text, locale);
        if (!v || !model::IsFiniteSingle(*v)) {
            return std::nullopt;
        }
        return static_cast<float>(*v);
    };

    const float previous = value;
    value = 0;
    field.setText(TrimBlanks(field.text()));
    std::optional<float> v = read(field.text());
    if (v) {
        value = *v;
    }
    // Hours and pieces must be above 0; no failures at all is a result of its own.
    const auto accepted = [&] { return v && (value != 0 || entered != nullptr); };
    while (!accepted()) {
        s.InputPrompt = prompt;
        const std::string answer = services_.inputBox(s.InputPrompt, title, "0");
        if (answer.empty()) {
            // Cancel leaves the question with the entry as it was, instead of asking forever.
            value = previous;
            field.setText(previous == 0 ? std::string() : model::GeneralText(previous, locale));
            break;
        }
        field.setText(answer);
        v = read(answer);
        if (v) {
            value = *v;
        }
    }
    if (entered != nullptr && accepted()) {
        *entered = true;
    }
    // Also with incomplete or unusable data, so that a result of earlier data never stays on
    // screen beside them.
    recalculate();
}

void FrmFit::txtHrs_LostFocus() {
    lifeTestEntry(txtHrs, state_.in.TestHours, kHoursPrompt, "Input Hours Tested.");
}

void FrmFit::txtPcs_LostFocus() {
    lifeTestEntry(txtPcs, state_.in.TestPieces, kPiecesPrompt, "Input Pieces Tested.");
}

void FrmFit::txtFail_LostFocus() {
    lifeTestEntry(txtFail, state_.in.TestFailures, kFailuresPrompt, "Input Pieces Failed.",
                  &state_.in.TestFailuresEntered);
}

}  // namespace quarvell::window
