#pragma once
// The texts of an evaluation, as the calculator window shows them: every factor's caption with
// its formula, the FIT formula and style, the stress, the note block, the derived life-test
// rate, the derated rating, FIT and MTBF in engineering units. Numbers follow the locale.

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
    // Each written only where its flag says so.
    std::string piSR;  // PI(SR) or PI(Const), for the types that show it
    bool showsPiSR = false;
    std::string derivedRate;  // the rate a life test gives
    bool hasDerivedRate = false;
    std::string derated;  // the derated voltage rating, shown while derating applies
    bool showsDerated = false;
    bool stressRed = false;
    bool piVList = false;  // the PI(V) denominator list and its label
    // What the next note line would be put after: "NOTE: " or CR LF.
    std::string_view noteSeparator;
};

// Writes the texts into `out`, whose strings keep their storage from one call to the next. The
// note block starts from typeNote (the note the type selection assembled), except for the types
// whose own note lines replace it. Nothing is written for a part that was refused.
void WriteTexts(const Evaluation& e, const NumberLocale& locale, std::string_view typeNote,
                Texts& out);
Texts TextsOf(const Evaluation& e, const NumberLocale& locale, std::string_view typeNote);

// The note block alone, as WriteTexts writes it into Texts::note, for the faces that show no
// captions; `out` keeps its storage. Empty for a part that was refused.
void WriteNote(const Evaluation& e, const NumberLocale& locale, std::string_view typeNote,
               std::string& out);

// The note a type's own pieces make, as choosing it in the list assembles them; the line of a
// forced rating only when the rating was forced. Lines go after `separator` ("NOTE: " for the
// first line of a note), which ends as what a next line would be put after.
std::string TypeNote(const CapacitorType& type);
std::string TypeNote(const CapacitorType& type, bool ratingForced, std::string_view& separator);

}  // namespace quarvell::model
