#pragma once
// Recalculate: the one calculation every input change triggers. It reads the calculator
// state and the few controls the model reads directly, runs the Notice 1 or Notice 2 model
// of the selected type, and rewrites every result control with its caption, the note block
// and FIT/MTBF in engineering units.
//
// model/ owns the calculator state (calc_state.h), this operation (recalculate.cpp, which
// runs the steps in their fixed order), the two type models (notice1_model.cpp,
// notice2_model.cpp) with their fixed data (tables.h), and all number text (number_text.h).
// Data flows one way: the handlers store inputs in CalcInputs, Recalculate reads them and the
// controls of its RecalcView, and writes CalcResults and the result controls. One pass keeps
// its working values in detail::Pass (recalc_pass.h), shared by the steps and the models.

#include <optional>
#include <string_view>

#include "model/calc_state.h"
#include "platform/controls.h"
#include "platform/number_locale.h"

namespace quarvell::model {

// The controls Recalculate reads and writes: its view of the window. Its two re-entrant
// effects go through the real control operations (selecting a cmbPiV entry runs that list's
// Click handler, lowering hscApp's maximum below its value runs Change), so nested handlers
// run exactly as they would on screen.
struct RecalcView {
    // Read.
    platform::TextBox& txtCap;
    platform::TextBox& txtVolt;
    platform::ComboBox& cmbRating;
    platform::ComboBox& cmbPiV;
    platform::ComboBox& cmbRes;
    platform::ComboBox& cmbFR;
    platform::ComboBox& cmbEnv;
    platform::OptionButton& optNotice2;
    // Written.
    platform::ScrollBar& hscApp;
    platform::Label& lblFormula;
    platform::Label& lblBase;
    platform::Label& lblPIt;
    platform::Label& lblPIv;
    platform::Label& lblPIc;
    platform::Label& lblPIsr;
    platform::Label& lblPIq;
    platform::Label& lblPIe;
    platform::Label& lblS;
    platform::Label& lblFR;
    platform::Label& lblUnity;
    platform::Label& lblCalcFIT;
    platform::Label& lblCalcMTBF;
    platform::Label& lblNote;
    platform::TextBox& txtFR;
    platform::TextBox& txtDerated;
    platform::TextBox& txtFIT;
    platform::TextBox& txtMTBF;
};

void Recalculate(CalcState& state, RecalcView& view, const platform::NumberLocale& locale);

// The PI(V) denominator that a text of cmbPiV stands for, when it is a number from 0.5 to 1.0:
// read with the user's separators ("0,75" under a decimal comma), else as the list's own
// entries are written (".8").
std::optional<float> PiVDenominator(std::string_view text, const platform::NumberLocale& locale);

}  // namespace quarvell::model
