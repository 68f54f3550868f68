// The window as designed, beyond what the start-up scenario's report shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/script.h"
#include "version.h"

namespace quarvell::window {
namespace {

TEST(StartUp, ShowsTheVersionAndCopyrightOfTheVersionRecord) {
    replay::Session session;
    const FrmFit& w = session.window;
    EXPECT_EQ(w.lblVersion.caption(), "Version " + std::to_string(kVersionMajor) + "." +
                                          std::to_string(kVersionMinor) + "." +
                                          std::to_string(kVersionRevision));
    EXPECT_EQ(w.lblCopyright.caption(), session.services.versionRecord().copyright);
}

TEST(Design, EveryControlHasAnAccessibleNameAndTheLifeTestFieldsSitInTheirFrame) {
    replay::Session session;
    const FrmFit& w = session.window;
    for (const platform::Control* c : w.controls()) {
        EXPECT_FALSE(c->accessibleName().empty()) << ControlKey(*c);
    }
    EXPECT_FALSE(w.frmMsg.txtMsg.accessibleName().empty());
    EXPECT_EQ(w.txtHrs.container(), &w.fmeOther);
    EXPECT_EQ(w.cmbLife.container(), &w.fmeBias);
    EXPECT_EQ(w.fmeBias.container(), &w.fmeOther);
    EXPECT_FALSE(w.fmeBias.bordered());
    for (const platform::TextBox* t : {&w.txtStyle, &w.txtFR, &w.txtFIT, &w.txtMTBF}) {
        EXPECT_TRUE(t->locked()) << t->name();
    }
}

TEST(Design, MenusInMenuBarOrder) {
    replay::Session session;
    std::vector<std::string> captions;
    for (const FrmFit::Menu& m : session.window.menus()) {
        captions.push_back(m.head->caption() + " " + std::to_string(m.head->helpContext()));
        for (const platform::MenuItem* item : m.items) {
            captions.push_back("  " + item->caption() + " " + item->shortcut() + " " +
                               std::to_string(item->helpContext()) +
                               (item->enabled() ? "" : " off"));
        }
    }
    EXPECT_EQ(captions, (std::vector<std::string>{
                            "About 240",
                            "  About this program...  500",
                            "Print 250",
                            "  &Print Quarvell Form Ctrl+P 0",
                            "  Print Results && &Form Feed Ctrl+F 0 off",
                            "  -  410",
                            "  Printer &Setup  0",
                            "Analysis 0",
                            "  Curves... Ctrl+K 0",
                            "  Calculation Sheet... Ctrl+Shift+S 0 off",
                            "Help (F1) 10",
                            "  Contents, Index  0",
                        }));
}

}  // namespace
}  // namespace quarvell::window
