#pragma once
// The analysis of one capacitor as data, with no GUI: the curves of its FIT against the
// application temperature and against the applied voltage, under both Notices, with the
// markers a reader needs (the rating, the over-temperature limit, the derated voltage rating,
// the operating point) and the CSV text of the plotted points. The part comes from the
// calculator (its last evaluation); the other Notice's part is the one the Notice switch would
// leave (catalogue/counterpart.h). Every point is an evaluation of the engine: nothing is
// computed here that the engine computes.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/capacitor_types.h"
#include "model/engine.h"

namespace quarvell::analysis {

inline constexpr int kCurvePoints = 400;
// The temperature chart runs from the coldest application the handbook's tables cover to a
// little beyond the part's rating.
inline constexpr float kColdestTemperature = -55;  // degC
inline constexpr int kBeyondRating = 25;           // degC

enum class Chart : std::uint8_t { Temperature, Voltage };

struct CurvePoint {
    float x = 0;  // degC or V
    // The FIT under Notice 1 and Notice 2 (fit[0], fit[1]) where the engine gives a usable
    // result there.
    std::array<std::optional<float>, 2> fit;
    // S of the calculator's part, as its stress caption shows it.
    std::optional<float> stress;
};

struct Curve {
    Chart chart = Chart::Temperature;
    float from = 0;
    float to = 0;
    std::vector<CurvePoint> points;  // kCurvePoints, evenly spaced, both ends included
};

struct Curves {
    // Why there is nothing to draw: empty while the calculator has a usable result.
    std::string missing;
    model::Evaluation own;    // the calculator's part at its operating point
    model::Evaluation other;  // the other Notice's part there
    // The Notice switch's message where the other Notice's part is only a stand-in.
    const model::SwitchMessage* standIn = nullptr;
    // Why the other Notice has no FIT at the operating point; empty when it has one.
    std::string otherMissing;
    // FIT under Notice 2 over FIT under Notice 1 at the operating point, as quarvell-batch's
    // fit_ratio; nothing where either has no FIT.
    std::optional<float> ratio;

    std::int16_t rating = 0;  // degC; the region above it is shaded
    // The over-temperature warning's threshold at the hot end of the chart, where it is not
    // the rating.
    std::optional<std::int16_t> limit;
    // Where the type starts to derate its voltage rating, degC.
    std::optional<int> derateAbove;
    float ratedVoltage = 0;
    // The voltage rating derated for the application temperature, while a derating applies.
    std::optional<float> deratedVoltage;

    Curve temperature{.chart = Chart::Temperature};
    Curve voltage{.chart = Chart::Voltage};

    bool usable() const { return missing.empty(); }
    model::Notice notice() const { return own.part.type->notice; }
    // The FIT at the operating point under a Notice, where there is one.
    std::optional<float> operatingFit(model::Notice n) const;
};

// The curves of the calculator's evaluation. Without a usable result nothing is evaluated
// and `missing` says why.
Curves ComputeCurves(const model::Evaluation& calculator);
Curves ComputeCurves(const model::Part& part);

// What keeps an evaluation from a usable result, as a sentence for the user; empty for a
// usable result.
std::string MissingText(const model::Evaluation& e);

// The plotted points as CSV: the header `chart,x,fit_notice1,fit_notice2,stress`, then the
// temperature chart's points and the voltage chart's, one row each; numbers as quarvell-batch
// writes them, an empty cell where a value does not exist. Only the header without a usable
// result.
std::string CurvesCsv(const Curves& curves);
inline constexpr std::string_view kCsvHeader = "chart,x,fit_notice1,fit_notice2,stress";

// A number as quarvell-batch writes it: plain decimal form with a period, the shortest text
// that reads back to the same single, "0" for zero of either sign.
void AppendPlainNumber(std::string& out, float value);

}  // namespace quarvell::analysis
