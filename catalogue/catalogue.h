#pragma once
// What choosing a type, a Notice or an option does to the window. The types themselves are the
// records of model/capacitor_types.h; this directory holds the fixed option lists, applies a
// type's record to the controls when it is chosen (type_selection.h), handles the lists whose
// meaning depends on the type (type_options.h), switches the Notice (notice_switch.h), and
// gives the part that the Notice switch would leave (counterpart.h). The handlers reach the
// window only through the small views they declare, which the window hands over.

#include <string>
#include <string_view>
#include <vector>

#include "model/capacitor_types.h"
#include "platform/controls.h"

namespace quarvell::catalogue {

inline constexpr int kNotice1 = 1;
inline constexpr int kNotice2 = 2;

// The environment and failure-rate level lists, by position.
const std::vector<std::string>& EnvironmentEntries();
const std::vector<std::string>& FailureRateLevelEntries();
const std::vector<std::string>& CircuitResistanceEntries();
const std::vector<std::string>& ConstructionEntries();
const std::vector<std::string>& PiVEntries();
const std::vector<std::string>& LifeBiasEntries();

inline constexpr int kDefaultResistanceEntry = 5;
inline constexpr int kDefaultConstructionEntry = 0;

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
// The entry of a rating: "+125°C".
std::string RatingEntry(int degrees);

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
