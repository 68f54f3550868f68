#pragma once
// The calculation engine: one capacitor as a user describes it (a Part) in, every handbook
// factor, the FIT, the MTBF, the notes and the warning out (an Evaluation). Pure: no controls,
// no services, no globals, no locale; callable from any thread, as often as needed. Texts are a
// separate step (engine_texts.h) that takes the number locale.
//
// model/ owns the engine, the capacitor type records (capacitor_types.h), the handbook's
// tables (tables.h), number text (number_text.h) and the calculator state the window keeps
// (calc_state.h). Every face (the window, the batch command, the curves, the calculation sheet)
// describes its capacitors as parts and reads their evaluations.

#include <cstdint>
#include <optional>
#include <string_view>

#include "model/capacitor_types.h"
#include "model/number_locale.h"

namespace quarvell::model {

// Life-test data: pieces tested, hours, pieces failed, and the test voltage as a multiple of
// the rated voltage.
struct LifeTest {
    float pieces = 0;
    float hours = 0;
    float failures = 0;
    float bias = 1;
    // False while the failures are still to be entered: a 0 then means "not yet", not "none".
    bool failuresEntered = true;
};

// The quality of the part: a level of the failure-rate list, a rate entered by the user, or a
// rate derived from a life test.
struct Quality {
    enum class Kind : std::uint8_t { Level, Rate, LifeTest };
    Kind kind = Kind::Level;
    int level = 9;   // position in the level list, 2 to 12
    float rate = 0;  // %/kPcHr
    LifeTest test;
};

inline constexpr int kLifeTestLevel = 0;  // "Enter Pcs/Hrs/Fail"
inline constexpr int kRateLevel = 1;      // "Enter known %/kPcHr FR"

struct Part {
    const CapacitorType* type = nullptr;
    std::int16_t tempRating = 125;  // degC
    float capacitance = 0;          // microfarads
    float ratedVoltage = 0;         // V DC
    float appliedVoltage = 0;       // V DC
    float temperature = 0;          // application temperature, degC
    Quality quality;
    int environment = 0;       // position in the environment list, 0 to 13
    int option = -1;           // circuit-resistance or construction position; -1 none chosen
    float piVDenominator = 0;  // polymer types: the PI(V) list's value
};

// Why a part cannot be evaluated at all.
enum class Refusal : std::uint8_t { None, UnknownType, NoCapacitance, NoRatedVoltage, NoVoltage };

// A part that is evaluated but has no failure rate of its own: no FIT. A complete life test
// without failures gives no point estimate, only upper bounds (life_test.h).
enum class MissingRate : std::uint8_t { None, NotEntered, LifeTestIncomplete, NoFailures };

// The quantities of an evaluation, as bits of Evaluation::stored and ::outOfRange.
// clang-format off
enum class Quantity : std::uint8_t { None, FailureRate, PiQ, Base, PiE, PiCV, PiV, PiT, PiSR, PiConst,
                                     Fit };
// clang-format on

constexpr std::uint16_t Bit(Quantity q) {
    return static_cast<std::uint16_t>(1U << static_cast<unsigned>(q));
}

enum class Warning : std::uint8_t { None, TemperatureAndVoltage, Voltage, Temperature };

struct Evaluation {
    Part part;
    Refusal refusal = Refusal::None;  // anything else holds only without a refusal
    MissingRate missingRate = MissingRate::None;

    // Each value counts where `stored` has its bit. A value that would not be a finite single
    // is not stored: its bit is in outOfRange instead, and no FIT follows.
    float base = 0, piT = 0, piV = 0, piCV = 0, piSR = 0, piConst = 0, piQ = 0, piE = 0;
    float failureRate = 0;  // %/kPcHr
    float fit = 0;          // failures per 10^9 part-hours; 0 with a missing rate
    std::uint16_t stored = 0;
    std::uint16_t outOfRange = 0;
    Quantity firstOutOfRange = Quantity::None;

    float deratedVoltage = 0;  // the rating S is taken on
    bool derated = false;      // the temperature derating applies
    std::int16_t tempLimit = 0;
    double stress = 0;           // S as the stress caption shows it
    float piVDenominator = 0;    // Notice 2: the denominator PI(V) used
    int appKelvin = 0;           // the application temperature in whole kelvin
    bool appKelvinFits = false;  // within 16 bits
    float ratingKelvin = 0;
    Warning warning = Warning::None;

    bool has(Quantity q) const { return (stored & Bit(q)) != 0; }
    bool isOutOfRange(Quantity q) const { return (outOfRange & Bit(q)) != 0; }
};

Evaluation Evaluate(const Part& part);

// A result to report: no refusal, no missing rate, nothing out of range, a finite FIT above 0.
bool Usable(const Evaluation& e);

// MTBF in hours of a FIT, as the window shows it: the rate per hour and its inverse, each
// rounded to single precision; 0 for a FIT of 0.
float MtbfHours(float fit);

// The PI(V) denominator that a text of the PI(V) list stands for, when it is a number from 0.5
// to 1.0: read with the user's separators ("0,75" under a decimal comma), else as the list's
// own entries are written (".8").
std::optional<float> PiVDenominator(std::string_view text, const NumberLocale& locale);

// What a refusal, a missing rate or an out-of-range quantity is called in messages.
std::string_view RefusalText(Refusal r);
std::string_view MissingRateNote(MissingRate m);
std::string_view QuantityName(Quantity q);

}  // namespace quarvell::model
