// The two re-entrant effects of Recalculate: selecting the default PI(V) denominator and
// lowering the maximum of hscApp. Both run their control's handler at once, which here
// recalculates nested, as the window's handlers do.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "model_fixture.h"

namespace quarvell::model::testing {
namespace {

// The outer pass must end showing what one pass over the final inputs shows.
void ExpectSettled(Window& w) {
    const Lines shown = w.shown();
    const CalcResults results = w.state.out;
    w.recalc();
    EXPECT_EQ(w.shown(), shown);
    EXPECT_EQ(Tie(w.state.out), Tie(results));
}

TEST(Reentrancy, DefaultDenominatorSelectionRecalculatesNested) {
    Window w;
    int clicks = 0;
    // cmbPiV_Click with an accepted denominator: recalculate unless suspended.
    w.cmbPiV.onClick = [&] {
        ++clicks;
        if (!w.state.SuspendRecalc) {
            w.recalc();
        }
    };
    w.run({.type = "10.1j", .app = 4, .pendingNote = "NOTE: Type note"});
    EXPECT_EQ(clicks, 1);  // the nested pass finds ".8" selected and selects nothing
    EXPECT_EQ(w.lblPIv.caption().substr(0, 15), "PI(V) = [(S/0.8");
    EXPECT_EQ(w.noteLines().size(), 2u);  // the polymer notes, once
    ExpectSettled(w);
    EXPECT_EQ(clicks, 1);
}

TEST(Reentrancy, DeratingLowersTheVoltageMaximumAndTheNestedPassWinsConsistently) {
    // hscApp_Change: the position gives the application voltage; a shown result is
    // recalculated. Rated 10 V in half-volt steps, at the full rating.
    Window w;
    int changes = 0;
    w.hscApp.setMax(20);
    w.hscApp.setValue(20);
    w.hscApp.onChange = [&] {
        ++changes;
        w.state.in.AppVoltage =
            static_cast<float>(w.hscApp.value()) / static_cast<float>(w.state.in.VoltSteps);
        if (w.txtFIT.visible()) {
            w.recalc();
        }
    };
    Part part{.type = "10.1j", .volt = "10", .app = 10, .temp = 100, .voltSteps = 2};
    w.run(part);  // not derated, the result is shown
    EXPECT_EQ(changes, 0);
    part.temp = 110;
    w.run(part);
    EXPECT_EQ(w.hscApp.max(), 18);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(w.state.in.AppVoltage, 9.0F);
    // PI(V) of the final pass uses the lowered voltage: 9 V on 9.175 V.
    EXPECT_FLOAT_EQ(w.state.out.PiV, static_cast<float>(std::pow(9.0 / 9.175F / 0.8F, 17.0) + 1));
    EXPECT_EQ(w.lblS.caption(), "S = AppV/RatedV = 0.98");
    // Every note once, and no voltage warning: 9 V is below the derated 9.175 V.
    EXPECT_EQ(w.noteLines().size(), 4u);
    EXPECT_EQ(w.noteLines().back().find("WARNING"), std::string::npos);
    ExpectSettled(w);
    EXPECT_EQ(changes, 1);  // the maximum is already lowered: no further Change
}

}  // namespace
}  // namespace quarvell::model::testing
