#pragma once
// Choosing a capacitor type: cmbType_Click applies the type's set-up row to the window, and the
// three procedures that show, fill or hide the shared option list cmbRes.

#include <functional>

#include "model/calc_state.h"
#include "platform/controls.h"

namespace quarvell::catalogue {

// The option list cmbRes and its caption.
struct ResListView {
    model::CalcState& state;
    platform::ComboBox& cmbRes;
    platform::Label& lblRes;
};

struct TypeSelectionView {
    model::CalcState& state;
    platform::ComboBox& cmbType;
    platform::ComboBox& cmbRating;
    platform::ComboBox& cmbPiV;
    platform::Label& lblPIv;
    platform::ComboBox& cmbLife;
    platform::TextBox& txtStyle;
    platform::Label& lblNote;
    ResListView res;
    std::function<void()> recalculate;
};

inline constexpr int kTypeListFocusHelp = 1740;

void cmbType_Click(TypeSelectionView& v);
void cmbType_GotFocus(TypeSelectionView& v);

void HideRes(ResListView& v);
// Both leave SuspendRecalc cleared, whatever it was before.
void SetSeriesResis(ResListView& v);
void SetConstruction(ResListView& v);

}  // namespace quarvell::catalogue
