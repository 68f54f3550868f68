#pragma once
// The lists whose meaning depends on the type: temperature rating, circuit resistance or
// construction, PI(V) denominator and life-test bias. Each handler runs when an entry of its
// list becomes selected, by the user or by a program step.

#include <functional>
#include <string>

#include "model/calc_state.h"
#include "platform/controls.h"
#include "platform/services.h"

namespace quarvell::catalogue {

using ShowMessageFn =
    std::function<void(const std::string& title, const std::string& text, float seconds)>;

struct OptionsView {
    model::CalcState& state;
    platform::ComboBox& cmbRating;
    platform::ComboBox& cmbPiV;
    platform::ComboBox& cmbLife;
    // Its visibility tells whether a result has been shown.
    const platform::TextBox& txtFIT;
    platform::Services& services;
    std::function<void()> recalculate;
    ShowMessageFn showMessage;
};

inline constexpr float kPiVWarningSeconds = 7;
inline constexpr const char* kPiVRangeWarning =
    "WARNING: You must restrict entry between 0.5 and 1.0.\r\n";
inline constexpr const char* kPiVNumericWarning =
    "WARNING: You must enter denominator as numeric entry.\r\n";
inline constexpr const char* kBiasPrompt = "Enter DC Bias as a multiple of Rated:";
inline constexpr const char* kBiasTitle = "Odd Life Bias conditions";
inline constexpr const char* kBiasNotNumeric = "Entry was  ot numeric. Ignoring entry.";
// The life-test rate divides by a power of the bias.
inline constexpr const char* kBiasNotPositive =
    "The DC Bias must be a multiple greater than 0. Ignoring entry.";
inline constexpr const char* kBiasTooLarge = "The DC Bias entered is too large. Ignoring entry.";

void cmbRating_Click(OptionsView& v);
void cmbRes_Click(OptionsView& v);
void cmbPiV_Click(OptionsView& v);
void cmbLife_Click(OptionsView& v);

}  // namespace quarvell::catalogue
