#include "model/engine.h"

#include <array>
#include <cmath>
#include <limits>

#include "model/number_locale.h"
#include "model/number_text.h"

namespace quarvell::model {

namespace {

constexpr double kBoltzmann = 8.617E-5;  // eV/K
constexpr double kReferenceKelvin = 298;
constexpr int kKelvinOffset = 273;

bool UsablePositive(float v) {
    return v > 0 && v <= std::numeric_limits<float>::max();
}

// One evaluation under way: stores each value only when it is a finite single, and remembers
// the first quantity that is not.
class Evaluator {
  public:
    explicit Evaluator(Evaluation& evaluation)
        : type(*evaluation.part.type),
          m(evaluation.part.type->model),
          in(evaluation.part),
          e(evaluation) {}

    void run();

  private:
    bool store(float& field, double value, Quantity q) {
        if (!IsFiniteSingle(value)) {
            markOutOfRange(q);
            return false;
        }
        field = static_cast<float>(value);
        e.stored |= Bit(q);
        return true;
    }
    void markOutOfRange(Quantity q) {
        e.outOfRange |= Bit(q);
        if (e.firstOutOfRange == Quantity::None) {
            e.firstOutOfRange = q;
        }
    }

    void seriesResistanceAndConstruction();
    void failureRate();
    void workingValues();
    void derate();
    void notice2();
    void notice1();
    void environment();

    const CapacitorType& type;
    const TypeModel& m;
    const Part& in;
    Evaluation& e;
};

void Evaluator::seriesResistanceAndConstruction() {
    switch (type.option) {
        case OptionList::CircuitResistance: {
            // Any position beyond the list, none chosen included, counts as "(<0.1 Ohms/V)".
            const int last = static_cast<int>(tables::kSeriesResistance.size()) - 1;
            const int i = in.option >= 0 && in.option < last ? in.option : last;
            double sr = tables::kSeriesResistance[static_cast<std::size_t>(i)];
            if (type.notice == Notice::Two) {
                sr *= 10;
            }
            store(e.piSR, sr, Quantity::PiSR);
            break;
        }
        case OptionList::Construction:
            if (in.option >= 0 && in.option < static_cast<int>(tables::kConstruction.size())) {
                store(e.piConst, tables::kConstruction[static_cast<std::size_t>(in.option)],
                      Quantity::PiConst);
            } else {
                markOutOfRange(Quantity::PiConst);
            }
            break;
        case OptionList::None:
            store(e.piSR, 1, Quantity::PiSR);
            store(e.piConst, 1, Quantity::PiConst);
            break;
    }
}

void Evaluator::failureRate() {
    const Quality& q = in.quality;
    bool rateUsable = true;
    switch (q.kind) {
        case Quality::Kind::LifeTest: {
            // Multiplied in double and rounded once: a single-precision product taken one
            // factor at a time can underflow on the way.
            const LifeTest& t = q.test;
            const auto product =
                static_cast<float>(static_cast<double>(t.pieces) * t.hours * t.failures);
            if (t.failuresEntered && t.failures == 0 && t.pieces > 0 && t.hours > 0) {
                e.missingRate = MissingRate::NoFailures;
                return;
            }
            if (!(product > 0) || !t.failuresEntered) {
                e.missingRate = MissingRate::LifeTestIncomplete;
                return;  // no rate, so no PI(Q) of its own either
            }
            const double bias = t.bias;
            rateUsable =
                store(e.failureRate, 1e5 * t.failures / (bias * bias * bias * t.pieces * t.hours),
                      Quantity::FailureRate);
            break;
        }
        case Quality::Kind::Rate:
            rateUsable = store(e.failureRate, q.rate, Quantity::FailureRate);
            if (rateUsable && e.failureRate == 0) {
                e.missingRate = MissingRate::NotEntered;
            }
            break;
        case Quality::Kind::Level: {
            const int i = q.level - tables::kFirstFixedLevel;
            if (i < 0 || i >= static_cast<int>(tables::kLevelRate.size())) {
                e.missingRate = MissingRate::NotEntered;
                return;
            }
            store(e.failureRate, tables::kLevelRate[static_cast<std::size_t>(i)],
                  Quantity::FailureRate);
            break;
        }
    }
    if (rateUsable) {
        store(e.piQ, std::sqrt(static_cast<double>(e.failureRate)), Quantity::PiQ);
    }
}

void Evaluator::workingValues() {
    e.deratedVoltage = in.ratedVoltage;
    e.ratingKelvin = static_cast<float>(static_cast<int>(in.tempRating) + kKelvinOffset);
    const double appKelvin = std::nearbyint(static_cast<double>(in.temperature) + kKelvinOffset);
    e.appKelvinFits = appKelvin >= std::numeric_limits<std::int16_t>::min() &&
                      appKelvin <= std::numeric_limits<std::int16_t>::max();
    e.appKelvin = e.appKelvinFits ? static_cast<int>(appKelvin) : 0;
    e.tempLimit = m.tempLimit == TempLimitRule::Fixed125 ? std::int16_t{125} : in.tempRating;
}

// Above the threshold the rating falls by a third over the span, never below a tenth.
void Evaluator::derate() {
    if (m.derateAbove == 0 || !(in.temperature > static_cast<float>(m.derateAbove))) {
        return;
    }
    e.derated = true;
    const double rated = in.ratedVoltage;
    const double derated =
        rated * (1 - (static_cast<double>(in.temperature) - m.derateAbove) * 0.33 / m.derateSpan);
    const auto floor = static_cast<float>(0.1 * rated);
    // The negated test also floors a derating that is not a number.
    e.deratedVoltage = IsFiniteSingle(derated) && !(floor > static_cast<float>(derated))
                           ? static_cast<float>(derated)
                           : floor;
    if (m.tempLimit == TempLimitRule::Fixed125WhenDerated) {
        e.tempLimit = 125;
    }
}

void Evaluator::environment() {
    if (in.environment >= 0 && in.environment < static_cast<int>(m.piE->size())) {
        store(e.piE, (*m.piE)[static_cast<std::size_t>(in.environment)], Quantity::PiE);
    } else {
        markOutOfRange(Quantity::PiE);
    }
}

void Evaluator::notice2() {
    e.piVDenominator = type.polymer() ? in.piVDenominator : m.piVDenominator;
    derate();
    store(e.base, m.base, Quantity::Base);

    const double c = in.capacitance;
    store(e.piCV, std::pow(c, static_cast<double>(m.capExponent)), Quantity::PiCV);

    const double s = static_cast<double>(in.appliedVoltage) / static_cast<double>(e.deratedVoltage);
    e.stress = s;
    if (e.piVDenominator > 0) {
        store(e.piV,
              std::pow(s / static_cast<double>(e.piVDenominator),
                       static_cast<double>(m.voltExponent)) +
                  1,
              Quantity::PiV);
    } else {
        markOutOfRange(Quantity::PiV);  // no division by zero
    }

    // Arrhenius, 1 at 25 degC; an absolute temperature of zero or below has no factor.
    const double kelvin = static_cast<double>(in.temperature) + kKelvinOffset;
    if (kelvin > 0) {
        store(e.piT,
              std::exp((-static_cast<double>(m.activationEnergy) / kBoltzmann) *
                       (1 / kelvin - 1.0 / kReferenceKelvin)),
              Quantity::PiT);
    } else {
        markOutOfRange(Quantity::PiT);
    }
    environment();
    if (e.outOfRange == 0 && e.missingRate == MissingRate::None) {
        store(e.fit,
              static_cast<double>(e.piCV) * e.base * e.piV * e.piT * e.piSR * e.piQ * e.piE * 1000,
              Quantity::Fit);
    }
}

void Evaluator::notice1() {
    environment();
    store(e.base, m.base, Quantity::Base);
    derate();

    const double c = in.capacitance;
    const double x = m.picofarads ? c * 1e6 : c;
    store(e.piCV, m.cv.coef * std::pow(x, m.cv.exponent), Quantity::PiCV);

    const double s = static_cast<double>(in.appliedVoltage) /
                     static_cast<double>(m.vOnRated ? in.ratedVoltage : e.deratedVoltage);
    store(e.piV, std::pow(s / m.v.coef, m.v.exponent) + 1, Quantity::PiV);

    // T is the unrounded temperature in kelvin, except for the types that take it rounded.
    const double t = m.integerKelvin ? static_cast<double>(e.appKelvin)
                                     : static_cast<double>(in.temperature) + kKelvinOffset;
    const double tr = e.ratingKelvin;
    if (e.appKelvinFits && t > 0 && tr > 0) {
        store(e.piT, std::exp(m.t.coef * std::pow(t / tr, m.t.exponent)), Quantity::PiT);
    } else {
        markOutOfRange(Quantity::PiT);
    }

    e.stress = m.sScientific ? static_cast<double>(in.appliedVoltage) / e.deratedVoltage
                             : static_cast<double>(in.appliedVoltage) / in.ratedVoltage;
    if (e.outOfRange == 0 && e.missingRate == MissingRate::None) {
        double extra = 1;
        if (type.option == OptionList::CircuitResistance) {
            extra = e.piSR;
        } else if (type.option == OptionList::Construction) {
            extra = e.piConst;
        }
        store(e.fit,
              static_cast<double>(e.base) * e.piCV * e.piV * e.piT * extra * e.piQ * e.piE * 1000,
              Quantity::Fit);
    }
}

void Evaluator::run() {
    seriesResistanceAndConstruction();
    failureRate();
    workingValues();
    if (type.notice == Notice::Two) {
        notice2();
    } else {
        notice1();
    }
    if (e.missingRate != MissingRate::None && e.outOfRange == 0) {
        e.fit = 0;
        e.stored |= Bit(Quantity::Fit);
    }
    const bool tooHot = in.temperature > static_cast<float>(e.tempLimit);
    const bool tooHigh = in.appliedVoltage > e.deratedVoltage;
    if (tooHot && tooHigh) {
        e.warning = Warning::TemperatureAndVoltage;
    } else if (tooHigh) {
        e.warning = Warning::Voltage;
    } else if (tooHot) {
        e.warning = Warning::Temperature;
    }
}

}  // namespace

Evaluation Evaluate(const Part& part) {
    Evaluation e;
    e.part = part;
    if (part.type == nullptr) {
        e.refusal = Refusal::UnknownType;
    } else if (!UsablePositive(part.capacitance)) {
        e.refusal = Refusal::NoCapacitance;
    } else if (!UsablePositive(part.ratedVoltage)) {
        e.refusal = Refusal::NoRatedVoltage;
    } else if (!(part.appliedVoltage >= 0 &&
                 part.appliedVoltage <= std::numeric_limits<float>::max())) {
        // A reversed voltage has no stress factor: S below 0 would give a negative FIT.
        e.refusal = Refusal::NoVoltage;
    } else {
        Evaluator(e).run();
    }
    return e;
}

bool Usable(const Evaluation& e) {
    return e.refusal == Refusal::None && e.missingRate == MissingRate::None && e.outOfRange == 0 &&
           e.has(Quantity::Fit) && std::isfinite(e.fit) && e.fit > 0;
}

float MtbfHours(float fit) {
    if (fit == 0) {
        return 0;
    }
    const auto ratePerHour = static_cast<float>(static_cast<double>(fit) / 1e9);
    const double hours = 1.0 / static_cast<double>(ratePerHour);
    return IsFiniteSingle(hours) ? static_cast<float>(hours) : 0.0F;
}

std::optional<float> PiVDenominator(std::string_view text, const NumberLocale& locale) {
    std::optional<double> v = ParseNumber(text, locale);
    if (!v) {
        v = ParseNumber(text, kPeriodLocale);
    }
    // Checked as the single it is stored as; far outside the range it cannot round into it.
    if (!v || !(std::fabs(*v) < 2)) {
        return std::nullopt;
    }
    const auto d = static_cast<float>(*v);
    return d >= 0.5F && d <= 1.0F ? std::optional<float>(d) : std::nullopt;
}

std::string_view RefusalText(Refusal r) {
    static constexpr std::array<std::string_view, 5> kTexts{
        "", "no such capacitor type", "the capacitance must be a number greater than 0",
        "the rated voltage must be a number greater than 0",
        "the applied voltage must be a number of 0 or more"};
    return kTexts[static_cast<std::size_t>(r)];
}

std::string_view MissingRateNote(MissingRate m) {
    static constexpr std::array<std::string_view, 4> kNotes{
        "", "No failure rate entered.", "Life test incomplete: enter hours, pieces and failures.",
        "No failures in the life test: its upper bounds are on the calculation sheet."};
    return kNotes[static_cast<std::size_t>(m)];
}

std::string_view QuantityName(Quantity q) {
    static constexpr std::array<std::string_view, 11> kNames{
        "",       "the failure rate", "PI(Q)", "the base rate", "PI(E)", "PI(CV)", "PI(V)", "PI(T)",
        "PI(SR)", "PI(Const)",        "FIT"};
    return kNames[static_cast<std::size_t>(q)];
}

}  // namespace quarvell::model
