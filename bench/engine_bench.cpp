// Times the engine on its own: a part evaluated into numbers, and a part evaluated with all the
// texts the window shows.

#include <benchmark/benchmark.h>

#include "model/engine.h"
#include "model/engine_texts.h"

namespace {

using namespace quarvell;

// 10 uF, 10 V rated, 8 V applied, N(S), level M, at two temperatures taken in turn so that
// nothing can be carried over from one evaluation to the next.
model::Part PartOf(const char* code) {
    model::Part p;
    p.type = model::FindType(code);
    p.capacitance = 10;
    p.ratedVoltage = 10;
    p.appliedVoltage = 8;
    p.environment = 3;
    p.quality.level = 8;
    p.option = p.type->option == model::OptionList::Construction ? 0 : 5;
    p.piVDenominator = 0.8F;
    return p;
}

void Numbers(benchmark::State& bench, const char* code, float t1, float t2) {
    model::Part p = PartOf(code);
    bool flip = false;
    for (auto _ : bench) {
        p.temperature = flip ? t1 : t2;
        flip = !flip;
        const model::Evaluation e = model::Evaluate(p);
        benchmark::DoNotOptimize(e.fit);
    }
    bench.SetItemsProcessed(bench.iterations());
}

void Texts(benchmark::State& bench, const char* code, float t1, float t2) {
    model::Part p = PartOf(code);
    const std::string typeNote = model::TypeNote(*p.type);
    // Written into the same texts each time, as the window keeps them.
    model::Texts t;
    bool flip = false;
    for (auto _ : bench) {
        p.temperature = flip ? t1 : t2;
        flip = !flip;
        model::WriteTexts(model::Evaluate(p), model::kPeriodLocale, typeNote, t);
        benchmark::DoNotOptimize(t.fit.data());
    }
    bench.SetItemsProcessed(bench.iterations());
}

void BM_EvaluateNumbers_10_1f(benchmark::State& s) {
    Numbers(s, "10.1f", 50, 51);
}
void BM_EvaluateNumbers_10_1j_Derated(benchmark::State& s) {
    Numbers(s, "10.1j", 110, 111);
}
void BM_EvaluateNumbers_10_12_Derated(benchmark::State& s) {
    Numbers(s, "10.12", 95, 96);
}
void BM_EvaluateNumbers_10_15(benchmark::State& s) {
    Numbers(s, "10.15", 60, 61);
}
void BM_EvaluateTexts_10_1f(benchmark::State& s) {
    Texts(s, "10.1f", 50, 51);
}
void BM_EvaluateTexts_10_1j_Derated(benchmark::State& s) {
    Texts(s, "10.1j", 110, 111);
}
void BM_EvaluateTexts_10_12_Derated(benchmark::State& s) {
    Texts(s, "10.12", 95, 96);
}
void BM_EvaluateTexts_10_15(benchmark::State& s) {
    Texts(s, "10.15", 60, 61);
}

BENCHMARK(BM_EvaluateNumbers_10_1f);
BENCHMARK(BM_EvaluateNumbers_10_1j_Derated);
BENCHMARK(BM_EvaluateNumbers_10_12_Derated);
BENCHMARK(BM_EvaluateNumbers_10_15);
BENCHMARK(BM_EvaluateTexts_10_1f);
BENCHMARK(BM_EvaluateTexts_10_1j_Derated);
BENCHMARK(BM_EvaluateTexts_10_12_Derated);
BENCHMARK(BM_EvaluateTexts_10_15);

}  // namespace
