#include "analysis/sheet.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>
#include <utility>

#include "analysis/sheet_numbers.h"
#include "catalogue/catalogue.h"
#include "catalogue/counterpart.h"
#include "model/calc_state.h"
#include "model/engine_texts.h"
#include "model/life_test.h"
#include "model/number_text.h"

namespace quarvell::analysis {

namespace {

using model::Quantity;

constexpr std::string_view kTimes = " \u00D7 ";
constexpr std::string_view kRoot = "\u221A";
constexpr std::string_view kMicro = "\u00B5F";
constexpr std::string_view kDegrees = " \u00B0C";
constexpr std::string_view kRateUnit = " %/kPcHr";
constexpr std::string_view kNotePrefix = "NOTE: ";
constexpr std::string_view kWarningPrefix = "WARNING: ";
constexpr std::string_view kOutOfRange = "Out of range";
constexpr double kHoursPerYear = 8760;
constexpr double kPercentPerThousandHours = 1e5;  // failures per piece-hour to %/kPcHr

// The window's patterns for each factor.
constexpr model::NumberPattern kFactor{"##0.000"};
constexpr model::NumberPattern kVoltageFactor{"##,##0.000"};
constexpr model::NumberPattern kTemperatureFactor{"#,##0.000"};
constexpr model::NumberPattern kQualityFactor{"###0.000"};
constexpr model::NumberPattern kStress{"#0.00"};
constexpr model::NumberPattern kStressScientific{"0.00E+00"};

std::string HandbookName(model::Notice n) {
    return n == model::Notice::One ? "MIL-HDBK-217F Notice 1" : "MIL-HDBK-217F Notice 2";
}

std::string TwoDigits(int n) {
    std::string s = std::to_string(n);
    return s.size() < 2 ? "0" + s : s;
}

// The position the engine takes a circuit-resistance class from: any other counts as the last.
std::size_t ResistanceClass(int option) {
    const int last = static_cast<int>(model::tables::kSeriesResistance.size()) - 1;
    return static_cast<std::size_t>(option >= 0 && option < last ? option : last);
}

std::string EntryOf(const std::vector<std::string>& list, int position) {
    return position >= 0 && position < static_cast<int>(list.size())
               ? list[static_cast<std::size_t>(position)]
               : std::string("none");
}

// The FIT formula of the type without "FIT=", with the sheet's multiplication sign.
std::string ProductFormula(const model::TypeModel& m) {
    std::string_view f = m.formula;
    if (f.starts_with("FIT=")) {
        f.remove_prefix(4);
    }
    std::string out;
    for (std::size_t i = 0; i < f.size(); ++i) {
        if (f.substr(i).starts_with(" x ")) {
            out += kTimes;
            i += 2;
        } else {
            out += f[i];
        }
    }
    return out;
}

// Each factor's name in the type's formula replaced by its value text.
std::string ProductWorked(const std::string& formula,
                          const std::vector<std::pair<std::string_view, std::string>>& values) {
    std::string out;
    std::string_view rest = formula;
    while (!rest.empty()) {
        bool replaced = false;
        for (const auto& [name, value] : values) {
            if (rest.starts_with(name)) {
                out += value;
                rest.remove_prefix(name.size());
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            out += rest.front();
            rest.remove_prefix(1);
        }
    }
    return out;
}

class Maker {
  public:
    Maker(const model::Evaluation& evaluation, const SheetContext& context)
        : e(evaluation),
          in(evaluation.part),
          type(*evaluation.part.type),
          m(evaluation.part.type->model),
          c(context),
          loc(context.locale) {}

    Sheet make();

  private:
    std::string general(float v) const { return model::GeneralText(v, loc); }
    std::string general(double v) const { return model::GeneralText(v, loc); }
    std::string pattern(double v, const model::NumberPattern& p) const {
        return model::FormatPattern(v, p, loc);
    }
    std::string significant(double v) const { return Significant(v, loc); }
    // A constant of the formulas, written with a period, in the locale's separator.
    std::string localized(std::string_view periodText) const {
        std::string s(periodText);
        std::replace(s.begin(), s.end(), '.', loc.decimal);
        return s;
    }
    // A factor's value as the window shows it, or "Out of range".
    std::string shown(const model::Evaluation& ev, Quantity q, float v,
                      const model::NumberPattern* p) const {
        if (!ev.has(q)) {
            return std::string(kOutOfRange);
        }
        return p != nullptr ? pattern(v, *p) : general(v);
    }
    // Notice 1 captions write their base rate as the handbook prints it (".0028").
    std::string baseText(const model::Evaluation& ev) const {
        if (type.notice == model::Notice::One && ev.has(Quantity::Base)) {
            return localized(m.baseCaption.substr(m.baseCaption.rfind("= ") + 2));
        }
        return shown(ev, Quantity::Base, ev.base, nullptr);
    }
    static std::optional<double> numberOf(const model::Evaluation& ev, Quantity q, float v) {
        return ev.has(q) ? std::optional<double>(Tidy(v)) : std::nullopt;
    }

    void heading(Sheet& s) const;
    void inputs(Sheet& s) const;
    void factors(Sheet& s) const;
    Line piQLine(const model::Evaluation& ev) const;
    Line fitLine(const model::Evaluation& ev, const std::string& piQText) const;
    void results(Sheet& s) const;
    void notes(Sheet& s) const;
    void otherNotice(Sheet& s) const;
    void lifeTest(Sheet& s) const;

    float piVDenominator() const {
        return type.notice == model::Notice::Two ? e.piVDenominator : static_cast<float>(m.v.coef);
    }
    std::string environment() const {
        return EntryOf(catalogue::EnvironmentEntries(), in.environment);
    }
    // S as PI(V) takes it: on the derated rating, or for 10.14 on the rated voltage.
    double stressForPiV() const {
        const float rating = m.vOnRated ? in.ratedVoltage : e.deratedVoltage;
        return static_cast<double>(in.appliedVoltage) / static_cast<double>(rating);
    }

    const model::Evaluation& e;
    const model::Part& in;
    const model::CapacitorType& type;
    const model::TypeModel& m;
    const SheetContext& c;
    const model::NumberLocale& loc;
};

void Maker::heading(Sheet& s) const {
    s.program = c.program;
    s.version = c.version;
    const platform::LocalDateTime& t = c.when;
    s.date = std::to_string(t.year) + "-" + TwoDigits(t.month) + "-" + TwoDigits(t.day);
    s.time = TwoDigits(t.hour) + ":" + TwoDigits(t.minute);
    s.notice = static_cast<int>(type.notice);
    s.handbook = HandbookName(type.notice);
    s.code = std::string(type.code);
    s.section = std::string(type.entry);
    s.style = std::string(type.style);
}

void Maker::inputs(Sheet& s) const {
    const double microfarads = in.capacitance;
    const double capacitance = m.picofarads ? microfarads * 1e6 : microfarads;
    s.capacitanceUnit = m.picofarads ? "pF" : "uF";
    const std::string unit = m.picofarads ? std::string("pF") : std::string(kMicro);
    const auto capacitanceText = static_cast<float>(capacitance);
    s.inputs.push_back({"capacitance", "Capacitance", general(capacitanceText) + " " + unit,
                        Tidy(capacitanceText)});
    s.inputs.push_back(
        {"rated_voltage", "Rated voltage", general(in.ratedVoltage) + " V", Tidy(in.ratedVoltage)});
    s.inputs.push_back({"applied_voltage", "Applied voltage", general(in.appliedVoltage) + " V",
                        Tidy(in.appliedVoltage)});
    s.inputs.push_back({"temp_rating", "Temperature rating",
                        std::to_string(in.tempRating) + std::string(kDegrees),
                        static_cast<double>(in.tempRating)});
    s.inputs.push_back({"temperature", "Application temperature",
                        general(in.temperature) + std::string(kDegrees), Tidy(in.temperature)});
    const model::Quality& q = in.quality;
    switch (q.kind) {
        case model::Quality::Kind::Level:
            s.inputs.push_back({"quality",
                                "Quality level",
                                EntryOf(catalogue::FailureRateLevelEntries(), q.level),
                                {}});
            break;
        case model::Quality::Kind::Rate:
            s.inputs.push_back({"quality", "Quality level",
                                "Entered failure rate " + general(q.rate) + std::string(kRateUnit),
                                Tidy(q.rate)});
            break;
        case model::Quality::Kind::LifeTest:
            s.inputs.push_back({"quality", "Quality level", "Life test (below)", {}});
            break;
    }
    s.inputs.push_back({"environment", "Environment", environment(), {}});
    if (type.option == model::OptionList::CircuitResistance) {
        s.inputs.push_back({"circuit_resistance",
                            "Circuit resistance",
                            catalogue::CircuitResistanceEntries()[ResistanceClass(in.option)],
                            {}});
    } else if (type.option == model::OptionList::Construction) {
        s.inputs.push_back({"construction",
                            "Construction",
                            EntryOf(catalogue::ConstructionEntries(), in.option),
                            {}});
    }
    s.inputs.push_back({"piv_denominator",
                        type.polymer() ? "PI(V) denominator (chosen)" : "PI(V) denominator",
                        general(piVDenominator()), Tidy(piVDenominator())});
}

Line Maker::piQLine(const model::Evaluation& ev) const {
    Line l{"pi_q", "PI(Q)", std::string(kRoot) + "(failure rate in %/kPcHr)", {}, {}, {}};
    if (ev.missingRate == model::MissingRate::NoFailures) {
        l.worked = "no point estimate: the life test had no failures";
        return l;
    }
    if (ev.missingRate != model::MissingRate::None || !ev.has(Quantity::FailureRate)) {
        l.worked = "no failure rate";
        return l;
    }
    l.worked = std::string(kRoot) + general(ev.failureRate);
    l.value = shown(ev, Quantity::PiQ, ev.piQ, &kQualityFactor);
    l.number = numberOf(ev, Quantity::PiQ, ev.piQ);
    return l;
}

// The FIT as the type's product, each factor put in as the sheet shows it.
Line Maker::fitLine(const model::Evaluation& ev, const std::string& piQText) const {
    Line l{"fit", "FIT", ProductFormula(m), {}, {}, {}};
    const std::string piV = shown(ev, Quantity::PiV, ev.piV, &kVoltageFactor);
    const std::string extra = type.option == model::OptionList::Construction
                                  ? shown(ev, Quantity::PiConst, ev.piConst, nullptr)
                                  : shown(ev, Quantity::PiSR, ev.piSR, nullptr);
    const std::vector<std::pair<std::string_view, std::string>> values{
        {"PI(Const)", extra},
        {"PI(CV)", shown(ev, Quantity::PiCV, ev.piCV, &kFactor)},
        {"PI(SR)", extra},
        {"PI(T)", shown(ev, Quantity::PiT, ev.piT, &kTemperatureFactor)},
        {"PI(V)", piV},
        {"PiV", piV},
        {"PI(Q)", piQText.empty() ? std::string("PI(Q)") : piQText},
        {"PI(E)", shown(ev, Quantity::PiE, ev.piE, nullptr)},
        {"Base", baseText(ev)}};
    l.worked = ProductWorked(l.formula, values);
    if (model::Usable(ev)) {
        l.value = significant(ev.fit);
        l.number = Tidy(ev.fit);
    }
    return l;
}

void Maker::factors(Sheet& s) const {
    const std::string base = baseText(e);
    s.factors.push_back({"lambda_b", "Base", "base failure rate of " + std::string(type.code),
                         "handbook table, " + std::string(type.code), base,
                         numberOf(e, Quantity::Base, e.base)});

    const double kelvin = static_cast<double>(in.temperature) + 273;
    Line piT{"pi_t",
             "PI(T)",
             {},
             {},
             shown(e, Quantity::PiT, e.piT, &kTemperatureFactor),
             numberOf(e, Quantity::PiT, e.piT)};
    if (type.notice == model::Notice::Two) {
        piT.formula = "exp[-Ea/k" + std::string(kTimes) + "(1/T - 1/298)]";
        piT.worked = "exp[" + general(-m.activationEnergy) + "/" + localized("8.617E-5") +
                     std::string(kTimes) + "(1/" + general(static_cast<float>(kelvin)) +
                     " - 1/298)]";
    } else {
        const bool plain = m.t.coef == 1 && m.t.exponent == 1;
        const std::string t =
            m.integerKelvin ? std::to_string(e.appKelvin) : general(static_cast<float>(kelvin));
        const std::string ratio = t + "/" + general(e.ratingKelvin);
        if (plain) {
            piT.formula = "exp(T/TR)";
            piT.worked = "exp(" + ratio + ")";
        } else {
            const std::string coef = general(static_cast<float>(m.t.coef));
            const std::string power =
                m.t.exponent == 1 ? "" : "^" + general(static_cast<float>(m.t.exponent));
            piT.formula = "exp[" + coef + std::string(kTimes) + "(T/TR)" + power + "]";
            piT.worked = "exp[" + coef + std::string(kTimes) + "(" + ratio + ")" + power + "]";
        }
        if (m.integerKelvin) {
            piT.formula += ", T in whole kelvin";
        }
    }
    s.factors.push_back(std::move(piT));

    Line piCV{"pi_cv",
              "PI(CV)",
              {},
              {},
              shown(e, Quantity::PiCV, e.piCV, &kFactor),
              numberOf(e, Quantity::PiCV, e.piCV)};
    const double microfarads = in.capacitance;
    const std::string capacitance =
        general(static_cast<float>(m.picofarads ? microfarads * 1e6 : microfarads));
    if (type.notice == model::Notice::Two) {
        const std::string exponent = general(m.capExponent);
        piCV.formula = "C^" + exponent + ", C in " + std::string(kMicro);
        piCV.worked = capacitance + "^" + exponent;
    } else {
        const std::string coef = general(static_cast<float>(m.cv.coef));
        const std::string exponent = general(static_cast<float>(m.cv.exponent));
        const std::string prefix = coef == "1" ? "" : coef + std::string(kTimes);
        piCV.formula = prefix + "C^" + exponent + ", C in " +
                       (m.picofarads ? std::string("pF") : std::string(kMicro));
        piCV.worked = prefix + capacitance + "^" + exponent;
    }
    s.factors.push_back(std::move(piCV));

    const std::string denominator = general(piVDenominator());
    const std::string exponent = type.notice == model::Notice::Two
                                     ? general(m.voltExponent)
                                     : general(static_cast<float>(m.v.exponent));
    const auto sUsed = static_cast<float>(stressForPiV());
    s.factors.push_back({"pi_v", "PI(V)", "(S/d)^" + exponent + " + 1",
                         "(" + general(sUsed) + "/" + denominator + ")^" + exponent + " + 1",
                         shown(e, Quantity::PiV, e.piV, &kVoltageFactor),
                         numberOf(e, Quantity::PiV, e.piV)});

    if (type.option == model::OptionList::CircuitResistance) {
        const std::size_t k = ResistanceClass(in.option);
        std::string worked = catalogue::CircuitResistanceEntries()[k] + ": " +
                             general(model::tables::kSeriesResistance[k]);
        std::string formula = "by circuit resistance";
        if (type.notice == model::Notice::Two) {
            worked += std::string(kTimes) + "10";
            formula += ", " + std::string(kTimes.substr(1)) + "10 in Notice 2";
        }
        s.factors.push_back({"pi_sr", "PI(SR)", formula, worked,
                             shown(e, Quantity::PiSR, e.piSR, nullptr),
                             numberOf(e, Quantity::PiSR, e.piSR)});
    } else if (type.option == model::OptionList::Construction) {
        s.factors.push_back({"pi_c", "PI(Const)", "by construction",
                             EntryOf(catalogue::ConstructionEntries(), in.option),
                             shown(e, Quantity::PiConst, e.piConst, nullptr),
                             numberOf(e, Quantity::PiConst, e.piConst)});
    }

    s.factors.push_back(piQLine(e));
    s.factors.push_back(
        {"pi_e", "PI(E)", "by environment", environment().substr(0, environment().find(' ')),
         shown(e, Quantity::PiE, e.piE, nullptr), numberOf(e, Quantity::PiE, e.piE)});

    // S as the window shows it: on the rated voltage for most Notice 1 types.
    const bool onDerated = type.notice == model::Notice::Two || m.sScientific;
    s.stress = {
        "stress",
        "S",
        onDerated && e.derated ? "Va/Vd, applied over derated voltage"
                               : "Va/Vr, applied over rated voltage",
        general(in.appliedVoltage) + "/" + general(onDerated ? e.deratedVoltage : in.ratedVoltage),
        pattern(e.stress, m.sScientific ? kStressScientific : kStress),
        model::IsFiniteSingle(e.stress) ? std::optional<double>(Tidy(static_cast<float>(e.stress)))
                                        : std::nullopt};
    if (e.derated) {
        const std::string above = std::to_string(m.derateAbove);
        const std::string span = general(static_cast<float>(m.derateSpan));
        s.derated = Line{"derated_voltage",
                         "Vd",
                         "Vr" + std::string(kTimes) + "(1 - (Ta - " + above + ")" +
                             std::string(kTimes) + localized("0.33/") + span + "), at least " +
                             localized("0.1") + std::string(kTimes) + "Vr",
                         general(in.ratedVoltage) + std::string(kTimes) + "(1 - (" +
                             general(in.temperature) + " - " + above + ")" + std::string(kTimes) +
                             localized("0.33/") + span + ")",
                         general(e.deratedVoltage) + " V",
                         Tidy(e.deratedVoltage)};
    }
    s.fit = fitLine(e, piQLine(e).value);
    s.legend = type.notice == model::Notice::Two
                   ? "Ea activation energy (eV), k Boltzmann's constant " + localized("8.617E-5") +
                         " eV/K, T "
                         "application temperature (K), C capacitance, S stress, d the PI(V) "
                         "denominator."
                   : "T application temperature (K), TR temperature rating (K), C "
                     "capacitance, S stress, d the PI(V) denominator.";
    s.legend += " Va applied, Vr rated voltage; values as the calculator window shows them.";
}

void Maker::results(Sheet& s) const {
    const model::Texts texts = model::TextsOf(e, loc, c.typeNote);
    s.windowFit = texts.fit;
    s.windowMtbf = texts.mtbf;
    if (!model::Usable(e)) {
        if (e.missingRate == model::MissingRate::NoFailures) {
            s.noResult =
                "No FIT: the life test had no failures, so it gives no point estimate of the "
                "failure rate; the upper bounds below bound the FIT.";
        } else if (e.firstOutOfRange != Quantity::None) {
            s.noResult = "No FIT: " + std::string(model::QuantityName(e.firstOutOfRange)) +
                         " is not a finite number for these inputs.";
        } else {
            s.noResult = "No FIT: " + std::string(model::MissingRateNote(e.missingRate));
        }
        return;
    }
    const double fit = e.fit;
    const auto add = [&](const char* key, const char* name, double v, std::string_view unit) {
        const auto single = static_cast<float>(v);
        s.results.push_back({key, name, significant(single) + std::string(unit), Tidy(single)});
    };
    add("fit", "FIT", fit, " per 10^9 h");
    add("failures_per_1e6h", "Failures per 10^6 hours", fit / 1e3, "");
    add("percent_per_1000h", "% per 1000 hours", fit / 1e4, " %");
    const float hours = model::MtbfHours(e.fit);
    if (hours > 0) {
        add("mtbf_hours", "MTBF in hours", hours, " h");
        add("mtbf_years", "MTBF in years", static_cast<double>(hours) / kHoursPerYear,
            " years of 8760 h");
    }
}

void Maker::notes(Sheet& s) const {
    std::string block;
    model::WriteNote(e, loc, c.typeNote, block);
    std::string_view rest = block;
    while (!rest.empty()) {
        const std::size_t end = rest.find(model::kCrLf);
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 2);
        while (line.starts_with(kNotePrefix) || line.starts_with(' ')) {
            line.remove_prefix(line.front() == ' ' ? 1 : kNotePrefix.size());
        }
        if (line.starts_with(kWarningPrefix)) {
            line.remove_prefix(kWarningPrefix.size());
            s.warning += s.warning.empty() ? "" : " ";
            s.warning += line;
        } else if (line == model::MissingRateNote(model::MissingRate::NoFailures)) {
            s.notes.emplace_back(
                "The life test had no failures: there is no point estimate of the failure rate, "
                "only its upper bounds.");
        } else if (!line.empty()) {
            s.notes.emplace_back(line);
        }
    }
}

void Maker::otherNotice(Sheet& s) const {
    const catalogue::Counterpart counterpart = catalogue::CounterpartOf(in);
    const model::Part& p = counterpart.part;
    const model::CapacitorType& to = *p.type;
    const model::Evaluation o = model::Evaluate(p);
    OtherNotice& other = s.other;
    other.notice = static_cast<int>(to.notice);
    other.handbook = HandbookName(to.notice);
    other.code = std::string(to.code);
    other.section = std::string(to.entry);
    other.heldAs = "rated " + std::to_string(p.tempRating) + std::string(kDegrees);
    if (to.option == model::OptionList::CircuitResistance) {
        other.heldAs += ", circuit resistance " +
                        catalogue::CircuitResistanceEntries()[ResistanceClass(p.option)];
    } else if (to.option == model::OptionList::Construction) {
        other.heldAs += ", construction " + EntryOf(catalogue::ConstructionEntries(), p.option);
    }
    if (to.polymer()) {
        other.heldAs += ", PI(V) denominator " + general(p.piVDenominator);
    }
    if (p.quality.kind == model::Quality::Kind::LifeTest) {
        other.heldAs += ", life test at " + general(p.quality.test.bias) + std::string(kTimes) +
                        "rated voltage";
    }
    other.fit = {"fit", "FIT", {}, {}};
    other.ratio = {"ratio", "Ratio to this FIT", {}, {}};
    if (model::Usable(o)) {
        other.fit.text = significant(o.fit);
        other.fit.number = Tidy(o.fit);
        if (model::Usable(e)) {
            const auto ratio =
                static_cast<float>(static_cast<double>(o.fit) / static_cast<double>(e.fit));
            other.ratio.text = significant(ratio);
            other.ratio.number = Tidy(ratio);
        } else {
            other.ratio.text = "none: this part has no FIT";
        }
    } else if (o.missingRate == model::MissingRate::NoFailures) {
        other.fit.text = "none: the life test had no failures";
        other.ratio.text = "none";
    } else if (o.firstOutOfRange != Quantity::None) {
        other.fit.text =
            "none: " + std::string(model::QuantityName(o.firstOutOfRange)) + " is out of range";
        other.ratio.text = "none";
    } else {
        other.fit.text = "none";
        other.ratio.text = "none";
    }
    if (counterpart.message != nullptr) {
        other.standIn = "The Notice switch says \"" + std::string(counterpart.message->title) +
                        " " + std::string(counterpart.message->text) + "\": " + other.code +
                        " is a stand-in, not the same part.";
    }
}

void Maker::lifeTest(Sheet& s) const {
    if (in.quality.kind != model::Quality::Kind::LifeTest) {
        return;
    }
    const model::LifeTest& t = in.quality.test;
    LifeTestSection section;
    const double bias = t.bias;
    const double pieceHours = static_cast<double>(t.pieces) * t.hours * bias * bias * bias;
    section.data = {
        {"pieces", "Pieces tested", general(t.pieces), Tidy(t.pieces)},
        {"hours", "Hours", general(t.hours), Tidy(t.hours)},
        {"failures", "Failures", general(t.failures), Tidy(t.failures)},
        {"bias", "Test voltage", general(t.bias) + std::string(kTimes) + "rated", Tidy(t.bias)},
        {"piece_hours",
         "Piece-hours at rated voltage, T = n" + std::string(kTimes) + "h" + std::string(kTimes) +
             "b\u00B3",
         general(pieceHours),
         model::IsFiniteSingle(pieceHours)
             ? std::optional<double>(Tidy(static_cast<float>(pieceHours)))
             : std::nullopt}};
    section.noFailures = e.missingRate == model::MissingRate::NoFailures;
    Line& point = section.pointEstimate;
    point = {"failure_rate",
             "Failure rate (point estimate)",
             "r" + std::string(kTimes) + "10^5/T in %/kPcHr",
             general(t.failures) + std::string(kTimes) + "10^5/" + general(pieceHours),
             {},
             {}};
    if (section.noFailures) {
        point.worked = "none: the test had no failures";
    } else if (e.missingRate != model::MissingRate::None) {
        point.worked = "none: the test is incomplete";
    } else if (e.has(Quantity::FailureRate)) {
        point.value = general(e.failureRate) + std::string(kRateUnit);
        point.number = Tidy(e.failureRate);
    } else {
        point.value = std::string(kOutOfRange);
    }

    if (const std::optional<model::LifeTestBounds> bounds = model::UpperBounds(t)) {
        const std::string degrees = general(static_cast<float>(2 * t.failures + 2));
        for (const model::RateBound* b : {&bounds->upper60, &bounds->upper90}) {
            LifeTestBound bound;
            bound.percent = static_cast<int>(std::lround(b->confidence * 100));
            const std::string suffix = "_upper_" + std::to_string(bound.percent);
            const std::string level = localized("0.") + std::to_string(bound.percent / 10);
            const double chi2 =
                static_cast<double>(b->rate) * 2 * pieceHours / kPercentPerThousandHours;
            bound.rate = {"rate" + suffix,
                          "Rate, upper " + std::to_string(bound.percent) + " %",
                          "\u03C7\u00B2(" + level + "; 2r+2)/(2T)" + std::string(kTimes) + "10^5",
                          "\u03C7\u00B2(" + level + "; " + degrees + ") = " + significant(chi2) +
                              "; " + significant(chi2) + "/(2" + std::string(kTimes) +
                              general(pieceHours) + ")" + std::string(kTimes) + "10^5",
                          significant(b->rate) + std::string(kRateUnit),
                          Tidy(b->rate)};
            const model::Evaluation at = model::EvaluateAtRate(in, b->rate);
            bound.piQ = piQLine(at);
            bound.piQ.key += suffix;
            bound.fit = fitLine(at, bound.piQ.value);
            bound.fit.key += suffix;
            if (!model::Usable(at)) {
                bound.fit.value = std::string(kOutOfRange);
            }
            section.bounds.push_back(std::move(bound));
        }
    }
    s.lifeTest = std::move(section);
}

Sheet Maker::make() {
    Sheet s;
    heading(s);
    inputs(s);
    factors(s);
    results(s);
    notes(s);
    otherNotice(s);
    lifeTest(s);
    return s;
}

}  // namespace

SheetContext ContextOf(platform::Services& services, std::string typeNote) {
    const platform::VersionRecord v = services.versionRecord();
    return {.program = v.title,
            .version = std::to_string(v.major) + "." + std::to_string(v.minor) + "." +
                       std::to_string(v.revision),
            .when = services.localDateTime(),
            .locale = services.numberLocale(),
            .typeNote = std::move(typeNote)};
}

Sheet MakeSheet(const model::Evaluation& e, const SheetContext& context) {
    return Maker(e, context).make();
}

}  // namespace quarvell::analysis
