#pragma once
// The capacitor types of both Notices, one record each: how the type list names it, what
// choosing it sets up in the window, the handbook model that evaluates it, and its counterpart
// in the other Notice. Every question "what does type X do" is answered here; the engine, the
// window's handlers and the other faces only read these records.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "model/tables.h"

namespace quarvell::model {

enum class Notice : std::uint8_t { One = 1, Two = 2 };

// What the shared option list shows for the type; its position sets PI(SR) or PI(Const).
enum class OptionList : std::uint8_t { None, CircuitResistance, Construction };

// The note the model appends when it derates the voltage rating.
enum class DeratingNote : std::uint8_t { None, Applied, InRange };

// The temperature above which the over-temperature warning fires.
enum class TempLimitRule : std::uint8_t { Rating, Fixed125, Fixed125WhenDerated };

// A piece of the note that choosing the type assembles.
struct NotePiece {
    enum class Kind : std::uint8_t {
        None,
        Line,    // after the note separator, which then becomes CR LF
        Suffix,  // appended as it stands
        // A line added only when the type forces the rating away from the one carried over.
        ForcedRatingLine
    };
    Kind kind = Kind::None;
    std::string_view text;
};

// The timed message shown when the Notice switch carries a type over to its counterpart.
struct SwitchMessage {
    std::string_view title;
    std::string_view text;
    float seconds = 0;
};

// A power factor coef x x^exponent with the caption written before its value.
struct PowerFactor {
    std::string_view caption;
    double coef = 1;
    double exponent = 1;
};

// exp(coef x (T/TR)^exponent); the caption is prefix, T, "/", TR, suffix, value.
struct TemperatureFactor {
    std::string_view prefix;
    std::string_view suffix;
    double coef = 1;
    double exponent = 1;
};

// How the engine evaluates the type. Notice 2 types share one Arrhenius form and write their
// captions from their parameters; Notice 1 types each have their own formulas and captions.
struct TypeModel {
    float base = 0;
    const tables::EnvTable* piE = nullptr;
    std::string_view formula;      // the FIT formula caption
    std::string_view styleSuffix;  // written right after it
    // The voltage rating is derated above derateAbove degC over derateSpan; 0: never.
    int derateAbove = 0;
    double derateSpan = 0;
    DeratingNote derateNote = DeratingNote::None;
    bool redWhenDerated = false;   // the stress caption turns red as the model derates
    bool lowersScrollTop = false;  // the window lowers the voltage scroll bar's top with it
    TempLimitRule tempLimit = TempLimitRule::Rating;
    // The polymer types' two note lines, which replace the note the type selection assembled.
    std::string_view replacementNote;

    // Notice 2.
    float activationEnergy = 0;  // eV
    float capExponent = 0;
    float voltExponent = 0;
    float piVDenominator = 0;  // 0: from the PI(V) list

    // Notice 1.
    std::string_view baseCaption;
    PowerFactor cv;
    bool picofarads = false;  // PI(CV) takes pF (10.10, 10.11)
    PowerFactor v;            // coef: the denominator of S
    bool vOnRated = false;    // 10.14: S on the rated, not the derated voltage
    TemperatureFactor t;
    bool integerKelvin = false;  // 10.15: the rounded kelvin temperature instead of T
    bool sScientific = false;    // 10.13: S on the derated voltage, in scientific form
};

struct CapacitorType {
    Notice notice = Notice::Two;
    std::string_view code;                  // the handbook section, "10.1f"
    std::string_view entry;                 // the type list's text, which starts with the code
    std::array<std::int16_t, 3> ratings{};  // degC, in list order; 0 after the last
    int defaultRating = 0;                  // position in ratings
    bool keepsRating = false;               // carries over the rating held before
    std::string_view style;
    std::array<NotePiece, 3> notes{};
    OptionList option = OptionList::None;
    // The Notice 2 types fill the option list before the rating list, the Notice 1 types after
    // it; the order decides which rating selection still runs suspended.
    bool optionListFirst = false;
    int piVEntry = -1;  // PI(V) list entry selected; -1: the list stays hidden
    int biasEntry = 0;  // life-test bias entry selected
    int helpContext = 0;
    std::string_view counterpart;  // the code the Notice switch carries the type over to
    const SwitchMessage* switchMessage = nullptr;
    TypeModel model;

    int ratingCount() const;
    bool polymer() const { return piVEntry >= 0; }
};

// The types of a Notice, in list order.
std::span<const CapacitorType> TypesOf(Notice notice);
// Exact, case-sensitive code match among the types of a Notice, or of both; nullptr for none.
const CapacitorType* FindType(Notice notice, std::string_view code);
const CapacitorType* FindType(std::string_view code);
// The position of a type in its Notice's list.
int PositionOf(const CapacitorType& type);
// The type the Notice switch carries this one over to.
const CapacitorType& CounterpartOf(const CapacitorType& type);

// The caption of the type list for a Notice.
std::string_view TypeListCaption(Notice notice);

}  // namespace quarvell::model
