#include "analysis/curves.h"

#include <charconv>
#include <cmath>

#include "catalogue/counterpart.h"
#include "model/number_text.h"

namespace quarvell::analysis {

namespace {

std::size_t NoticeIndex(model::Notice n) {
    return n == model::Notice::One ? 0 : 1;
}

std::optional<float> FitOf(const model::Evaluation& e) {
    return model::Usable(e) ? std::optional<float>(e.fit) : std::nullopt;
}

std::string Sentence(std::string_view text) {
    std::string s(text);
    if (!s.empty() && s.front() >= 'a' && s.front() <= 'z') {
        s.front() = static_cast<char>(s.front() - 'a' + 'A');
    }
    if (!s.empty() && s.back() != '.') {
        s += '.';
    }
    return s;
}

// The x of point i of n evenly spaced from `from` to `to`, both ends exact.
float XAt(float from, float to, int i) {
    const double span = static_cast<double>(to) - from;
    return static_cast<float>(from + span * i / (kCurvePoints - 1));
}

// Evaluates both Notices' parts at every x of the curve; `place` puts x into a part.
template <typename Place>
void Trace(Curve& curve, const model::Part& own, const model::Part& other, Place place) {
    curve.points.resize(kCurvePoints);
    const std::size_t ownIndex = NoticeIndex(own.type->notice);
    model::Part a = own;
    model::Part b = other;
    for (int i = 0; i < kCurvePoints; ++i) {
        CurvePoint& p = curve.points[static_cast<std::size_t>(i)];
        p.x = XAt(curve.from, curve.to, i);
        place(a, p.x);
        place(b, p.x);
        const model::Evaluation ea = model::Evaluate(a);
        const model::Evaluation eb = model::Evaluate(b);
        p.fit[ownIndex] = FitOf(ea);
        p.fit[1 - ownIndex] = FitOf(eb);
        p.stress.reset();
        if (ea.refusal == model::Refusal::None && model::IsFiniteSingle(ea.stress)) {
            p.stress = static_cast<float>(ea.stress);
        }
    }
}

}  // namespace

std::optional<float> Curves::operatingFit(model::Notice n) const {
    if (!usable()) {
        return std::nullopt;
    }
    return FitOf(n == notice() ? own : other);
}

std::string MissingText(const model::Evaluation& e) {
    if (e.refusal != model::Refusal::None) {
        return Sentence(model::RefusalText(e.refusal));
    }
    if (e.missingRate != model::MissingRate::None) {
        return Sentence(model::MissingRateNote(e.missingRate));
    }
    if (e.firstOutOfRange != model::Quantity::None) {
        return Sentence(std::string(model::QuantityName(e.firstOutOfRange)) +
                        " is not a finite number for these inputs");
    }
    if (!model::Usable(e)) {
        return "The FIT is 0 for these inputs.";
    }
    return {};
}

Curves ComputeCurves(const model::Part& part) {
    return ComputeCurves(model::Evaluate(part));
}

Curves ComputeCurves(const model::Evaluation& calculator) {
    Curves c;
    c.own = calculator;
    c.missing = MissingText(calculator);
    if (!c.usable()) {
        return c;
    }
    const model::Part& own = calculator.part;
    const catalogue::Counterpart counterpart = catalogue::CounterpartOf(own);
    c.other = model::Evaluate(counterpart.part);
    c.standIn = counterpart.message;
    c.otherMissing = MissingText(c.other);

    const std::optional<float> fit1 = c.operatingFit(model::Notice::One);
    const std::optional<float> fit2 = c.operatingFit(model::Notice::Two);
    if (fit1 && fit2) {
        const double ratio = static_cast<double>(*fit2) / static_cast<double>(*fit1);
        if (model::IsFiniteSingle(ratio)) {
            c.ratio = static_cast<float>(ratio);
        }
    }

    c.rating = own.tempRating;
    c.ratedVoltage = own.ratedVoltage;
    if (calculator.derated) {
        c.deratedVoltage = calculator.deratedVoltage;
    }
    if (own.type->model.derateAbove != 0) {
        c.derateAbove = own.type->model.derateAbove;
    }

    c.temperature.from = kColdestTemperature;
    c.temperature.to = static_cast<float>(static_cast<int>(own.tempRating) + kBeyondRating);
    Trace(c.temperature, own, counterpart.part, [](model::Part& p, float x) { p.temperature = x; });
    c.voltage.from = 0;
    c.voltage.to = own.ratedVoltage;
    Trace(c.voltage, own, counterpart.part, [](model::Part& p, float x) { p.appliedVoltage = x; });

    // The threshold that governs above the rating: where a derating raises it (10.1g), the
    // one at the hot end.
    model::Part hottest = own;
    hottest.temperature = c.temperature.to;
    const std::int16_t limit = model::Evaluate(hottest).tempLimit;
    if (limit != c.rating) {
        c.limit = limit;
    }
    return c;
}

void AppendPlainNumber(std::string& out, float value) {
    if (value == 0) {
        out += '0';  // never "-0"
        return;
    }
    // The longest, the smallest subnormal, takes 48 characters.
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    out.append(buffer, r.ptr);
}

std::string CurvesCsv(const Curves& curves) {
    std::string out(kCsvHeader);
    out += '\n';
    if (!curves.usable()) {
        return out;
    }
    const auto cell = [&out](const std::optional<float>& v) {
        out += ',';
        if (v) {
            AppendPlainNumber(out, *v);
        }
    };
    for (const Curve* curve : {&curves.temperature, &curves.voltage}) {
        const std::string_view name =
            curve->chart == Chart::Temperature ? "temperature" : "voltage";
        for (const CurvePoint& p : curve->points) {
            out += name;
            out += ',';
            AppendPlainNumber(out, p.x);
            cell(p.fit[0]);
            cell(p.fit[1]);
            cell(p.stress);
            out += '\n';
        }
    }
    return out;
}

}  // namespace quarvell::analysis
