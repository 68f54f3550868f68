// Times one full Recalculate: numeric tests, the type model, every caption, the note block
// and FIT/MTBF in engineering units, written to the headless controls. Goal: at least
// 200,000 recalculations per second on one core (Release build).

#include <benchmark/benchmark.h>

#include <string>

#include "model/calc_state.h"
#include "model/recalculate.h"
#include "platform/controls.h"

namespace {

using namespace quarvell;

struct Window {
    platform::TextBox txtCap{"txtCap"};
    platform::TextBox txtVolt{"txtVolt"};
    platform::ComboBox cmbRating{"cmbRating", false};
    platform::ComboBox cmbPiV{"cmbPiV", true};
    platform::ComboBox cmbRes{"cmbRes", false};
    platform::ComboBox cmbFR{"cmbFR", false};
    platform::ComboBox cmbEnv{"cmbEnv", false};
    platform::OptionButton optNotice2{"optNotice", 2};
    platform::ScrollBar hscApp{"hscApp"};
    platform::Label lblFormula{"lblFormula"}, lblBase{"lblBase"}, lblPIt{"lblPIt"},
        lblPIv{"lblPIv"}, lblPIc{"lblPIc"}, lblPIsr{"lblPIsr"}, lblPIq{"lblPIq"}, lblPIe{"lblPIe"},
        lblS{"lblS"}, lblFR{"lblFR"}, lblUnity{"lblUnity"}, lblCalcFIT{"lblCalcFIT"},
        lblCalcMTBF{"lblCalcMTBF"}, lblNote{"lblNote"};
    platform::TextBox txtFR{"txtFR"}, txtDerated{"txtDerated"}, txtFIT{"txtFIT"},
        txtMTBF{"txtMTBF"};
    model::RecalcView view{txtCap,     txtVolt,    cmbRating,  cmbPiV,      cmbRes,  cmbFR,
                           cmbEnv,     optNotice2, hscApp,     lblFormula,  lblBase, lblPIt,
                           lblPIv,     lblPIc,     lblPIsr,    lblPIq,      lblPIe,  lblS,
                           lblFR,      lblUnity,   lblCalcFIT, lblCalcMTBF, lblNote, txtFR,
                           txtDerated, txtFIT,     txtMTBF};
    model::CalcState state;

    Window(const char* type, bool notice2, float appTemp) {
        cmbRating.addItem("+125\u00B0C");
        cmbRating.select(0);
        for (const char* d : {"1", ".9", ".8", ".7", ".6", ".5"}) {
            cmbPiV.addItem(d);
        }
        for (int i = 0; i < 6; ++i) {
            cmbRes.addItem("res");
        }
        cmbRes.select(5);
        for (int i = 0; i < 13; ++i) {
            cmbFR.addItem("level");
        }
        cmbFR.select(9);
        for (int i = 0; i < 14; ++i) {
            cmbEnv.addItem("env");
        }
        cmbEnv.select(3);
        if (notice2) {
            optNotice2.choose();
        }
        hscApp.setMax(20);
        txtCap.setText("10");
        txtVolt.setText("10");
        state.in.TypeCode = type;
        state.in.RatedVoltage = 10;
        state.in.AppVoltage = 8;
        state.in.AppTemp = appTemp;
        state.in.VoltSteps = 1;
        state.in.LifeBias = 1;
        state.in.PendingNote = "NOTE: A type note of some length for the block";
    }
};

// Alternates two application temperatures so that every caption really changes and every
// setter notifies, as when the user drags the temperature scroll bar.
void Run(benchmark::State& bench, const char* type, bool notice2, float t1, float t2) {
    Window w(type, notice2, t1);
    bool flip = false;
    for (auto _ : bench) {
        w.state.in.AppTemp = flip ? t1 : t2;
        flip = !flip;
        model::Recalculate(w.state, w.view, model::kPeriodLocale);
        benchmark::DoNotOptimize(w.state.out.Fit);
    }
    bench.counters["recalcs/s"] =
        benchmark::Counter(static_cast<double>(bench.iterations()), benchmark::Counter::kIsRate);
}

void BM_Recalculate_10_1f(benchmark::State& s) {
    Run(s, "10.1f", true, 50, 51);
}
void BM_Recalculate_10_1e_Derated(benchmark::State& s) {
    Run(s, "10.1e", true, 125, 126);
}
void BM_Recalculate_10_1j_Derated(benchmark::State& s) {
    Run(s, "10.1j", true, 110, 111);
}
void BM_Recalculate_10_12_Derated(benchmark::State& s) {
    Run(s, "10.12", false, 95, 96);
}
void BM_Recalculate_10_13(benchmark::State& s) {
    Run(s, "10.13", false, 95, 96);
}

BENCHMARK(BM_Recalculate_10_1f);
BENCHMARK(BM_Recalculate_10_1e_Derated);
BENCHMARK(BM_Recalculate_10_1j_Derated);
BENCHMARK(BM_Recalculate_10_12_Derated);
BENCHMARK(BM_Recalculate_10_13);

}  // namespace
