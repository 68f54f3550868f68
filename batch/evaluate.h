#pragma once
// One row of a parts list evaluated: the engine's factors, FIT and MTBF of the part as given,
// its notes and warning, the life test's upper bounds, and with both Notices the FIT of the
// part the Notice switch would leave. Values the row has no use for stay absent.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "batch/values.h"
#include "model/engine.h"
#include "model/life_test.h"

namespace quarvell::batch {

// The output columns, in their order.
enum class Output : std::uint8_t {
    LambdaB,
    PiT,
    PiCV,
    PiV,
    PiSR,
    PiC,
    PiQ,
    PiE,
    Stress,
    DeratedVoltage,
    Fit,
    FailuresPerMillionHours,
    PercentPerThousandHours,
    MtbfHours,
    MtbfYears,
    Notes,
    Warning,
    Error,
    FitNotice1,
    FitNotice2,
    FitRatio,
    RateUpper60,
    RateUpper90,
    FitUpper60,
    FitUpper90
};
inline constexpr std::size_t kOutputCount = 25;

std::string_view OutputName(Output o);
bool IsText(Output o);
// Only with both Notices.
bool IsNoticeComparison(Output o);

struct RowResult {
    std::array<float, kOutputCount> value{};
    std::uint32_t present = 0;  // bits of the numbers that exist
    std::string notes;
    std::string warning;
    std::string error;

    // For the totals.
    bool evaluated = false;  // the part was evaluated: no value refused, none out of range
    double quantity = 1;
    bool hasFit = false;
    std::array<bool, 2> hasNoticeFit{};  // Notice 1, Notice 2
    std::array<float, 2> noticeFit{};

    bool has(Output o) const { return (present & Bit(o)) != 0; }
    float operator[](Output o) const { return value[static_cast<std::size_t>(o)]; }
    void set(Output o, float v) {
        value[static_cast<std::size_t>(o)] = v;
        present |= Bit(o);
    }
    void clear();
    static std::uint32_t Bit(Output o) { return 1U << static_cast<unsigned>(o); }
};

class RowEvaluator {
  public:
    explicit RowEvaluator(bool bothNotices) : both_(bothNotices) {}

    // A row read without error; `values` name the columns an evaluation error points at.
    void evaluate(const PartRow& row, const RowValues& values, long rowNumber, RowResult& out);

  private:
    void notes(const model::Evaluation& e, const PartRow& row, RowResult& out);
    void compareNotices(const PartRow& row, const model::Evaluation& own, RowResult& out);
    void lifeTestBounds(const PartRow& row, RowResult& out);

    bool both_;
    std::string block_;  // the note block, kept between rows for its storage
    // The bounds of recent life tests: a list often gives many parts the same test, and the
    // chi-square quantiles are costly.
    struct KnownBounds {
        model::LifeTest test;
        std::optional<model::LifeTestBounds> bounds;
    };
    std::array<KnownBounds, 8> known_{};
    std::size_t knownCount_ = 0;
    std::size_t nextKnown_ = 0;
};

// Appends a note to a row's notes, "; " between notes.
void AddNote(RowResult& out, std::string_view note);

}  // namespace quarvell::batch
