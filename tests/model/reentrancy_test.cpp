// The two re-entrant effects of Recalculate: selecting the default PI(V) denominator and
// lowering the maximum of hscApp. Both run their control's handler at once, which here
// recalculates nested, as the window's handlers do.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "model_fixture.h"

namespace quarvell::model::testing {
namespace {

// The outer pass must end showing what one pass over the final inputs shows.
void ExpectSettled(Window& w) {
    const Snapshot shown = w.snapshot();
    const CalcResults results = w.state.out;
    w.recalc();
    EXPECT_EQ(w.snapshot(), shown);
    EXPECT_TRUE(SameResults(w.state.out, results));
}

TEST(Reentrancy, DefaultDenominatorSelectionRecalculatesNested) {
    Window w;
    int clicks = 0;
    std::vector<int> depthAtClick;
    int depth = 0;
    // cmbPiV_Click with an accepted denominator: recalculate unless suspended.
    w.cmbPiV.onClick = [&] {
        ++clicks;
        if (!w.state.SuspendRecalc) {
            ++depth;
            w.recalc();
            --depth;
        }
    };
    w.run({.type = "10.1j", .app = 4, .pendingNote = "NOTE: Type note"});
    EXPECT_EQ(clicks, 1);  // the nested pass finds ".8" selected and selects nothing
    EXPECT_EQ(w.cmbPiV.index(), 2);
    EXPECT_EQ(w.lblPIv.caption().substr(0, 15), "PI(V) = [(S/0.8");
    EXPECT_EQ(w.noteLines(),
              (std::vector<std::string>{"NOTE: No provisions in 217F for Tantalum-Polymer.",
                                        "NOTE: In PI(V) default denominator or Unity Factor "
                                        "changed from 0.6 to 0.8"}));
    ExpectSettled(w);
    EXPECT_EQ(clicks, 1);
}

TEST(Reentrancy, SuspendedDenominatorClickDoesNotRecalculate) {
    Window w;
    int passes = 0;
    w.cmbPiV.onClick = [&] {
        if (!w.state.SuspendRecalc) {
            ++passes;
            w.recalc();
        }
    };
    w.use({.type = "10.1k", .resList = false});
    SuspendRecalculation(w.state);
    w.recalc();
    EXPECT_EQ(w.cmbPiV.index(), -1);  // a suspended pass selects nothing either
    ResumeRecalculation(w.state);
    w.recalc();
    EXPECT_EQ(passes, 1);
    EXPECT_EQ(w.cmbPiV.index(), 1);
}

class LoweredMaximum : public ::testing::Test {
  protected:
    // hscApp_Change: the position gives the application voltage; a shown result is
    // recalculated.
    void SetUp() override {
        w.hscApp.onChange = [this] {
            ++changes;
            if (w.state.SuspendRecalc) {
                return;
            }
            w.state.in.AppVoltage =
                static_cast<float>(w.hscApp.value()) / static_cast<float>(w.state.in.VoltSteps);
            if (w.txtFIT.visible()) {
                ++nested;
                w.recalc();
            }
        };
        // Rated 10 V in half-volt steps, applied at the full rating.
        w.state.SuspendRecalc = true;
        w.hscApp.setMax(20);
        w.hscApp.setValue(20);
        w.state.SuspendRecalc = false;
        changes = 0;
        part = {.type = "10.1j", .volt = "10", .app = 10, .temp = 100, .voltSteps = 2};
    }

    Window w;
    Part part;
    int changes = 0;
    int nested = 0;
};

TEST_F(LoweredMaximum, DeratingLowersTheMaximumAndTheNestedPassWinsConsistently) {
    w.run(part);  // 100 degC: not derated, the result is shown
    ASSERT_TRUE(w.txtFIT.visible());
    EXPECT_EQ(changes, 0);
    part.temp = 110;
    w.use(part);
    w.state.in.AppVoltage = 10;  // as the position says
    w.recalc();
    EXPECT_EQ(w.hscApp.max(), 18);
    EXPECT_EQ(w.hscApp.value(), 18);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(w.state.in.AppVoltage, 9.0F);
    // PI(V) of the final pass uses the lowered voltage: 9 V on 9.175 V.
    EXPECT_FLOAT_EQ(w.state.out.PiV, static_cast<float>(std::pow(9.0 / 9.175F / 0.8F, 17.0) + 1));
    EXPECT_EQ(w.lblS.caption(), "S = AppV/RatedV = 0.98");
    // Every note once, and no voltage warning: 9 V is below the derated 9.175 V.
    EXPECT_EQ(w.noteLines(),
              (std::vector<std::string>{
                  "NOTE: No provisions in 217F for Tantalum-Polymer.",
                  "NOTE: In PI(V) default denominator or Unity Factor changed from 0.6 to 0.8",
                  "Voltage-Derating applied in Temperature Range (>105) - 'S' calc appears in "
                  "red.",
                  "NOTE: Ttemperature Derated Voltage Rating shown to the right of Rated "
                  "Voltage."}));
    ExpectSettled(w);
    EXPECT_EQ(nested, 1);  // the maximum is already lowered: no further Change
}

TEST_F(LoweredMaximum, BeforeAnyResultTheHandlerOnlyMovesTheVoltage) {
    w.txtFIT.setVisible(false);
    part.temp = 110;
    w.run(part);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(nested, 0);
    // The pass goes on with the inputs the handler left.
    EXPECT_EQ(w.state.in.AppVoltage, 9.0F);
    EXPECT_FLOAT_EQ(w.state.out.PiV, static_cast<float>(std::pow(9.0 / 9.175F / 0.8F, 17.0) + 1));
    ExpectSettled(w);
}

TEST_F(LoweredMaximum, AMaximumAboveThePositionRunsNoHandler) {
    w.hscApp.setValue(10);
    changes = 0;
    part.app = 5;
    part.temp = 110;
    w.run(part);
    EXPECT_EQ(w.hscApp.max(), 18);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(w.state.in.AppVoltage, 5.0F);
}

}  // namespace
}  // namespace quarvell::model::testing
