#pragma once
// Internal to model/: one pass of Recalculate. The steps of recalculate.cpp and the two type
// models share its working values, the note block being built and the out-of-range
// bookkeeping.

#include <string>
#include <string_view>

#include "model/calc_state.h"
#include "model/recalculate.h"
#include "platform/number_locale.h"

namespace quarvell::model::detail {

inline constexpr std::string_view kOutOfRangeText = "Out of range";
inline constexpr std::string_view kDeratedNote85 =
    "Voltage-Derating applied in Temperature Range (>85) - 'S' calc appears in red.";

// Out-of-range policy: a factor, failure rate or FIT that is not a finite single-precision
// number is never stored. The field keeps its previous value, the caption shows "Out of
// range" in place of the number, FIT is not computed (the product would mix in the stale
// value), txtFIT and txtMTBF say "Out of range" and the note block ends with one warning
// naming the first such quantity. So no inf or nan reaches CalcResults or the screen, and the
// next usable inputs recalculate from clean state.
class Pass {
  public:
    Pass(CalcState& s, RecalcView& v, const platform::NumberLocale& l)
        : state(s),
          in(s.in),
          out(s.out),
          view(v),
          loc(l),
          note(s.out.NoteText),
          separator(s.NoteSeparator) {}

    CalcState& state;
    CalcInputs& in;
    CalcResults& out;
    RecalcView& view;
    const platform::NumberLocale& loc;

    // The note block of this pass. It is kept here, not in NoteText, until the pass ends:
    // a nested Recalculate (run by the cmbPiV or hscApp handler) writes its own complete
    // block, and the outer pass then finishes and writes the block of the final inputs, so
    // notes never appear twice.
    std::string note;
    std::string separator;
    void append(std::string_view text);
    // The derated-rating note of the common tail: appended, separator left as it is.
    void appendKeepingSeparator(std::string_view text);

    // Working values of step 8.
    float ratingKelvin = 0;
    int appKelvin = 0;
    bool appKelvinFits = false;  // within the 16-bit range

    // The first quantity of this pass that is out of range, or nullptr.
    const char* outOfRange = nullptr;
    void markOutOfRange(const char* name);
    // Stores value rounded to single precision when it is a finite single; returns whether.
    bool store(float& field, double value, const char* name);
    // Stores a factor and returns its text in the pattern, or "Out of range".
    std::string factor(float& field, double value, const char* name, std::string_view pattern);

    std::string general(float v) const;
    std::string format(double v, std::string_view pattern) const;

    // The capacitance text of txtCap as a usable (finite, positive single) value, or 0.
    double capacitance() const;
    // Derates the voltage rating above threshold t0 over span w.
    void derate(double t0, double w);
    void showDerated();
};

void RunNotice2Model(Pass& p);
void RunNotice1Model(Pass& p);

}  // namespace quarvell::model::detail
