// The window's side of a recalculation: what it leaves alone (suspended, or with inputs the
// engine cannot take) and its one re-entrant effect that no script line reaches directly.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/script.h"

namespace quarvell::window {
namespace {

using quarvell::testing::Act;
using quarvell::testing::ChooseType;
using quarvell::testing::EnterPart;

TEST(Recalculation, SuspendedChangesNothing) {
    replay::Session session;
    FrmFit& w = session.window;
    EnterPart(session, "10", "10");
    const model::CalcState before = w.state();
    const std::string fit = w.txtFIT.text();
    w.state().SuspendRecalc = true;
    w.state().in.AppTemp = 130;
    w.state().in.PendingNote = "NOTE: Type note";
    session.act([&] { w.recalculate(); });
    EXPECT_EQ(w.txtFIT.text(), fit);
    EXPECT_EQ(w.state().out.Fit, before.out.Fit);
    EXPECT_EQ(w.state().out.NoteText, before.out.NoteText);
    EXPECT_EQ(w.state().NoteSeparator, before.NoteSeparator);
    EXPECT_FALSE(w.lblNote.visible());

    w.state().SuspendRecalc = false;
    session.act([&] { w.recalculate(); });
    EXPECT_NE(w.txtFIT.text(), fit);
    EXPECT_TRUE(w.lblNote.visible());
}

// A capacitance or rated voltage that is no usable number, or no type at all, leaves every
// result and every text as the last usable inputs left them.
TEST(Recalculation, UnusableInputsLeaveEveryResultAsItWas) {
    const char* const scripts[] = {
        "type txtCap abc",   "type txtCap 0",    "type txtCap -1",
        "type txtCap 1e-50", "type txtVolt abc",
    };
    for (const char* script : scripts) {
        SCOPED_TRACE(script);
        replay::Session session;
        FrmFit& w = session.window;
        EnterPart(session, "10", "10");
        const model::CalcState before = w.state();
        const std::string fit = w.txtFIT.text();
        const std::string piQ = w.lblPIq.caption();
        Act(session, std::string(script) + "\ntab\nselect cmbFR 12\ntype txtTemp 130\nenter");
        EXPECT_EQ(w.txtFIT.text(), fit);
        EXPECT_EQ(w.lblPIq.caption(), piQ);
        EXPECT_EQ(w.state().out.Fit, before.out.Fit);
        EXPECT_EQ(w.state().out.PiQ, before.out.PiQ);
        EXPECT_EQ(w.state().in.FrLevel, before.in.FrLevel);
        EXPECT_FALSE(w.lblNote.visible());
    }
    replay::Session session;
    FrmFit& w = session.window;
    EnterPart(session, "10", "10");
    const std::string fit = w.txtFIT.text();
    const float fitValue = w.state().out.Fit;
    session.act([&] { w.cmbType.select(-1); });
    EXPECT_EQ(w.state().in.TypeCode, "");
    EXPECT_EQ(w.txtFIT.text(), fit);
    EXPECT_EQ(w.state().out.Fit, fitValue);
}

// The user picks an environment while the warning about a denominator typed into the PI(V)
// list is still shown: that recalculation finds neither an entry nor a usable number in the
// list and selects the default, whose Click recalculates nested, before it goes on.
TEST(Recalculation, DefaultDenominatorSelectedDuringTheWarning) {
    replay::Session session;
    FrmFit& w = session.window;
    ChooseType(session, "10.1j");
    EnterPart(session, "10", "10");
    std::string shown;  // PI(V) and the note as the pick leaves them, the warning still up
    session.services.onProcessEvents = [&] {
        if (shown.empty()) {
            Act(session, "select cmbEnv 3");
            shown = w.lblPIv.caption() + " | " + w.lblNote.caption();
        }
    };
    Act(session, "type cmbPiV x\ntab");
    const std::string polymerNote =
        "NOTE: No provisions in 217F for Tantalum-Polymer.\r\nNOTE: In PI(V) default "
        "denominator or Unity Factor changed from 0.6 to 0.8";
    EXPECT_EQ(shown, "PI(V) = [(S/0.8)^17]+1 = 1.000 | " + polymerNote);
    EXPECT_EQ(w.lblPIv.caption() + " | " + w.lblNote.caption(), shown);
    EXPECT_EQ(w.cmbPiV.index(), 2);
    EXPECT_EQ(w.lblPIe.caption(), "PI(E) = Lookup Env.= 7");
    EXPECT_EQ(session.services.takeEvents().size(), 2u);  // the one warning and its beep
}

}  // namespace
}  // namespace quarvell::window
