#include "window/frm_fit.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "keysend/keysend.h"
#include "print/print_menu.h"

namespace quarvell::window {

FrmFit::FrmFit(platform::Services& services) : frmAbout(services), services_(services) {
    controls_ = {
        &form,          &cmbType,    &cmbRating,   &txtCap,          &txtVolt,      &hscTemp,
        &txtTemp,       &hscApp,     &txtApp,      &cmbFR,           &cmbEnv,       &cmbRes,
        &cmbPiV,        &optNotice1, &optNotice2,  &cmdQuit,         &fmeOther,     &Label1,
        &txtHrs,        &Label2,     &txtPcs,      &Label3,          &txtFail,      &Label4,
        &txtFR,         &fmeBias,    &lblTestDC,   &cmbLife,         &txtStyle,     &txtEnterPercFR,
        &txtDerated,    &txtFIT,     &txtMTBF,     &lblType,         &lblStyle,     &lblRating,
        &lblCap,        &lblTemp,    &lblTempTxt,  &lblVolt,         &lblAppVolt,   &lblAppTxt,
        &lblFR,         &lblEnv,     &lblRes,      &lblUnity,        &lblFormula,   &lblBase,
        &lblPIt,        &lblS,       &lblPIv,      &lblPIc,          &lblPIe,       &lblPIsr,
        &lblPIq,        &lblCalcFIT, &lblCalcMTBF, &lblVersion,      &lblCopyright, &lblNote,
        &mnuAboutHead,  &mnuAbout,   &mnuPrint,    &mnuPrintResults, &mnuPrintFF,   &line1,
        &mnuPrintSetup, &mnuHelp,    &mnuContents};
    analysisMenu_ = {&mnuAnalysis, &mnuCurves, &mnuSheet};
    menus_ = {{&mnuAboutHead, {&mnuAbout}},
              {&mnuPrint, {&mnuPrintResults, &mnuPrintFF, &line1, &mnuPrintSetup}},
              {&mnuAnalysis, {&mnuCurves, &mnuSheet}},
              {&mnuHelp, {&mnuContents}}};

    // Only what can hold the focus takes part in the tab order; labels and frames keep their
    // tab numbers for the access keys of their captions.
    using platform::ControlKind;
    for (platform::Control* c : controls_) {
        const ControlKind k = c->kind();
        if (k == ControlKind::TextBox || k == ControlKind::ComboBox ||
            k == ControlKind::ScrollBar || k == ControlKind::OptionButton ||
            k == ControlKind::Button) {
            focus_.add(*c);
        }
    }
    optNotice1.setGroup({&optNotice1, &optNotice2});
    optNotice2.setGroup({&optNotice1, &optNotice2});

    setDesign();
    setDesignAppearance();
    wireHandlers();
}

void FrmFit::wireHandlers() {
    cmbType.onClick = [this] { catalogue::cmbType_Click(typeSelection_); };
    cmbType.onGotFocus = [this] { catalogue::cmbType_GotFocus(typeSelection_); };
    cmbRating.onClick = [this] { catalogue::cmbRating_Click(options_); };
    cmbRes.onClick = [this] { catalogue::cmbRes_Click(options_); };
    cmbLife.onClick = [this] { catalogue::cmbLife_Click(options_); };
    cmbEnv.onClick = [this] { cmbEnv_Click(); };

    // A denominator typed into the list is checked like a chosen one once the user leaves it,
    // so that no unchecked value reaches the calculation.
    cmbPiV.onClick = [this] {
        piVTyped_ = false;
        catalogue::cmbPiV_Click(options_);
    };
    cmbPiV.onChange = [this] { piVTyped_ = true; };
    cmbPiV.onLostFocus = [this] {
        if (piVTyped_ && !state_.SuspendRecalc) {
            piVTyped_ = false;
            catalogue::cmbPiV_Click(options_);
        }
    };

    lblBase.onClick = [this] { lblBase_Click(); };
    cmdQuit.onClick = [this] { cmdQuit_Click(); };

    mnuAbout.onClick = [this] { frmAbout.show(); };
    mnuPrintResults.onClick = [this] { print::mnuPrintResults_Click(state_, services_.printer()); };
    mnuPrintSetup.onClick = [this] { print::mnuPrintSetup_Click(services_.printer()); };
    mnuCurves.onClick = [this] {
        if (onCurves) {
            onCurves();
        }
    };
    mnuSheet.onClick = [this] {
        if (onSheet && hasSheet()) {
            onSheet();
        }
    };

    txtCap.onLostFocus = [this] { txtCap_LostFocus(); };
    txtVolt.onLostFocus = [this] { txtVolt_LostFocus(); };
    txtApp.onLostFocus = [this] { txtApp_LostFocus(); };
    txtTemp.onLostFocus = [this] { txtTemp_LostFocus(); };
    hscApp.onChange = [this] { hscApp_Change(); };
    hscTemp.onChange = [this] { hscTemp_Change(); };

    cmbFR.onClick = [this] { cmbFR_Click(); };
    txtHrs.onLostFocus = [this] { txtHrs_LostFocus(); };
    txtPcs.onLostFocus = [this] { txtPcs_LostFocus(); };
    txtFail.onLostFocus = [this] { txtFail_LostFocus(); };

    for (platform::TextBox* field : {&txtCap, &txtVolt, &txtApp, &txtHrs, &txtPcs, &txtFail}) {
        field->onKeyPress = [this](int& keyAscii) { enterMovesOn(keyAscii, false); };
    }
    txtTemp.onKeyPress = [this](int& keyAscii) { enterMovesOn(keyAscii, true); };

    const auto noticeClick = [this](int index) {
        catalogue::optNotice_Click(noticeSwitch_, index);
    };
    optNotice1.onClick = noticeClick;
    optNotice2.onClick = noticeClick;
}

void FrmFit::enterMovesOn(int& keyAscii, bool tabToo) {
    constexpr int kTabCharacter = 9;
    constexpr int kCarriageReturn = 13;
    if (keyAscii == kCarriageReturn || (tabToo && keyAscii == kTabCharacter)) {
        keysend::SendKeySequence(services_.keyboard(), "{TAB}", 0);
        keyAscii = 0;
    }
}

void FrmFit::cmbEnv_Click() {
    if (!state_.SuspendRecalc) {
        recalculate();
    }
}

void FrmFit::lblBase_Click() {
    cmbType.setHelpContext(form.helpContext());
}

void FrmFit::cmdQuit_Click() {
    const auto answer =
        services_.messageBox("Are you sure you want to quit?", platform::MsgButtons::YesNo,
                             services_.versionRecord().title);
    if (answer == platform::MsgAnswer::Yes) {
        services_.endProgram();
    }
}

void FrmFit::Form_UnLoad() {}

void FrmFit::Form_KeyPress(int& keyAscii) {
    const bool lifeTest = fmeOther.visible();
    const std::pair<int, platform::Control*> jumps[] = {{'C', &txtCap},
                                                        {'R', &txtVolt},
                                                        {'T', &txtTemp},
                                                        {'V', &txtApp},
                                                        {'H', lifeTest ? &txtHrs : nullptr},
                                                        {'P', lifeTest ? &txtPcs : nullptr},
                                                        {'F', lifeTest ? &txtFail : nullptr}};
    const auto jump = std::find_if(std::begin(jumps), std::end(jumps),
                                   [&](const auto& j) { return j.first == keyAscii; });
    // The letter of a jump is never typed as well: where the jump cannot be made (V before a
    // rated voltage is entered, H, P and F while the life-test frame is hidden) it is
    // swallowed with a beep instead of ending up in the field that has the focus.
    if (jump != std::end(jumps)) {
        if (jump->second == nullptr || !focus_.setFocus(*jump->second)) {
            services_.beep();
        }
        keyAscii = 0;
    }
    model::ResumeRecalculation(state_);
}

void FrmFit::keyPress(int keyAscii) {
    platform::Control* target = focus_.focused();
    if (form.keyPreview()) {
        Form_KeyPress(keyAscii);
    }
    // A letter that jumped to another field is not typed into the one left behind.
    if (keyAscii == 0 || target == nullptr || focus_.focused() != target) {
        return;
    }
    if (target->kind() == platform::ControlKind::TextBox) {
        auto& field = static_cast<platform::TextBox&>(*target);
        if (field.onKeyPress) {
            field.onKeyPress(keyAscii);
        }
        if (keyAscii != 0 && !field.locked() && focus_.focused() == &field) {
            field.setText(platform::Typed(field.text(), keyAscii));
        }
    } else if (target->kind() == platform::ControlKind::ComboBox) {
        auto& list = static_cast<platform::ComboBox&>(*target);
        if (list.editable() && !list.locked()) {
            list.setText(platform::Typed(list.text(), keyAscii));
        }
    }
}

void FrmFit::keyDown(int virtualKey, bool shift) {
    if (virtualKey == platform::kVkTab) {
        focus_.tab(shift);
    } else if (virtualKey == platform::kVkF1) {
        pressF1();
    }
}

void FrmFit::pressF1() {
    // A control without a number of its own takes its frame's, then the window's.
    int context = 0;
    for (const platform::Control* c = focus_.focused(); c != nullptr && context == 0;
         c = c->container()) {
        context = c->helpContext();
    }
    services_.showHelp(context != 0 ? context : form.helpContext());
}

platform::Control* FrmFit::find(std::string_view key) const {
    for (platform::Control* c : controls_) {
        if (ControlKey(*c) == key) {
            return c;
        }
    }
    for (platform::Control* c : analysisMenu_) {
        if (ControlKey(*c) == key) {
            return c;
        }
    }
    return nullptr;
}

}  // namespace quarvell::window
