#pragma once
// The Print menu: printing a picture of the calculator window once the state holds a usable
// result, and choosing the printer. It reads three values of the calculator state and talks
// only to the platform's printer; nothing of its own outlives a command, and printing never
// touches the state.

#include "model/calc_state.h"
#include "platform/services.h"

namespace quarvell::print {

inline constexpr double kPrintMarginInches = 0.25;

// A result is usable when the last recalculation ran to its end with a finite FIT above 0
// and Capacitance times RatedVoltage, formed in single precision, is not zero.
bool HasUsableResult(const model::CalcState& state);

// "&Print Quarvell Form": without a usable result nothing reaches the printer and nothing is
// said; otherwise the window picture goes out 0.25 inch from the top-left corner.
void mnuPrintResults_Click(const model::CalcState& state, platform::Printer& printer);

// "Printer &Setup": always available. A document in progress is sent to the current printer
// before the user may pick another one.
void mnuPrintSetup_Click(platform::Printer& printer);

}  // namespace quarvell::print
