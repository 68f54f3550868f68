// Times the curves of one part: both charts, both Notices, 400 points each (1,600 evaluations),
// as the Curves window recomputes them after every change in the calculator; and the CSV of
// those points. The target is well under 2 ms a recomputation.

#include <benchmark/benchmark.h>

#include "analysis/curves.h"
#include "model/engine.h"

namespace {

using namespace quarvell;

model::Part PartOf(const char* code, float temperature) {
    model::Part p;
    p.type = model::FindType(code);
    p.capacitance = 10;
    p.ratedVoltage = 10;
    p.appliedVoltage = 5;
    p.temperature = temperature;
    p.quality.level = 8;  // 1.000%/kPcHr Exponent 'M'
    p.option = p.type->option == model::OptionList::Construction ? 0 : 5;
    p.piVDenominator = 0.8F;
    return p;
}

// The calculator's evaluation, taken at two temperatures in turn so that nothing can be
// carried over from one recomputation to the next.
void Curves(benchmark::State& bench, const char* code, float t1, float t2) {
    const model::Evaluation e1 = model::Evaluate(PartOf(code, t1));
    const model::Evaluation e2 = model::Evaluate(PartOf(code, t2));
    bool flip = false;
    for (auto _ : bench) {
        const analysis::Curves c = analysis::ComputeCurves(flip ? e1 : e2);
        flip = !flip;
        benchmark::DoNotOptimize(c.voltage.points.back().fit);
    }
    bench.SetItemsProcessed(bench.iterations());
}

void BM_Curves_WorkedExample_10_1f(benchmark::State& s) {
    Curves(s, "10.1f", 50, 51);
}
void BM_Curves_10_1j_NearDerating(benchmark::State& s) {
    Curves(s, "10.1j", 100, 101);
}
void BM_Curves_10_13_Notice1(benchmark::State& s) {
    Curves(s, "10.13", 60, 61);
}
void BM_Curves_Csv_10_1f(benchmark::State& bench) {
    const analysis::Curves c = analysis::ComputeCurves(PartOf("10.1f", 50));
    for (auto _ : bench) {
        const std::string csv = analysis::CurvesCsv(c);
        benchmark::DoNotOptimize(csv.data());
    }
    bench.SetItemsProcessed(bench.iterations());
}

BENCHMARK(BM_Curves_WorkedExample_10_1f)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Curves_10_1j_NearDerating)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Curves_10_13_Notice1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Curves_Csv_10_1f)->Unit(benchmark::kMicrosecond);

}  // namespace
