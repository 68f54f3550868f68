#include "print/print_menu.h"

#include <cmath>

namespace quarvell::print {

bool HasUsableResult(const model::CalcState& state) {
    // Single precision on purpose: a product that underflows a float counts as no result.
    const float product = state.in.Capacitance * state.in.RatedVoltage;
    const float fit = state.out.Fit;
    return state.out.Usable && product != 0.0f && std::isfinite(fit) && fit > 0.0f;
}

void mnuPrintResults_Click(const model::CalcState& state, platform::Printer& printer) {
    if (!HasUsableResult(state)) {
        return;
    }
    printer.setUnitInches();
    printer.setPrintPosition(kPrintMarginInches, kPrintMarginInches);
    printer.printWindow();
}

void mnuPrintSetup_Click(platform::Printer& printer) {
    printer.endDocument();
    printer.showPrintSetup();
}

}  // namespace quarvell::print
