#pragma once
// The same part under the other Notice, exactly as the window holds it after the user switches
// the Notice: the type the switch carries it over to, with the rating, option, PI(V)
// denominator and life-test bias that choosing that type leaves. The batch command, the curves
// and the calculation sheet compare the two Notices with it.

#include "model/capacitor_types.h"
#include "model/engine.h"

namespace quarvell::catalogue {

struct Counterpart {
    model::Part part;
    // The switch's timed message where the Notices treat the type differently: the
    // counterpart is then a stand-in. nullptr otherwise.
    const model::SwitchMessage* message = nullptr;
};

// The part must name a type.
Counterpart CounterpartOf(const model::Part& part);

// The rating a type's list ends on when it is chosen while `previous` was held.
std::int16_t RatingAfterChoosing(const model::CapacitorType& type, std::int16_t previous);
// The PI(V) denominator a polymer type selects when chosen.
float DefaultPiVDenominator(const model::CapacitorType& type);
// The life-test bias a type selects when chosen.
float DefaultLifeBias(const model::CapacitorType& type);
// The option position a type's list selects when chosen; -1 for none.
int DefaultOption(const model::CapacitorType& type);

}  // namespace quarvell::catalogue
