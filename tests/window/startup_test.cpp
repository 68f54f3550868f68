// The calculator as it opens, and its window as designed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/script.h"
#include "version.h"

namespace quarvell::window {
namespace {

using quarvell::testing::Act;

TEST(StartUp, FillsTheListsAndSelectsTheDefaults) {
    replay::Session session;
    const FrmFit& w = session.window;

    EXPECT_EQ(w.cmbEnv.count(), 14);
    EXPECT_EQ(w.cmbEnv.text(), "G(B)  Ground, Benign");
    EXPECT_EQ(w.cmbEnv.items()[6], "A(IF) same as A(IC) but hi-perf-AC.");
    EXPECT_EQ(w.cmbEnv.items()[13], "C(L)  Cannon launchings.");
    EXPECT_EQ(w.cmbFR.count(), 13);
    EXPECT_EQ(w.cmbFR.index(), 9);
    EXPECT_EQ(w.cmbFR.text(), "3.000%/kPcHr Non-ER Military");
    EXPECT_EQ(w.cmbFR.items()[12], "Commercial/Unk PI(Q) as '10'");
    EXPECT_EQ(w.cmbRes.count(), 6);
    EXPECT_EQ(w.cmbRes.text(), "(<0.1 Ohms/V)");
    EXPECT_TRUE(w.cmbRes.visible());
    EXPECT_EQ(w.cmbRating.items(), (std::vector<std::string>{"+85°C", "+125°C"}));
    EXPECT_EQ(w.cmbRating.index(), 0);
    EXPECT_EQ(w.cmbType.count(), 10);
    EXPECT_EQ(w.cmbType.text(), "10.1f Tantalum(Solid-Chip)");
    EXPECT_EQ(w.cmbType.helpContext(), 600);
    EXPECT_EQ(w.lblType.caption(), "Notice 2 - T&ype: Capacitor, Fixed, ...");
    EXPECT_EQ(w.cmbLife.text(), "1 x Rated");
    EXPECT_EQ(w.cmbPiV.index(), -1);
    EXPECT_EQ(w.cmbPiV.text(), "PiV");
    EXPECT_TRUE(w.cmbPiV.visible());
    EXPECT_TRUE(w.lblUnity.visible());
    EXPECT_TRUE(w.optNotice2.value());
    EXPECT_FALSE(w.optNotice1.value());

    EXPECT_EQ(w.hscTemp.min(), -55);
    EXPECT_EQ(w.hscTemp.max(), 125);
    EXPECT_EQ(w.hscTemp.smallChange(), 1);
    EXPECT_EQ(w.hscTemp.largeChange(), 5);
    EXPECT_EQ(w.hscTemp.value(), 50);
    EXPECT_EQ(w.txtTemp.text(), "50");
    EXPECT_FALSE(w.hscApp.enabled());

    EXPECT_EQ(w.txtStyle.text(), "CWR - Chip");
    EXPECT_EQ(w.lblFR.caption(), "Failure Rate %/k-Pc-Hrs @85°C+Vr");
    EXPECT_EQ(w.lblVersion.caption(), "Version " + std::to_string(kVersionMajor) + "." +
                                          std::to_string(kVersionMinor) + "." +
                                          std::to_string(kVersionRevision));
    EXPECT_EQ(w.lblCopyright.caption(), session.services.versionRecord().copyright);
    for (const platform::TextBox* t :
         {&w.txtCap, &w.txtVolt, &w.txtApp, &w.txtHrs, &w.txtPcs, &w.txtFail, &w.txtFR}) {
        EXPECT_EQ(t->text(), "") << t->name();
    }
}

TEST(StartUp, ShowsNoResultAndCalculatesNothing) {
    replay::Session session;
    const FrmFit& w = session.window;
    const model::CalcState& s = w.state();

    for (const platform::Control* c : std::vector<const platform::Control*>{
             &w.txtApp, &w.lblAppTxt, &w.txtFIT, &w.txtMTBF, &w.lblCalcFIT, &w.lblCalcMTBF,
             &w.lblFormula, &w.lblBase, &w.lblPIt, &w.lblS, &w.lblPIv, &w.lblPIc, &w.lblPIe,
             &w.lblPIsr, &w.lblPIq, &w.lblNote, &w.fmeOther, &w.txtDerated, &w.txtEnterPercFR}) {
        EXPECT_FALSE(c->visible()) << c->name();
    }
    EXPECT_EQ(s.in.TypeCode, "10.1f");
    EXPECT_EQ(s.in.Notice, 2);
    EXPECT_EQ(s.in.AppTemp, 50.0f);
    // 125 while the list shows +85°C: the first calculation reads the list.
    EXPECT_EQ(s.in.TempRating, 125);
    EXPECT_EQ(s.in.LifeBias, 1.0f);
    EXPECT_EQ(s.out.PiSR, 0.066f);
    EXPECT_FALSE(s.SuspendRecalc);
    for (float v : {s.in.Capacitance, s.in.RatedVoltage, s.in.AppVoltage, s.in.EnteredRate,
                    s.in.TestHours, s.in.TestPieces, s.in.TestFailures, s.out.Fit}) {
        EXPECT_EQ(v, 0.0f);
    }
    EXPECT_EQ(s.out.NoteText, "");
    EXPECT_TRUE(session.services.events().empty()) << "no message, no beep";
    EXPECT_TRUE(w.form.visible());
    EXPECT_FALSE(w.frmMsg.form.visible());
    EXPECT_EQ(w.focus().focused(), &w.txtCap);
}

TEST(StartUp, DetectsTheDecimalSeparatorOfThePlatform) {
    replay::Session period(platform::kPeriodLocale);
    EXPECT_TRUE(period.window.state().in.DecimalIsPoint);
    replay::Session comma(platform::kCommaLocale);
    EXPECT_FALSE(comma.window.state().in.DecimalIsPoint);
}

TEST(StartUp, EnvironmentChoiceWithoutAPartChangesNothingVisible) {
    replay::Session session;
    const FrmFit& w = session.window;
    const auto visibleTexts = [&] {
        std::vector<std::string> out;
        for (const platform::Control* c : w.controls()) {
            if (c != &w.cmbEnv) {
                out.push_back(c->name() + (c->visible() ? " shown " : " hidden ") +
                              (c->kind() == platform::ControlKind::Label
                                   ? static_cast<const platform::Label*>(c)->caption()
                                   : ""));
            }
        }
        return out;
    };
    const auto before = visibleTexts();
    Act(session, "select cmbEnv 7\nselect cmbEnv 0");
    EXPECT_EQ(visibleTexts(), before);
    EXPECT_TRUE(session.services.events().empty());
}

TEST(Design, WindowAndMessageWindowCaptions) {
    replay::Session session;
    const FrmFit& w = session.window;
    EXPECT_EQ(w.form.caption(),
              "FIT" + std::string(18, ' ') + "Failure Rate Model per MIL-HDBK-217F");
    EXPECT_EQ(w.form.helpContext(), 10);
    EXPECT_TRUE(w.form.keyPreview());
    EXPECT_EQ(w.form.place(), (platform::Place{0, 0, 8895, 9630}));
    EXPECT_EQ(w.frmMsg.form.backColor(), platform::kBlue);
    EXPECT_TRUE(w.frmMsg.txtMsg.bold());
    EXPECT_EQ(w.frmMsg.txtMsg.pointSize(), 9.75);
}

TEST(Design, ColoursAndAlignmentFollowTheCaptionGroups) {
    replay::Session session;
    const FrmFit& w = session.window;
    using platform::Alignment;
    const struct {
        const platform::Control& c;
        platform::Color fore;
        platform::Color back;
        Alignment align;
    } cases[] = {
        {w.lblType, platform::kBlack, platform::kRed, Alignment::Left},
        {w.lblCap, platform::kBlack, platform::kRed, Alignment::Left},
        {w.lblVolt, platform::kBlack, platform::kRed, Alignment::Center},
        {w.lblEnv, platform::kBlack, platform::kLightGrey, Alignment::Center},
        {w.lblUnity, platform::kBlack, platform::kLightGrey, Alignment::Center},
        {w.Label1, platform::kCyan, platform::kBlue, Alignment::Right},
        {w.lblTestDC, platform::kCyan, platform::kBlue, Alignment::Right},
        {w.lblCalcFIT, platform::kYellow, platform::kBlue, Alignment::Right},
        {w.lblVersion, platform::kWhite, platform::kDarkBlue, Alignment::Center},
        {w.optNotice1, platform::kBlack, platform::kGreen, Alignment::Left},
        {w.optNotice2, platform::kBlack, platform::kRed, Alignment::Left},
        {w.txtDerated, platform::kWhite, platform::kRed, Alignment::Left},
        {w.txtEnterPercFR, platform::kBlack, platform::kLightYellow, Alignment::Left},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.c.foreColor(), c.fore) << c.c.name();
        EXPECT_EQ(c.c.backColor(), c.back) << c.c.name();
        EXPECT_EQ(c.c.alignment(), c.align) << c.c.name();
    }
    EXPECT_TRUE(w.lblTestDC.transparent());
    EXPECT_TRUE(w.lblCalcMTBF.bold());
    EXPECT_EQ(w.lblCalcMTBF.pointSize(), 9.75);
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
    const FrmFit& w = session.window;
    std::vector<std::string> captions;
    for (const FrmFit::Menu& m : w.menus()) {
        captions.push_back(m.head->caption());
        for (const platform::MenuItem* item : m.items) {
            captions.push_back("  " + item->caption() + " " + item->shortcut() + " " +
                               std::to_string(item->helpContext()) +
                               (item->enabled() ? "" : " off"));
        }
    }
    EXPECT_EQ(captions, (std::vector<std::string>{
                            "About",
                            "  About this program...  500",
                            "Print",
                            "  &Print Quarvell Form Ctrl+P 0",
                            "  Print Results && &Form Feed Ctrl+F 0 off",
                            "  -  410",
                            "  Printer &Setup  0",
                            "Help (F1)",
                            "  Contents, Index  0",
                        }));
    EXPECT_EQ(w.mnuAboutHead.helpContext(), 240);
    EXPECT_EQ(w.mnuPrint.helpContext(), 250);
    EXPECT_EQ(w.mnuHelp.helpContext(), 10);
}

}  // namespace
}  // namespace quarvell::window
