// Focus, keyboard, help, the timed message window and menus, driven as the user does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "keysend/keysend.h"
#include "tests/support/script.h"

namespace quarvell::window {
namespace {

using platform::ServiceEvent;
using quarvell::testing::Act;

std::string Focused(const replay::Session& s) {
    const platform::Control* c = s.window.focus().focused();
    return c == nullptr ? "" : ControlKey(*c);
}

// The result fields are read, not filled in, so Tab walks past them.
TEST(TabOrder, VisitsTheShownAndEnabledControlsByTabNumber) {
    replay::Session session;
    std::vector<std::string> visited;
    for (int i = 0; i < 13; ++i) {
        Act(session, "tab");
        visited.push_back(Focused(session));
    }
    EXPECT_EQ(visited,
              (std::vector<std::string>{"txtVolt", "hscTemp", "cmbFR", "optNotice2", "optNotice1",
                                        "cmbRes", "cmbRating", "cmbEnv", "cmbPiV", "cmdQuit",
                                        "cmbType", "txtTemp", "txtCap"}));
}

// The letter jumps and the help numbers are shown by scenarios.
TEST(Keyboard, TypedCharactersGoIntoTheFocusedFieldButNotAJumpLetterOrEnter) {
    replay::Session session;
    FrmFit& w = session.window;
    Act(session, "key 1\nkey 2\nkey .\nkey 5\nkey e");
    EXPECT_EQ(w.txtCap.text(), "12.5e");
    w.keyPress(8);
    EXPECT_EQ(w.txtCap.text(), "12.5");
    Act(session, "enter");
    EXPECT_EQ(w.txtCap.text(), "12.5");
    Act(session, "key R\nkey 3\nkey R");
    EXPECT_EQ(w.txtCap.text(), "12.5");
    EXPECT_EQ(w.txtVolt.text(), "3");
    Act(session, "focus txtStyle\nkey x");  // read-only
    EXPECT_EQ(w.txtStyle.text(), "CWR - Chip");
}

TEST(Keyboard, ATypedTabMovesOnFromTheTemperatureFieldOnlyAndAnyKeyEndsASuspension) {
    replay::Session session;
    FrmFit& w = session.window;
    session.act([&] { w.keyPress('\t'); });
    EXPECT_EQ(Focused(session), "txtCap");
    Act(session, "focus txtTemp");
    session.act([&] { w.keyPress('\t'); });
    EXPECT_EQ(Focused(session), "txtCap");
    EXPECT_EQ(w.txtTemp.text(), "50");

    w.state().SuspendRecalc = true;
    Act(session, "key x");
    EXPECT_FALSE(w.state().SuspendRecalc);
}

// The keys the sender sends arrive once the handler that sent them has returned, move the
// focus as Tab does, and leave the locks as they were.
TEST(Keyboard, TheKeySenderActsAsTheUsersKeys) {
    replay::Session session;
    platform::ScriptedKeyboard& keyboard = session.services.scriptedKeyboard();
    keyboard.setLock(platform::kVkNumLock, true);
    std::string focusDuringHandler;
    session.act([&] {
        keysend::SendKeySequence(keyboard, "4{TAB}", 0);
        focusDuringHandler = Focused(session);
    });
    EXPECT_EQ(focusDuringHandler, "txtCap");
    EXPECT_EQ(session.window.txtCap.text(), "4");
    EXPECT_EQ(Focused(session), "txtVolt");
    EXPECT_TRUE(keyboard.lockOn(platform::kVkNumLock));
    session.act([&] { keysend::SendKeySequence(keyboard, "+{TAB}7", 0); });
    EXPECT_EQ(Focused(session), "txtCap");
    EXPECT_EQ(session.window.txtCap.text(), "47");
}

TEST(MessageWindow, ShowsBeepsWaitsWhileTheWindowStaysUsableAndHidesAgain) {
    replay::Session session;
    FrmFit& w = session.window;
    bool shownDuringWait = false;
    session.services.onProcessEvents = [&] {
        if (!shownDuringWait) {
            shownDuringWait = w.frmMsg.form.visible();
            EXPECT_EQ(w.frmMsg.form.caption(), "Not allowed!");
            Act(session, "select cmbEnv 3");
        }
    };
    const double start = session.services.clock();
    w.ShowMessage("Not allowed!", "Text\r\n", 2);

    EXPECT_TRUE(shownDuringWait);
    EXPECT_EQ(w.cmbEnv.index(), 3);
    EXPECT_EQ(w.frmMsg.txtMsg.caption(), "Text\r\n");
    EXPECT_FALSE(w.frmMsg.form.visible());
    EXPECT_GE(session.services.clock() - start, 2.0);
    EXPECT_LT(session.services.clock() - start, 2.1);
    const auto events = session.services.takeEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, ServiceEvent::Kind::ShowMessage);
    EXPECT_EQ(events[1].kind, ServiceEvent::Kind::Beep);
}

TEST(MessageWindow, PauseEndsOnTimeAcrossMidnightAndAtOnceForNothing) {
    replay::Session session;
    session.services.setClock(86400.0 - 3.0);
    int passes = 0;
    session.services.onProcessEvents = [&] { ++passes; };
    Pause(session.services, 7);
    EXPECT_GE(session.services.clock(), 4.0);
    EXPECT_LT(session.services.clock(), 4.1);
    EXPECT_LT(passes, 7 / platform::ScriptedServices::kEventStepSeconds + 3);

    const double start = session.services.clock();
    Pause(session.services, 0);
    Pause(session.services, -5);
    EXPECT_EQ(session.services.clock(), start);
}

// The rating entry takes its steps per volt from the fractional part of half the rating.
TEST(FractionalPart, IsWhatLiesAboveTheIntegerBelowOrOneMoreAtZeroAndBelow) {
    const struct {
        float x;
        float part;
    } cases[] = {{12.5f, 0.5f}, {0, 1}, {-0.5f, 1.5f}, {3, 0}, {-2, 1}, {3.15f, 3.15f - 3}};
    for (const auto& c : cases) {
        EXPECT_EQ(FractionalPart(c.x), c.part) << c.x;
    }
}

}  // namespace
}  // namespace quarvell::window
