#pragma once
// Recalculate: the one calculation every input change triggers. It reads the calculator
// state and the few controls the model reads directly, runs the Notice 1 or Notice 2 model
// of the selected type, and rewrites every result control with its caption, the note block
// and FIT/MTBF in engineering units.

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

}  // namespace quarvell::model
