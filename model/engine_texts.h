#pragma once
// The texts of an evaluation, as the calculator window shows them: every factor's caption with
// its formula, the FIT formula and style, the stress, the note block, the derived life-test
// rate, the derated rating, FIT and MTBF in engineering units. Numbers follow the locale.

#include <optional>
#include <string>
#include <string_view>

#include "model/engine.h"
#include "model/number_locale.h"

namespace quarvell::model {

struct Texts {
    std::string formula;
    std::string base;
    std::string piT;
    std::string piV;
    std::string piCV;
    std::string piE;
    std::string piQ;
    std::string stress;
    std::string failureRateCaption;
    std::string note;  // the whole note block; empty for none
    std::string fit;   // empty for no number
    std::string mtbf;  // empty for no number, or a FIT of 0
    // Written only where the type shows them.
    std::optional<std::string> piSR;         // PI(SR) or PI(Const)
    std::optional<std::string> derivedRate;  // the rate a life test gives
    std::optional<std::string> derated;      // the derated voltage rating
    bool stressRed = false;
    bool piVList = false;       // the PI(V) denominator list and its label
    std::string noteSeparator;  // what the next note line would be put after
};

// The note block starts from typeNote (the note the type selection assembled), except for the
// types whose own note lines replace it.
Texts TextsOf(const Evaluation& e, const NumberLocale& locale, std::string_view typeNote);

// The note a type's own pieces make, as choosing it in the list assembles them, without the line
// of a forced rating.
std::string TypeNote(const CapacitorType& type);

}  // namespace quarvell::model
