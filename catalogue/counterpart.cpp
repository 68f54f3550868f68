#include "catalogue/counterpart.h"

#include "catalogue/catalogue.h"
#include "model/number_text.h"

namespace quarvell::catalogue {

std::int16_t RatingAfterChoosing(const model::CapacitorType& type, std::int16_t previous) {
    const auto rating = [&](int i) { return type.ratings[static_cast<std::size_t>(i)]; };
    if (type.keepsRating) {
        const int kept = KeptTemperature(previous);
        for (int i = 0; i < type.ratingCount(); ++i) {
            if (rating(i) == kept) {
                return rating(i);
            }
        }
    }
    return rating(type.defaultRating);
}

float DefaultPiVDenominator(const model::CapacitorType& type) {
    return type.polymer() ? static_cast<float>(model::PeriodNumberAtStart(
                                PiVEntries()[static_cast<std::size_t>(type.piVEntry)]))
                          : 0.0F;
}

float DefaultLifeBias(const model::CapacitorType& type) {
    return static_cast<float>(
        model::PeriodNumberAtStart(LifeBiasEntries()[static_cast<std::size_t>(type.biasEntry)]));
}

int DefaultOption(const model::CapacitorType& type) {
    switch (type.option) {
        case model::OptionList::CircuitResistance:
            return kDefaultResistanceEntry;
        case model::OptionList::Construction:
            return kDefaultConstructionEntry;
        case model::OptionList::None:
            break;
    }
    return -1;
}

Counterpart CounterpartOf(const model::Part& part) {
    const model::CapacitorType& from = *part.type;
    const model::CapacitorType& to = model::CounterpartOf(from);
    Counterpart c{.part = part, .message = from.switchMessage};
    c.part.type = &to;
    c.part.tempRating = RatingAfterChoosing(to, part.tempRating);
    c.part.option = DefaultOption(to);
    c.part.piVDenominator = DefaultPiVDenominator(to);
    c.part.quality.test.bias = DefaultLifeBias(to);
    return c;
}

}  // namespace quarvell::catalogue
