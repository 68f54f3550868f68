#pragma once
// The capacitor catalogue: the type lists of Notice 1 and Notice 2, the set-up each type
// applies to the window, its fixed notes, and the entries of the option lists. Choosing a type
// (type_selection.h) applies a TypeSetup row to the controls; the option handlers
// (type_options.h) read the entries back; switching Notice (notice_switch.h) refills the type
// list and chooses the counterpart of the type in use. The handlers reach the window only
// through the small views they declare, which the window hands over.

#include <string>
#include <string_view>
#include <vector>

#include "platform/controls.h"

namespace quarvell::catalogue {

// What the shared list cmbRes carries for a type.
enum class OptionList { None, CircuitResistance, Construction };

struct NotePiece {
    enum class Kind {
        Line,    // after NoteSeparator, which then becomes CR LF
        Suffix,  // appended as it stands
        // A line added only when the type forces the rating away from what TempRating held.
        ForcedRatingLine
    };
    Kind kind = Kind::Line;
    std::string text;
};

struct TypeSetup {
    std::string code;
    std::vector<std::string> ratings;  // cmbRating entries, in list order
    int defaultRating = 0;             // position in ratings
    bool keepsRating = false;
    std::string style;
    OptionList optionList = OptionList::None;
    // The Notice 2 types fill cmbRes before the rating list, the Notice 1 types after it; the
    // order decides which rating selection still runs suspended.
    bool optionListFirst = false;
    int piVEntry = -1;  // cmbPiV entry to select; -1: the PI(V) list stays hidden
    int biasEntry = 0;  // cmbLife entry to select
    int helpContext = 0;
    // A rating list of only +125°C: TempRating is forced to 125.
    bool forcesRating125 = false;
    // The only type that sets TempLimit.
    bool setsTempLimit125 = false;
    std::vector<NotePiece> notes;
};

inline constexpr int kNotice1 = 1;
inline constexpr int kNotice2 = 2;

const std::vector<std::string>& TypeEntries(int notice);
const std::string& TypeListCaption(int notice);
const std::vector<TypeSetup>& TypeSetups(int notice);
// Exact, case-sensitive code match in the table of the Notice; nullptr when there is none.
const TypeSetup* FindTypeSetup(int notice, std::string_view code);

const std::vector<std::string>& CircuitResistanceEntries();
const std::vector<std::string>& ConstructionEntries();
const std::vector<std::string>& PiVEntries();
const std::vector<std::string>& LifeBiasEntries();

inline constexpr int kDefaultResistanceEntry = 5;
inline constexpr int kDefaultConstructionEntry = 0;
inline constexpr int kLifeBiasOther = 5;

inline constexpr const char* kCircuitResistanceCaption = "Circuit Resistance (Ohms/Volt)";
inline constexpr const char* kCircuitResistanceTooltip =
    "Select range of circuit conditions - remember it's ohms-per-volt, and not ohms.";
inline constexpr const char* kConstructionCaption = "Wet Tantalum Construction Type";
inline constexpr const char* kConstructionTooltip =
    "Selection locked as 'Slug, All Tantalum' as only offering from TELVARO";

// The characters before the first blank; a text without one is returned whole.
std::string FirstWord(std::string_view text);

// The temperature of a rating entry: the leading number of its second to fourth characters
// ("+125°C" gives 125, "+85°C" gives 85).
int RatingValue(std::string_view entry, bool decimalIsPoint);

// The rating-keeping rule: from the rating held before a type change, the temperature the new
// list keeps if it offers it.
int KeptTemperature(int previousRating);

struct TypeListView {
    platform::ComboBox& cmbType;
    platform::Label& lblType;
};

// Refill cmbType with a Notice's list, no entry selected, and caption lblType.
void SetTypeNotice1(TypeListView& v);
void SetTypeNotice2(TypeListView& v);

}  // namespace quarvell::catalogue
