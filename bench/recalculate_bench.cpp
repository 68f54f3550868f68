// Times one full recalculation of the calculator window: the controls read into a part, the
// engine's evaluation, every caption, the note block and FIT/MTBF in engineering units written
// to the headless controls.

#include <benchmark/benchmark.h>

#include <string>

#include "tools/replay/replay.h"

namespace {

using namespace quarvell;

// The window after start-up with a part entered: 10 uF, 10 V rated, 8 V applied.
struct Calculator {
    replay::Session session;

    Calculator(const char* notice, int typePosition) {
        for (const std::string& line :
             {std::string("select optNotice ") + notice,
              "select cmbType " + std::to_string(typePosition), std::string("type txtCap 10"),
              std::string("type txtVolt 10"), std::string("type txtApp 8"),
              std::string("focus cmbEnv")}) {
            const replay::ParsedLine parsed = replay::ParseLine(line, 1, session);
            session.act([&] { (void)replay::Perform(session, *parsed.action); });
        }
    }
};

// Alternates two application temperatures so that every caption really changes and every
// setter notifies, as when the user drags the temperature scroll bar.
void Run(benchmark::State& bench, const char* notice, int typePosition, float t1, float t2) {
    Calculator c(notice, typePosition);
    window::FrmFit& w = c.session.window;
    bool flip = false;
    for (auto _ : bench) {
        w.state().in.AppTemp = flip ? t1 : t2;
        flip = !flip;
        w.recalculate();
        benchmark::DoNotOptimize(w.state().out.Fit);
    }
    bench.SetItemsProcessed(bench.iterations());
}

void BM_Recalculate_10_1f(benchmark::State& s) {
    Run(s, "2", 4, 50, 51);
}
void BM_Recalculate_10_1e_Derated(benchmark::State& s) {
    Run(s, "2", 3, 125, 126);
}
void BM_Recalculate_10_1j_Derated(benchmark::State& s) {
    Run(s, "2", 8, 110, 111);
}
void BM_Recalculate_10_12_Derated(benchmark::State& s) {
    Run(s, "1", 3, 95, 96);
}
void BM_Recalculate_10_13(benchmark::State& s) {
    Run(s, "1", 4, 95, 96);
}

BENCHMARK(BM_Recalculate_10_1f);
BENCHMARK(BM_Recalculate_10_1e_Derated);
BENCHMARK(BM_Recalculate_10_1j_Derated);
BENCHMARK(BM_Recalculate_10_12_Derated);
BENCHMARK(BM_Recalculate_10_13);

}  // namespace
