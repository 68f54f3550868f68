#include "batch/evaluate.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

#include "catalogue/counterpart.h"
#include "model/engine_texts.h"

namespace quarvell::batch {

namespace {

constexpr std::array<std::string_view, kOutputCount> kOutputNames{"lambda_b",
                                                                  "pi_t",
                                                                  "pi_cv",
                                                                  "pi_v",
                                                                  "pi_sr",
                                                                  "pi_c",
                                                                  "pi_q",
                                                                  "pi_e",
                                                                  "stress",
                                                                  "derated_voltage",
                                                                  "fit",
                                                                  "failures_per_1e6h",
                                                                  "percent_per_1000h",
                                                                  "mtbf_hours",
                                                                  "mtbf_years",
                                                                  "notes",
                                                                  "warning",
                                                                  "error",
                                                                  "fit_notice1",
                                                                  "fit_notice2",
                                                                  "fit_ratio",
                                                                  "rate_upper_60",
                                                                  "rate_upper_90",
                                                                  "fit_upper_60",
                                                                  "fit_upper_90"};

constexpr std::string_view kNotePrefix = "NOTE: ";
constexpr std::string_view kWarningPrefix = "WARNING: ";
constexpr double kHoursPerYear = 8760;

// The note each type's selection assembles, made once.
const std::string& TypeNoteOf(const model::CapacitorType& type) {
    static const std::array<std::string, 20> notes = [] {
        std::array<std::string, 20> all;
        for (const model::Notice n : {model::Notice::One, model::Notice::Two}) {
            for (const model::CapacitorType& t : model::TypesOf(n)) {
                all[static_cast<std::size_t>((n == model::Notice::One ? 0 : 10) + PositionOf(t))] =
                    model::TypeNote(t);
            }
        }
        return all;
    }();
    return notes[static_cast<std::size_t>((type.notice == model::Notice::One ? 0 : 10) +
                                          model::PositionOf(type))];
}

// Where a value beyond the single range comes from, for the message.
std::optional<Column> ColumnOf(model::Quantity q) {
    switch (q) {
        case model::Quantity::FailureRate:
        case model::Quantity::PiQ:
            return Column::Quality;
        case model::Quantity::PiCV:
            return Column::Capacitance;
        case model::Quantity::PiV:
            return Column::AppliedVoltage;
        case model::Quantity::PiT:
            return Column::Temperature;
        case model::Quantity::PiE:
            return Column::Environment;
        case model::Quantity::PiSR:
            return Column::CircuitResistance;
        case model::Quantity::PiConst:
            return Column::Construction;
        default:
            return std::nullopt;
    }
}

// A single of a double that fits one, else nothing.
bool Single(double v, float& out) {
    if (!(std::fabs(v) <= std::numeric_limits<float>::max())) {
        return false;
    }
    out = static_cast<float>(v);
    return true;
}

void SetIfSingle(RowResult& out, Output o, double v) {
    float f = 0;
    if (Single(v, f)) {
        out.set(o, f);
    }
}

std::string_view NoticeName(model::Notice n) {
    return n == model::Notice::One ? "Notice 1" : "Notice 2";
}

}  // namespace

std::string_view OutputName(Output o) {
    return kOutputNames[static_cast<std::size_t>(o)];
}

bool IsText(Output o) {
    return o == Output::Notes || o == Output::Warning || o == Output::Error;
}

bool IsNoticeComparison(Output o) {
    return o == Output::FitNotice1 || o == Output::FitNotice2 || o == Output::FitRatio;
}

void RowResult::clear() {
    present = 0;
    notes.clear();
    warning.clear();
    error.clear();
    evaluated = false;
    quantity = 1;
    hasFit = false;
    hasNoticeFit = {};
}

void AddNote(RowResult& out, std::string_view note) {
    if (!out.notes.empty()) {
        out.notes += "; ";
    }
    out.notes += note;
}

// The note block cut into its lines: the "NOTE: " that opens a line dropped, the warning line
// moved to its own column, the out-of-range line left to the error.
void RowEvaluator::notes(const model::Evaluation& e, const PartRow& row, RowResult& out) {
    model::WriteNote(e, model::kPeriodLocale, TypeNoteOf(*row.part.type), block_);
    std::string_view rest = block_;
    while (!rest.empty()) {
        const std::size_t end = rest.find("\r\n");
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 2);
        while (line.starts_with(kNotePrefix) || line.starts_with(' ')) {
            line.remove_prefix(line.front() == ' ' ? 1 : kNotePrefix.size());
        }
        if (line.starts_with(kWarningPrefix)) {
            if (e.firstOutOfRange == model::Quantity::None) {
                out.warning = line.substr(kWarningPrefix.size());
            }
        } else if (line == model::MissingRateNote(model::MissingRate::NoFailures)) {
            AddNote(out,
                    "no failures in the life test: no point estimate of the rate, only its upper "
                    "bounds");
        } else if (!line.empty()) {
            AddNote(out, line);
        }
    }
    for (unsigned bits = row.unused; bits != 0; bits &= bits - 1) {
        std::string note(ColumnName(static_cast<Column>(std::countr_zero(bits))));
        note += " does not apply to ";
        note += row.part.type->code;
        note += " and is not used";
        AddNote(out, note);
    }
}

void RowEvaluator::compareNotices(const PartRow& row, const model::Evaluation& own,
                                  RowResult& out) {
    const catalogue::Counterpart other = catalogue::CounterpartOf(row.part);
    const model::Evaluation e = model::Evaluate(other.part);
    const model::CapacitorType& type = *other.part.type;
    std::string note;
    if (other.message != nullptr) {
        note = "the ";
        note += NoticeName(type.notice);
        note += " counterpart ";
        note += type.code;
        note += " is a stand-in: ";
        note += other.message->title;
        note += " ";
        note += other.message->text;
        AddNote(out, note);
    }
    const std::size_t ownIndex = row.part.type->notice == model::Notice::One ? 0 : 1;
    if (model::Usable(own)) {
        out.hasNoticeFit[ownIndex] = true;
        out.noticeFit[ownIndex] = own.fit;
    }
    if (model::Usable(e)) {
        out.hasNoticeFit[1 - ownIndex] = true;
        out.noticeFit[1 - ownIndex] = e.fit;
    } else if (e.firstOutOfRange != model::Quantity::None) {
        note = "the ";
        note += NoticeName(type.notice);
        note += " counterpart ";
        note += type.code;
        note += " has no FIT: ";
        note += model::QuantityName(e.firstOutOfRange);
        note += " is beyond the range of single-precision numbers";
        AddNote(out, note);
    }
    for (std::size_t i = 0; i < 2; ++i) {
        if (out.hasNoticeFit[i]) {
            out.set(i == 0 ? Output::FitNotice1 : Output::FitNotice2, out.noticeFit[i]);
        }
    }
    if (out.hasNoticeFit[0] && out.hasNoticeFit[1]) {
        SetIfSingle(out, Output::FitRatio,
                    static_cast<double>(out.noticeFit[1]) / static_cast<double>(out.noticeFit[0]));
    }
}

void RowEvaluator::lifeTestBounds(const PartRow& row, RowResult& out) {
    const model::LifeTest& test = row.part.quality.test;
    const KnownBounds* known = nullptr;
    for (std::size_t i = 0; i < knownCount_ && known == nullptr; ++i) {
        const model::LifeTest& t = known_[i].test;
        if (t.pieces == test.pieces && t.hours == test.hours && t.failures == test.failures &&
            t.bias == test.bias) {
            known = &known_[i];
        }
    }
    if (known == nullptr) {
        KnownBounds& slot = known_[nextKnown_];
        nextKnown_ = (nextKnown_ + 1) % known_.size();
        knownCount_ = std::max(knownCount_, nextKnown_ == 0 ? known_.size() : nextKnown_);
        slot = {.test = test, .bounds = model::UpperBounds(test)};
        known = &slot;
    }
    const std::optional<model::LifeTestBounds>& bounds = known->bounds;
    if (!bounds) {
        return;
    }
    const std::array<std::pair<const model::RateBound*, std::pair<Output, Output>>, 2> each{
        {{&bounds->upper60, {Output::RateUpper60, Output::FitUpper60}},
         {&bounds->upper90, {Output::RateUpper90, Output::FitUpper90}}}};
    for (const auto& [bound, columns] : each) {
        out.set(columns.first, bound->rate);
        const model::Evaluation e = model::EvaluateAtRate(row.part, bound->rate);
        if (model::Usable(e)) {
            out.set(columns.second, e.fit);
        }
    }
}

void RowEvaluator::evaluate(const PartRow& row, const RowValues& values, long rowNumber,
                            RowResult& out) {
    out.clear();
    out.quantity = row.quantity;
    const model::Evaluation e = model::Evaluate(row.part);
    if (e.refusal != model::Refusal::None) {
        // Values are checked before they get here; kept so that nothing passes unreported.
        out.error =
            "row " + std::to_string(rowNumber) + ": " + std::string(model::RefusalText(e.refusal));
        return;
    }
    const model::CapacitorType& type = *row.part.type;
    const struct {
        model::Quantity q;
        Output o;
        float v;
    } factors[] = {{model::Quantity::Base, Output::LambdaB, e.base},
                   {model::Quantity::PiT, Output::PiT, e.piT},
                   {model::Quantity::PiCV, Output::PiCV, e.piCV},
                   {model::Quantity::PiV, Output::PiV, e.piV},
                   {model::Quantity::PiQ, Output::PiQ, e.piQ},
                   {model::Quantity::PiE, Output::PiE, e.piE}};
    for (const auto& f : factors) {
        if (e.has(f.q)) {
            out.set(f.o, f.v);
        }
    }
    // The other types have no such factor, though the engine keeps 1 for them.
    if (type.option == model::OptionList::CircuitResistance && e.has(model::Quantity::PiSR)) {
        out.set(Output::PiSR, e.piSR);
    }
    if (type.option == model::OptionList::Construction && e.has(model::Quantity::PiConst)) {
        out.set(Output::PiC, e.piConst);
    }
    SetIfSingle(out, Output::Stress, e.stress);
    if (e.derated) {
        out.set(Output::DeratedVoltage, e.deratedVoltage);
    }
    if (model::Usable(e)) {
        out.hasFit = true;
        out.set(Output::Fit, e.fit);
        const double fit = e.fit;
        SetIfSingle(out, Output::FailuresPerMillionHours, fit / 1e3);
        SetIfSingle(out, Output::PercentPerThousandHours, fit / 1e4);
        const float hours = model::MtbfHours(e.fit);
        if (hours > 0) {
            out.set(Output::MtbfHours, hours);
            SetIfSingle(out, Output::MtbfYears, static_cast<double>(hours) / kHoursPerYear);
        }
    }
    notes(e, row, out);
    if (e.firstOutOfRange != model::Quantity::None) {
        out.error = "row " + std::to_string(rowNumber) + ": ";
        const std::optional<Column> column = ColumnOf(e.firstOutOfRange);
        const std::optional<std::string_view> value =
            column ? values[static_cast<std::size_t>(*column)] : std::nullopt;
        if (column && value) {
            out.error += ColumnName(*column);
            out.error += " '";
            AppendQuoted(out.error, *value);
            out.error += "' gives ";
        } else {
            out.error += "these values give ";
        }
        out.error += model::QuantityName(e.firstOutOfRange);
        out.error += " beyond the range of single-precision numbers";
    }
    out.evaluated = out.error.empty();
    if (row.lifeTest) {
        lifeTestBounds(row, out);
    }
    if (both_) {
        compareNotices(row, e, out);
    }
}

}  // namespace quarvell::batch
