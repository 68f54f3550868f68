// Focus, keyboard, help, the timed message window, menus and quitting, driven as the user does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "keysend/keysend.h"
#include "tests/support/script.h"

namespace quarvell::window {
namespace {

using platform::ServiceEvent;
using quarvell::testing::Act;
using quarvell::testing::EnterPart;

std::string Focused(const replay::Session& s) {
    const platform::Control* c = s.window.focus().focused();
    return c == nullptr ? "" : ControlKey(*c);
}

std::vector<ServiceEvent::Kind> Kinds(const std::vector<ServiceEvent>& events) {
    std::vector<ServiceEvent::Kind> out;
    for (const ServiceEvent& e : events) {
        out.push_back(e.kind);
    }
    return out;
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

TEST(Help, F1OpensTheTopicOfTheFocusedControlOrTheWindows) {
    const struct {
        const char* control;
        int topic;
    } cases[] = {
        {"txtCap", 520},   {"txtVolt", 490},    {"txtTemp", 450},    {"hscTemp", 480},
        {"cmbFR", 560},    {"cmbEnv", 650},     {"cmbRes", 570},     {"cmbRating", 710},
        {"txtStyle", 670}, {"optNotice1", 700}, {"optNotice2", 690}, {"cmdQuit", 430},
        {"cmbPiV", 10},
    };
    for (const auto& c : cases) {
        replay::Session session;
        Act(session, std::string("focus ") + c.control + "\nf1");
        const auto events = session.services.takeEvents();
        ASSERT_EQ(events.size(), 1u) << c.control;
        EXPECT_EQ(events[0].kind, ServiceEvent::Kind::Help);
        EXPECT_EQ(events[0].context, c.topic) << c.control;
    }
}

TEST(Help, FieldsShownLaterHaveTheirTopicsAndTheBiasListTakesItsFrames) {
    replay::Session session;
    EnterPart(session, "10", "25");
    Act(session, "select cmbFR 0");
    const struct {
        const char* control;
        int topic;
    } cases[] = {
        {"txtApp", 460}, {"hscApp", 470},  {"txtHrs", 530}, {"txtPcs", 540}, {"txtFail", 550},
        {"txtFR", 560},  {"cmbLife", 210}, {"txtFIT", 10},  {"txtMTBF", 10},
    };
    for (const auto& c : cases) {
        // Leaving an empty life-test field asks for it; nothing is queued, so Cancel.
        Act(session, std::string("focus ") + c.control + "\nf1");
        const auto events = session.services.takeEvents();
        ASSERT_FALSE(events.empty()) << c.control;
        EXPECT_EQ(events.back().kind, ServiceEvent::Kind::Help) << c.control;
        EXPECT_EQ(events.back().context, c.topic) << c.control;
    }
}

TEST(Help, BaseLabelClickPointsTheTypeListAtTheGeneralTopic) {
    replay::Session session;
    FrmFit& w = session.window;
    Act(session, "click lblBase");  // hidden until a result is shown
    EXPECT_EQ(w.cmbType.helpContext(), 600);

    EnterPart(session, "10", "25");
    ASSERT_TRUE(w.lblBase.visible());
    Act(session, "focus cmbType\nclick lblBase\nf1");
    EXPECT_EQ(session.services.takeEvents().back().context, 10);
    Act(session, "focus cmbEnv\nfocus cmbType\nf1");
    EXPECT_EQ(session.services.takeEvents().back().context, 1740);
}

TEST(Keyboard, CapitalLettersJumpToTheirFields) {
    const struct {
        char key;
        const char* from;
        const char* to;
    } cases[] = {
        {'R', "txtCap", "txtVolt"}, {'T', "cmbEnv", "txtTemp"}, {'C', "cmbType", "txtCap"},
        {'V', "txtCap", "txtCap"},  // the application voltage is hidden before a rating
        {'H', "txtCap", "txtCap"},  // the life-test frame is hidden
        {'P', "cmbFR", "cmbFR"},    {'r', "txtCap", "txtCap"},  {'1', "txtVolt", "txtVolt"},
    };
    for (const auto& c : cases) {
        replay::Session session;
        Act(session, std::string("focus ") + c.from + "\nkey " + c.key);
        EXPECT_EQ(Focused(session), c.to) << c.key << " from " << c.from;
    }

    replay::Session session;
    Act(session, "select cmbFR 0\nfocus cmbEnv\nkey H");
    EXPECT_EQ(Focused(session), "txtHrs");
    Act(session, "key P");
    EXPECT_EQ(Focused(session), "txtPcs");
    Act(session, "key F");
    EXPECT_EQ(Focused(session), "txtFail");
}

TEST(Keyboard, TypedCharactersGoIntoTheFocusedFieldButNotAJumpLetter) {
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

TEST(Keyboard, ATypedTabMovesOnFromTheTemperatureFieldOnly) {
    replay::Session session;
    FrmFit& w = session.window;
    session.act([&] { w.keyPress('\t'); });
    EXPECT_EQ(Focused(session), "txtCap");
    Act(session, "focus txtTemp");
    session.act([&] { w.keyPress('\t'); });
    EXPECT_EQ(Focused(session), "txtCap");
    EXPECT_EQ(w.txtTemp.text(), "50");
}

TEST(Keyboard, AnyKeyClearsALeftOverSuspension) {
    replay::Session session;
    session.window.state().SuspendRecalc = true;
    Act(session, "key x");
    EXPECT_FALSE(session.window.state().SuspendRecalc);
}

TEST(Keyboard, SyntheticKeysArriveOnceTheSendingHandlerHasReturned) {
    replay::Session session;
    platform::KeyboardPort& port = session.services.keyboard();
    const auto key = [](int vk, bool up) {
        platform::KeyEvent e;
        e.virtualKey = static_cast<std::uint16_t>(vk);
        e.flags = platform::kKeyEventScanCode | (up ? platform::kKeyEventKeyUp : 0u);
        return e;
    };
    std::string seenDuringHandler;
    session.act([&] {
        port.sendInput({key('4', false), key('4', true)});
        port.sendInput({key(platform::kVkTab, false), key(platform::kVkTab, true)});
        seenDuringHandler = Focused(session);
    });
    EXPECT_EQ(seenDuringHandler, "txtCap");
    EXPECT_EQ(session.window.txtCap.text(), "4");
    EXPECT_EQ(Focused(session), "txtVolt");

    session.act([&] {
        port.sendInput({key(platform::kVkShift, false), key(platform::kVkTab, false),
                        key(platform::kVkTab, true), key(platform::kVkShift, true)});
    });
    EXPECT_EQ(Focused(session), "txtCap");
}

TEST(Keyboard, TheKeySenderMovesTheFocusAsTabDoesAndLeavesTheLocksAsTheyWere) {
    replay::Session session;
    platform::ScriptedKeyboard& keyboard = session.services.scriptedKeyboard();
    keyboard.setLock(platform::kVkNumLock, true);
    session.act([&] { keysend::SendKeySequence(keyboard, "{TAB}", 0); });
    EXPECT_EQ(Focused(session), "txtVolt");
    EXPECT_TRUE(keyboard.lockOn(platform::kVkNumLock));
    session.act([&] { keysend::SendKeySequence(keyboard, "+{TAB}7", 0); });
    EXPECT_EQ(Focused(session), "txtCap");
    EXPECT_EQ(session.window.txtCap.text(), "7");
}

TEST(MessageWindow, ShowsBeepsWaitsAndHidesAgain) {
    replay::Session session;
    FrmFit& w = session.window;
    bool shownDuringWait = false;
    std::string titleDuringWait;
    session.services.onProcessEvents = [&] {
        shownDuringWait = w.frmMsg.form.visible();
        titleDuringWait = w.frmMsg.form.caption();
    };
    const double start = session.services.clock();
    w.ShowMessage("Not allowed!", "Text\r\n", 2);

    EXPECT_TRUE(shownDuringWait);
    EXPECT_EQ(titleDuringWait, "Not allowed!");
    EXPECT_EQ(w.frmMsg.txtMsg.caption(), "Text\r\n");
    EXPECT_FALSE(w.frmMsg.form.visible());
    EXPECT_GE(session.services.clock() - start, 2.0);
    EXPECT_LT(session.services.clock() - start, 2.1);
    EXPECT_EQ(Kinds(session.services.takeEvents()),
              (std::vector<ServiceEvent::Kind>{ServiceEvent::Kind::ShowMessage,
                                               ServiceEvent::Kind::Beep}));
}

TEST(MessageWindow, AWaitAcrossMidnightEndsOnTime) {
    replay::Session session;
    session.services.setClock(86400.0 - 3.0);
    int passes = 0;
    session.services.onProcessEvents = [&] { ++passes; };
    session.window.ShowMessage("t", "x", 7);
    EXPECT_GE(session.services.clock(), 4.0);
    EXPECT_LT(session.services.clock(), 4.1);
    EXPECT_LT(passes, 7 / platform::ScriptedServices::kEventStepSeconds + 3);
}

TEST(MessageWindow, TheWindowStaysUsableDuringTheWait) {
    replay::Session session;
    FrmFit& w = session.window;
    bool acted = false;
    session.services.onProcessEvents = [&] {
        if (!acted) {
            acted = true;
            Act(session, "select cmbEnv 3");
        }
    };
    w.ShowMessage("t", "x", 7);
    EXPECT_EQ(w.cmbEnv.index(), 3);
}

TEST(MessageWindow, PauseOfNothingReturnsAtOnce) {
    replay::Session session;
    const double start = session.services.clock();
    Pause(session.services, 0);
    Pause(session.services, -5);
    EXPECT_EQ(session.services.clock(), start);
}

TEST(Menus, PrintingAUsableResultPrintsTheWindowPicture) {
    replay::Session session;
    EnterPart(session, "10", "25");
    Act(session, "select cmbEnv 2");
    ASSERT_NE(session.window.state().out.Fit, 0.0f);
    Act(session, "click mnuPrintResults");
    EXPECT_EQ(Kinds(session.services.takeEvents()),
              std::vector<ServiceEvent::Kind>{ServiceEvent::Kind::Print});
    EXPECT_EQ(
        session.services.scriptedPrinter().calls(),
        (std::vector<std::string>{"unit inches", "position 0.250000 0.250000", "print window"}));
}

TEST(Menus, AboutBoxOpensOnceAndStartsSystemInformationWhenItCan) {
    replay::Session session;
    FrmFit& w = session.window;
    Act(session, "click mnuAbout\nclick mnuAbout");
    EXPECT_TRUE(w.frmAbout.loaded());
    EXPECT_EQ(w.frmAbout.raiseCount(), 1);

    const std::string tool = "C:\\Program Files\\msinfo32.exe";
    session.services.scriptedRegistry().setText("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH",
                                                tool);
    session.services.addFile(tool);
    Act(session, "click cmdSysInfo");
    const auto events = session.services.takeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, ServiceEvent::Kind::StartProgram);
    EXPECT_EQ(events[0].path, tool);
    EXPECT_EQ(session.services.scriptedRegistry().openHandles(), 0);
}

}  // namespace
}  // namespace quarvell::window
